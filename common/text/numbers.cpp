// Number parsing for script and settings text: signed decimal with the
// script's lenient place-value rule, "0x" hexadecimal, and digit extraction.
#include "common/text/numbers.h"

namespace zeku {

namespace {

// Unsigned arithmetic wraps by definition, so overlong input cannot
// overflow into undefined behaviour; the final cast is modular in C++20.
int32_t wrapToInt32(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

uint32_t hexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
    return 0;
}

}  // namespace

int parseNumber(std::string_view text, int32_t& value) {
    if (text.size() >= 2 && text[0] == '0' && text[1] == 'x') {
        uint32_t bits = 0;
        for (char c : text.substr(2))
            bits = bits * 16 + hexDigit(c);
        value = wrapToInt32(bits);
        return -1;
    }
    uint32_t magnitude = 0;
    uint32_t place = 1;
    bool negative = false;
    int sign = -1;
    for (size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            magnitude += static_cast<uint32_t>(c - '0') * place;
        } else if (c == '+') {
            sign = 0;
        } else if (c == '-') {
            sign = 1;
            negative = true;
        }
        place *= 10;
    }
    value = wrapToInt32(negative ? 0u - magnitude : magnitude);
    return sign;
}

int parseNumber(const char* text, int32_t& value) {
    return parseNumber(text != nullptr ? std::string_view(text) : std::string_view(), value);
}

int32_t digitsValue(std::string_view text) {
    uint32_t bits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') bits = bits * 10 + static_cast<uint32_t>(c - '0');
    }
    return wrapToInt32(bits);
}

int32_t digitsValue(const char* text) {
    return digitsValue(text != nullptr ? std::string_view(text) : std::string_view());
}

}  // namespace zeku
