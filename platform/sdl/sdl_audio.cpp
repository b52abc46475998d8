// The SDL audio back end. SDL asks for its own chunk size; the engine's four
// buffers are played through it in order, and each is handed back to the
// engine from SDL's callback the moment its last byte has been copied out.
#include <SDL.h>

#include <atomic>
#include <cstring>
#include <memory>

#include "platform/api/audio_device.h"
#include "platform/sdl/sdl_platform.h"

namespace zeku {
namespace {

constexpr int kRing = 4;

class SdlAudioDevice final : public AudioDevice {
  public:
    ~SdlAudioDevice() override { close(); }

    bool open(AudioClient& client, uint32_t bufferBytes) override {
        close();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        SDL_AudioSpec want{};
        want.freq = 22050;
        want.format = AUDIO_S16LSB;
        want.channels = 2;
        want.samples = 1024;
        want.callback = &SdlAudioDevice::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware takes.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        client_ = &client;
        bufferBytes_ = bufferBytes;
        head_ = count_ = 0;
        offset_ = 0;
        played_.store(0);
        return true;
    }

    // Called before start() on the opening thread, afterwards only from the
    // callback (inside bufferDone), so the ring needs no lock.
    void queue(int index, const uint8_t* data) override {
        if (count_ >= kRing) return;
        ring_[(head_ + count_) % kRing] = Entry{index, data};
        ++count_;
    }

    void start() override {
        if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
    }

    uint32_t positionBytes() override { return played_.load(std::memory_order_relaxed); }
    MixingThread mixingThread() const override { return MixingThread::Device; }

    void close() override {
        if (device_ == 0) return;
        // Waits for a running callback; none comes after it.
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device_ = 0;
        client_ = nullptr;
    }

  private:
    struct Entry {
        int index = 0;
        const uint8_t* data = nullptr;
    };

    static void SDLCALL callback(void* self, Uint8* stream, int length) {
        static_cast<SdlAudioDevice*>(self)->fill(stream, static_cast<uint32_t>(length));
    }

    void fill(uint8_t* stream, uint32_t length) {
        while (length > 0) {
            if (count_ == 0) {
                std::memset(stream, 0, length);  // the engine is closing
                return;
            }
            const Entry entry = ring_[head_];
            uint32_t n = bufferBytes_ - offset_;
            if (n > length) n = length;
            std::memcpy(stream, entry.data + offset_, n);
            stream += n;
            length -= n;
            offset_ += n;
            played_.fetch_add(n, std::memory_order_relaxed);
            if (offset_ == bufferBytes_) {
                offset_ = 0;
                head_ = (head_ + 1) % kRing;
                --count_;
                client_->bufferDone(entry.index);
            }
        }
    }

    SDL_AudioDeviceID device_ = 0;
    AudioClient* client_ = nullptr;
    uint32_t bufferBytes_ = 0;
    Entry ring_[kRing];
    int head_ = 0;
    int count_ = 0;
    uint32_t offset_ = 0;
    std::atomic<uint32_t> played_{0};
};

}  // namespace

std::unique_ptr<AudioDevice> createSdlAudio() {
    return std::make_unique<SdlAudioDevice>();
}

}  // namespace zeku
