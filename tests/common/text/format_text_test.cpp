// Tests for formatText: directive behaviour, sign placement, fixed point
// without rounding, full-width forms and the bounded destination.
#include "common/text/format_text.h"

#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace zeku {
namespace {

std::string fmt(const char* format, std::initializer_list<FormatArg> args = {}) {
    char buffer[512];
    const int length = formatText(buffer, format, args);
    EXPECT_GE(length, 0) << format;
    EXPECT_EQ(static_cast<size_t>(length), std::string(buffer).size()) << format;
    return buffer;
}

TEST(FormatText, ZeroPaddedFieldsKeepTheLowestDigits) {
    EXPECT_EQ(fmt("%z4-%z2-%z2 %z2:%z2:%z2", {2006, 1, 4, 17, 30, 7}), "2006-01-04 17:30:07");
    EXPECT_EQ(fmt("save%z3.dat", {15}), "save015.dat");
    EXPECT_EQ(fmt("%z2", {123}), "23");
    EXPECT_EQ(fmt("[%z]", {5}), "[]");
}

TEST(FormatText, DecimalPrintsMagnitudeAndSignOnlyWithFlag) {
    EXPECT_EQ(fmt("%d", {-3}), "3");
    EXPECT_EQ(fmt("%d+", {-3}), "-3");
    EXPECT_EQ(fmt("%d+", {3}), "+3");
    EXPECT_EQ(fmt("%d", {std::numeric_limits<int32_t>::min()}), "2147483648");
    EXPECT_EQ(fmt("%d", {0}), "0");
}

TEST(FormatText, SignTakesTheLastPaddingSpace) {
    EXPECT_EQ(fmt("%d+3", {5}), " +5");
    EXPECT_EQ(fmt("%d-3", {5}), "  5");
    EXPECT_EQ(fmt("%d-3", {-5}), " -5");
    EXPECT_EQ(fmt("%d+3", {-123}), "123");  // no padding left for the sign
    EXPECT_EQ(fmt("%d3", {12345}), "345");
    EXPECT_EQ(fmt("%u5|%u", {42, -1}), "   42|4294967295");
}

TEST(FormatText, HexAndOctalNeedAWidth) {
    EXPECT_EQ(fmt("%x4", {255}), "00FF");
    EXPECT_EQ(fmt("[%x]", {255}), "[]");
    EXPECT_EQ(fmt("%x2", {0x1234}), "34");
    EXPECT_EQ(fmt("%o3", {8}), "010");
    EXPECT_EQ(fmt("%lx8/%ld/%lo2", {0xDEADBEEFu, -7, 9}), "DEADBEEF/7/11");
}

TEST(FormatText, SixtyFourBitDecimal) {
    EXPECT_EQ(fmt("%t", {int64_t{5000000000}}), "5000000000");
    EXPECT_EQ(fmt("%t12|", {int64_t{-5000000000}}), "  5000000000|");
    EXPECT_EQ(fmt("%t+", {std::numeric_limits<int64_t>::min()}), "-9223372036854775808");
    EXPECT_EQ(fmt("%t", {4000000000u}), "4000000000");  // zero-extended, not sign-extended
}

TEST(FormatText, FixedPointTruncatesWithoutRounding) {
    EXPECT_EQ(fmt("[%f2.2kHz]", {22050 / 1000.0}), "[22.05kHz]");
    EXPECT_EQ(fmt("%f2.2", {22.05f}), "22.05");
    EXPECT_EQ(fmt("%f1.2", {0.29}), "0.29");
    EXPECT_EQ(fmt("%f2.0", {22.99}), "22.");
    EXPECT_EQ(fmt("%f", {3.75}), "3.");
    EXPECT_EQ(fmt("%f1.3", {0.00012}), "0.000");
    EXPECT_EQ(fmt("%f2.2", {123.456}), "123.45");  // integer part never cut
    EXPECT_EQ(fmt("%f1.2", {7}), "7.00");
    EXPECT_EQ(fmt("%f.1", {1e20}), "100000000000000000000.0");
}

TEST(FormatText, FixedPointSign) {
    EXPECT_EQ(fmt("%f4.1", {-1.25}), "   1.2");
    EXPECT_EQ(fmt("%f+4.1", {-1.25}), "  -1.2");
    EXPECT_EQ(fmt("%f+.1", {1.25}), "+1.2");
    EXPECT_EQ(fmt("%f+1.1", {-1.25}), "1.2");
}

TEST(FormatText, StringsAreCutAndPaddedToTheWidth) {
    EXPECT_EQ(fmt("%s5|", {"abc"}), "abc  |");
    EXPECT_EQ(fmt("%s2|", {"abc"}), "ab|");
    // "a" + U+3042: a width of 2 must not take half of the pair.
    EXPECT_EQ(fmt("%s2|", {"a\x82\xA0"}), "a |");
    EXPECT_EQ(fmt("%s3|", {"a\x82\xA0"}), "a\x82\xA0|");
    EXPECT_EQ(fmt("%s|%s", {std::string_view("xyz", 2), nullptr}), "xy|");
}

TEST(FormatText, CapitalLettersPrintFullWidth) {
    EXPECT_EQ(fmt("%Z2", {7}), "\x82\x4F\x82\x56");             // full-width 0 7
    EXPECT_EQ(fmt("%S", {"ab1"}), "\x82\x81\x82\x82\x82\x50");  // full-width a b 1
    EXPECT_EQ(fmt("%D+3", {5}), "\x81\x40\x81\x7B\x82\x54");    // ideographic space + 5
    EXPECT_EQ(fmt("%S3|", {"a"}), "\x82\x81    |");             // padded with ASCII spaces
    EXPECT_EQ(fmt("%lX2", {0xAB}), "\x82\x60\x82\x61");
}

TEST(FormatText, CharacterPercentAndUnknownDirectives) {
    EXPECT_EQ(fmt("[%d%c]", {3, 'a'}), "[3a]");
    EXPECT_EQ(fmt("100%%5"), "100%5");
    // Unknown letters, also after "l", take no argument.
    EXPECT_EQ(fmt("%q%lq%C%d", {4}), "4");
    EXPECT_EQ(fmt("%d/%s/%f1.1"), "0//0.0");  // missing arguments
    // A sign right after any letter is that directive's flag, not text.
    EXPECT_EQ(fmt("%s-%s", {"a", "b"}), "ab");
}

TEST(FormatText, ResumeDirectiveAppendsToExistingText) {
    char buffer[16] = "abc";
    EXPECT_EQ(formatText(buffer, "%r/%d", {5}), 5);
    EXPECT_STREQ(buffer, "abc/5");
}

TEST(FormatText, BoundedDestinationCutsAndReports) {
    char buffer[6];
    EXPECT_EQ(formatText(buffer, "%s", {"abcde"}), 5);
    EXPECT_EQ(formatText(buffer, "%s", {"abcdef"}), -1);
    EXPECT_STREQ(buffer, "abcde");
    // After a cut nothing resumes, even output that would still fit.
    EXPECT_EQ(formatText(buffer, "abcd\x82\xA0%c", {'x'}), -1);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(formatText(buffer, "%S", {"abc"}), -1);
    EXPECT_STREQ(buffer, "\x82\x81\x82\x82");

    char full[4] = {'x', 'y', 'z', 'w'};  // no terminator anywhere
    EXPECT_EQ(formatText(full, "%r!"), -1);
    EXPECT_EQ(full[3], '\0');

    char untouched = 'q';
    EXPECT_EQ(formatText(&untouched, 0, "abc"), -1);
    EXPECT_EQ(untouched, 'q');
}

}  // namespace
}  // namespace zeku
