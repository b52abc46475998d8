// Tests for parseNumber's place-value rule, sign indicator and hexadecimal
// form, and for digitsValue.
#include "common/text/numbers.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

struct Parsed {
    int sign;
    int32_t value;
};

Parsed parse(const char* text) {
    int32_t value = 12345;  // must be overwritten
    const int sign = parseNumber(text, value);
    return {sign, value};
}

TEST(ParseNumber, SignIndicator) {
    EXPECT_EQ(parse("-12").value, -12);
    EXPECT_EQ(parse("-12").sign, 1);
    EXPECT_EQ(parse("+7").value, 7);
    EXPECT_EQ(parse("+7").sign, 0);
    EXPECT_EQ(parse("42").sign, -1);
    // The sign nearest the start wins the indicator, but any "-" negates.
    EXPECT_EQ(parse("+1-2").sign, 0);
    EXPECT_EQ(parse("+1-2").value, -102);
}

TEST(ParseNumber, OtherCharactersStillTakeAPlace) {
    EXPECT_EQ(parse("1a2").value, 102);
    EXPECT_EQ(parse("42 ").value, 420);
    EXPECT_EQ(parse("").value, 0);
    EXPECT_EQ(parse("").sign, -1);
}

TEST(ParseNumber, Hexadecimal) {
    EXPECT_EQ(parse("0xff").value, 255);
    EXPECT_EQ(parse("0xFf").sign, -1);
    EXPECT_EQ(parse("0xFFFFFFFF").value, -1);
    EXPECT_EQ(parse("0x1g").value, 0x10);  // a non-hex character reads as 0
}

TEST(ParseNumber, HugeInputWrapsInsteadOfOverflowing) {
    EXPECT_EQ(parse("4294967297").value, 1);
    EXPECT_EQ(parse("-2147483648").value, INT32_MIN);
    // Place values pass 2^32 and wrap to zero; the sanitizers must stay quiet.
    EXPECT_EQ(parse("99999999999999999999999999999999999999999999").value, parse("0").value - 1);
}

TEST(DigitsValue, SkipsOtherCharacters) {
    EXPECT_EQ(digitsValue("1a2"), 12);
    EXPECT_EQ(digitsValue("track_07.wav"), 7);
    EXPECT_EQ(digitsValue("abc"), 0);
    EXPECT_EQ(digitsValue(nullptr), 0);
}

}  // namespace
}  // namespace zeku
