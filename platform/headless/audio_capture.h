// --audio-out: a device in front of another that keeps a copy of every
// buffer the mixer queues, and writes them as one WAV file at the end.
#pragma once

#include <string>
#include <vector>

#include "platform/api/audio_device.h"

namespace zeku {

class CapturingAudioDevice final : public AudioDevice {
  public:
    explicit CapturingAudioDevice(AudioDevice& inner) : inner_(inner) {}

    bool open(AudioClient& client, uint32_t bufferBytes) override;
    void queue(int index, const uint8_t* data) override;
    void start() override { inner_.start(); }
    uint32_t positionBytes() override { return inner_.positionBytes(); }
    MixingThread mixingThread() const override { return inner_.mixingThread(); }
    void close() override { inner_.close(); }

    // The PCM captured so far (22050 Hz, 16-bit, stereo), once the device
    // is closed.
    const std::vector<uint8_t>& pcm() const { return pcm_; }

  private:
    AudioDevice& inner_;
    uint32_t bufferBytes_ = 0;
    std::vector<uint8_t> pcm_;
};

// Writes `pcm` as a 22050 Hz stereo 16-bit WAV file through a temporary
// name. False with `error` set.
bool writeCapturedWav(const std::string& path, const std::vector<uint8_t>& pcm, std::string& error);

}  // namespace zeku
