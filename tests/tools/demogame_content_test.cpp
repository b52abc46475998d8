// What the demo game holds: the same bytes on every build, pictures and
// sounds that ordinary readers accept in the sizes and formats the converter
// and the player expect, and a large variant that is really varied.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "platform/api/png_file.h"
#include "tests/tools/demogame_test_support.h"
#include "tools/demogame/demo_game.h"

namespace zeku {
namespace {

using demo::DemoFile;
using demo::DemoGame;
using test_support::findChunk;
using test_support::RiffChunk;
using test_support::walkRiff;

const DemoGame& defaultGame() {
    static const DemoGame game = demo::buildDemoGame({});
    return game;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<const DemoFile*> allFiles(const DemoGame& game) {
    std::vector<const DemoFile*> files;
    for (const auto* archive : {&game.first, &game.second}) {
        for (const DemoFile& file : *archive)
            files.push_back(&file);
    }
    return files;
}

TEST(DemoContent, TwoBuildsGiveTheSameBytes) {
    const DemoGame again = demo::buildDemoGame({});
    const auto a = allFiles(defaultGame());
    const auto b = allFiles(again);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i]->name, b[i]->name);
        EXPECT_TRUE(a[i]->bytes == b[i]->bytes) << a[i]->name;
    }
}

TEST(DemoContent, DefaultGameStaysSmall) {
    int pictures = 0;
    int sounds = 0;
    size_t bytes = 0;
    for (const DemoFile* file : allFiles(defaultGame())) {
        pictures += endsWith(file->name, ".png") || endsWith(file->name, ".bmp");
        sounds += endsWith(file->name, ".wav");
        bytes += file->bytes.size();
    }
    EXPECT_LE(pictures, 20);
    EXPECT_LE(sounds, 8);
    EXPECT_LT(bytes, 6u << 20) << "the default game is converted in every test run";
}

// Pixel (x, y) of a decoded picture.
const uint8_t* pixelAt(const PngPicture& picture, int x, int y) {
    return &picture.pixels[(static_cast<size_t>(y) * picture.width + x) * picture.channels];
}

TEST(DemoContent, PicturesDecodeInTheirExpectedSizes) {
    int backgrounds = 0;
    int characters = 0;
    int bitmaps8 = 0;
    int bitmaps24 = 0;
    for (const DemoFile* file : allFiles(defaultGame())) {
        if (endsWith(file->name, ".png")) {
            PngPicture picture;
            std::string error;
            ASSERT_TRUE(readPngMemory(file->bytes.data(), file->bytes.size(), picture, error))
                << file->name << ": " << error;
            if (file->name.find("/bg/") != std::string::npos ||
                file->name.find("/BG/") != std::string::npos) {
                EXPECT_EQ(picture.width, 800);
                EXPECT_EQ(picture.height, 600);
                EXPECT_EQ(picture.channels, 3) << file->name;
                ++backgrounds;
            } else if (file->name.find("/st/") != std::string::npos) {
                EXPECT_EQ(picture.width, 300);
                EXPECT_EQ(picture.height, 500);
                EXPECT_EQ(picture.channels, 4) << file->name;
                ++characters;
            } else if (file->name == "./sysetc.png") {
                EXPECT_EQ(picture.width, 640);
                EXPECT_EQ(picture.height, 480);
                EXPECT_EQ(picture.channels, 3);
            }
        } else if (endsWith(file->name, ".bmp")) {
            const std::vector<uint8_t>& b = file->bytes;
            ASSERT_GE(b.size(), 54u);
            EXPECT_EQ(loadLe32(&b[2]), b.size());
            EXPECT_EQ(loadLe32(&b[18]), 800u);
            EXPECT_EQ(loadLe32(&b[22]), 600u);
            const uint16_t bits = loadLe16(&b[28]);
            bitmaps8 += bits == 8;
            bitmaps24 += bits == 24;
            ASSERT_TRUE(bits == 8 || bits == 24) << file->name;
            const uint32_t row = (800u * bits / 8 + 3) & ~3u;
            EXPECT_EQ(loadLe32(&b[10]) + row * 600u, b.size());
            ++backgrounds;
        }
    }
    EXPECT_GE(backgrounds, 4);
    EXPECT_GE(characters, 4);
    EXPECT_GE(bitmaps8, 1);
    EXPECT_GE(bitmaps24, 1);
}

const DemoFile& fileNamed(const DemoGame& game, const std::string& name) {
    for (const DemoFile* file : allFiles(game)) {
        if (file->name == name) return *file;
    }
    static const DemoFile missing;
    ADD_FAILURE() << name << " is missing";
    return missing;
}

TEST(DemoContent, CharacterAlphaFollowsTheChosenConvention) {
    // The corner is empty, the belly solid, and the soft edge lies between.
    demo::DemoGameOptions ordinary;
    ordinary.alphaMeansTransparency = false;
    const DemoGame plain = demo::buildDemoGame(ordinary);
    for (const DemoGame* game : {&defaultGame(), &plain}) {
        const bool transparency = game == &defaultGame();
        const DemoFile& file = fileNamed(*game, "./st/hiyo02.png");
        PngPicture picture;
        std::string error;
        ASSERT_TRUE(readPngMemory(file.bytes.data(), file.bytes.size(), picture, error)) << error;
        ASSERT_EQ(picture.channels, 4);
        const uint8_t clear = transparency ? 255 : 0;
        const uint8_t solid = transparency ? 0 : 255;
        EXPECT_EQ(pixelAt(picture, 0, 0)[3], clear);
        EXPECT_EQ(pixelAt(picture, 150, 330)[3], solid);
        int partial = 0;
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t a = pixelAt(picture, x, 330)[3];
            partial += a != 0 && a != 255;
        }
        EXPECT_GE(partial, 2) << "anti-aliased edges on both sides";
    }
}

TEST(DemoContent, SystemImageMaskIsBlackUnderTheWaitIcon) {
    const DemoFile& file = fileNamed(defaultGame(), "./sysetc.png");
    PngPicture picture;
    std::string error;
    ASSERT_TRUE(readPngMemory(file.bytes.data(), file.bytes.size(), picture, error)) << error;
    // The player rebuilds the icon's alpha from the cell to its right: a
    // high colour byte of 0 means opaque, 0xFF clear.
    int shown = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t* icon = pixelAt(picture, 64 + x, y);
            const uint8_t* mask = pixelAt(picture, 96 + x, y);
            if (mask[0] == 0 && mask[1] == 0 && mask[2] == 0) {
                ++shown;
                EXPECT_GT(icon[0] + icon[1] + icon[2], 300) << "a visible pixel is bright";
            }
        }
    }
    EXPECT_GT(shown, 60);
    EXPECT_LT(shown, 32 * 28) << "the mask leaves the cell's edges clear";
    const uint8_t* corner = pixelAt(picture, 96, 31);
    EXPECT_EQ(corner[0], 255);
    EXPECT_EQ(corner[1], 255);
}

TEST(DemoContent, SoundsAreShortPcmInEveryFormatTheConverterTakes) {
    std::set<uint32_t> rates;
    std::set<uint16_t> channels;
    std::set<uint16_t> bits;
    int sounds = 0;
    for (const DemoFile* file : allFiles(defaultGame())) {
        if (!endsWith(file->name, ".wav")) continue;
        ++sounds;
        std::vector<RiffChunk> chunks;
        ASSERT_TRUE(walkRiff(file->bytes, chunks)) << file->name;
        const RiffChunk* format = findChunk(chunks, "fmt ");
        const RiffChunk* data = findChunk(chunks, "data");
        ASSERT_TRUE(format != nullptr && data != nullptr) << file->name;
        const uint8_t* f = &file->bytes[format->dataOffset];
        ASSERT_EQ(loadLe16(f), 1u) << "PCM";
        const uint16_t count = loadLe16(f + 2);
        const uint32_t rate = loadLe32(f + 4);
        const uint16_t blockAlign = loadLe16(f + 12);
        const uint16_t sampleBits = loadLe16(f + 14);
        EXPECT_EQ(blockAlign, count * sampleBits / 8);
        EXPECT_EQ(loadLe32(f + 8), rate * blockAlign);
        ASSERT_EQ(data->size % blockAlign, 0u);
        const double seconds = static_cast<double>(data->size / blockAlign) / rate;
        EXPECT_GT(seconds, 0.02) << file->name;
        EXPECT_LT(seconds, 2.0) << file->name;
        rates.insert(rate);
        channels.insert(count);
        bits.insert(sampleBits);

        // Loud enough to hear, not clipped flat.
        int peak = 0;
        int atLimit = 0;
        const uint8_t* samples = &file->bytes[data->dataOffset];
        const size_t values = data->size / (sampleBits / 8);
        for (size_t i = 0; i < values; ++i) {
            const int v = sampleBits == 8 ? (samples[i] - 128) * 256
                                          : static_cast<int16_t>(loadLe16(samples + i * 2));
            peak = std::max(peak, std::abs(v));
            atLimit += v >= 32767 || v <= -32768;
        }
        EXPECT_GT(peak, 8000) << file->name;
        EXPECT_LT(atLimit, 4) << file->name;
    }
    EXPECT_GE(sounds, 4);
    EXPECT_EQ(rates, (std::set<uint32_t>{22050, 44100}));
    EXPECT_EQ(channels, (std::set<uint16_t>{1, 2}));
    EXPECT_EQ(bits, (std::set<uint16_t>{8, 16}));
}

TEST(DemoContent, LargeGameAddsVariedPicturesAndSoundsTheSameEveryTime) {
    demo::DemoGameOptions options;
    options.large = true;
    options.largeBackgrounds = 10;
    options.largeCharacters = 6;
    options.largeSounds = 3;
    const DemoGame large = demo::buildDemoGame(options);
    ASSERT_EQ(large.first.size(), defaultGame().first.size() + 19);
    EXPECT_EQ(large.second.size(), defaultGame().second.size());

    const DemoGame again = demo::buildDemoGame(options);
    ASSERT_EQ(again.first.size(), large.first.size());
    std::set<std::string> distinct;  // the bytes as text: GCC 12 -O3 warns falsely on vector keys
    std::set<std::string> names;
    for (size_t i = defaultGame().first.size(); i < large.first.size(); ++i) {
        EXPECT_EQ(large.first[i].name, again.first[i].name);
        EXPECT_TRUE(large.first[i].bytes == again.first[i].bytes) << large.first[i].name;
        distinct.insert(std::string(large.first[i].bytes.begin(), large.first[i].bytes.end()));
        names.insert(large.first[i].name);
        EXPECT_LE(large.first[i].name.size(), 63u);
    }
    EXPECT_EQ(distinct.size(), 19u) << "no two extra files alike";
    EXPECT_EQ(names.size(), 19u);
    // The tenth background is a 24-bit bitmap, the others PNG.
    EXPECT_TRUE(endsWith(large.first[defaultGame().first.size() + 9].name, ".bmp"));
}

}  // namespace
}  // namespace zeku
