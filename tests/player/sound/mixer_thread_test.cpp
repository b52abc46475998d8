// The slot handshake with a real mixer thread: the main thread loads,
// starts, halts and stops slots while a device thread mixes as fast as it
// can. Built under ThreadSanitizer by the test command; anywhere else it
// still checks that every stop returns with the slot gone.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "common/bytes/byte_writer.h"
#include "common/sound/wav_header.h"
#include "player/sound/sound_engine.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

// Hands every queued buffer straight back from its own thread.
class SpinningDevice final : public AudioDevice {
  public:
    bool open(AudioClient& client, uint32_t) override {
        client_ = &client;
        return true;
    }
    void queue(int index, const uint8_t*) override {
        const int tail = tail_.load(std::memory_order_relaxed);
        ring_[tail % 8].store(index, std::memory_order_relaxed);
        tail_.store(tail + 1, std::memory_order_release);
    }
    void start() override {
        thread_ = std::thread([this] {
            int head = 0;
            while (!quit_.load(std::memory_order_acquire)) {
                if (head == tail_.load(std::memory_order_acquire)) {
                    std::this_thread::yield();
                    continue;
                }
                const int index = ring_[head % 8].load(std::memory_order_relaxed);
                ++head;
                position_.fetch_add(8192, std::memory_order_relaxed);
                client_->bufferDone(index);
            }
        });
    }
    uint32_t positionBytes() override { return position_.load(std::memory_order_relaxed); }
    MixingThread mixingThread() const override { return MixingThread::Device; }
    void close() override {
        quit_.store(true, std::memory_order_release);
        if (thread_.joinable()) thread_.join();
    }
    ~SpinningDevice() override { close(); }

  private:
    AudioClient* client_ = nullptr;
    std::atomic<int> ring_[8] = {};
    std::atomic<int> tail_{0};
    std::atomic<bool> quit_{false};
    std::atomic<uint32_t> position_{0};
    std::thread thread_;
};

// A 22050 Hz stereo file of constant samples.
std::vector<uint8_t> constantWav(size_t samples, int16_t value) {
    std::vector<uint8_t> file(kCanonicalWavHeaderBytes + samples * 2);
    CanonicalWavHeader header;
    header.dataBytes = static_cast<uint32_t>(samples * 2);
    header.riffSize = 36 + header.dataBytes;
    ByteWriter writer(file.data(), kCanonicalWavHeaderBytes);
    syncCanonicalWavHeader(writer, static_cast<const CanonicalWavHeader&>(header));
    for (size_t i = 0; i < samples; ++i)
        storeLe16(file.data() + kCanonicalWavHeaderBytes + i * 2, static_cast<uint16_t>(value));
    return file;
}

TEST(MixerThreads, LoadStartStopRaceTheMixerWithoutLosingASlot) {
    test_support::TempFolder folder;
    const std::string dir = folder.path().string() + "/";
    const auto wav = constantWav(3000, 1000);
    std::ofstream(dir + "a.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
    SpinningDevice device;
    SoundEngine engine;
    engine.create(&device, 8192, nullptr);
    ASSERT_TRUE(engine.deviceRunning());
    for (int round = 0; round < 300; ++round) {
        const int index = round % 8;
        ASSERT_EQ(engine.loadEffect(index, "a.wav", dir.c_str(), 50 + round % 51), 1);
        engine.start(index, round % 3 == 0);
        engine.positionMs(index);
        if (round % 5 == 0) engine.halt(index);
        if (round % 2 == 0) {
            engine.stop(index);
            ASSERT_EQ(engine.slot(index), nullptr);
        }
        engine.playingPositionMs(index);
    }
    engine.stopAll();
    for (int i = 0; i < kEffectSlotCount; ++i)
        EXPECT_EQ(engine.slot(i), nullptr);
    EXPECT_GT(engine.refillCount(), 0u);
    engine.destroy();
}

}  // namespace
}  // namespace zeku
