// Shared pieces of the sound tests: a device the test plays buffer by
// buffer, sounds made in code (WAV and MP3), and the overlay as built.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/api/audio_device.h"
#include "player/sound/mp3_overlay.h"

namespace zeku::sound_test {

// A device on the test's thread: pass() plays the oldest queued buffer,
// hands it back to the engine and returns what the engine mixed into it.
class ManualAudioDevice final : public AudioDevice {
  public:
    bool open(AudioClient& client, uint32_t bufferBytes) override;
    void queue(int index, const uint8_t* data) override;
    void start() override { started = true; }
    uint32_t positionBytes() override { return position; }
    MixingThread mixingThread() const override { return MixingThread::Caller; }
    void close() override { client_ = nullptr; }

    std::vector<int16_t> pass();

    bool openResult = true;
    bool started = false;
    uint32_t position = 0;
    size_t queuedCount() const { return queued_.size(); }

  private:
    struct Entry {
        int index;
        const uint8_t* data;
    };
    AudioClient* client_ = nullptr;
    uint32_t bufferBytes_ = 0;
    std::deque<Entry> queued_;
};

// A 16-bit PCM WAV file of `samples` (interleaved).
std::vector<uint8_t> wavFile(uint32_t rateHz, uint16_t channels,
                             const std::vector<int16_t>& samples, uint16_t bits = 16);
// A sine of `frames` frames at `hz`, the same on every channel.
std::vector<int16_t> sine(size_t frames, int channels, double hz, double rateHz,
                          int amplitude = 12000);
// Constant-bit-rate MP3 of the samples through LAME; empty (with a test
// failure) when LAME is missing.
std::vector<uint8_t> mp3File(const std::vector<int16_t>& samples, uint32_t rateHz, int channels,
                             int kbps = 64);

// The overlay built with the tests; loads once per process.
const Mp3Overlay& builtOverlay();

}  // namespace zeku::sound_test
