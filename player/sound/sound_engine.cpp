// The effect side of the engine: the device's buffer ring, the mixing pass,
// the slot handshake, and loading effects from a package or a folder.
#include "player/sound/sound_engine.h"

#include <bit>
#include <chrono>
#include <cstring>
#include <new>
#include <thread>

#include "platform/api/file_system.h"
#include "player/sound/sound_mixer.h"

namespace zeku {

static_assert(std::endian::native == std::endian::little, "slot PCM is mixed as native int16");

namespace {

// How long stop() waits for the mixer before leaving the slot to it: a
// device that stalls must not hang the frame loop.
constexpr auto kStopWaitLimit = std::chrono::milliseconds(2000);

bool isPackagePath(const char* source) {
    const size_t length = std::strlen(source);
    return length > 0 && source[length - 1] != '/' && source[length - 1] != '\\';
}

std::string extensionOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

std::string replaceExtension(const std::string& name, const char* extension) {
    const size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

void SoundEngine::create(AudioDevice* device, uint32_t bufferBytes, const Mp3Overlay* overlay) {
    destroy();
    created_ = true;
    overlay_ = overlay;
    musicMp3_ = std::make_unique<Mp3Stream>(overlay);
    bufferBytes_ = bufferBytes & ~(kOutputFrameBytes - 1);
    ringIndex_ = 0;
    refills_.store(0);
    closing_.store(0);
    for (auto& buffer : buffers_) {
        buffer.reset(new (std::nothrow) int16_t[bufferBytes_ / 2]());
        if (!buffer) return;  // silent: no device is opened
    }
    device_ = device;
    if (device_ == nullptr || !device_->open(*this, bufferBytes_)) {
        device_ = nullptr;
        return;
    }
    for (int i = 0; i < kOutputBufferCount; ++i)
        device_->queue(i, reinterpret_cast<const uint8_t*>(buffers_[size_t(i)].get()));
    running_ = true;
    device_->start();
}

void SoundEngine::destroy() {
    if (!created_) return;
    stopAll();
    closing_.store(1);
    // After the close no pass runs, so the streams can go.
    if (running_) device_->close();
    running_ = false;
    device_ = nullptr;
    musicWav_.close();
    for (auto& buffer : buffers_)
        buffer.reset();
    if (musicMp3_) musicMp3_->close();
    created_ = false;
}

std::atomic<SoundSlot*>* SoundEngine::slotPointer(int index) {
    if (index == kMusicSlot) return &music_;
    if (index < 0 || index >= kEffectSlotCount) return nullptr;
    return &slots_[size_t(index)];
}

const SoundSlot* SoundEngine::slot(int index) const {
    return const_cast<SoundEngine*>(this)->slotPointer(index) == nullptr
               ? nullptr
               : const_cast<SoundEngine*>(this)->slotPointer(index)->load();
}

void SoundEngine::freeSlot(std::atomic<SoundSlot*>& pointer) {
    delete pointer.exchange(nullptr, std::memory_order_acq_rel);
}

void SoundEngine::bufferDone(int index) {
    if (index < 0 || index >= kOutputBufferCount) return;
    int16_t* buffer = buffers_[size_t(index)].get();
    std::memset(buffer, 0, bufferBytes_);
    if (SoundSlot* music = music_.load(std::memory_order_acquire)) {
        musicRefill(*music);
        if (mixSlot(*music, buffer) == MixResult::Free) freeSlot(music_);
    }
    for (auto& pointer : slots_) {
        SoundSlot* slot = pointer.load(std::memory_order_acquire);
        if (slot != nullptr && mixSlot(*slot, buffer) == MixResult::Free) freeSlot(pointer);
    }
    if (closing_.load() != 0) return;
    device_->queue(index, reinterpret_cast<const uint8_t*>(buffer));
    ringIndex_ = (ringIndex_ + 1) % kOutputBufferCount;
    refills_.fetch_add(1, std::memory_order_relaxed);
}

SoundEngine::MixResult SoundEngine::mixSlot(SoundSlot& slot, int16_t* buffer) {
    SlotState state = slot.state.load(std::memory_order_acquire);
    if (state != SlotState::Playing) {
        return state == SlotState::StopRequested ? MixResult::Free : MixResult::Keep;
    }
    const bool loop = slot.loop.load(std::memory_order_relaxed) != 0;
    if (slot.position >= slot.length && !loop) {
        // A stop asked for meanwhile wins over the natural end.
        if (!slot.state.compare_exchange_strong(state, SlotState::Stopped)) {
            return state == SlotState::StopRequested ? MixResult::Free : MixResult::Keep;
        }
        return MixResult::Keep;
    }
    if (slot.mixCounter.fetch_add(1, std::memory_order_relaxed) == 0) {
        const uint32_t now = device_->positionBytes();
        slot.capturePosition.store(now, std::memory_order_relaxed);
        slot.lastPosition.store(now, std::memory_order_relaxed);
    }
    const int32_t volume = slot.volume.load(std::memory_order_relaxed);
    const uint32_t position = slot.position < slot.length ? slot.position : slot.length;
    const uint32_t remaining = slot.length - position;
    const int16_t* source = slot.data.get() + position / 2;
    if (remaining < bufferBytes_) {
        mixSamples(buffer, source, remaining / 2, volume);
        slot.position = slot.length;
        if (loop) {
            // The wrap repeats for a sound shorter than the rest of the
            // buffer, so nothing past its data is ever read.
            uint32_t filled = remaining;
            slot.position = 0;
            while (filled < bufferBytes_ && slot.length > 0) {
                uint32_t chunk = bufferBytes_ - filled;
                if (chunk > slot.length) chunk = slot.length;
                mixSamples(buffer + filled / 2, slot.data.get(), chunk / 2, volume);
                filled += chunk;
                slot.position = chunk < slot.length ? chunk : 0;
            }
            const uint32_t now = device_->positionBytes();
            slot.capturePosition.store(now, std::memory_order_relaxed);
            slot.lastPosition.store(now, std::memory_order_relaxed);
            slot.accumulator.store(0, std::memory_order_relaxed);
        }
    } else {
        mixSamples(buffer, source, bufferBytes_ / 2, volume);
        slot.position = position + bufferBytes_;
        if (slot.position >= slot.length && loop) slot.position = 0;
    }
    return slot.state.load(std::memory_order_acquire) == SlotState::StopRequested ? MixResult::Free
                                                                                  : MixResult::Keep;
}

int SoundEngine::start(int index, int32_t loop) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    SoundSlot* slot = pointer != nullptr ? pointer->load(std::memory_order_acquire) : nullptr;
    // Without a running device nothing can sound, so nothing starts: a
    // started slot would otherwise count as playing for ever.
    if (slot == nullptr || !running_) return 0;
    if (slot->state.load(std::memory_order_acquire) != SlotState::Stopped) return 0;
    slot->loop.store(loop, std::memory_order_relaxed);
    slot->mixCounter.store(-3, std::memory_order_relaxed);
    slot->capturePosition.store(0, std::memory_order_relaxed);
    slot->state.store(SlotState::Playing, std::memory_order_release);
    return 0;
}

void SoundEngine::halt(int index) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    SoundSlot* slot = pointer != nullptr ? pointer->load(std::memory_order_acquire) : nullptr;
    if (slot == nullptr) return;
    SlotState playing = SlotState::Playing;
    slot->state.compare_exchange_strong(playing, SlotState::Stopped);
}

void SoundEngine::stop(int index) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    SoundSlot* slot = pointer != nullptr ? pointer->load(std::memory_order_acquire) : nullptr;
    if (slot == nullptr) return;
    if (!asyncMixer()) {
        // No mixer runs beside this thread: nobody else can free it.
        freeSlot(*pointer);
        return;
    }
    slot->state.store(SlotState::StopRequested, std::memory_order_release);
    const auto deadline = std::chrono::steady_clock::now() + kStopWaitLimit;
    while (pointer->load(std::memory_order_acquire) != nullptr) {
        if (std::chrono::steady_clock::now() > deadline) return;  // the mixer frees it later
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SoundEngine::stopAll() {
    stopMusic();
    for (int i = 0; i < kEffectSlotCount; ++i)
        stop(i);
}

int32_t SoundEngine::positionMs(int index) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    SoundSlot* slot = pointer != nullptr ? pointer->load(std::memory_order_acquire) : nullptr;
    if (slot == nullptr) return -1;
    const uint32_t last = slot->lastPosition.load(std::memory_order_relaxed);
    if (last == 0 || !running_) return 0;
    const uint32_t now = device_->positionBytes();
    const uint32_t total = slot->accumulator.load(std::memory_order_relaxed) + (now - last);
    slot->accumulator.store(total, std::memory_order_relaxed);
    slot->lastPosition.store(now, std::memory_order_relaxed);
    if (static_cast<int32_t>(total) <= 0) return 0;
    return static_cast<int32_t>(
        static_cast<uint32_t>(double(total) * (1.0 / kOutputBytesPerSecond) * 1000.0));
}

int32_t SoundEngine::playingPositionMs(int index) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    SoundSlot* slot = pointer != nullptr ? pointer->load(std::memory_order_acquire) : nullptr;
    if (slot == nullptr || slot->state.load(std::memory_order_acquire) != SlotState::Playing)
        return -1;
    return positionMs(index);
}

bool SoundEngine::decodeMp3Effect(const uint8_t* image, size_t size,
                                  std::unique_ptr<uint8_t[]>& pcm, size_t& pcmBytes,
                                  WaveFormat& format) {
    Mp3Stream stream(overlay_);
    if (stream.openMemory(image, size) != 0) return false;
    const uint64_t capacity = stream.estimate() + 16384;
    if (capacity > kMaxEffectDecodedBytes) return false;
    pcm.reset(new (std::nothrow) uint8_t[capacity]);
    if (!pcm) return false;
    constexpr size_t kChunk = 32768;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[kChunk + kDecodedFrameBytes]);
    if (!scratch) return false;
    pcmBytes = 0;
    // Writes stop at the allocation: a stream longer than its estimate
    // (a variable bit rate) is cut there.
    while (!stream.ended() && pcmBytes < capacity) {
        const size_t got = stream.read(scratch.get(), kChunk, false);
        const size_t room = capacity - pcmBytes;
        const size_t take = got < room ? got : room;
        std::memcpy(pcm.get() + pcmBytes, scratch.get(), take);
        pcmBytes += take;
        if (got == 0) break;
    }
    format = stream.outputFormat();
    return true;
}

int SoundEngine::loadEffect(int index, const char* name, const char* source, int32_t volume) {
    std::atomic<SoundSlot*>* pointer = slotPointer(index);
    if (pointer == nullptr || index == kMusicSlot || name == nullptr || source == nullptr) return 0;
    std::string entry = name;
    if (entry.size() >= kSoundNameBytes) return 0;
    if (SoundSlot* old = pointer->load(std::memory_order_acquire)) {
        SlotState playing = SlotState::Playing;
        old->state.compare_exchange_strong(playing, SlotState::Stopped);
        stop(index);
        if (pointer->load(std::memory_order_acquire) != nullptr) return 0;
    }

    ByteBuffer image;
    if (isPackagePath(source)) {
        uint32_t offset = 0, size = kNoFileSize;
        reader_.locate(source, entry, offset, size);
        if (size == kNoFileSize) entry = replaceExtension(entry, ".mp3");
        image = reader_.read(source, entry);
    } else {
        if (fileExists((std::string(source) + entry).c_str()) == 0)
            entry = replaceExtension(entry, ".mp3");
        image = readWholeFile((std::string(source) + entry).c_str());
    }
    if (!image || image.size() == 0) return 0;

    WaveFormat format;
    std::unique_ptr<uint8_t[]> decoded;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    if (extensionOf(entry) == ".mp3") {
        if (!decodeMp3Effect(image.data(), image.size(), decoded, sampleBytes, format)) return 0;
        samples = decoded.get();
    } else {
        const Parsed<WaveImage> wave = parseRiffWave(image.data(), image.size());
        if (!wave) return 0;
        format = wave->format;
        samples = wave->samples;
        sampleBytes = wave->sampleBytes;
    }
    if (!playableWave(format)) return 0;

    // Whole frames only, so a looping sound never swaps its channels.
    const uint64_t outBytes =
        convertedBytes(format, sampleBytes) & ~uint64_t(kOutputFrameBytes - 1);
    if (outBytes > kMaxEffectDecodedBytes) return 0;
    std::unique_ptr<SoundSlot> slot(new (std::nothrow) SoundSlot);
    if (!slot) return 0;
    slot->data.reset(new (std::nothrow) int16_t[(outBytes + 8) / 2]());
    if (!slot->data) return 0;
    const uint64_t converted =
        convertToOutput(format, samples, sampleBytes, reinterpret_cast<uint8_t*>(slot->data.get()));
    slot->length = static_cast<uint32_t>(converted < outBytes ? converted : outBytes);
    slot->volume.store(volume, std::memory_order_relaxed);
    // Filled before it is published, and published Stopped: the mixer
    // leaves it alone until start().
    pointer->store(slot.release(), std::memory_order_release);
    auto& stored = names_[size_t(index)];
    std::memcpy(stored.data(), name, std::strlen(name) + 1);
    return 1;
}

}  // namespace zeku
