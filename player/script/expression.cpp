// The expression language. There is no arithmetic and no grouping: the last
// operand gives the value, "==" and "<>" compare the last numeric variable,
// and "&&"/"||" fold the comparison results strictly left to right.
#include "player/script/expression.h"

#include <cstring>

#include "common/text/numbers.h"
#include "common/text/sjis.h"

namespace zeku {
namespace {

struct Spelling {
    const char* text;
    Operator op;
};

constexpr Spelling kTwoByteOperators[] = {
    {"++", Operator::Increment},    {"<<", Operator::ShiftLeft},  {">>", Operator::ShiftRight},
    {">=", Operator::GreaterEqual}, {"<=", Operator::LessEqual},  {"><", Operator::GreaterLess},
    {"<>", Operator::NotEqual},     {"&&", Operator::LogicalAnd}, {"||", Operator::LogicalOr},
    {"==", Operator::Equal},        {"!=", Operator::BangEqual},
};

constexpr Spelling kOneByteOperators[] = {
    {"*", Operator::Multiply}, {"/", Operator::Divide},  {"%", Operator::Modulo},
    {"+", Operator::Plus},     {"&", Operator::BitAnd},  {"|", Operator::BitOr},
    {"^", Operator::BitXor},   {">", Operator::Greater}, {"<", Operator::Less},
    {"-", Operator::Minus},
};

struct Keyword {
    const char* text;
    int32_t value;
};

// Prefix tests: "TRUEX" reads as "TRUE" and then "X".
constexpr Keyword kKeywords[] = {
    {"TRUE", 1}, {"true", 1}, {"FALSE", 0}, {"false", 0}, {"IDNO", 2}, {"LEFT", 1}, {"RIGHT", 2},
};

// Larger than any variable index, so an absurd index stays out of range
// instead of wrapping into it.
constexpr uint32_t kIndexCeiling = 1000000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExpressionEnd(char c) {
    return c == 0 || c == ';' || c == ',' || c == ']';
}

// Copies up to 63 bytes of `bytes` into the token text, whole characters only.
void setTokenText(Token& token, std::string_view bytes) {
    size_t n = 0;
    while (n < bytes.size()) {
        const size_t step =
            isLeadByte(static_cast<unsigned char>(bytes[n])) && n + 1 < bytes.size() ? 2 : 1;
        if (n + step > kTokenTextCapacity - 1) break;
        n += step;
    }
    if (n > 0) std::memcpy(token.text, bytes.data(), n);
    token.text[n] = 0;
}

// A zero byte ends the text just like its end.
std::string_view upToZero(std::string_view text) {
    const size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// nextToken on a text already cut at its first zero byte, so a walk over
// many tokens does not search for it again each time.
size_t readToken(std::string_view text, size_t offset, Token& token) {
    token = Token{};
    const size_t end = text.size();
    size_t i = offset < end ? offset : end;
    auto at = [&](size_t k) -> char { return k < end ? text[k] : 0; };
    const std::string_view rest = text.substr(i);
    const char c = at(i);

    if (isExpressionEnd(c)) return i;

    for (const Spelling& s : kTwoByteOperators) {
        if (rest.starts_with(s.text)) {
            token.kind = TokenKind::Operator;
            token.op = s.op;
            return i + 2;
        }
    }
    for (const Spelling& s : kOneByteOperators) {
        if (c == s.text[0]) {
            token.kind = TokenKind::Operator;
            token.op = s.op;
            return i + 1;
        }
    }
    if (c == '=') {
        token.kind = TokenKind::Assign;
        return i + 1;
    }
    if (c == '(' || c == ')') {
        token.kind = TokenKind::Parenthesis;
        return i + 1;
    }

    if (c == '@') {
        const char d = at(i + 1);
        if (isDigit(d)) {
            uint32_t index = 0;
            size_t j = i + 1;
            for (; isDigit(at(j)); ++j) {
                if (index < kIndexCeiling) index = index * 10 + static_cast<uint32_t>(at(j) - '0');
            }
            token.kind = TokenKind::NumericVariable;
            token.value = static_cast<int32_t>(index < kIndexCeiling ? index : kIndexCeiling);
            return j;
        }
        if (isExpressionEnd(d)) {
            token.kind = TokenKind::Unknown;
            return i + 1;
        }
        // Any other byte names a string variable; only letters name one that
        // exists (value -1 otherwise, which evaluation passes over).
        token.kind = TokenKind::StringVariable;
        token.value = ScriptVariables::stringIndex(d);
        const bool pair = isLeadByte(static_cast<unsigned char>(d)) && at(i + 2) != 0;
        return i + (pair ? 3 : 2);
    }

    if (c == '"') {
        size_t j = i + 1;
        while (j < end && text[j] != '"')
            ++j;
        token.kind = TokenKind::String;
        setTokenText(token, text.substr(i + 1, j - (i + 1)));
        if (j >= end) return end;
        ++j;  // the closing quote
        if (at(j) == 'l') ++j;
        return j;
    }

    if (c == '#') {
        // An embedded command: consumed through the ")" after its "(".
        const size_t open = text.find('(', i + 1);
        const size_t close = open == std::string_view::npos ? open : text.find(')', open + 1);
        token.kind = TokenKind::Number;
        return close == std::string_view::npos ? end : close + 1;
    }

    if (rest.starts_with("RGB")) {
        size_t j = i + 3;
        if (at(j) == '(') ++j;
        uint32_t parts[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            const size_t start = j;
            // ")" and ";" end any component: a short list reads the missing
            // ones as 0 rather than running on into the rest of the line.
            while (j < end && text[j] != ')' && text[j] != ';' &&
                   !(k < 2 && (text[j] == ',' || text[j] == '.')))
                ++j;
            int32_t value = 0;
            parseNumber(text.substr(start, j - start).substr(0, kTokenTextCapacity - 1), value);
            parts[k] = static_cast<uint32_t>(value);
            if (k < 2 && (at(j) == ',' || at(j) == '.')) {
                ++j;
                continue;
            }
            break;
        }
        if (at(j) == ')') ++j;
        token.kind = TokenKind::Number;
        token.value = static_cast<int32_t>(parts[0] * 65536u + parts[1] * 256u + parts[2]);
        return j;
    }

    for (const Keyword& k : kKeywords) {
        if (rest.starts_with(k.text)) {
            token.kind = TokenKind::Number;
            token.value = k.value;
            return i + std::strlen(k.text);
        }
    }

    if (isDigit(c)) {
        size_t j = i;
        uint32_t value = 0;
        for (; isDigit(at(j)); ++j)
            value = value * 10u + static_cast<uint32_t>(at(j) - '0');
        token.kind = TokenKind::Number;
        token.value = static_cast<int32_t>(value);
        setTokenText(token, text.substr(i, j - i));
        return j;
    }

    // No rule covers this byte: skip it (a double-byte character whole, so
    // its trail byte is never read as "|", "@" or "]").
    token.kind = TokenKind::Unknown;
    const bool pair = isLeadByte(static_cast<unsigned char>(c)) && i + 1 < end;
    return i + (pair ? 2 : 1);
}

}  // namespace

size_t nextToken(std::string_view text, size_t offset, Token& token) {
    return readToken(upToZero(text), offset, token);
}

int32_t evaluate(std::string_view expression, ScriptVariables& variables) {
    TextAccumulator& accumulator = variables.accumulator;
    accumulator.clear();

    expression = upToZero(expression);
    Token tokens[kExpressionTokenLimit];
    int count = 0;
    for (size_t offset = 0; count < kExpressionTokenLimit;) {
        Token& token = tokens[count];
        offset = readToken(expression, offset, token);
        if (token.kind == TokenKind::End) break;
        if (token.kind != TokenKind::Unknown) ++count;
    }

    auto numberAt = [&](int32_t index) -> int32_t* {
        return index >= 0 && index < kNumericVariableCount
                   ? &variables.numbers[static_cast<size_t>(index)]
                   : nullptr;
    };

    int first = 0;
    if (count >= 2 && tokens[1].kind == TokenKind::Assign) first = 2;

    uint32_t result = 0;  // unsigned, so -(-2^31) wraps instead of overflowing
    uint32_t sign = 1;
    const Token* lastOperand = nullptr;
    uint8_t comparisons[kExpressionTokenLimit];
    int comparisonCount = 0;
    Operator connectives[kExpressionTokenLimit];
    int connectiveCount = 0;

    for (int i = first; i < count; ++i) {
        const Token& token = tokens[i];
        switch (token.kind) {
            case TokenKind::Number:
                result = static_cast<uint32_t>(token.value) * sign;
                sign = 1;
                accumulator.append(token.text);
                break;
            case TokenKind::NumericVariable: {
                const int32_t* value = numberAt(token.value);
                result = static_cast<uint32_t>(value != nullptr ? *value : 0) * sign;
                lastOperand = &token;
                break;
            }
            case TokenKind::StringVariable:
                accumulator.append(variables.string(token.value));
                lastOperand = &token;
                break;
            case TokenKind::String:
                accumulator.append(token.text);
                break;
            case TokenKind::Operator:
                switch (token.op) {
                    case Operator::Minus:
                        sign = static_cast<uint32_t>(-1);
                        break;
                    case Operator::Equal:
                    case Operator::NotEqual: {
                        if (i + 1 >= count) break;
                        const Token& right = tokens[i + 1];
                        int32_t rightValue = 0;
                        if (right.kind == TokenKind::Number) {
                            rightValue = right.value;
                        } else if (right.kind == TokenKind::NumericVariable) {
                            const int32_t* value = numberAt(right.value);
                            rightValue = value != nullptr ? *value : 0;
                        } else {
                            break;
                        }
                        // Only a numeric variable can be the left side; anything
                        // else compares false.
                        const int32_t* left =
                            lastOperand != nullptr &&
                                    lastOperand->kind == TokenKind::NumericVariable
                                ? numberAt(lastOperand->value)
                                : nullptr;
                        bool outcome = false;
                        if (left != nullptr)
                            outcome = token.op == Operator::Equal ? *left == rightValue
                                                                  : *left != rightValue;
                        result = outcome ? 1 : 0;
                        comparisons[comparisonCount++] = outcome ? 1 : 0;
                        ++i;
                        break;
                    }
                    case Operator::Increment:
                        if (i > 0 && tokens[i - 1].kind == TokenKind::NumericVariable) {
                            if (int32_t* value = numberAt(tokens[i - 1].value))
                                *value = static_cast<int32_t>(static_cast<uint32_t>(*value) + 1u);
                        }
                        break;
                    case Operator::LogicalAnd:
                    case Operator::LogicalOr:
                        connectives[connectiveCount++] = token.op;
                        break;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
    }

    if (connectiveCount > 0) {
        bool value = comparisonCount > 0 && comparisons[0] != 0;
        for (int k = 0; k < connectiveCount; ++k) {
            const bool next = k + 1 < comparisonCount && comparisons[k + 1] != 0;
            value = connectives[k] == Operator::LogicalAnd ? (value && next) : (value || next);
        }
        result = value ? 1 : 0;
    }

    const int32_t signedResult = static_cast<int32_t>(result);
    if (first == 2) {
        const Token& target = tokens[0];
        if (target.kind == TokenKind::NumericVariable) {
            if (int32_t* value = numberAt(target.value)) *value = signedResult;
        } else if (target.kind == TokenKind::StringVariable) {
            variables.setString(target.value,
                                std::string_view(accumulator.text, accumulator.length));
        }
    }
    return signedResult;
}

}  // namespace zeku
