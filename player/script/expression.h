// Script expressions: the tokenizer and the left-to-right evaluator with its
// variables, comparisons, connective chains and text accumulation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "player/script/script_state.h"

namespace zeku {

inline constexpr size_t kTokenTextCapacity = 64;  // 63 bytes and the terminator
inline constexpr int kExpressionTokenLimit = 31;

enum class TokenKind : uint8_t {
    End,              // ";", ",", "]" or the end of the text; nothing consumed
    Operator,         // see Operator
    Assign,           // "="
    Parenthesis,      // "(" or ")": skipped, no grouping
    NumericVariable,  // "@" and digits; value = index
    StringVariable,   // "@" and a letter; value = 0..25
    Number,           // digits, a keyword, "RGB(...)" or an embedded "#...()"
    String,           // a double-quoted literal; text = its bytes
    Unknown,          // a byte (or double-byte character) no rule covers; skipped
};

enum class Operator : uint8_t {
    None,
    Multiply,      // *
    Divide,        // /
    Modulo,        // %
    Plus,          // +
    BitAnd,        // &
    BitOr,         // |
    BitXor,        // ^
    Greater,       // >
    Less,          // <
    Minus,         // -
    Increment,     // ++
    ShiftLeft,     // <<
    ShiftRight,    // >>
    GreaterEqual,  // >=
    LessEqual,     // <=
    GreaterLess,   // ><
    NotEqual,      // <>
    LogicalAnd,    // &&
    LogicalOr,     // ||
    Equal,         // ==
    BangEqual,     // !=
};

struct Token {
    TokenKind kind = TokenKind::End;
    Operator op = Operator::None;
    int32_t value = 0;
    char text[kTokenTextCapacity] = {};  // digits as written, or a literal's bytes
};

// Reads one token at `offset` (a zero byte ends the text like its end) and
// returns the offset after it. Every kind except End consumes at least one
// byte, so a loop over tokens always finishes.
size_t nextToken(std::string_view text, size_t offset, Token& token);

// Evaluates one expression (an argument text, or an "@" line), assigning to
// its target when it has the form "target=...". Leaves the text result in
// variables.accumulator. Tokens past the 31st are ignored.
int32_t evaluate(std::string_view expression, ScriptVariables& variables);

}  // namespace zeku
