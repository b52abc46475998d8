// The one sound output: a device that plays buffers the engine queues, in
// the player's fixed format (22050 Hz, 16-bit, stereo), and hands each one
// back once played. The engine refills a returned buffer and queues it again.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeku {

class AudioClient {
  public:
    // Buffer `index` has been played. Called on the thread given by
    // AudioDevice::mixingThread(); the client may queue() from inside.
    virtual void bufferDone(int index) = 0;

  protected:
    ~AudioClient() = default;
};

// Where the device calls bufferDone: its own thread (a real device), or
// the thread that drives it (the headless device, pumped by the clock).
enum class MixingThread { Device, Caller };

class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    // Opens the device paused, for buffers of `bufferBytes`. False when
    // there is no device; the player then runs silent.
    virtual bool open(AudioClient& client, uint32_t bufferBytes) = 0;
    // Queues buffer `index`; the device reads `data` (bufferBytes bytes)
    // until it hands the buffer back.
    virtual void queue(int index, const uint8_t* data) = 0;
    // Starts playing what was queued.
    virtual void start() = 0;
    // Bytes played since start.
    virtual uint32_t positionBytes() = 0;
    virtual MixingThread mixingThread() const = 0;
    // After this returns bufferDone is never called again.
    virtual void close() = 0;
};

}  // namespace zeku
