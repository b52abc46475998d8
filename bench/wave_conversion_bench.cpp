// Sound conversion speed: a 10-second 44.1 kHz stereo tone to 22.05 kHz
// mono and stereo MP3, whole (resampling and encoding) and resampling alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "converter/pipeline/pcm_conversion.h"
#include "converter/pipeline/wave_conversion.h"
#include "tests/converter/wave_test_sounds.h"

namespace zeku {
namespace {

constexpr uint32_t kRateHz = 44100;
constexpr size_t kFrames = 10 * kRateHz;

const std::vector<uint8_t>& tenSecondTone() {
    static const std::vector<uint8_t> image =
        test_support::toneWave(test_support::ToneCoding::kInt16, 2, kRateHz, kFrames, 440, 660);
    return image;
}

void convertTone(benchmark::State& state, bool stereo) {
    Mp3EncoderLibrary encoder;
    if (!encoder.open("")) {
        state.SkipWithError("no MP3 encoder");
        return;
    }
    const std::vector<uint8_t>& image = tenSecondTone();
    const WaveSettings settings{3, false, stereo};
    std::vector<uint8_t> mp3;
    std::string error;
    for (auto _ : state) {
        if (convertWave(image.data(), image.size(), settings, encoder, mp3, error) !=
            WaveConversionStatus::kConverted) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(mp3.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
    state.counters["mp3_bytes"] = static_cast<double>(mp3.size());
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 10.0, benchmark::Counter::kIsRate);
}

void BM_ConvertTenSecondsToMono22k(benchmark::State& state) {
    convertTone(state, false);
}
void BM_ConvertTenSecondsToStereo22k(benchmark::State& state) {
    convertTone(state, true);
}

void resampleTone(benchmark::State& state, int channels) {
    const std::vector<uint8_t>& image = tenSecondTone();
    WaveFile wave;
    if (!parseWave(image.data(), image.size(), wave)) {
        state.SkipWithError("the tone does not parse");
        return;
    }
    std::vector<uint8_t> pcm;
    std::string error;
    for (auto _ : state) {
        convertToTargetPcm(wave.format, wave.samples, wave.sampleBytes, {22050, channels}, pcm,
                           error);
        benchmark::DoNotOptimize(pcm.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wave.sampleBytes));
}

void BM_ResampleTenSecondsToMono22k(benchmark::State& state) {
    resampleTone(state, 1);
}
void BM_ResampleTenSecondsToStereo22k(benchmark::State& state) {
    resampleTone(state, 2);
}

BENCHMARK(BM_ConvertTenSecondsToMono22k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertTenSecondsToStereo22k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleTenSecondsToMono22k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleTenSecondsToStereo22k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
