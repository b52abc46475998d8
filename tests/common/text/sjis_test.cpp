// Tests for the Shift-JIS character routines and the full-width table.
// Byte strings are written as escapes; comments give the characters.
#include "common/text/sjis.h"

#include <gtest/gtest.h>

#include "common/text/full_width.h"

namespace zeku {
namespace {

TEST(Sjis, LeadByteRangesAndTheirEdges) {
    for (int c : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(c)));
    for (int c : {0x00, 0x5C, 0x80, 0xA0, 0xDF, 0xFD, 0xFF}) {
        EXPECT_FALSE(isLeadByte(static_cast<unsigned char>(c))) << c;
    }
    EXPECT_TRUE(isLeadByte('\x82'));  // plain char is signed here
}

TEST(Sjis, TextEqualsFoldsOnlyAsciiLetters) {
    EXPECT_EQ(textEquals("./Script.TXT", "./script.txt"), 1);
    EXPECT_EQ(textEquals("abc", "abcd"), 0);
    EXPECT_EQ(textEquals("abcd", "abc"), 0);
    EXPECT_EQ(textEquals("", ""), 1);
    // '@'/'`' and '['/'{' differ by the case bit but are not letters.
    EXPECT_EQ(textEquals("@[", "`{"), 0);
}

TEST(Sjis, TextEqualsComparesDoubleByteTrailsExactly) {
    // Katakana di (0x83 0x61) and a (0x83 0x41): the trails are the codes of
    // 'a' and 'A', so folding trail bytes would call them equal.
    EXPECT_EQ(textEquals("\x83\x61", "\x83\x41"), 0);
    EXPECT_EQ(textEquals("X\x95\x5Cy", "x\x95\x5CY"), 1);  // X + hyou + y
    EXPECT_EQ(textEquals(std::string_view("ab\x82", 3), std::string_view("AB\x82", 3)), 1);
    EXPECT_EQ(textEquals(std::string_view("ab\x82", 3), std::string_view("AB\x82\x41", 4)), 0);
}

TEST(Sjis, FindLastCharSkipsTrailBytes) {
    // "dir\" then U+8868 (0x95 0x5C): the trail byte is the backslash code.
    const char path[] = "dir\\\x95\x5C";
    EXPECT_EQ(findLastChar(path, '\\'), path + 3);
    EXPECT_EQ(findLastChar("\x95\x5C", '\\'), nullptr);
    const char dotted[] = "a.b.c";
    EXPECT_EQ(findLastChar(dotted, '.'), dotted + 3);
    EXPECT_EQ(findLastChar(dotted, '/'), nullptr);
    char lone[] = "a\\\x82";  // a lead byte directly before the terminator
    EXPECT_EQ(findLastChar(lone, '\\'), lone + 1);
}

TEST(Sjis, CopyAndAppendReturnTheTerminator) {
    char buffer[16];
    char* end = textCopy(buffer, "ab");
    EXPECT_EQ(end, buffer + 2);
    end = textAppend(buffer, "cd");
    EXPECT_EQ(end, buffer + 4);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(textLength(buffer), 4u);
}

TEST(Sjis, BoundedCopyNeverSplitsAPair) {
    char buffer[4];
    // "a" + U+3042 + U+3044: only "a" and one pair fit before the terminator.
    char* end = textCopy(buffer, sizeof(buffer), "a\x82\xA0\x82\xA2");
    EXPECT_STREQ(buffer, "a\x82\xA0");
    EXPECT_EQ(end, buffer + 3);
    end = textCopy(buffer, 3, "a\x82\xA0");
    EXPECT_STREQ(buffer, "a");
    end = textAppend(buffer, sizeof(buffer), "bcd");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(end, buffer + 3);
}

TEST(FullWidth, TableRowsFollowTheCodeOrder) {
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(fullWidthCode('0' + i), 0x824F + i);
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(fullWidthCode('A' + i), 0x8260 + i);
        EXPECT_EQ(fullWidthCode('a' + i), 0x8281 + i);
    }
    for (int c = 0x20; c <= 0xDF; ++c) {
        const uint16_t code = fullWidthCode(static_cast<unsigned char>(c));
        const bool mapped = c <= 0x7E || c >= 0xA0;
        EXPECT_EQ(code != 0, mapped) << c;
        if (mapped) {
            EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(code >> 8))) << c;
        }
    }
}

TEST(FullWidth, ConvertsSpecialCasesAndKeepsOtherBytes) {
    char out[64];
    // ab1 -> U+FF41 U+FF42 U+FF11
    EXPECT_EQ(toFullWidth(out, "ab1"), 3);
    EXPECT_STREQ(out, "\x82\x81\x82\x82\x82\x50");
    // "-", "\", " " -> U+FF3F, U+FFE5, U+3000
    toFullWidth(out, "-\\ ");
    EXPECT_STREQ(out, "\x81\x51\x81\x8F\x81\x40");
    // half-width A (0xB1) and the voicing mark (0xDE) -> U+30A2, U+309B
    toFullWidth(out, "\xB1\xDE");
    EXPECT_STREQ(out, "\x83\x41\x81\x4A");
    // double-byte U+3042, tab, 0x7F and 0x80 pass through unchanged
    EXPECT_EQ(toFullWidth(out, "\x82\xA0\t\x7F\x80"), 4);
    EXPECT_STREQ(out, "\x82\xA0\t\x7F\x80");
}

TEST(FullWidth, CutsAtPairBoundaryAndReportsIt) {
    char out[6];
    EXPECT_EQ(toFullWidth(out, sizeof(out), "abc"), -1);
    EXPECT_STREQ(out, "\x82\x81\x82\x82");
    EXPECT_EQ(toFullWidth(out, 5, "ab"), 2);
    EXPECT_EQ(toFullWidth(out, 0, "ab"), -1);
}

}  // namespace
}  // namespace zeku
