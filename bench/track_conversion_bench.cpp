// CD track conversion speed: 60 seconds of CD-quality sound as FLAC to MP3
// at the default choices (64 kbit/s, 22.05 kHz, stereo), next to the same
// sound as a PCM WAV through the chunk walk, and FLAC decoding alone.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "converter/pipeline/wave_conversion.h"
#include "platform/api/audio_file_reader.h"
#include "tests/converter/coded_test_sounds.h"

namespace zeku {
namespace {

constexpr int kRateHz = 44100;
constexpr double kSeconds = 60;
constexpr size_t kFrames = static_cast<size_t>(kSeconds * kRateHz);

// Three tones and a little noise: FLAC has real work to do, unlike on a
// single tone.
const std::vector<float>& minuteOfMusic() {
    static const std::vector<float> samples = [] {
        std::vector<float> out(kFrames * 2);
        uint32_t seed = 12345;
        for (size_t i = 0; i < kFrames; ++i) {
            const double t = static_cast<double>(i) / kRateHz;
            for (int c = 0; c < 2; ++c) {
                seed = seed * 1664525u + 1013904223u;
                const double noise = (static_cast<double>(seed >> 8) / (1 << 24) - 0.5) * 0.05;
                out[2 * i + c] =
                    static_cast<float>(0.25 * std::sin(2 * M_PI * (220 + 110 * c) * t) +
                                       0.15 * std::sin(2 * M_PI * 554.37 * t) +
                                       0.1 * std::sin(2 * M_PI * 1318.5 * t) + noise);
            }
        }
        return out;
    }();
    return samples;
}

const std::vector<uint8_t>& coded(int format) {
    static std::vector<uint8_t> flac, wave;
    std::vector<uint8_t>& file = format == (SF_FORMAT_FLAC | SF_FORMAT_PCM_16) ? flac : wave;
    if (file.empty()) file = test_support::writeCodedSound(format, 2, kRateHz, minuteOfMusic());
    return file;
}

void reportRealTime(benchmark::State& state, size_t fileBytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fileBytes));
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}

void BM_FlacTrackToMp3(benchmark::State& state) {
    Mp3EncoderLibrary encoder;
    if (!encoder.open("")) {
        state.SkipWithError("no MP3 encoder");
        return;
    }
    const std::vector<uint8_t>& flac = coded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    std::vector<uint8_t> mp3;
    std::string error;
    for (auto _ : state) {
        DecodedAudio audio;
        if (!hostAudioFileReader().decode(flac.data(), flac.size(), kMaxDecodedSamples, audio,
                                          error) ||
            !encodeDecodedSound(audio, WaveSettings{}, encoder, mp3, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(mp3.data());
    }
    reportRealTime(state, flac.size());
    state.counters["flac_MB"] = static_cast<double>(flac.size()) / 1e6;
}

// The reference: the same minute as 16-bit PCM WAV, through the walk.
void BM_PcmWaveToMp3(benchmark::State& state) {
    Mp3EncoderLibrary encoder;
    if (!encoder.open("")) {
        state.SkipWithError("no MP3 encoder");
        return;
    }
    const std::vector<uint8_t>& wave = coded(SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::vector<uint8_t> mp3;
    std::string error;
    for (auto _ : state) {
        if (convertWave(wave.data(), wave.size(), WaveSettings{}, encoder, mp3, error) !=
            WaveConversionStatus::kConverted) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(mp3.data());
    }
    reportRealTime(state, wave.size());
}

void BM_FlacDecodeOnly(benchmark::State& state) {
    const std::vector<uint8_t>& flac = coded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    std::string error;
    for (auto _ : state) {
        DecodedAudio audio;
        if (!hostAudioFileReader().decode(flac.data(), flac.size(), kMaxDecodedSamples, audio,
                                          error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(audio.samples.data());
    }
    reportRealTime(state, flac.size());
}

BENCHMARK(BM_FlacTrackToMp3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PcmWaveToMp3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FlacDecodeOnly)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace zeku
