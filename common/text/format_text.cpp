// The player's own formatted print: "%z2"-style directives over typed
// arguments, written into a bounded caller buffer.
#include "common/text/format_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "common/text/full_width.h"
#include "common/text/sjis.h"

namespace zeku {

namespace {

// Truncates toward zero and clamps into [lo, hi]; NaN gives 0.
template <typename T>
T saturate(double value, T lo, T hi) {
    if (std::isnan(value)) return 0;
    // Compare in double: the bounds of 64-bit types round up, so test with >=.
    if (value <= static_cast<double>(lo)) return lo;
    if (value >= static_cast<double>(hi)) return hi;
    return static_cast<T>(value);
}

bool isIntegerKind(FormatArg::Kind kind) {
    return kind == FormatArg::Kind::Int32 || kind == FormatArg::Kind::UInt32 ||
           kind == FormatArg::Kind::Int64 || kind == FormatArg::Kind::UInt64;
}

}  // namespace

int32_t FormatArg::asInt32() const {
    if (isIntegerKind(kind_)) return static_cast<int32_t>(integer_);
    if (kind_ == Kind::Float || kind_ == Kind::Double) {
        return saturate<int32_t>(real_, std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max());
    }
    return 0;
}

uint32_t FormatArg::asUInt32() const {
    if (isIntegerKind(kind_)) return static_cast<uint32_t>(integer_);
    if (kind_ == Kind::Float || kind_ == Kind::Double) {
        return saturate<uint32_t>(real_, 0, std::numeric_limits<uint32_t>::max());
    }
    return 0;
}

int64_t FormatArg::asInt64() const {
    switch (kind_) {
        case Kind::Int32:
        case Kind::UInt32:  // stored zero-extended
        case Kind::Int64:
        case Kind::UInt64:  // read back as its bits
            return integer_;
        case Kind::Float:
        case Kind::Double:
            return saturate<int64_t>(real_, std::numeric_limits<int64_t>::min(),
                                     std::numeric_limits<int64_t>::max());
        default:
            return 0;
    }
}

double FormatArg::asDouble() const {
    switch (kind_) {
        case Kind::Int32:
        case Kind::Int64:
        case Kind::UInt32:
            return static_cast<double>(integer_);
        case Kind::UInt64:
            return static_cast<double>(static_cast<uint64_t>(integer_));
        case Kind::Float:
        case Kind::Double:
            return real_;
        default:
            return 0.0;
    }
}

std::string_view FormatArg::asString() const {
    return kind_ == Kind::String ? std::string_view(text_, textLength_) : std::string_view();
}

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// The bounded writer. Once anything fails to fit, all later output is
// dropped so the text never resumes after a gap.
class Output {
  public:
    Output(char* dest, size_t capacity) : dest_(dest), capacity_(capacity) {}

    void put(char c) {
        if (fits(1)) dest_[pos_++] = c;
    }
    void putPair(char lead, char trail) {
        if (fits(2)) {
            dest_[pos_++] = lead;
            dest_[pos_++] = trail;
        }
    }
    void putFullWidth(char c) {
        const uint16_t code = fullWidthCode(static_cast<unsigned char>(c));
        if (code == 0) {
            put(c);
        } else {
            putPair(static_cast<char>(code >> 8), static_cast<char>(code & 0xFF));
        }
    }

    // Continue after the text already in the buffer. A buffer with no
    // terminator is full, so anything more is cut.
    void seekToEnd() {
        if (cut_) return;
        size_t end = 0;
        while (end < capacity_ && dest_[end] != '\0')
            ++end;
        if (end == capacity_) {
            pos_ = capacity_ - 1;
            cut_ = true;
        } else {
            pos_ = end;
        }
    }

    int finish() {
        dest_[pos_] = '\0';
        return cut_ ? -1 : static_cast<int>(pos_);
    }

  private:
    bool fits(size_t n) {
        if (!cut_ && pos_ + n > capacity_ - 1) cut_ = true;
        return !cut_;
    }

    char* dest_;
    size_t capacity_;  // at least 1, for the terminator
    size_t pos_ = 0;
    bool cut_ = false;
};

struct Directive {
    char letter = 0;  // lower case
    bool fullWidth = false;
    char flag = 0;  // '+', '-' or 0
    int width = 0;  // 0 when absent
    int precision = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads up to two decimal digits at p.
int readTwoDigits(const char*& p) {
    int value = 0;
    for (int i = 0; i < 2 && isDigit(*p); ++i)
        value = value * 10 + (*p++ - '0');
    return value;
}

// Directive text is built here before it is copied out (and, for the
// capital letters, widened). The largest is "f" of a huge double: 309
// integer digits, a sign, the point and 99 fraction digits.
class Text {
  public:
    void push(char c) {
        if (length_ < sizeof(bytes_)) bytes_[length_++] = c;
    }
    void pushRepeated(char c, size_t count) {
        for (size_t i = 0; i < count; ++i)
            push(c);
    }
    char& at(size_t i) { return bytes_[i]; }

    void writeTo(Output& out, bool fullWidth) const {
        for (size_t i = 0; i < length_; ++i) {
            if (fullWidth) {
                out.putFullWidth(bytes_[i]);
            } else {
                out.put(bytes_[i]);
            }
        }
    }

  private:
    char bytes_[512];
    size_t length_ = 0;
};

// Minimal digits of value in base, most significant first; "0" for zero.
size_t toDigits(uint64_t value, unsigned base, char (&digits)[64]) {
    char reversed[64];
    size_t n = 0;
    do {
        reversed[n++] = kDigits[value % base];
        value /= base;
    } while (value != 0);
    for (size_t i = 0; i < n; ++i)
        digits[i] = reversed[n - 1 - i];
    return n;
}

// The sign character the flag asks for, or 0 for none.
char signFor(const Directive& d, bool negative) {
    if (negative && d.flag != 0) return '-';
    if (d.flag == '+') return '+';
    if (d.flag == '-' && d.width > 0) return ' ';
    return 0;
}

// digits right-aligned in the width with spaces, the sign taking the last
// padding space; without a width the sign goes in front.
void padSigned(Text& text, const char* digits, size_t count, char sign, int width) {
    if (width <= 0) {
        if (sign != 0) text.push(sign);
    } else {
        const auto w = static_cast<size_t>(width);
        const size_t padding = count < w ? w - count : 0;
        text.pushRepeated(' ', padding);
        if (sign != 0 && padding > 0) text.at(padding - 1) = sign;
    }
    for (size_t i = 0; i < count; ++i)
        text.push(digits[i]);
}

// d, u and t: space-padded, exactly width characters keeping the lowest
// digits, or the minimal digits without a width.
void formatDecimal(Text& text, uint64_t magnitude, bool negative, const Directive& d,
                   bool withSign) {
    char digits[64];
    size_t count = toDigits(magnitude, 10, digits);
    const char* first = digits;
    if (d.width > 0 && count > static_cast<size_t>(d.width)) {
        first += count - static_cast<size_t>(d.width);
        count = static_cast<size_t>(d.width);
    }
    padSigned(text, first, count, withSign ? signFor(d, negative) : 0, d.width);
}

// z, x and o: exactly width digits, zero-padded, the lowest ones kept.
void formatFixedDigits(Text& text, uint64_t value, unsigned base, int width) {
    char digits[64];
    const size_t count = toDigits(value, base, digits);
    const auto w = static_cast<size_t>(width);
    if (count >= w) {
        for (size_t i = count - w; i < count; ++i)
            text.push(digits[i]);
    } else {
        text.pushRepeated('0', w - count);
        for (size_t i = 0; i < count; ++i)
            text.push(digits[i]);
    }
}

uint64_t magnitudeOf(int64_t value) {
    // Negate in unsigned arithmetic so the most negative value is safe.
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

// A non-negative value as significant decimal digits d0 d1 d2 ... and the
// power of ten of d0.
struct DecimalDigits {
    char digits[32] = {'0'};
    int count = 1;
    int exponent = 0;

    char at(int index) const { return index >= 0 && index < count ? digits[index] : '0'; }
};

// Reads the shortest round-trip scientific form: truncating the digits a
// value is written with ("22.05") instead of its binary expansion
// (22.049999...) is what makes 22.05 print as 22.05.
template <typename T>
DecimalDigits decimalDigitsOf(T magnitude) {
    DecimalDigits result;
    if (!std::isfinite(magnitude) || magnitude == 0) return result;
    char buffer[64];
    const auto conv =
        std::to_chars(buffer, buffer + sizeof(buffer), magnitude, std::chars_format::scientific);
    if (conv.ec != std::errc()) return result;
    const char* p = buffer;
    result.count = 0;
    while (p < conv.ptr && *p != 'e') {
        if (isDigit(*p) && result.count < static_cast<int>(sizeof(result.digits))) {
            result.digits[result.count++] = *p;
        }
        ++p;
    }
    if (p < conv.ptr) ++p;  // 'e'
    const bool negativeExponent = p < conv.ptr && *p == '-';
    if (p < conv.ptr && (*p == '-' || *p == '+')) ++p;
    int exponent = 0;
    while (p < conv.ptr && isDigit(*p))
        exponent = exponent * 10 + (*p++ - '0');
    result.exponent = negativeExponent ? -exponent : exponent;
    return result;
}

DecimalDigits decimalDigitsOfInteger(uint64_t magnitude) {
    DecimalDigits result;
    char digits[64];
    const size_t count = toDigits(magnitude, 10, digits);
    for (size_t i = 0; i < count; ++i)
        result.digits[i] = digits[i];
    result.count = static_cast<int>(count);
    result.exponent = result.count - 1;
    return result;
}

void formatFixedPoint(Text& text, const FormatArg& arg, const Directive& d) {
    bool negative = false;
    DecimalDigits value;
    if (arg.kind() == FormatArg::Kind::Float) {
        const auto f = static_cast<float>(arg.asDouble());
        negative = f < 0;
        value = decimalDigitsOf(std::fabs(f));
    } else if (arg.kind() == FormatArg::Kind::UInt64 || arg.kind() == FormatArg::Kind::UInt32) {
        value = decimalDigitsOfInteger(static_cast<uint64_t>(arg.asInt64()));
    } else if (arg.kind() == FormatArg::Kind::Int32 || arg.kind() == FormatArg::Kind::Int64) {
        const int64_t v = arg.asInt64();
        negative = v < 0;
        value = decimalDigitsOfInteger(magnitudeOf(v));
    } else {
        const double v = arg.asDouble();
        negative = v < 0;
        value = decimalDigitsOf(std::fabs(v));
    }

    char integerDigits[320];
    size_t integerCount = 0;
    if (value.exponent < 0) {
        integerDigits[integerCount++] = '0';
    } else {
        for (int i = 0; i <= value.exponent && integerCount < sizeof(integerDigits); ++i) {
            integerDigits[integerCount++] = value.at(i);
        }
    }
    padSigned(text, integerDigits, integerCount, signFor(d, negative), d.width);
    text.push('.');
    for (int k = 1; k <= d.precision; ++k)
        text.push(value.at(value.exponent + k));
}

// s and S stream straight from the argument; a width limits the bytes
// written (2 x width for S) and the rest of the field is spaces.
void formatString(Output& out, std::string_view s, const Directive& d) {
    const size_t budget = d.width > 0 ? static_cast<size_t>(d.width) * (d.fullWidth ? 2 : 1)
                                      : std::numeric_limits<size_t>::max();
    size_t used = 0;
    size_t i = 0;
    while (i < s.size()) {
        char bytes[2] = {s[i], 0};
        size_t inLength = 1;
        size_t outLength = 1;
        if (isLeadByte(s[i]) && i + 1 < s.size()) {
            bytes[1] = s[i + 1];
            inLength = outLength = 2;
        } else if (d.fullWidth) {
            if (const uint16_t code = fullWidthCode(static_cast<unsigned char>(s[i]))) {
                bytes[0] = static_cast<char>(code >> 8);
                bytes[1] = static_cast<char>(code & 0xFF);
                outLength = 2;
            }
        }
        if (used + outLength > budget) break;
        if (outLength == 2) {
            out.putPair(bytes[0], bytes[1]);
        } else {
            out.put(bytes[0]);
        }
        used += outLength;
        i += inLength;
    }
    if (d.width > 0) {
        for (; used < budget; ++used) {
            out.put(' ');
        }
    }
}

bool isKnownLetter(char c) {
    return c != '\0' && std::string_view("cduzxotfsrDUZXOTFS").find(c) != std::string_view::npos;
}

// Letters the "l" prefix may stand before.
bool isLongLetter(char c) {
    return c != '\0' && std::string_view("dDuUxXoO").find(c) != std::string_view::npos;
}

// Parses the directive after a "%" (p points at its letter) and returns the
// position after it. letter stays 0 for an unknown directive.
const char* parseDirective(const char* p, Directive& d) {
    char letter = *p;
    bool known = isKnownLetter(letter);
    if (letter == 'l' && p[1] != '\0') {
        letter = *++p;
        known = isLongLetter(letter);
    }
    if (isLeadByte(letter) && p[1] != '\0') ++p;  // never leave half a character
    ++p;
    if (*p == '+' || *p == '-') d.flag = *p++;
    d.width = readTwoDigits(p);
    const bool fixedPoint = letter == 'f' || letter == 'F';
    if (fixedPoint && p[0] == '.' && isDigit(p[1])) {
        ++p;
        d.precision = readTwoDigits(p);
    }
    if (known) {
        d.fullWidth = letter >= 'A' && letter <= 'Z';
        d.letter = d.fullWidth ? static_cast<char>(letter - 'A' + 'a') : letter;
    }
    return p;
}

}  // namespace

int formatText(char* dest, size_t destCapacity, const char* format,
               std::span<const FormatArg> args) {
    if (destCapacity == 0) return -1;
    Output out(dest, destCapacity);
    size_t nextArg = 0;
    const FormatArg missing;
    auto takeArg = [&]() -> const FormatArg& {
        return nextArg < args.size() ? args[nextArg++] : missing;
    };

    const char* p = format != nullptr ? format : "";
    while (*p != '\0') {
        if (*p != '%') {
            if (isLeadByte(*p) && p[1] != '\0') {
                out.putPair(p[0], p[1]);
                p += 2;
            } else {
                out.put(*p++);
            }
            continue;
        }
        ++p;
        if (*p == '\0') break;
        if (*p == '%') {
            out.put('%');
            ++p;
            continue;
        }
        Directive d;
        p = parseDirective(p, d);
        Text text;
        switch (d.letter) {
            case 'c':
                out.put(static_cast<char>(takeArg().asUInt32() & 0xFF));
                break;
            case 'd': {
                const int32_t v = takeArg().asInt32();
                formatDecimal(text, magnitudeOf(v), v < 0, d, true);
                break;
            }
            case 't': {
                const int64_t v = takeArg().asInt64();
                formatDecimal(text, magnitudeOf(v), v < 0, d, true);
                break;
            }
            case 'u':
                formatDecimal(text, takeArg().asUInt32(), false, d, false);
                break;
            case 'z':
                formatFixedDigits(text, takeArg().asUInt32(), 10, d.width);
                break;
            case 'x':
                formatFixedDigits(text, takeArg().asUInt32(), 16, d.width);
                break;
            case 'o':
                formatFixedDigits(text, takeArg().asUInt32(), 8, d.width);
                break;
            case 'f':
                formatFixedPoint(text, takeArg(), d);
                break;
            case 's':
                formatString(out, takeArg().asString(), d);
                break;
            case 'r':
                out.seekToEnd();
                break;
            default:
                break;  // unknown: no output, no argument
        }
        text.writeTo(out, d.fullWidth);
    }
    return out.finish();
}

}  // namespace zeku
