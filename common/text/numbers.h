// Number parsing for script and settings text: signed decimal with the
// script's lenient place-value rule, "0x" hexadecimal, and digit extraction.
#pragma once

#include <cstdint>
#include <string_view>

namespace zeku {

// Parses text into value and returns the sign indicator: 1 when a "-" is
// the sign character nearest the start, 0 when it is a "+", and -1 when
// there is none (also for "0x" hexadecimal and the empty string, value 0).
//
// Decimal text is read from its last character to its first with place
// values 1, 10, 100, ...: a digit adds digit x place, any other character
// adds nothing but still uses up a place ("1a2" is 102, "42 " is 420). A "-"
// anywhere makes the value negative. After "0x" every character is a hex
// digit, a non-hex character counting as 0. Values wrap modulo 2^32, as
// 32-bit script variables do.
int parseNumber(std::string_view text, int32_t& value);
int parseNumber(const char* text, int32_t& value);

// The decimal value of the digits in text, other characters skipped ("1a2"
// is 12); 0 when there are none. Wraps modulo 2^32 like parseNumber.
int32_t digitsValue(std::string_view text);
int32_t digitsValue(const char* text);

}  // namespace zeku
