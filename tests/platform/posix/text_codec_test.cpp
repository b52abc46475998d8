// Shift-JIS <-> UTF-8 conversion: known pairs, the Windows table's choices,
// round trips, and recovery from bytes that are not text.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/api/text_codec.h"

namespace zeku {
namespace {

constexpr const char* kFffd = "\xEF\xBF\xBD";

TEST(TextCodec, KnownPairsBothWays) {
    struct Pair {
        std::string sjis;
        std::string utf8;
    };
    const Pair pairs[] = {
        {"", ""},
        {"plain ASCII 123", "plain ASCII 123"},
        {"\x82\xA0", "\xE3\x81\x82"},                      // あ
        {"\x95\x5C\x8E\xA6", "\xE8\xA1\xA8\xE7\xA4\xBA"},  // 表示: 0x5C is a trail byte here
        {"\x95\x5C\\", "\xE8\xA1\xA8\\"},                  // ...and a real backslash after it
        {"~", "~"},                                        // not an overline in CP932
        {"\xB1\xDF", "\xEF\xBD\xB1\xEF\xBE\x9F"},          // half-width katakana
        {"\x87\x40", "\xE2\x91\xA0"},                      // ①, an NEC extension
        {"\x81\x60", "\xEF\xBD\x9E"},                      // the wave dash as Windows maps it
        {std::string("a\0b", 3), std::string("a\0b", 3)},  // embedded NUL is just a character
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(sjisToUtf8(p.sjis), p.utf8) << "sjis " << p.utf8;
        EXPECT_EQ(utf8ToSjis(p.utf8), p.sjis) << "utf8 " << p.utf8;
    }
}

TEST(TextCodec, BadShiftJisBecomesOneReplacementPerCharacter) {
    EXPECT_EQ(sjisToUtf8("A\x80"
                         "B"),
              std::string("A") + kFffd + "B");
    EXPECT_EQ(sjisToUtf8("\xFD\xFE\xFF"), std::string(kFffd) + kFffd + kFffd);
    // A lead byte before a byte that cannot trail: that byte survives.
    EXPECT_EQ(sjisToUtf8("\x82 1"), std::string(kFffd) + " 1");
    // Before one that can, the two are one unmapped character, as Windows reads them.
    EXPECT_EQ(sjisToUtf8("\x82"
                         "AB"),
              std::string(kFffd) + "B");
    // A well-formed but unassigned pair is one character.
    EXPECT_EQ(sjisToUtf8("\x85\x40\x82\xA0"), std::string(kFffd) + "\xE3\x81\x82");
    // Cut off after a lead byte, and the next call starts clean.
    EXPECT_EQ(sjisToUtf8("\x82\xA0\x82"), std::string("\xE3\x81\x82") + kFffd);
    EXPECT_EQ(sjisToUtf8("\xA0"
                         "x"),
              std::string(kFffd) + "x");
    EXPECT_EQ(sjisToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

TEST(TextCodec, BadOrForeignUtf8BecomesQuestionMarks) {
    EXPECT_EQ(utf8ToSjis("a\xFF"
                         "b"),
              "a?b");
    EXPECT_EQ(utf8ToSjis("\xC3\xA9"), "?");                      // é has no CP932 code
    EXPECT_EQ(utf8ToSjis("\xF0\x9F\x98\x80!"), "?!");            // nor an emoji: one '?', not four
    EXPECT_EQ(utf8ToSjis("\xE3\x81\x82\xE3\x81"), "\x82\xA0?");  // truncated at the end
    EXPECT_EQ(utf8ToSjis("\xE3"
                         "A"),
              "?A");                               // lead byte without its tail
    EXPECT_EQ(utf8ToSjis("\xED\xA0\x80"), "???");  // an encoded surrogate is not text
    EXPECT_EQ(utf8ToSjis("\xE0\x80\xAF"), "???");  // nor an overlong slash
    EXPECT_EQ(utf8ToSjis("\xE3\x81\x82"), "\x82\xA0");
}

TEST(TextCodec, EveryTwoByteInputConvertsAndIsStable) {
    // Whatever text comes out of Shift-JIS must survive the trip back and forth
    // unchanged (CP932 has duplicate codes, so the bytes may differ, the text not).
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = sjisToUtf8(std::string(bytes, 2));
            ASSERT_FALSE(utf8.empty());
            if (utf8.find(kFffd) != std::string::npos) continue;  // comes back as '?'
            ASSERT_EQ(sjisToUtf8(utf8ToSjis(utf8)), utf8) << lead << " " << trail;
        }
    }
}

TEST(TextCodec, ThreadsConvertIndependently) {
    const std::string sjis = "\x95\x5C\x8E\xA6\x82\xA0\x80";
    const std::string utf8 = std::string("\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\x82") + kFffd;
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (sjisToUtf8(sjis) != utf8) ++failures[t];
                if (utf8ToSjis(utf8) != "\x95\x5C\x8E\xA6\x82\xA0?") ++failures[t];
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int f : failures)
        EXPECT_EQ(f, 0);
}

}  // namespace
}  // namespace zeku
