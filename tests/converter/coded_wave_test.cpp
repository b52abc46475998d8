// Game sounds in WAV codings the chunk walk does not decode (µ-law, A-law,
// IMA and MS ADPCM, GSM) reach the player as MP3 that carries the sound,
// measured against the same tone sent as plain PCM.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>

#include "converter/pipeline/wave_conversion.h"
#include "platform/api/audio_file_reader.h"
#include "tests/converter/coded_test_sounds.h"
#include "tests/converter/mp3_test_decoder.h"
#include "tests/converter/wave_test_sounds.h"

namespace zeku {
namespace {

using test_support::DecodedMp3;

constexpr double kToneHz = 440;
constexpr double kAmplitude = 0.5;

const Mp3EncoderLibrary& encoder() {
    return test_support::sharedEncoder();
}

struct Measured {
    WaveConversionStatus status = WaveConversionStatus::kFailed;
    std::string error;
    DecodedMp3 decoded;
    double snrDb = 0;
};

// 22.05 kHz mono at 64 kbit/s, as a small package would carry effects.
Measured convertAndMeasure(const std::vector<uint8_t>& wave, const AudioFileReader* reader) {
    Measured out;
    std::vector<uint8_t> mp3;
    out.status = convertWave(wave.data(), wave.size(), WaveSettings{7, false, false}, encoder(),
                             reader, mp3, out.error);
    if (out.status != WaveConversionStatus::kConverted) return out;
    out.decoded = test_support::decodeMp3(mp3);
    if (out.decoded.ok && out.decoded.frames() > 20000) {
        out.snrDb =
            test_support::toneSnrDb(out.decoded.samples, out.decoded.channels, 0,
                                    static_cast<double>(out.decoded.rateHz), kToneHz, 2000, 16000);
    }
    return out;
}

// The tone's fidelity in the coded file itself, decoded straight.
double codingSnrDb(const std::vector<uint8_t>& wave, int rateHz) {
    DecodedAudio audio;
    std::string error;
    if (!hostAudioFileReader().decode(wave.data(), wave.size(), 1 << 20, audio, error)) return 0;
    std::vector<int16_t> samples(audio.samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(std::lround(audio.samples[i] * 32767.0f));
    const size_t skip = static_cast<size_t>(rateHz) / 10;
    return test_support::toneSnrDb(samples, audio.channels, 0, rateHz, kToneHz, skip,
                                   audio.frames() - 2 * skip);
}

TEST(CodedWave, EveryCodingIsDecodedAndKeepsTheTone) {
    ASSERT_TRUE(encoder().isOpen()) << encoder().openError();
    const AudioFileReader& reader = hostAudioFileReader();

    struct Coding {
        const char* name;
        int format;
        int rateHz;
        double maxLossDb;  // below what the coding itself keeps
    };
    const Coding codings[] = {
        {"u-law", SF_FORMAT_WAV | SF_FORMAT_ULAW, 22050, 8},
        {"A-law", SF_FORMAT_WAV | SF_FORMAT_ALAW, 22050, 8},
        {"IMA ADPCM", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 22050, 8},
        {"MS ADPCM", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 22050, 8},
        // GSM is a speech codec of 8 kHz sound: it goes through the
        // resampler as well.
        {"GSM 6.10", SF_FORMAT_WAV | SF_FORMAT_GSM610, 8000, 8},
    };
    for (const Coding& coding : codings) {
        SCOPED_TRACE(coding.name);
        const std::vector<uint8_t> wave = test_support::writeCodedSound(
            coding.format, 1, coding.rateHz,
            test_support::toneFrames(1, coding.rateHz, coding.rateHz, kToneHz, kAmplitude));
        ASSERT_FALSE(wave.empty());

        // Without a reader the coding is refused, as before.
        std::vector<uint8_t> mp3;
        std::string error;
        EXPECT_EQ(convertWave(wave.data(), wave.size(), WaveSettings{7, false, false}, encoder(),
                              mp3, error),
                  WaveConversionStatus::kFailed);

        const Measured coded = convertAndMeasure(wave, &reader);
        ASSERT_EQ(coded.status, WaveConversionStatus::kConverted) << coded.error;
        ASSERT_TRUE(coded.decoded.ok) << coded.decoded.error;
        EXPECT_EQ(coded.decoded.rateHz, 22050);
        EXPECT_EQ(coded.decoded.channels, 1);
        // One second of sound, in whole encoder blocks.
        EXPECT_NEAR(static_cast<double>(coded.decoded.frames()), 22050, 1152);
        EXPECT_NEAR(test_support::zeroCrossingHz(coded.decoded.samples, 1, 0, 2000, 20000, 22050),
                    kToneHz, 5);
        // Level kept: a scaling slip would not show in the noise figure.
        double power = 0;
        for (size_t i = 2000; i < 18000; ++i)
            power += static_cast<double>(coded.decoded.samples[i]) * coded.decoded.samples[i];
        EXPECT_NEAR(std::sqrt(power / 16000) / 32768, kAmplitude / std::sqrt(2.0), 0.03);
        // Against the original: the MP3 keeps the tone nearly as well as
        // the coded file itself does (the encoder adds a few dB of noise to
        // a noisy source).
        const double kept = codingSnrDb(wave, coding.rateHz);
        EXPECT_GT(kept, 20);
        EXPECT_GT(coded.snrDb, kept - coding.maxLossDb) << "the coding keeps " << kept << " dB";
    }
}

// A coded file the reader cannot take apart is a failed sound (stored
// unchanged by the writer), never a crash or an endless read.
TEST(CodedWave, DamagedCodedFilesAreRefused) {
    ASSERT_TRUE(encoder().isOpen()) << encoder().openError();
    const std::vector<uint8_t> good = test_support::writeCodedSound(
        SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1, 22050,
        test_support::toneFrames(1, 22050, 22050, kToneHz, kAmplitude));
    ASSERT_GT(good.size(), 200u);

    // The format record starts at byte 20; its block alignment at 32.
    std::vector<uint8_t> noBlocks = good;
    noBlocks[32] = noBlocks[33] = 0;
    std::vector<uint8_t> scrambled = good;
    for (size_t i = 20; i < 40; ++i)
        scrambled[i] ^= 0xA5;
    for (const std::vector<uint8_t>& bad : {noBlocks, scrambled}) {
        std::vector<uint8_t> mp3;
        std::string error;
        const WaveConversionStatus status =
            convertWave(bad.data(), bad.size(), WaveSettings{7, false, false}, encoder(),
                        &hostAudioFileReader(), mp3, error);
        EXPECT_NE(status, WaveConversionStatus::kConverted);
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(mp3.empty());
    }
}

// A reader that answers from a script and counts its calls.
class ScriptedReader final : public AudioFileReader {
  public:
    ScriptedReader(bool succeeds, int channels) : succeeds_(succeeds), channels_(channels) {}
    bool decode(const uint8_t*, size_t, uint64_t, DecodedAudio& audio,
                std::string& error) const override {
        ++calls;
        if (!succeeds_) {
            error = "scripted failure";
            return false;
        }
        audio.rateHz = 22050;
        audio.channels = channels_;
        audio.samples.assign(2205 * static_cast<size_t>(channels_), 0.25f);
        return true;
    }
    mutable int calls = 0;

  private:
    bool succeeds_;
    int channels_;
};

// The reader is asked only for codings the walk does not take, and its
// answer (or refusal) is what the conversion reports.
TEST(CodedWave, TheReaderIsAskedOnlyForWhatTheWalkLeaves) {
    ASSERT_TRUE(encoder().isOpen()) << encoder().openError();
    const std::vector<float> tone = test_support::toneFrames(1, 22050, 2205, kToneHz, kAmplitude);
    const std::vector<uint8_t> pcm =
        test_support::writeCodedSound(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, tone);
    const std::vector<uint8_t> ulaw =
        test_support::writeCodedSound(SF_FORMAT_WAV | SF_FORMAT_ULAW, 1, 22050, tone);
    struct Case {
        const std::vector<uint8_t>* wave;
        bool succeeds;
        int channels;
        int calls;
        WaveConversionStatus status;
        const char* error;
    };
    const Case cases[] = {
        {&pcm, false, 1, 0, WaveConversionStatus::kConverted, ""},
        {&ulaw, true, 1, 1, WaveConversionStatus::kConverted, ""},
        {&ulaw, false, 1, 1, WaveConversionStatus::kFailed, "scripted failure"},
        {&ulaw, true, 6, 1, WaveConversionStatus::kFailed, "6 channels"},
    };
    for (const Case& c : cases) {
        ScriptedReader reader(c.succeeds, c.channels);
        std::vector<uint8_t> mp3;
        std::string error;
        EXPECT_EQ(convertWave(c.wave->data(), c.wave->size(), WaveSettings{}, encoder(), &reader,
                              mp3, error),
                  c.status);
        EXPECT_EQ(reader.calls, c.calls);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace zeku
