// The music side of the engine: the music slot holds one mixing pass of PCM
// and is refilled from its stream (an MP3 file through the overlay, or a
// plain WAV file) on the mixer's thread before every pass.
#include <cstring>
#include <new>

#include "common/bytes/byte_reader.h"
#include "common/sound/wav_header.h"
#include "platform/api/file_system.h"
#include "player/sound/sound_engine.h"

namespace zeku {
namespace {

bool endsWithMp3(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot, std::string::npos, ".mp3") == 0;
}

}  // namespace

int SoundEngine::playMusic(const char* name, const char* directory, int32_t volume, int32_t loop) {
    stopMusic();
    if (music_.load(std::memory_order_acquire) != nullptr) return 0;  // the mixer still holds it
    musicWav_.close();
    if (musicMp3_) musicMp3_->close();
    if (name == nullptr || directory == nullptr || std::strlen(name) >= kSoundNameBytes) return 0;
    musicName_ = name;

    std::string file = name;
    std::string path = std::string(directory) + file;
    if (fileExists(path.c_str()) == 0) {
        file = replaceExtension(file, ".mp3");
        path = std::string(directory) + file;
        if (fileExists(path.c_str()) == 0) return 0;
    }

    std::unique_ptr<SoundSlot> slot(new (std::nothrow) SoundSlot);
    if (!slot) return 0;
    if (endsWithMp3(file)) {
        if (!musicMp3_ || musicMp3_->openFile(path.c_str(), 0, 0) != 0) return 0;
        musicMp3_->estimate();
        const WaveFormat& format = musicMp3_->outputFormat();
        slot->sourceKind = 1;
        slot->sourceFormat = WaveFormat{1, format.channels, format.sampleRateHz, 0, 4, 16, 0};
    } else {
        // A WAV track is taken to have the canonical 44-byte header.
        const std::string wavPath = replaceExtension(path, ".wav");
        if (!musicWav_.open(wavPath.c_str())) return 0;
        musicWav_.setLoopPoint(kCanonicalWavHeaderBytes);
        uint8_t header[kCanonicalWavHeaderBytes] = {};
        if (musicWav_.read(header, sizeof header, false) != sizeof header) {
            musicWav_.close();
            return 0;
        }
        CanonicalWavHeader fields;
        ByteReader reader(header, sizeof header);
        syncCanonicalWavHeader(reader, fields);
        WaveFormat& format = slot->sourceFormat;
        format = WaveFormat{fields.formatTag,
                            fields.channels,
                            fields.sampleRateHz,
                            fields.bytesPerSecond,
                            fields.blockAlign,
                            fields.bitsPerSample,
                            0};
        // Only 16-bit samples can be converted; anything else would be noise.
        if (format.bitsPerSample != 16) {
            musicWav_.close();
            return 0;
        }
        slot->sourceKind = 0;
    }
    slot->data.reset(new (std::nothrow) int16_t[(bufferBytes_ + 8) / 2]());
    // Room for one request (at most twice a pass) plus one decoded frame.
    slot->sourceBuffer.reset(new (std::nothrow) uint8_t[kMusicSourceBufferBytes]);
    if (!slot->data || !slot->sourceBuffer ||
        bufferBytes_ * 2 + kDecodedFrameBytes > kMusicSourceBufferBytes) {
        musicWav_.close();
        musicMp3_->close();
        return 0;
    }
    slot->length = bufferBytes_;
    slot->streamLoop = loop;
    music_.store(slot.release(), std::memory_order_release);
    setMusicVolume(volume);
    start(kMusicSlot, 1);
    return 1;
}

void SoundEngine::setMusicVolume(int32_t volume) {
    SoundSlot* slot = music_.load(std::memory_order_acquire);
    if (slot == nullptr) return;
    if (volume >= 0 && volume <= 100) slot->requestedVolume = volume;
    slot->volume.store(slot->requestedVolume < 100 ? slot->requestedVolume : 100,
                       std::memory_order_relaxed);
}

void SoundEngine::musicRefill(SoundSlot& slot) {
    if (slot.state.load(std::memory_order_acquire) != SlotState::Playing) return;
    std::memset(slot.data.get(), 0, slot.length);
    const bool mp3 = slot.sourceKind == 1;
    if (mp3 ? musicMp3_->ended() : musicWav_.atEnd()) return;
    const WaveFormat& format = slot.sourceFormat;
    size_t request = bufferBytes_;
    if (format.channels == 1) request /= 2;
    if (format.sampleRateHz == 44100) request *= 2;
    uint8_t* source = slot.sourceBuffer.get();
    const size_t got = mp3 ? musicMp3_->read(source, request, slot.streamLoop != 0)
                           : musicWav_.read(source, request, slot.streamLoop != 0);
    // A short read leaves the rest of the pass silent.
    convertToOutput(format, source, got, reinterpret_cast<uint8_t*>(slot.data.get()));
}

}  // namespace zeku
