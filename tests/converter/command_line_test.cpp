// convZeku's options: item texts and indexes, and what is refused.
#include "converter/app/command_line.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

bool parse(std::vector<std::string> arguments, ConvertOptions& options) {
    std::string error;
    return parseConvertOptions(arguments, options, error);
}

TEST(ConvertOptions, DefaultsAreTheDialogsDefaults) {
    ConvertOptions options;
    ASSERT_TRUE(parse({"--game", "/g"}, options));
    EXPECT_EQ(options.gameFolder, "/g");
    EXPECT_EQ(options.bitrateIndex, 3);
    EXPECT_EQ(options.rateIndex, 0);
    EXPECT_TRUE(options.stereo);
    EXPECT_EQ(options.resolutionIndex, 0);
    EXPECT_EQ(options.qualityIndex, 0);
    EXPECT_FALSE(options.key.has_value());
}

TEST(ConvertOptions, ItemTextsAndIndexesBothSelect) {
    ConvertOptions options;
    ASSERT_TRUE(parse({"--bitrate", "64/32kbit", "--rate", "44.10kHz", "--mono", "--screen",
                       "640*480", "--quality", "2", "--key", "0x5a", "--jobs", "3"},
                      options));
    EXPECT_EQ(options.bitrateIndex, 3);
    EXPECT_EQ(options.rateIndex, 1);
    EXPECT_FALSE(options.stereo);
    EXPECT_EQ(options.resolutionIndex, 1);
    EXPECT_EQ(options.qualityIndex, 2);
    EXPECT_EQ(options.key, std::optional<uint8_t>(0x5A));
    EXPECT_EQ(options.jobs, 3);

    EXPECT_TRUE(options.tracksFolder.empty());
    ASSERT_TRUE(parse({"--tracks", "/music/kumoine cd"}, options));
    EXPECT_EQ(options.tracksFolder, "/music/kumoine cd");

    ASSERT_TRUE(parse({"--bitrate", "12", "--rate", "0", "--screen", "320x240"}, options));
    EXPECT_EQ(options.bitrateIndex, 12);
    EXPECT_EQ(options.rateIndex, 0);
    EXPECT_EQ(options.resolutionIndex, 0);
}

TEST(ConvertOptions, KeysAreDecimalUnlessMarkedHexAndRatesMayBeHertz) {
    // A key without "0x" is decimal, like every other number of the line.
    const std::pair<const char*, int> keys[] = {
        {"10", 10}, {"0x10", 0x10}, {"0XfF", 0xFF}, {"255", 255}, {"007", 7}};
    for (const auto& [text, key] : keys) {
        ConvertOptions options;
        ASSERT_TRUE(parse({"--key", text}, options)) << text;
        EXPECT_EQ(options.key, std::optional<uint8_t>(key)) << text;
    }
    const std::pair<const char*, int> rates[] = {{"44100", 1}, {"22050", 0}};
    for (const auto& [text, index] : rates) {
        ConvertOptions options;
        options.rateIndex = 1 - index;
        ASSERT_TRUE(parse({"--rate", text}, options)) << text;
        EXPECT_EQ(options.rateIndex, index) << text;
    }
}

TEST(ConvertOptions, BadValuesAndUnknownOptionsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bitrate", "13"},     {"--bitrate", "64kbit"}, {"--rate", "48kHz"},
        {"--screen", "800*600"}, {"--quality", "4"},      {"--quality", "-1"},
        {"--key", "0x100"},      {"--key", "zz"},         {"--key", "5A"},
        {"--key", "256"},        {"--key", "0x"},         {"--rate", "44.1"},
        {"--rate", "48000"},     {"--jobs", "0"},         {"--game"},
        {"--frobnicate"},        {"--game", ""},          {"--tracks"},
        {"--tracks", ""}};
    for (const auto& arguments : bad) {
        ConvertOptions options;
        std::string error;
        EXPECT_FALSE(parseConvertOptions(arguments, options, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace zeku
