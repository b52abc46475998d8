// The MP3 stream over the real overlay: one frame of samples per frame, the
// leftover between reads, tags kept away from the decoder, the end, the
// loop, a damaged frame, and no overlay at all.
#include "player/sound/mp3_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/converter/mp3_test_decoder.h"
#include "tests/player/sound/sound_test_support.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using sound_test::builtOverlay;

std::vector<uint8_t> readAll(Mp3Stream& stream, size_t chunk, bool loop = false,
                             size_t limit = 1 << 24) {
    std::vector<uint8_t> out;
    std::vector<uint8_t> buffer(chunk + kDecodedFrameBytes);
    while (!stream.ended() && out.size() < limit) {
        const size_t got = stream.read(buffer.data(), chunk, loop);
        EXPECT_LE(got, chunk);
        out.insert(out.end(), buffer.begin(), buffer.begin() + long(got));
        if (got == 0) break;
    }
    return out;
}

struct Mp3Case {
    uint32_t rateHz;
    int channels;
    int kbps;
};

class Mp3StreamTest : public testing::TestWithParam<Mp3Case> {};

TEST_P(Mp3StreamTest, EveryFrameDecodesToOneFrameOfSamplesAtTheSourcePitch) {
    const Mp3Case c = GetParam();
    const auto pcm = sound_test::sine(c.rateHz, c.channels, 440, c.rateHz);
    const auto mp3 = sound_test::mp3File(pcm, c.rateHz, c.channels, c.kbps);
    const auto scan = test_support::scanMp3Frames(mp3);
    ASSERT_TRUE(scan.ok);

    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(mp3.data(), mp3.size()), 0);
    EXPECT_EQ(stream.outputFormat().channels, c.channels);
    EXPECT_EQ(stream.outputFormat().sampleRateHz, c.rateHz);
    EXPECT_EQ(stream.outputFormat().blockAlign, c.channels * 2);
    const auto decoded = readAll(stream, 10000);
    EXPECT_TRUE(stream.ended());
    const size_t samplesPerFrame = c.rateHz >= 32000 ? 1152 : 576;
    EXPECT_EQ(decoded.size(), size_t(scan.frameCount) * samplesPerFrame * size_t(c.channels) * 2);
    EXPECT_LE(decoded.size(), stream.estimate());

    std::vector<int16_t> samples(decoded.size() / 2);
    std::memcpy(samples.data(), decoded.data(), decoded.size());
    const size_t frames = samples.size() / size_t(c.channels);
    EXPECT_NEAR(
        test_support::zeroCrossingHz(samples, c.channels, 0, frames / 4, frames / 2, c.rateHz), 440,
        5);
}

INSTANTIATE_TEST_SUITE_P(Formats, Mp3StreamTest,
                         testing::Values(Mp3Case{44100, 2, 128}, Mp3Case{22050, 1, 32},
                                         Mp3Case{22050, 2, 64}));

class Mp3StreamFixture : public testing::Test {
  protected:
    void SetUp() override {
        mp3_ = sound_test::mp3File(sound_test::sine(22050, 2, 330, 22050), 22050, 2, 64);
        ASSERT_FALSE(mp3_.empty());
        Mp3Stream stream(&builtOverlay());
        ASSERT_EQ(stream.openMemory(mp3_.data(), mp3_.size()), 0);
        reference_ = readAll(stream, 1 << 20);
        ASSERT_GT(reference_.size(), 20000u);
    }
    std::vector<uint8_t> mp3_;
    std::vector<uint8_t> reference_;
};

TEST_F(Mp3StreamFixture, ReadReturnsExactlyWantAndTheNextReadBeginsWithTheKeptBytes) {
    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(mp3_.data(), mp3_.size()), 0);
    // 1000 is no multiple of a decoded frame, so every read leaves bytes over.
    std::vector<uint8_t> buffer(1000 + kDecodedFrameBytes);
    EXPECT_EQ(stream.read(buffer.data(), 1000, false), 1000u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 1000, reference_.begin()));
    EXPECT_EQ(stream.read(buffer.data(), 1000, false), 1000u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 1000, reference_.begin() + 1000));
    EXPECT_EQ(readAll(stream, 777).size() + 2000, reference_.size());
}

TEST_F(Mp3StreamFixture, TagsNeverReachTheDecoder) {
    // An ID3v2 tag of declared size N starts decoding at byte N + 10; its
    // body and the ID3v1 block are full of frame-sync bytes to catch a slip.
    const size_t tagSize = 300;
    std::vector<uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 2, 300 - 256};
    tagged.insert(tagged.end(), tagSize, 0xFF);
    tagged.insert(tagged.end(), mp3_.begin(), mp3_.end());
    std::vector<uint8_t> v1 = {'T', 'A', 'G'};
    v1.resize(128, 0xFF);
    tagged.insert(tagged.end(), v1.begin(), v1.end());

    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(tagged.data(), tagged.size()), 0);
    EXPECT_EQ(readAll(stream, 4096), reference_);

    const test_support::TempFolder folder;
    const std::string path = (folder.path() / "tagged.mp3").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(tagged.data()), std::streamsize(tagged.size()));
    ASSERT_EQ(stream.openFile(path.c_str(), 0, 0), 0);
    EXPECT_EQ(readAll(stream, 4096), reference_);
}

TEST_F(Mp3StreamFixture, TheEndStopsAPlainStreamAndRewindsALoopingOne) {
    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(mp3_.data(), mp3_.size()), 0);
    const auto looped = readAll(stream, 8192, true, reference_.size() * 3);
    EXPECT_FALSE(stream.ended());
    EXPECT_GE(looped.size(), reference_.size() * 3);
    stream.rewind();
    std::vector<uint8_t> buffer(8192 + kDecodedFrameBytes);
    EXPECT_GT(stream.read(buffer.data(), 8192, false), 0u);
}

TEST_F(Mp3StreamFixture, ADamagedFrameEndsTheStreamOrRestartsALoopingOne) {
    const auto scan = test_support::scanMp3Frames(mp3_);
    // Break the header of a frame in the middle: everything before it plays.
    std::vector<uint8_t> damaged = mp3_;
    size_t at = 0;
    int frame = 0;
    const size_t frameBytes = reference_.size() / size_t(scan.frameCount);
    // Constant bit rate at 22050 Hz (MPEG-2), 64 kbit/s: frames of 208
    // bytes, 209 with the padding bit.
    for (; frame < scan.frameCount / 2; ++frame)
        at += 72 * 64000 / 22050 + ((damaged[at + 2] >> 1) & 1);
    damaged[at] = 0;
    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(damaged.data(), damaged.size()), 0);
    EXPECT_EQ(readAll(stream, 4096).size(), size_t(frame) * frameBytes);
    EXPECT_TRUE(stream.ended());

    ASSERT_EQ(stream.openMemory(damaged.data(), damaged.size()), 0);
    readAll(stream, 4096, true, reference_.size() * 2);
    EXPECT_FALSE(stream.ended());
}

TEST(Mp3Stream, WithoutAUsableOverlayOrFirstFrameNothingOpens) {
    const auto mp3 = sound_test::mp3File(sound_test::sine(2000, 1, 440, 22050), 22050, 1, 32);
    Mp3Overlay none;
    const std::string missing = "/nonexistent/Zuzidovu.ovl";
    EXPECT_FALSE(none.load(&missing, 1));
    EXPECT_TRUE(none.description.empty());
    EXPECT_EQ(Mp3Stream(&none).openMemory(mp3.data(), mp3.size()), 1);
    EXPECT_EQ(Mp3Stream(nullptr).openMemory(mp3.data(), mp3.size()), 1);

    Mp3Stream stream(&builtOverlay());
    const uint8_t junk[] = {'R', 'I', 'F', 'F', 0xFF, 0xFB, 0x90, 0x00};
    EXPECT_EQ(stream.openMemory(junk, sizeof junk), 1);
    EXPECT_EQ(stream.openMemory(mp3.data(), 3), 1);
    // A looping stream whose first frame cannot decode ends rather than spin.
    std::vector<uint8_t> headerOnly(mp3.begin(), mp3.begin() + 4);
    if (stream.openMemory(headerOnly.data(), headerOnly.size()) == 0) {
        std::vector<uint8_t> buffer(4096 + kDecodedFrameBytes);
        EXPECT_EQ(stream.read(buffer.data(), 4096, true), 0u);
        EXPECT_TRUE(stream.ended());
    }
}

TEST(Mp3Stream, TheBuiltOverlayNamesItsDecoderAndVersion) {
    // "mpg123 <major>.<minor>.<patch>": what the menu's status line shows.
    const std::string& text = builtOverlay().description;
    ASSERT_EQ(text.rfind("mpg123 ", 0), 0u) << text;
    int dots = 0;
    for (size_t i = 7; i < text.size(); ++i) {
        if (text[i] == '.') {
            ++dots;
        } else {
            EXPECT_TRUE(text[i] >= '0' && text[i] <= '9') << text;
        }
    }
    EXPECT_EQ(dots, 2) << text;
}

TEST(Mp3Stream, EstimateIsOneSecondMoreThanTheDurationAtTheFirstBitRate) {
    const auto mp3 = sound_test::mp3File(sound_test::sine(22050 * 3, 2, 440, 22050), 22050, 2, 64);
    Mp3Stream stream(&builtOverlay());
    ASSERT_EQ(stream.openMemory(mp3.data(), mp3.size()), 0);
    const uint64_t bytes = stream.estimate();
    EXPECT_EQ(stream.durationMs(), mp3.size() * 8 / 64);
    EXPECT_EQ(bytes, 88200u * (stream.durationMs() / 1000 + 1));
}

}  // namespace
}  // namespace zeku
