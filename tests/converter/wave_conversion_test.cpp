// Whole sounds to MP3 through the run-time loaded encoder, read back with
// libmpg123: rate, channels, bit rate, length and tone survive; refusals
// come back as values; output is the same on every thread.
#include "converter/pipeline/wave_conversion.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <thread>

#include "converter/pipeline/pcm_conversion.h"
#include "platform/api/shared_library.h"
#include "tests/converter/mp3_test_decoder.h"
#include "tests/converter/wave_test_sounds.h"

namespace zeku {
namespace {

using test_support::Bytes;
using test_support::ToneCoding;

const Mp3EncoderLibrary& encoder() {
    return test_support::sharedEncoder();
}

struct Converted {
    WaveConversionStatus status = WaveConversionStatus::kFailed;
    std::string error;
    Bytes mp3;
};

Converted convert(const Bytes& image, int bitrateIndex, bool rate44, bool stereo) {
    Converted out;
    out.status = convertWave(image.data(), image.size(), {bitrateIndex, rate44, stereo}, encoder(),
                             out.mp3, out.error);
    return out;
}

// The encoder takes whole 1152-frame blocks, the last one padded with
// silence, and its Info frame lets the decoder drop its own delay.
size_t paddedFrames(size_t frames) {
    return (frames + 1151) / 1152 * 1152;
}

class WaveConversion : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encoder().isOpen()) << encoder().libraryName() << ": " << encoder().openError();
    }
};

TEST_F(WaveConversion, MonoAtIndexSevenIsSixtyFourKbps) {
    // 44.1 kHz stereo to 22.05 kHz mono: resampled, mixed down, half rate.
    const size_t frames = 44100;
    const Converted c = convert(
        test_support::toneWave(ToneCoding::kInt16, 2, 44100, frames, 440, 440), 7, false, false);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    const test_support::Mp3FrameScan scan = test_support::scanMp3Frames(c.mp3);
    ASSERT_TRUE(scan.ok);
    EXPECT_EQ(scan.minKbps, 64);
    EXPECT_EQ(scan.maxKbps, 64);
    EXPECT_EQ(scan.rateHz, 22050);
    EXPECT_TRUE(scan.mono);

    const test_support::DecodedMp3 d = test_support::decodeMp3(c.mp3);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.rateHz, 22050);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.frames(), paddedFrames(22050));
    EXPECT_NEAR(test_support::zeroCrossingHz(d.samples, 1, 0, 2000, 20000, 22050), 440, 5);
}

TEST_F(WaveConversion, StereoAtIndexTwelveIsThreeHundredTwentyKbpsWithBothSidesKept) {
    const size_t frames = 30000;
    const Converted c = convert(
        test_support::toneWave(ToneCoding::kInt16, 2, 44100, frames, 440, 1500), 12, true, true);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    const test_support::Mp3FrameScan scan = test_support::scanMp3Frames(c.mp3);
    ASSERT_TRUE(scan.ok);
    EXPECT_EQ(scan.minKbps, 320);
    EXPECT_EQ(scan.maxKbps, 320);
    EXPECT_EQ(scan.rateHz, 44100);
    EXPECT_FALSE(scan.mono);

    const test_support::DecodedMp3 d = test_support::decodeMp3(c.mp3);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.rateHz, 44100);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.frames(), paddedFrames(frames));
    EXPECT_NEAR(test_support::zeroCrossingHz(d.samples, 2, 0, 2000, 28000, 44100), 440, 5);
    EXPECT_NEAR(test_support::zeroCrossingHz(d.samples, 2, 1, 2000, 28000, 44100), 1500, 10);
}

TEST_F(WaveConversion, EightBitElevenKilohertzBecomesStereo) {
    const size_t frames = 11025;
    const Converted c = convert(
        test_support::toneWave(ToneCoding::kUnsigned8, 1, 11025, frames, 300, 0), 3, false, true);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    EXPECT_EQ(test_support::scanMp3Frames(c.mp3).maxKbps, 64);
    const test_support::DecodedMp3 d = test_support::decodeMp3(c.mp3);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.rateHz, 22050);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.frames(), paddedFrames(22050));
    for (int channel = 0; channel < 2; ++channel) {
        EXPECT_NEAR(test_support::zeroCrossingHz(d.samples, 2, channel, 1000, 20000, 22050), 300,
                    5);
    }
}

TEST_F(WaveConversion, TargetFormatSamplesReachTheEncoderUnchanged) {
    // 22.05 kHz 16-bit mono with "22.05kHz" and stereo off: the encoder gets
    // the file's own sample bytes, so the output matches encoding them
    // directly.
    const Bytes samples = test_support::toneSamples(ToneCoding::kInt16, 1, 22050, 5000, 700, 0);
    const Bytes image = test_support::riffWave(
        {test_support::waveChunk("LIST", {1, 2, 3}),
         test_support::waveChunk("fmt ", test_support::formatBody(1, 1, 22050, 16)),
         test_support::waveChunk("data", samples)});
    const Converted c = convert(image, 9, false, false);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    Bytes direct;
    std::string error;
    ASSERT_TRUE(encoder().encode(samples.data(), samples.size(), {22050, 1, 96}, direct, error));
    EXPECT_EQ(c.mp3, direct);
    EXPECT_EQ(test_support::decodeMp3(c.mp3).frames(), paddedFrames(5000));
}

TEST_F(WaveConversion, LowBitRatesKeepTheEncoderDelay) {
    // Under 56 kbit/s a frame cannot hold the Info frame's fields, so the
    // decoder cannot drop the encoder's delay: the sound comes out longer.
    const Converted c = convert(test_support::toneWave(ToneCoding::kInt16, 1, 22050, 5000, 700, 0),
                                2, false, false);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    EXPECT_EQ(test_support::scanMp3Frames(c.mp3).maxKbps, 24);
    const size_t frames = test_support::decodeMp3(c.mp3).frames();
    EXPECT_GT(frames, paddedFrames(5000));
    EXPECT_LE(frames, paddedFrames(5000) + 2 * 1152);
}

TEST_F(WaveConversion, SameBytesOnEveryThread) {
    const Bytes image = test_support::toneWave(ToneCoding::kInt24, 2, 48000, 24000, 523, 659);
    const Converted alone = convert(image, 8, false, true);
    ASSERT_EQ(alone.status, WaveConversionStatus::kConverted) << alone.error;
    Converted first, second;
    std::thread a([&] { first = convert(image, 8, false, true); });
    std::thread b([&] { second = convert(image, 8, false, true); });
    a.join();
    b.join();
    EXPECT_EQ(first.mp3, alone.mp3);
    EXPECT_EQ(second.mp3, alone.mp3);
}

TEST_F(WaveConversion, EmptyDataStillGivesAPlayableStream) {
    const Bytes image = test_support::riffWave(
        {test_support::waveChunk("fmt ", test_support::formatBody(1, 2, 44100, 16)),
         test_support::waveChunk("data", {})});
    const Converted c = convert(image, 3, false, true);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    EXPECT_TRUE(test_support::scanMp3Frames(c.mp3).ok);
    EXPECT_LE(test_support::decodeMp3(c.mp3).frames(), 1152u);
}

TEST_F(WaveConversion, RefusalsComeBackAsValues) {
    const Bytes tone = test_support::toneWave(ToneCoding::kInt16, 1, 22050, 2000, 440, 0);
    Converted c = convert(Bytes{'O', 'g', 'g', 'S', 0, 0, 0, 0, 0, 0, 0, 0}, 3, false, true);
    EXPECT_EQ(c.status, WaveConversionStatus::kNotWave);
    EXPECT_TRUE(c.mp3.empty());

    // 320 kbit/s exists only at 44.1 kHz, 16 only at 22.05 kHz: the nearest
    // rate the format has is used instead of losing the sound.
    c = convert(tone, 12, false, true);
    ASSERT_EQ(c.status, WaveConversionStatus::kConverted) << c.error;
    EXPECT_EQ(test_support::scanMp3Frames(c.mp3).maxKbps, 160);
    EXPECT_EQ(waveEncodingKbps({12, false, true}), 160);
    EXPECT_EQ(waveEncodingKbps({0, true, true}), 32);
    EXPECT_EQ(waveEncodingKbps({0, true, false}), 32);  // 8 mono at 44.1 kHz
    EXPECT_EQ(waveEncodingKbps({12, true, true}), 320);
    EXPECT_EQ(waveEncodingKbps({7, false, false}), 64);
    EXPECT_EQ(waveEncodingKbps({13, false, false}), 0);
    EXPECT_EQ(convert(tone, 0, false, false).status, WaveConversionStatus::kConverted);
    EXPECT_EQ(convert(tone, 13, false, true).status, WaveConversionStatus::kFailed);
    EXPECT_EQ(convert(tone, -1, false, true).status, WaveConversionStatus::kFailed);

    Bytes adpcm = tone;
    adpcm[20] = 2;
    c = convert(adpcm, 3, false, true);
    EXPECT_EQ(c.status, WaveConversionStatus::kFailed);
    EXPECT_EQ(c.error, "format tag 0x0002 is not supported");

    Bytes smallFormat = tone;
    smallFormat[16] = 12;
    c = convert(smallFormat, 3, false, true);
    EXPECT_EQ(c.status, WaveConversionStatus::kFailed);
    EXPECT_EQ(c.error, "format chunk smaller than 14 bytes at byte 16");
}

TEST(Mp3Bitrates, MatchTheDialogItems) {
    const char* items[kMp3BitrateCount] = {"16/8kbit",   "32/16kbit",  "48/24kbit",   "64/32kbit",
                                           "80/40kbit",  "96/48kbit",  "112/56kbit",  "128/64kbit",
                                           "160/80kbit", "192/96kbit", "224/112kbit", "256/128kbit",
                                           "320/160kbit"};
    for (int i = 0; i < kMp3BitrateCount; ++i) {
        EXPECT_EQ(std::to_string(mp3BitrateKbps(i, true)) + "/" +
                      std::to_string(mp3BitrateKbps(i, false)) + "kbit",
                  items[i]);
    }
    EXPECT_EQ(mp3BitrateKbps(13, true), 0);
    EXPECT_EQ(mp3BitrateKbps(-1, false), 0);
}

TEST(Mp3EncoderLibrary, MissingOrWrongLibraryIsReported) {
    Mp3EncoderLibrary missing;
    EXPECT_FALSE(missing.open("/nonexistent/libmp3lame.so.0"));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.libraryName(), "/nonexistent/libmp3lame.so.0");
    EXPECT_EQ(missing.versionText(), "");
    Bytes mp3;
    std::string error;
    const Bytes tone = test_support::toneWave(ToneCoding::kInt16, 1, 22050, 100, 440, 0);
    EXPECT_EQ(convertWave(tone.data(), tone.size(), {}, missing, mp3, error),
              WaveConversionStatus::kFailed);
    EXPECT_EQ(error, "the MP3 encoder is not loaded");

    EXPECT_EQ(missing.openError().rfind("cannot be loaded: ", 0), 0u) << missing.openError();

    // A real library that is no MP3 encoder, and a LAME without every call.
    const std::pair<const char*, const char*> wrongOnes[] = {
        {"libz.so.1", "found, but it is not a LAME library (no entry point lame_init)"},
        {PARTIAL_LAME, "found, but it lacks the LAME entry point lame_close"}};
    for (const auto& [path, error] : wrongOnes) {
        Mp3EncoderLibrary wrong;
        EXPECT_FALSE(wrong.open(path));
        EXPECT_EQ(wrong.openError(), error);
        EXPECT_EQ(wrong.versionText(), "");
    }
}

TEST(Mp3EncoderLibrary, EnvironmentNamesTheLibraryWhenNoPathIsGiven) {
    Mp3EncoderLibrary library;
    ::setenv("ZEKU_MP3_ENCODER", "/nonexistent/encoder.so", 1);
    EXPECT_FALSE(library.open(""));
    EXPECT_EQ(library.libraryName(), "/nonexistent/encoder.so");
    ::unsetenv("ZEKU_MP3_ENCODER");
    ASSERT_TRUE(library.open(""));
    EXPECT_EQ(library.libraryName(), "libmp3lame.so.0");
    EXPECT_EQ(library.versionText().rfind("LAME 3.", 0), 0u) << library.versionText();
}

TEST(SharedLibrary, SymbolsAndErrors) {
    SharedLibrary library;
    EXPECT_EQ(library.symbol("cos"), nullptr);
    EXPECT_FALSE(library.open("/nonexistent/lib.so"));
    EXPECT_FALSE(library.error().empty());
    ASSERT_TRUE(library.open("libm.so.6"));
    EXPECT_NE(library.symbol("cos"), nullptr);
    EXPECT_EQ(library.symbol("no_such_symbol_here"), nullptr);
    EXPECT_FALSE(library.error().empty());
    SharedLibrary moved = std::move(library);
    EXPECT_FALSE(library.isOpen());
    EXPECT_NE(moved.symbol("sin"), nullptr);
}

}  // namespace
}  // namespace zeku
