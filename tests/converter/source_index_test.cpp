// The archive index text: number reading, entry parsing with its refusals,
// the merge of two archives' lists and the search for the key.
#include "converter/pipeline/source_index.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace zeku {
namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

using ParsedIndex = Parsed<std::vector<SourceEntry>>;

ParsedIndex parse(const std::string& text, uint64_t dataSize = kNoDataLimit,
                  IndexParseMode mode = IndexParseMode::kLenient) {
    SourceIndexOptions options;
    options.mode = mode;
    options.dataSize = dataSize;
    const std::vector<uint8_t> bytes = bytesOf(text);
    return parseSourceIndex(bytes.data(), bytes.size(), 0, options);
}

ParsedIndex parseStrict(const std::string& text, uint64_t dataSize = kNoDataLimit) {
    return parse(text, dataSize, IndexParseMode::kStrict);
}

std::string entryText(const std::string& name, uint32_t offset, uint32_t size) {
    return "#" + name + "$" + std::to_string(offset) + "*" + std::to_string(size) + "+";
}

std::vector<SourceEntry> list(int archive, std::vector<std::string> names) {
    std::vector<SourceEntry> entries;
    uint32_t offset = 0;
    for (const std::string& name : names) {
        entries.push_back({archive, name, offset, 10});
        offset += 10;
    }
    return entries;
}

std::vector<std::string> namesOf(const std::vector<SourceEntry>& entries) {
    std::vector<std::string> names;
    for (const SourceEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

TEST(ConverterValue, WordsHexAndPlaceValueDecimal) {
    EXPECT_EQ(parseConverterValue("TRUE"), 1u);
    EXPECT_EQ(parseConverterValue("true"), 1u);
    EXPECT_EQ(parseConverterValue("TRUEish"), 1u);
    EXPECT_EQ(parseConverterValue("FALSE"), 0u);
    EXPECT_EQ(parseConverterValue("false7"), 0u);
    EXPECT_EQ(parseConverterValue("True"), 0u);  // neither spelling: decimal of letters

    EXPECT_EQ(parseConverterValue("0x1F"), 31u);
    EXPECT_EQ(parseConverterValue("0xabCD"), 0xABCDu);
    EXPECT_EQ(parseConverterValue("0x1g"), 16u);  // a non-hex character is a 0 digit
    EXPECT_EQ(parseConverterValue("0x"), 0u);
    EXPECT_EQ(parseConverterValue("0X10"), 10u);  // only a lower-case x starts hex

    EXPECT_EQ(parseConverterValue("1234"), 1234u);
    EXPECT_EQ(parseConverterValue("1a2"), 102u);
    EXPECT_EQ(parseConverterValue("42 "), 420u);
    EXPECT_EQ(parseConverterValue("-5"), 5u);
    EXPECT_EQ(parseConverterValue(""), 0u);
}

TEST(ConverterValue, LongTextsWrapModulo32Bits) {
    EXPECT_EQ(parseConverterValue("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(parseConverterValue("4294967297"), 1u);
    EXPECT_EQ(parseConverterValue("0x123456789"), 0x23456789u);
    EXPECT_EQ(parseConverterValue(std::string(40, '0') + "7"), 7u);
    EXPECT_EQ(parseConverterValue(std::string("1").append(31, '0')),
              0x80000000u);  // 10^31 mod 2^32
    EXPECT_EQ(parseConverterValue(std::string("1").append(32, '0')), 0u);
    EXPECT_EQ(parseConverterValue(std::string("7").append(100000, 'x')), 0u);
}

TEST(SourceIndexParse, ReadsEntriesInOrderAfterAnyPreamble) {
    const ParsedIndex result =
        parse("header text\r\n\x01\x02 " + entryText("bg/a.png", 0, 100) + "#b.wav$0x64*7+");
    ASSERT_TRUE(result.ok()) << result.error().reason();
    ASSERT_EQ(result->size(), 2u);
    EXPECT_EQ((*result)[0].name, "bg/a.png");
    EXPECT_EQ((*result)[0].offset, 0u);
    EXPECT_EQ((*result)[0].size, 100u);
    EXPECT_EQ((*result)[1].name, "b.wav");
    EXPECT_EQ((*result)[1].offset, 100u);
    EXPECT_EQ((*result)[1].size, 7u);
}

TEST(SourceIndexParse, EntriesMayFollowWithoutHash) {
    const ParsedIndex result = parse("#a$1*2+b$3*4+#c$5*6+d$7*8+");
    ASSERT_TRUE(result.ok()) << result.error().reason();
    ASSERT_EQ(result->size(), 4u);
    EXPECT_EQ(namesOf(*result), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ((*result)[3].offset, 7u);
    EXPECT_EQ((*result)[3].size, 8u);
}

TEST(SourceIndexParse, NamesRunToTheDollarAndNumbersToTheirMarks) {
    // Only "$" ends a name, only "*" an offset, only "+" a size.
    const ParsedIndex result = parse("#a+b*c$1#2*3$+##d$0*0+");
    ASSERT_TRUE(result.ok()) << result.error().reason();
    ASSERT_EQ(result->size(), 2u);
    EXPECT_EQ((*result)[0].name, "a+b*c");
    EXPECT_EQ((*result)[0].offset, 102u);  // "1#2": the "#" is a zero digit
    EXPECT_EQ((*result)[0].size, 30u);
    EXPECT_EQ((*result)[1].name, "#d");  // one "#" is skipped, a second is the name's
}

TEST(SourceIndexParse, TextWithoutHashListsNothing) {
    EXPECT_TRUE(parse("").ok());
    const ParsedIndex result = parse("only a comment");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result->empty());
}

TEST(SourceIndexParse, RefusesBrokenEntriesWithTheirOffset) {
    struct Case {
        std::string text;
        size_t offset;
        const char* reasonPart;
    };
    const std::vector<Case> cases = {
        {"#a$1*2+#b", 8, "'$'"},        // no "$"
        {"#a$1*2+#b$5", 10, "'*'"},     // no "*"
        {"#a$1*2+#b$5*6", 12, "'+'"},   // no "+"
        {"#a$1*2+\r\n", 7, "'$'"},      // text after the last "+"
        {"#a$1*2+#$1*2+", 8, "empty"},  // empty name
        {"#a$1*2+$1*2+", 7, "empty"},   // empty name without "#"
        {std::string("#a\0b$1*2+", 9), 2, "zero"},
    };
    for (const Case& c : cases) {
        const ParsedIndex result = parse(c.text);
        // A refusal holds no entries at all, so none can leak out half-parsed.
        ASSERT_FALSE(result.ok()) << c.text;
        const std::string_view reason = result.error().reason();
        EXPECT_EQ(result.error().offset(), c.offset) << c.text;
        EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << reason;
    }
}

TEST(SourceIndexParse, NamesUpTo127Bytes) {
    EXPECT_TRUE(parse(entryText(std::string(127, 'n'), 0, 1)).ok());
    const ParsedIndex result = parse("#x$0*0+" + entryText(std::string(128, 'n'), 0, 1));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().offset(), 8u);
    EXPECT_FALSE(parseStrict(entryText(std::string(128, 'n'), 0, 1)).ok());
}

TEST(SourceIndexParse, AtMost8192Entries) {
    std::string text;
    for (int i = 0; i < 8192; ++i)
        text += entryText(std::string("f").append(std::to_string(i)), 0, 1);
    const ParsedIndex full = parse(text);
    ASSERT_TRUE(full.ok()) << full.error().reason();
    EXPECT_EQ(full->size(), 8192u);
    EXPECT_TRUE(parseStrict(text).ok());

    const size_t extraAt = text.size();
    text += entryText("one-more", 0, 1);
    for (const ParsedIndex& result : {parse(text), parseStrict(text)}) {
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().offset(), extraAt);
        EXPECT_NE(std::string_view(result.error().reason()).find("8192"), std::string::npos);
    }
}

TEST(SourceIndexParse, EntriesMustEndInsideTheDataFile) {
    EXPECT_TRUE(parse(entryText("a", 90, 10), 100).ok());
    const ParsedIndex result = parse(entryText("a", 0, 1) + entryText("b", 90, 11), 100);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().offset(), 7u);
    EXPECT_NE(std::string_view(result.error().reason()).find("\"b\""), std::string::npos)
        << result.error().reason();

    // offset + size must not wrap in 32 bits.
    const uint64_t fourGiB = uint64_t{1} << 32;
    EXPECT_TRUE(parse(entryText("big", 0xFFFFFFFFu, 1), fourGiB).ok());
    EXPECT_FALSE(parse(entryText("big", 0xFFFFFFFFu, 2), fourGiB).ok());
    EXPECT_FALSE(parse(entryText("big", 0xFFFFFFFFu, 2), 100).ok());
}

TEST(SourceIndexParse, ShiftJisNameWithNameBytesUnchanged) {
    // "ア" (0x83 0x41) and a trail byte 0x5C that is no folder separator.
    const std::string name = "bg/\x83\x41\x95\x5C.png";
    const ParsedIndex result = parseStrict(entryText(name, 1, 2));
    ASSERT_TRUE(result.ok()) << result.error().reason();
    EXPECT_EQ((*result)[0].name, name);
}

TEST(SourceIndexParse, StrictFormRefusesWhatOnlyAWrongKeyProduces) {
    EXPECT_TRUE(parseStrict("comment\tline\r\n" + entryText("a", 0, 1) + "#b$0x1F*0xff+").ok());
    EXPECT_TRUE(parseStrict("no entries at all").ok());

    const std::vector<std::string> refused = {
        std::string("\x01").append(entryText("a", 0, 1)),  // control byte before the first "#"
        "#a\x7F$0*1+",                                     // control byte in a name
        "#a$1a2*1+",                                       // letters in a decimal number
        "#a$*1+",                                          // empty number
        "#a$0x*1+",                                        // "0x" without digits
        "#a$4294967296*1+",                                // beyond 32 bits
        "#a$0x100000000*1+",
        "#\x83$0*1+",                // lead byte without its trail
        "#\x83\x20$0*1+",            // lead byte with a trail that cannot be one
        "#\x80$0*1+",                // not a Shift-JIS byte
        entryText("a", 0, 1) + "x",  // not ending with "+"
    };
    for (const std::string& text : refused) {
        EXPECT_FALSE(parseStrict(text).ok()) << text;
    }
    // The lenient form takes the numbers as they come.
    EXPECT_EQ(parse("#a$1a2*1+")->at(0).offset, 102u);
}

TEST(SourceIndexParse, KeyIsAppliedWhileReading) {
    std::vector<uint8_t> text = bytesOf("intro#a.png$10*20+b.txt$0x1e*2+");
    scrambleBytes(text.data(), text.size(), 0xA7);
    SourceIndexOptions options;
    options.key = 0xA7;
    const ParsedIndex result = parseSourceIndex(text.data(), text.size(), 1, options);
    ASSERT_TRUE(result.ok()) << result.error().reason();
    ASSERT_EQ(result->size(), 2u);
    EXPECT_EQ((*result)[1].name, "b.txt");
    EXPECT_EQ((*result)[1].offset, 30u);
    EXPECT_EQ((*result)[1].archive, 1);

    scrambleBytes(text.data(), text.size(), 0xA7);
    EXPECT_EQ(text, bytesOf("intro#a.png$10*20+b.txt$0x1e*2+"));
}

TEST(SourceIndexMerge, SecondArchiveFirstAndWinsNames) {
    const std::vector<SourceEntry> first = list(0, {"a.png", "b.png", "c.png"});
    std::vector<SourceEntry> second = list(1, {"x.png", "B.PNG"});
    second[1].offset = 500;
    second[1].size = 77;
    const std::vector<SourceEntry> merged = mergeSourceIndexes(first, second);
    EXPECT_EQ(namesOf(merged), (std::vector<std::string>{"x.png", "B.PNG", "a.png", "c.png"}));
    EXPECT_EQ(merged[1].archive, 1);
    EXPECT_EQ(merged[1].offset, 500u);
    EXPECT_EQ(merged[1].size, 77u);
    EXPECT_EQ(merged[2].archive, 0);
}

TEST(SourceIndexMerge, RepeatedNamesAreTakenOnceTheFirstTime) {
    std::vector<SourceEntry> first = list(0, {"a", "A", "b", "a"});
    const std::vector<SourceEntry> merged = mergeSourceIndexes(first, list(1, {"z", "Z"}));
    ASSERT_EQ(namesOf(merged), (std::vector<std::string>{"z", "a", "b"}));
    EXPECT_EQ(merged[1].offset, 0u);  // the first "a", not the later ones
}

TEST(SourceIndexMerge, DoubleByteTrailsAreNotFoldedLikeLetters) {
    // 0x83 0x41 is "ア", 0x83 0x61 is "ヂ": a case fold of the trail would join them.
    const std::vector<SourceEntry> merged = mergeSourceIndexes(
        list(0, {"\x83\x61.png", "\x83\x41.PNG", "Q\x83\x41.png"}), list(1, {"\x83\x41.png"}));
    EXPECT_EQ(namesOf(merged),
              (std::vector<std::string>{"\x83\x41.png", "\x83\x61.png", "Q\x83\x41.png"}));
}

std::vector<uint8_t> scrambled(const std::string& text, uint8_t key) {
    std::vector<uint8_t> bytes = bytesOf(text);
    scrambleBytes(bytes.data(), bytes.size(), key);
    return bytes;
}

TEST(SourceKeySearch, FindsTheOneKeyThatListsFiles) {
    const std::vector<uint8_t> first =
        scrambled("readme\r\n" + entryText("a.png", 0, 10) + entryText("b.png", 10, 5), 0x5A);
    const std::vector<uint8_t> second = scrambled(entryText("a.png", 0, 3), 0x5A);
    EXPECT_EQ(findArchiveKeys({first.data(), first.size(), 15}, {}), std::vector<uint8_t>{0x5A});
    EXPECT_EQ(findArchiveKeys({first.data(), first.size(), 15}, {second.data(), second.size(), 3}),
              std::vector<uint8_t>{0x5A});
    // Only the second index lists files.
    EXPECT_EQ(findArchiveKeys({}, {second.data(), second.size(), 3}), std::vector<uint8_t>{0x5A});
}

TEST(SourceKeySearch, NoKeyWhenAnIndexDoesNotFit) {
    const std::vector<uint8_t> first = scrambled(entryText("a.png", 0, 10), 0x5A);
    // Entries beyond the data file rule the only candidate out.
    EXPECT_TRUE(findArchiveKeys({first.data(), first.size(), 9}, {}).empty());
    // The first fits, the second does not.
    const std::vector<uint8_t> second = scrambled(entryText("b.png", 0, 5), 0x5A);
    EXPECT_EQ(findArchiveKeys({first.data(), first.size(), 10}, {second.data(), second.size(), 5}),
              std::vector<uint8_t>{0x5A});
    EXPECT_TRUE(findArchiveKeys({first.data(), first.size(), 10}, {second.data(), second.size(), 4})
                    .empty());
    // Text without entries fits many keys but proves none.
    const std::vector<uint8_t> comment = scrambled("readme", 0x20);
    EXPECT_TRUE(findArchiveKeys({comment.data(), comment.size(), 0}, {}).empty());
    EXPECT_TRUE(findArchiveKeys({}, {}).empty());
}

TEST(SourceKeySearch, FullIndexIsSearchedWellUnderASecond) {
    std::string text = "header\r\n";
    uint32_t offset = 0;
    for (int i = 0; i < 8192; ++i) {
        text += entryText("picture/\x83\x41" + std::to_string(i) + ".png", offset, 1000);
        offset += 1000;
    }
    const std::vector<uint8_t> first = scrambled(text, 0xC3);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<uint8_t> keys = findArchiveKeys({first.data(), first.size(), offset}, {});
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(keys, std::vector<uint8_t>{0xC3});
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
}

}  // namespace
}  // namespace zeku
