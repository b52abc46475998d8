// The RIFF WAVE chunk walk: padding of odd chunks, the format chunk's size
// bounds, RIFF sizes that disagree with the file, and damaged headers that
// must fail without reading outside the image.
#include "converter/pipeline/wave_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/converter/wave_test_sounds.h"

namespace zeku {
namespace {

using test_support::Bytes;
using test_support::formatBody;
using test_support::riffWave;
using test_support::waveChunk;

const Bytes kSamples = {1, 2, 3, 4, 5, 6, 7, 8};

Bytes pcmFormat() {
    return formatBody(1, 2, 22050, 16);
}

TEST(WaveFile, WalksPastOddChunksAndKeepsTheFirstFormatAndData) {
    const Bytes image = riffWave({
        waveChunk("LIST", {9, 9, 9}),  // odd: one pad byte follows
        waveChunk("fmt ", pcmFormat()),
        waveChunk("junk", {7}),
        waveChunk("data", kSamples),
        waveChunk("fmt ", formatBody(3, 1, 8000, 32)),
        waveChunk("data", {0xEE, 0xEE}),
    });
    WaveFile wave;
    const Parsed<void> r = parseWave(image.data(), image.size(), wave);
    ASSERT_TRUE(r.ok()) << r.error().reason();
    EXPECT_EQ(wave.format.formatTag, 1);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSecond, 22050u);
    EXPECT_EQ(wave.format.bytesPerSecond, 88200u);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    // 12 + LIST (8 + 3 + pad) + fmt (8 + 16) + junk (8 + 1 + pad) + data header.
    ASSERT_EQ(wave.samples, image.data() + 12 + 12 + 24 + 10 + 8);
    EXPECT_EQ(Bytes(wave.samples, wave.samples + wave.sampleBytes), kSamples);
    EXPECT_FALSE(wave.samplesClamped);
}

TEST(WaveFile, FormatChunkSizeBounds) {
    // Under 14 bytes the record lacks the block alignment: no result.
    for (size_t size : {12u, 13u}) {
        Bytes body = pcmFormat();
        body.resize(size);
        const Bytes image = riffWave({waveChunk("fmt ", body), waveChunk("data", kSamples)});
        WaveFile wave;
        const Parsed<void> r = parseWave(image.data(), image.size(), wave);
        ASSERT_FALSE(r.ok()) << size;
        EXPECT_NE(r.error().kind(), ParseErrorKind::kWrongFormat);
        EXPECT_EQ(r.error().offset(), 16u) << "the size field of the format chunk";
        EXPECT_EQ(wave.samples, nullptr);
    }
    {
        Bytes body = pcmFormat();
        body.resize(14);
        const Bytes image = riffWave({waveChunk("fmt ", body), waveChunk("data", kSamples)});
        WaveFile wave;
        ASSERT_TRUE(parseWave(image.data(), image.size(), wave).ok());
        EXPECT_EQ(wave.format.blockAlign, 4);
        EXPECT_EQ(wave.format.bitsPerSample, 0) << "the chunk ends before the bit count";
    }
    {
        // A huge format chunk is kept only up to the record's size, and the
        // walk still finds the data behind it.
        Bytes body = pcmFormat();
        body.resize(2001, 0x5A);
        const Bytes image = riffWave({waveChunk("fmt ", body), waveChunk("data", kSamples)});
        WaveFile wave;
        ASSERT_TRUE(parseWave(image.data(), image.size(), wave).ok());
        EXPECT_EQ(wave.format.chunkSize, 2001u);
        EXPECT_EQ(wave.format.recordSize, kWaveFormatRecordBytes);
        EXPECT_EQ(wave.format.record[kWaveFormatRecordBytes - 1], 0x5A);
        EXPECT_EQ(wave.sampleBytes, kSamples.size());
    }
}

TEST(WaveFile, RiffSizeAndDataSizeAreCutAtTheImage) {
    // A RIFF size past the end (a writer that never fixed it up) and a data
    // chunk claiming more than is there: the samples that exist are used.
    const Bytes image = riffWave(
        {waveChunk("fmt ", pcmFormat()), waveChunk("data", kSamples, 0x7FFFFFF0)}, 0xFFFFFFFF);
    WaveFile wave;
    ASSERT_TRUE(parseWave(image.data(), image.size(), wave).ok());
    EXPECT_EQ(wave.sampleBytes, kSamples.size());
    EXPECT_TRUE(wave.samplesClamped);

    // A RIFF size that ends before the data chunk hides it.
    const Bytes shortRiff =
        riffWave({waveChunk("fmt ", pcmFormat()), waveChunk("data", kSamples)}, 4 + 24);
    const Parsed<void> r = parseWave(shortRiff.data(), shortRiff.size(), wave);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(std::string(r.error().reason()), "no data chunk");
    EXPECT_EQ(r.error().offset(), 36u);
}

TEST(WaveFile, NotAWaveFileIsToldApart) {
    const Bytes good = riffWave({waveChunk("fmt ", pcmFormat()), waveChunk("data", kSamples)});
    Bytes rifx = good;
    rifx[3] = 'X';
    Bytes avi = good;
    std::copy_n("AVI ", 4, avi.begin() + 8);
    WaveFile wave;
    for (const Bytes& image : {rifx, avi, Bytes(good.begin(), good.begin() + 11), Bytes()}) {
        const Parsed<void> r = parseWave(image.data(), image.size(), wave);
        ASSERT_FALSE(r.ok());
        EXPECT_EQ(r.error().kind(), ParseErrorKind::kWrongFormat);
    }
    // A WAVE file without samples is damaged, not foreign.
    const Bytes noData = riffWave({waveChunk("fmt ", pcmFormat())});
    const Parsed<void> r = parseWave(noData.data(), noData.size(), wave);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().kind(), ParseErrorKind::kWrongFormat);
    EXPECT_EQ(std::string(r.error().reason()), "no data chunk");
}

TEST(WaveFile, HostileSizesNeverReachOutsideTheImage) {
    WaveFile wave;
    // A format chunk claiming more than the file holds is refused.
    const Bytes longFormat =
        riffWave({waveChunk("fmt ", pcmFormat(), 0xFFFFFFF0), waveChunk("data", kSamples)});
    Parsed<void> r = parseWave(longFormat.data(), longFormat.size(), wave);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(std::string(r.error().reason()), "format chunk runs past the end");

    // An unknown chunk whose size would wrap a 32-bit position ends the walk.
    const Bytes wrapping =
        riffWave({waveChunk("fmt ", pcmFormat()), waveChunk("junk", {}, 0xFFFFFFFF),
                  waveChunk("data", kSamples)});
    r = parseWave(wrapping.data(), wrapping.size(), wave);
    ASSERT_FALSE(r.ok());
    EXPECT_LE(r.error().offset(), wrapping.size());

    // Every cut of a valid file either fails or points inside what is left.
    const Bytes good = riffWave({waveChunk("LIST", {1, 2, 3}), waveChunk("fmt ", pcmFormat()),
                                 waveChunk("data", kSamples)});
    for (size_t size = 0; size <= good.size(); ++size) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        r = parseWave(cut.data(), cut.size(), wave);
        if (!r.ok()) {
            EXPECT_LE(r.error().offset(), size);
            continue;
        }
        EXPECT_GE(size, good.size() - kSamples.size());
        EXPECT_LE(wave.samples + wave.sampleBytes, cut.data() + cut.size());
    }
}

}  // namespace
}  // namespace zeku
