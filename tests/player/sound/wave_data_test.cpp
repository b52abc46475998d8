// The player's RIFF walk and its conversion to 22050 Hz stereo, against
// small files built here and a reference model of the conversion rules.
#include "player/sound/wave_data.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/bytes/byte_buffer.h"

#include "tests/player/sound/sound_test_support.h"

namespace zeku {
namespace {

std::vector<int16_t> convert(uint32_t rateHz, uint16_t channels, const std::vector<int16_t>& in) {
    const WaveFormat format{1, channels, rateHz, 0, 0, 16, 0};
    const size_t bytes = in.size() * 2;
    std::vector<int16_t> out(convertedBytes(format, bytes) / 2 + 2, 0x5555);
    const size_t written = convertToOutput(format, reinterpret_cast<const uint8_t*>(in.data()),
                                           bytes, reinterpret_cast<uint8_t*>(out.data()));
    out.resize(written / 2);
    return out;
}

TEST(WaveConversion, RatesAndChannelsFollowTheOutputRules) {
    // Odd values catch a halving after the addition instead of before.
    const std::vector<int16_t> mono = {3, 5, -7, -9, 32767, 32767, -32768, -32767};
    EXPECT_EQ(convert(44100, 1, mono),
              (std::vector<int16_t>{3, 3, -7, -7, 32766, 32766, -32767, -32767}));
    EXPECT_EQ(convert(22050, 1, {1, -2, 3}), (std::vector<int16_t>{1, 1, -2, -2, 3, 3}));
    EXPECT_EQ(convert(44100, 2, {1, 2, 3, 4, -5, -5, -5, -5}),
              (std::vector<int16_t>{1, 3, -4, -4}));
    // Other rates are copied sample for sample (and play at 22050 Hz).
    EXPECT_EQ(convert(48000, 2, {1, 2, 3, 4}), (std::vector<int16_t>{1, 2, 3, 4}));
    EXPECT_EQ(convert(32000, 1, {9, 8}), (std::vector<int16_t>{9, 9, 8, 8}));
    EXPECT_EQ(convert(22050, 2, {1, 2, 3, 4}), (std::vector<int16_t>{1, 2, 3, 4}));
    // Any other channel count counts as stereo.
    EXPECT_EQ(convert(22050, 3, {1, 2, 3, 4}), (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(WaveConversion, SizesAreTheByteCountRules) {
    const WaveFormat mono44{1, 1, 44100, 0, 0, 16, 0};
    const WaveFormat mono22{1, 1, 22050, 0, 0, 16, 0};
    const WaveFormat stereo44{1, 2, 44100, 0, 0, 16, 0};
    EXPECT_EQ(convertedBytes(mono44, 1000), 1000u);  // same byte count, averaged
    EXPECT_EQ(convertedBytes(mono22, 1000), 2000u);  // doubled
    EXPECT_EQ(convertedBytes(stereo44, 1000), 500u);
    EXPECT_EQ(convertedBytes(kOutputFormat, 1001), 1001u);
}

TEST(RiffWave, TheWalkTakesTheFirstFormatAndDataChunks) {
    auto file = sound_test::wavFile(44100, 1, {1, 2, 3, 4});
    const auto parsed = parseRiffWave(file.data(), file.size());
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed->format.channels, 1);
    EXPECT_EQ(parsed->format.sampleRateHz, 44100u);
    EXPECT_EQ(parsed->format.bitsPerSample, 16);
    EXPECT_EQ(parsed->sampleBytes, 8u);
    EXPECT_EQ(parsed->samples, file.data() + 44);

    // An odd-sized chunk before "fmt " is skipped with its pad byte, and
    // later "fmt "/"data" chunks are ignored.
    std::vector<uint8_t> odd(file.begin(), file.begin() + 12);
    const uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    odd.insert(odd.end(), std::begin(list), std::end(list));
    odd.insert(odd.end(), file.begin() + 12, file.end());
    odd.insert(odd.end(), file.begin() + 12, file.end());
    storeLe32(odd.data() + 4, uint32_t(odd.size() - 8));
    const auto walked = parseRiffWave(odd.data(), odd.size());
    ASSERT_TRUE(walked.ok());
    EXPECT_EQ(walked->samples, odd.data() + 12 + sizeof list + 32);
    EXPECT_EQ(walked->sampleBytes, 8u);
}

TEST(RiffWave, DamagedOrUnplayableFilesAreRefused) {
    const auto good = sound_test::wavFile(22050, 2, {1, 2, 3, 4});
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        bool parses;
    };
    std::vector<Case> cases;
    auto edit = [&](const char* what, auto change, bool parses = false) {
        auto file = good;
        change(file);
        cases.push_back({what, file, parses});
    };
    edit("not RIFF", [](auto& f) { f[0] = 'X'; });
    edit("not WAVE", [](auto& f) { f[11] = 'X'; });
    edit("no chunks", [](auto& f) { storeLe32(f.data() + 4, 4); });
    edit("short fmt", [](auto& f) { storeLe32(f.data() + 16, 12); });
    edit("data past the end", [](auto& f) { storeLe32(f.data() + 40, 0x7FFFFFF0); });
    edit("truncated", [](auto& f) { f.resize(f.size() - 2); });
    edit("no data chunk", [](auto& f) { f[36] = 'x'; });
    edit("fmt past the end", [](auto& f) { f.resize(30); });
    // A 14-byte format chunk has no bits per sample: parsed, then unplayable.
    edit(
        "fmt of 14 bytes",
        [](auto& f) {
            storeLe32(f.data() + 16, 14);
            f.erase(f.begin() + 34, f.begin() + 36);
            storeLe32(f.data() + 4, uint32_t(f.size() - 8));
        },
        true);
    for (const Case& c : cases) {
        const auto parsed = parseRiffWave(c.file.data(), c.file.size());
        EXPECT_EQ(parsed.ok(), c.parses) << c.what;
        if (parsed.ok()) {
            EXPECT_FALSE(playableWave(parsed->format)) << c.what;
        }
    }
    EXPECT_FALSE(parseRiffWave(good.data(), 11).ok());
    EXPECT_FALSE(parseRiffWave(nullptr, 0).ok());

    const struct {
        uint32_t rate;
        uint16_t bits;
        bool playable;
    } formats[] = {{11025, 16, false}, {22050, 8, false}, {22050, 16, true}, {48000, 16, true}};
    for (const auto& f : formats) {
        const auto file = sound_test::wavFile(f.rate, 1, {1, 2}, f.bits);
        const auto parsed = parseRiffWave(file.data(), file.size());
        ASSERT_TRUE(parsed.ok());
        EXPECT_EQ(playableWave(parsed->format), f.playable) << f.rate << " Hz " << f.bits;
    }
}

}  // namespace
}  // namespace zeku
