// Sound engine speed: one mixing pass with all 64 effect slots playing at
// volume 50, next to a plain saturating add of two buffers in the same
// run; the music slot streaming a 128 kbit/s 44.1 kHz stereo MP3 (decode
// and conversion, as CPU share of one core); and loading a 10-second MP3
// effect.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter/pipeline/mp3_encoder.h"
#include "player/sound/sound_engine.h"
#include "player/sound/sound_mixer.h"
#include "tools/demogame/wav_writer.h"

namespace zeku {
namespace {

constexpr uint32_t kBufferBytes = 12288;  // the sigmarion3 build's pass
constexpr size_t kPassSamples = kBufferBytes / 2;

// Hands buffers back when the benchmark asks.
class BenchDevice final : public AudioDevice {
  public:
    bool open(AudioClient& client, uint32_t) override {
        client_ = &client;
        return true;
    }
    void queue(int index, const uint8_t*) override { next_ = index; }
    void start() override {}
    uint32_t positionBytes() override { return position_; }
    MixingThread mixingThread() const override { return MixingThread::Caller; }
    void close() override {}
    void pass() {
        position_ += kBufferBytes;
        client_->bufferDone(next_);
    }

  private:
    AudioClient* client_ = nullptr;
    int next_ = 0;
    uint32_t position_ = 0;
};

std::vector<int16_t> tone(size_t frames, int channels, uint32_t rateHz) {
    std::vector<int16_t> out;
    for (size_t i = 0; i < frames; ++i) {
        const auto v = int16_t(12000 * std::sin(2 * M_PI * 440 * double(i) / rateHz));
        for (int c = 0; c < channels; ++c)
            out.push_back(v);
    }
    return out;
}

std::string scratchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "zeku-sound-bench";
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool tenSecondMp3(const std::string& path) {
    Mp3EncoderLibrary lame;
    if (!lame.open("")) return false;
    const auto pcm = tone(441000, 2, 44100);
    std::vector<uint8_t> mp3;
    std::string error;
    if (!lame.encode(reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * 2,
                     Mp3EncodeSettings{44100, 2, 128}, mp3, error)) {
        return false;
    }
    writeFile(path, mp3);
    return true;
}

const Mp3Overlay& overlay() {
    static Mp3Overlay loaded;
    if (!loaded.loaded()) {
        const std::string path = ZEKU_OVERLAY_PATH;
        loaded.load(&path, 1);
    }
    return loaded;
}

void BM_MixPass64SlotsAtVolume50(benchmark::State& state) {
    const std::string folder = scratchFolder();
    writeFile(folder + "loop.wav",
              demo::encodeWav(demo::WavFormat{22050, 2, 16}, tone(22050, 2, 22050).data(), 22050));
    BenchDevice device;
    SoundEngine engine;
    engine.create(&device, kBufferBytes, nullptr);
    for (int i = 0; i < kEffectSlotCount; ++i) {
        engine.loadEffect(i, "loop.wav", folder.c_str(), 50);
        engine.start(i, 1);
    }
    for (auto _ : state)
        device.pass();
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kPassSamples));
    state.counters["slot_samples_per_s"] = benchmark::Counter(
        double(state.iterations()) * kPassSamples * kEffectSlotCount, benchmark::Counter::kIsRate);
}

// The yardstick: one buffer of a pass added to another, saturating.
void BM_PlainSaturatingAddOfTwoBuffers(benchmark::State& state) {
    std::vector<int16_t> out(kPassSamples, 1000), in(kPassSamples, 20000);
    for (auto _ : state) {
        addSaturating(out.data(), in.data(), kPassSamples);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kPassSamples));
}

void BM_MusicStreaming128kbps44kStereo(benchmark::State& state) {
    const std::string folder = scratchFolder();
    if (!tenSecondMp3(folder + "track_02.mp3")) {
        state.SkipWithError("no LAME to make the track");
        return;
    }
    BenchDevice device;
    SoundEngine engine;
    engine.create(&device, kBufferBytes, &overlay());
    if (engine.playMusic("track_02.mp3", folder.c_str(), 100, 1) != 1) {
        state.SkipWithError("the track does not play (no overlay?)");
        return;
    }
    for (auto _ : state)
        device.pass();
    // One pass is kBufferBytes of output: 12288 / 88200 s of music.
    state.counters["music_s_per_s"] = benchmark::Counter(
        double(state.iterations()) * kBufferBytes / 88200.0, benchmark::Counter::kIsRate);
}

void BM_LoadTenSecondMp3Effect(benchmark::State& state) {
    const std::string folder = scratchFolder();
    if (!tenSecondMp3(folder + "effect.mp3")) {
        state.SkipWithError("no LAME to make the effect");
        return;
    }
    SoundEngine engine;
    engine.create(nullptr, kBufferBytes, &overlay());
    for (auto _ : state) {
        if (engine.loadEffect(0, "effect.mp3", folder.c_str(), 100) != 1) {
            state.SkipWithError("the effect does not load");
            return;
        }
    }
}

BENCHMARK(BM_MixPass64SlotsAtVolume50);
BENCHMARK(BM_PlainSaturatingAddOfTwoBuffers);
BENCHMARK(BM_MusicStreaming128kbps44kStereo);
BENCHMARK(BM_LoadTenSecondMp3Effect)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
