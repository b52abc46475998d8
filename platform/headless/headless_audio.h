// The headless sound output: a device that plays at exactly 88200 bytes per
// second of the virtual clock, pumped by the clock itself, so a headless run
// mixes the same buffers at the same frames every time.
#pragma once

#include <cstdint>

#include "platform/api/audio_device.h"
#include "platform/api/clock.h"

namespace zeku {

class HeadlessAudioDevice final : public AudioDevice {
  public:
    explicit HeadlessAudioDevice(Clock& clock) : clock_(clock) {}

    bool open(AudioClient& client, uint32_t bufferBytes) override;
    void queue(int index, const uint8_t* data) override;
    void start() override;
    uint32_t positionBytes() override;
    MixingThread mixingThread() const override { return MixingThread::Caller; }
    void close() override;

    // Hands back every buffer the time since start() has played through.
    void pump();

  private:
    static constexpr int kRing = 4;

    Clock& clock_;
    AudioClient* client_ = nullptr;
    uint32_t bufferBytes_ = 0;
    int ring_[kRing] = {};
    int head_ = 0;
    int count_ = 0;
    bool started_ = false;
    uint32_t startMs_ = 0;
    uint64_t handedBack_ = 0;  // bytes of the buffers returned so far
    uint64_t elapsedBytes_ = 0;
    bool pumping_ = false;
};

// The virtual clock as the player sees it: every sleep also pumps the audio
// device, as real time would play it.
class AudioPumpingClock final : public Clock {
  public:
    AudioPumpingClock(Clock& inner, HeadlessAudioDevice& audio) : inner_(inner), audio_(audio) {}
    uint32_t nowMs() override { return inner_.nowMs(); }
    void sleepMs(uint32_t ms) override {
        inner_.sleepMs(ms);
        audio_.pump();
    }

  private:
    Clock& inner_;
    HeadlessAudioDevice& audio_;
};

}  // namespace zeku
