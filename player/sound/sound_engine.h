// The player's one sound output: 64 effect slots and the music slot (index
// -1), mixed into four circulating buffers of the audio device. The GUI
// thread loads, starts and asks for stops; the device's thread mixes and
// alone frees a slot (see README.md for the rules).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/api/audio_device.h"
#include "player/data/mapped_file.h"
#include "player/data/pack_reader.h"
#include "player/sound/mp3_overlay.h"
#include "player/sound/mp3_stream.h"
#include "player/sound/sound_slot.h"

namespace zeku {

inline constexpr int kEffectSlotCount = 64;
inline constexpr int kMusicSlot = -1;
inline constexpr int kOutputBufferCount = 4;
inline constexpr uint32_t kMusicSourceBufferBytes = 49152;
inline constexpr size_t kSoundNameBytes = 64;
// MP3 effects are decoded whole at load; a larger claimed size is refused
// rather than allocated (about six minutes of 44.1 kHz stereo).
inline constexpr uint64_t kMaxEffectDecodedBytes = 64u << 20;

class SoundEngine final : private AudioClient {
  public:
    SoundEngine() = default;
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;
    ~SoundEngine() { destroy(); }

    // Opens `device` (null, or one that fails to open: a silent run) and
    // queues four silent buffers of `bufferBytes`. `overlay` decodes MP3;
    // null or unloaded: MP3 sources fail to open.
    void create(AudioDevice* device, uint32_t bufferBytes, const Mp3Overlay* overlay);
    void destroy();
    bool deviceRunning() const { return running_; }
    uint32_t bufferBytes() const { return bufferBytes_; }

    // 1 on success, 0 on failure (the slot is then empty). `source` is a
    // package path, or a directory ending in '/' (or '\\'), or empty.
    int loadEffect(int index, const char* name, const char* source, int32_t volume);
    int start(int index, int32_t loop);
    void halt(int index);
    void stop(int index);
    void stopMusic() { stop(kMusicSlot); }
    void stopAll();
    int32_t positionMs(int index);
    int32_t playingPositionMs(int index);

    // Music through the mapped file of `directory` + `name`: 1 started.
    int playMusic(const char* name, const char* directory, int32_t volume, int32_t loop);
    void setMusicVolume(int32_t volume);

    // For tests: the slot at `index` (null when empty), and the mixing
    // passes run so far.
    const SoundSlot* slot(int index) const;
    uint32_t refillCount() const { return refills_.load(std::memory_order_relaxed); }

  private:
    enum class MixResult { Keep, Free };

    void bufferDone(int index) override;
    std::atomic<SoundSlot*>* slotPointer(int index);
    MixResult mixSlot(SoundSlot& slot, int16_t* buffer);
    void musicRefill(SoundSlot& slot);
    void freeSlot(std::atomic<SoundSlot*>& pointer);
    bool asyncMixer() const { return running_ && device_->mixingThread() == MixingThread::Device; }
    bool decodeMp3Effect(const uint8_t* image, size_t size, std::unique_ptr<uint8_t[]>& pcm,
                         size_t& pcmBytes, WaveFormat& format);

    AudioDevice* device_ = nullptr;
    const Mp3Overlay* overlay_ = nullptr;
    bool created_ = false;
    bool running_ = false;
    uint32_t bufferBytes_ = 0;
    std::array<std::unique_ptr<int16_t[]>, kOutputBufferCount> buffers_;
    int ringIndex_ = 0;
    std::atomic<uint32_t> refills_{0};
    std::atomic<int32_t> closing_{0};

    std::array<std::atomic<SoundSlot*>, kEffectSlotCount> slots_{};
    std::array<std::array<char, kSoundNameBytes>, kEffectSlotCount> names_{};
    std::atomic<SoundSlot*> music_{nullptr};
    std::string musicName_;
    std::unique_ptr<Mp3Stream> musicMp3_;
    MappedFile musicWav_;
    PackReader reader_;
};

// `name` with everything from its last '.' replaced by `extension`, or with
// `extension` appended when it has no '.'.
std::string replaceExtension(const std::string& name, const char* extension);

}  // namespace zeku
