// Sample coding, channel and rate conversion to 16-bit PCM: exact values
// for each coding, the resampler's length and quality, and the formats and
// sizes that must be refused.
#include "converter/pipeline/pcm_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "converter/pipeline/pcm_resampler.h"
#include "tests/converter/wave_test_sounds.h"

namespace zeku {
namespace {

using test_support::Bytes;

WaveFormat formatOf(const Bytes& body) {
    const Bytes image = test_support::riffWave(
        {test_support::waveChunk("fmt ", body), test_support::waveChunk("data", {0, 0})});
    WaveFile wave;
    EXPECT_TRUE(parseWave(image.data(), image.size(), wave).ok());
    return wave.format;
}

// Converts at the source's own rate, so only coding and channels change.
std::vector<int16_t> convert(const Bytes& formatRecord, const Bytes& samples, int channels) {
    const WaveFormat format = formatOf(formatRecord);
    std::vector<uint8_t> pcm;
    std::string error;
    EXPECT_TRUE(convertToTargetPcm(format, samples.data(), samples.size(),
                                   {format.samplesPerSecond, channels}, pcm, error))
        << error;
    return test_support::pcm16Samples(pcm);
}

TEST(PcmConversion, EachCodingReachesSixteenBits) {
    using test_support::extensibleFormatBody;
    using test_support::formatBody;
    using V = std::vector<int16_t>;
    // 8-bit is unsigned around 128.
    EXPECT_EQ(convert(formatBody(1, 1, 22050, 8), {0, 128, 255, 129}, 1),
              (V{-32768, 0, 32512, 256}));
    // 24-bit: full scale, the most negative value, and one 16-bit step.
    EXPECT_EQ(convert(formatBody(1, 1, 22050, 24),
                      {0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00}, 1),
              (V{32767, -32768, 1, 1}));
    EXPECT_EQ(convert(formatBody(1, 1, 22050, 32),
                      {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0xFF, 0xFF}, 1),
              (V{1, 32767, -1}));
    // Float: halves, clipping beyond full scale, NaN as silence.
    EXPECT_EQ(convert(formatBody(3, 1, 22050, 32),
                      {0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x80, 0xBF, 0x00,
                       0x00, 0xC0, 0x7F},
                      1),
              (V{16384, 32767, -32768, 0}));
    // Extensible: float sub-format, and 20 valid bits in 24-bit containers.
    EXPECT_EQ(convert(extensibleFormatBody(3, 1, 48000, 32, 32), {0x00, 0x00, 0x80, 0x3E}, 1),
              (V{8192}));
    EXPECT_EQ(convert(extensibleFormatBody(1, 1, 48000, 24, 20), {0x00, 0x30, 0x00}, 1), (V{48}));
    // A 14-byte record has no bit count: the block alignment gives it.
    Bytes shortRecord = formatBody(1, 1, 22050, 16);
    shortRecord.resize(14);
    EXPECT_EQ(convert(shortRecord, {0x34, 0x12}, 1), (V{0x1234}));
}

TEST(PcmConversion, ChannelsAreCopiedOrAveraged) {
    using test_support::formatBody;
    using V = std::vector<int16_t>;
    // Mono to stereo: both sides. A trailing half frame is dropped.
    EXPECT_EQ(convert(formatBody(1, 1, 22050, 16), {0x10, 0x00, 0xF0, 0xFF, 0x01}, 2),
              (V{16, 16, -16, -16}));
    // Stereo to mono: the mean, rounded.
    EXPECT_EQ(
        convert(formatBody(1, 2, 22050, 16), {0xE8, 0x03, 0xB8, 0x0B, 0x00, 0x80, 0xFF, 0x7F}, 1),
        (V{2000, 0}));
}

TEST(PcmConversion, OnlySixteenBitPcmAtTheTargetIsLeftAlone) {
    using test_support::formatBody;
    const PcmTarget monoTarget{22050, 1};
    EXPECT_TRUE(isTargetPcm(formatOf(formatBody(1, 1, 22050, 16)), monoTarget));
    EXPECT_TRUE(
        isTargetPcm(formatOf(test_support::extensibleFormatBody(1, 1, 22050, 16, 16)), monoTarget));
    EXPECT_FALSE(isTargetPcm(formatOf(formatBody(1, 2, 22050, 16)), monoTarget));
    EXPECT_FALSE(isTargetPcm(formatOf(formatBody(1, 1, 44100, 16)), monoTarget));
    EXPECT_FALSE(isTargetPcm(formatOf(formatBody(1, 1, 22050, 8)), monoTarget));
    EXPECT_FALSE(isTargetPcm(formatOf(formatBody(3, 1, 22050, 16, 2)), monoTarget));
    EXPECT_FALSE(isTargetPcm(formatOf(formatBody(1, 1, 22050, 16, 4)), monoTarget));
}

TEST(PcmConversion, UnsupportedFormatsAreRefusedWithAReason) {
    using test_support::formatBody;
    struct Case {
        Bytes record;
        const char* reason;
    };
    Bytes unknownGuid = test_support::extensibleFormatBody(1, 1, 22050, 16, 16);
    unknownGuid.back() ^= 1;
    const Case cases[] = {
        {formatBody(2, 1, 22050, 4, 256), "format tag 0x0002 is not supported"},
        {formatBody(1, 3, 22050, 16), "3 channels are not supported"},
        {formatBody(1, 0, 22050, 16), "0 channels are not supported"},
        {formatBody(1, 1, 500, 16), "sample rate 500 Hz is not supported"},
        {formatBody(1, 2, 22050, 16, 3), "block alignment 3 does not fit 2 channels"},
        {formatBody(1, 1, 22050, 16, 1), "16-bit samples in 1-byte containers are not supported"},
        {formatBody(1, 1, 22050, 40, 5), "40-bit samples in 5-byte containers are not supported"},
        {formatBody(3, 1, 22050, 16), "16-bit samples in 2-byte containers are not supported"},
        {unknownGuid, "extensible format with an unknown sub-format"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> pcm;
        std::string error;
        const Bytes samples(64, 0);
        EXPECT_FALSE(convertToTargetPcm(formatOf(c.record), samples.data(), samples.size(),
                                        {22050, 2}, pcm, error));
        EXPECT_EQ(error, c.reason);
    }
}

TEST(PcmConversion, ASoundThatWouldGrowPastTheBoundIsRefused) {
    // 8-bit mono at 1 kHz grows 176-fold on the way to 44.1 kHz stereo
    // floats; 4 MB of it would need far more than the working bound.
    const WaveFormat format = formatOf(test_support::formatBody(1, 1, 1000, 8));
    const Bytes samples(4 << 20, 128);
    std::vector<uint8_t> pcm;
    std::string error;
    EXPECT_FALSE(
        convertToTargetPcm(format, samples.data(), samples.size(), {44100, 2}, pcm, error));
    EXPECT_EQ(error, "the sound is too long to convert");
}

// Signal-to-error ratio in dB of `samples` (one channel of interleaved
// frames) against a sine of `hz` at `rateHz`, away from the edges.
double sineSnrDb(const std::vector<int16_t>& samples, int channels, int channel, double hz,
                 double rateHz, double amplitude) {
    double signal = 0, noise = 0;
    const size_t frames = samples.size() / channels;
    for (size_t i = 200; i + 200 < frames; ++i) {
        const double ideal =
            amplitude * 32768.0 *
            std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rateHz);
        const double error = samples[i * channels + channel] - ideal;
        signal += ideal * ideal;
        noise += error * error;
    }
    return 10.0 * std::log10(signal / std::max(noise, 1e-9));
}

TEST(PcmResampling, HalvingAndDoublingKeepLengthAndTone) {
    using test_support::ToneCoding;
    struct Case {
        uint32_t fromHz, toHz;
        int channels;
        size_t frames;
    };
    for (const Case c : {Case{44100, 22050, 2, 44101}, Case{22050, 44100, 1, 22051},
                         Case{11025, 22050, 2, 11025}, Case{48000, 22050, 1, 48000}}) {
        const Bytes record =
            test_support::formatBody(1, static_cast<uint16_t>(c.channels), c.fromHz, 16);
        const Bytes samples = test_support::toneSamples(ToneCoding::kInt16, c.channels, c.fromHz,
                                                        c.frames, 1000, 3000);
        std::vector<uint8_t> pcm;
        std::string error;
        ASSERT_TRUE(convertToTargetPcm(formatOf(record), samples.data(), samples.size(),
                                       {c.toHz, c.channels}, pcm, error))
            << error;
        const std::vector<int16_t> out = test_support::pcm16Samples(pcm);
        const double exact = static_cast<double>(c.frames) * c.toHz / c.fromHz;
        EXPECT_NEAR(static_cast<double>(out.size() / c.channels), exact, 1.0) << c.fromHz;
        // The filter delay is removed: the tone stays in phase with the source.
        EXPECT_GT(sineSnrDb(out, c.channels, 0, 1000, c.toHz, 0.5), 60.0) << c.fromHz;
        if (c.channels == 2) {
            EXPECT_GT(sineSnrDb(out, 2, 1, 3000, c.toHz, 0.5), 60.0);
        }
    }
}

TEST(PcmResampling, ToneAboveTheNewNyquistIsRemoved) {
    const size_t frames = 44100;
    const Bytes samples =
        test_support::toneSamples(test_support::ToneCoding::kInt16, 1, 44100, frames, 15000, 0);
    std::vector<uint8_t> pcm;
    std::string error;
    ASSERT_TRUE(convertToTargetPcm(formatOf(test_support::formatBody(1, 1, 44100, 16)),
                                   samples.data(), samples.size(), {22050, 1}, pcm, error));
    const std::vector<int16_t> out = test_support::pcm16Samples(pcm);
    double energy = 0;
    for (size_t i = 200; i + 200 < out.size(); ++i)
        energy += double(out[i]) * out[i];
    const double rms = std::sqrt(energy / static_cast<double>(out.size() - 400));
    EXPECT_LT(rms, 0.5 * 32768 / std::sqrt(2.0) / 1000) << "less than -60 dB of the input";
}

TEST(PcmResampling, EmptyAndTinyInputs) {
    std::vector<float> out;
    std::string error;
    ASSERT_TRUE(resampleFrames(nullptr, 0, 2, 44100, 22050, out, error));
    EXPECT_TRUE(out.empty());
    const float one[2] = {0.5f, -0.5f};
    ASSERT_TRUE(resampleFrames(one, 1, 2, 22050, 44100, out, error));
    EXPECT_EQ(out.size(), 4u);
    EXPECT_FALSE(resampleFrames(one, 1, 0, 22050, 44100, out, error));
}

// Decoded float samples: the in-place channel mapping, clipping and the
// refusals, at the source's rate (exact values) and across a rate change
// (length only).
TEST(FloatToTargetPcm, ChannelsAreMappedInPlaceAndRefusalsAreValues) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<float> samples;
        int channels;
        int targetChannels;
        std::vector<int16_t> expected;
    };
    const Case cases[] = {
        {"mono doubled", {0.5f, -0.25f, 1.0f}, 1, 2, {16384, 16384, -8192, -8192, 32767, 32767}},
        {"stereo averaged", {0.5f, -0.5f, 0.25f, 0.75f}, 2, 1, {0, 16384}},
        {"clipped before averaging", {2.0f, 1.0f, -3.0f, 0.0f}, 2, 1, {32767, -16384}},
        {"NaN is silence", {nan, 0.5f}, 1, 1, {0, 16384}},
        {"partial frame dropped", {0.5f, 0.5f, 0.25f}, 2, 2, {16384, 16384}},
        {"nothing", {}, 2, 1, {}},
    };
    for (const Case& c : cases) {
        std::vector<float> samples = c.samples;
        std::vector<uint8_t> pcm;
        std::string error;
        ASSERT_TRUE(convertFloatToTargetPcm(samples, c.channels, 22050,
                                            PcmTarget{22050, c.targetChannels}, pcm, error))
            << c.what << ": " << error;
        EXPECT_EQ(test_support::pcm16Samples(pcm), c.expected) << c.what;
        EXPECT_TRUE(samples.empty()) << c.what;
    }

    // A rate change keeps the length the rates say.
    std::vector<float> second(44100 * 2, 0.1f);
    std::vector<uint8_t> pcm;
    std::string error;
    ASSERT_TRUE(convertFloatToTargetPcm(second, 2, 44100, PcmTarget{22050, 1}, pcm, error));
    EXPECT_EQ(pcm.size(), 22050u * 2);

    struct Refusal {
        int channels;
        uint32_t rateHz;
        const char* says;
    };
    for (const Refusal& r : {Refusal{3, 22050, "3 channels"}, Refusal{0, 22050, "0 channels"},
                             Refusal{2, 500, "500 Hz"}, Refusal{1, 400000, "400000 Hz"}}) {
        std::vector<float> samples(12, 0.0f);
        EXPECT_FALSE(
            convertFloatToTargetPcm(samples, r.channels, r.rateHz, PcmTarget{}, pcm, error));
        EXPECT_NE(error.find(r.says), std::string::npos) << error;
        EXPECT_TRUE(pcm.empty());
    }
}

}  // namespace
}  // namespace zeku
