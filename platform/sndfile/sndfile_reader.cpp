// The host's AudioFileReader through libsndfile, reading from memory with a
// virtual file whose every seek and read is kept inside the image.
#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "platform/api/audio_file_reader.h"

namespace zeku {
namespace {

struct MemoryFile {
    const uint8_t* data = nullptr;
    sf_count_t size = 0;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user) {
    return static_cast<MemoryFile*>(user)->size;
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_CUR ? file.position : whence == SEEK_END ? file.size : 0;
    // Offsets come from the file's own headers: clamp rather than overflow.
    sf_count_t target;
    if (offset > 0 && offset > file.size - base) {
        target = file.size;
    } else if (offset < 0 && -(offset + 1) >= base) {
        target = 0;
    } else {
        target = base + offset;
    }
    file.position = target;
    return target;
}

sf_count_t memoryRead(void* buffer, sf_count_t count, void* user) {
    MemoryFile& file = *static_cast<MemoryFile*>(user);
    if (count <= 0) return 0;
    const sf_count_t take = std::min(count, file.size - file.position);
    if (take <= 0) return 0;
    std::memcpy(buffer, file.data + file.position, static_cast<size_t>(take));
    file.position += take;
    return take;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}

// Frames read per call: large enough to be quick, small enough that an
// overlong file is caught soon after the limit.
constexpr sf_count_t kChunkFrames = 1 << 15;
// Channel counts beyond this are no sound anyone records; the check keeps
// the chunk buffer's size sane.
constexpr int kMaxChannels = 64;
// Samples per byte of file that any real coding gives (GSM, the densest of
// the WAV codings, gives about five).
constexpr uint64_t kPlausibleSamplesPerByte = 8;

class SndfileCloser {
  public:
    explicit SndfileCloser(SNDFILE* file) : file_(file) {}
    ~SndfileCloser() {
        if (file_ != nullptr) sf_close(file_);
    }
    SndfileCloser(const SndfileCloser&) = delete;
    SndfileCloser& operator=(const SndfileCloser&) = delete;

  private:
    SNDFILE* file_;
};

class SndfileReader final : public AudioFileReader {
  public:
    bool decode(const uint8_t* image, size_t size, uint64_t maxSamples, DecodedAudio& audio,
                std::string& error) const override {
        audio = DecodedAudio();
        if (image == nullptr || size == 0) {
            error = "empty file";
            return false;
        }
        MemoryFile memory{image, static_cast<sf_count_t>(size), 0};
        SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
        SF_INFO info{};
        SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &memory);
        if (file == nullptr) {
            error =
                std::string("not a sound file that can be decoded (") + sf_strerror(nullptr) + ")";
            return false;
        }
        SndfileCloser closer(file);
        if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate <= 0) {
            error = "bad channel count or sample rate in the header";
            return false;
        }
        const uint64_t channels = static_cast<uint64_t>(info.channels);
        const bool lengthKnown = info.frames >= 0 && info.frames < SF_COUNT_MAX;
        if (lengthKnown && static_cast<uint64_t>(info.frames) > maxSamples / channels) {
            error = "claims " + std::to_string(info.frames) + " frames, more than can be converted";
            return false;
        }
        // Integer codings come out scaled to [-1, 1); float ones as stored.
        sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);

        audio.rateHz = static_cast<uint32_t>(info.samplerate);
        audio.channels = info.channels;
        // The claim sizes the buffer only as far as the image could
        // plausibly hold; a header that lies costs no more than that.
        if (lengthKnown) {
            const uint64_t plausible = static_cast<uint64_t>(size) * kPlausibleSamplesPerByte;
            audio.samples.reserve(static_cast<size_t>(
                std::min(static_cast<uint64_t>(info.frames) * channels, plausible)));
        }
        uint64_t frames = 0;
        for (;;) {
            const size_t at = audio.samples.size();
            audio.samples.resize(at + static_cast<size_t>(kChunkFrames) * channels);
            const sf_count_t got = sf_readf_float(file, audio.samples.data() + at, kChunkFrames);
            const uint64_t gotFrames = got > 0 ? static_cast<uint64_t>(got) : 0;
            audio.samples.resize(at + static_cast<size_t>(gotFrames * channels));
            frames += gotFrames;
            if (frames > maxSamples / channels) {
                audio = DecodedAudio();
                error = "decodes to more frames than can be converted";
                return false;
            }
            if (gotFrames == 0) break;
        }
        if (sf_error(file) != SF_ERR_NO_ERROR) {
            const std::string why = sf_strerror(file);
            audio = DecodedAudio();
            error = "damaged after " + std::to_string(frames) + " frames (" + why + ")";
            return false;
        }
        if (lengthKnown && frames < static_cast<uint64_t>(info.frames)) {
            audio = DecodedAudio();
            error = "ends after " + std::to_string(frames) + " of " + std::to_string(info.frames) +
                    " frames (cut short or damaged)";
            return false;
        }
        audio.samples.shrink_to_fit();
        return true;
    }
};

}  // namespace

const AudioFileReader& hostAudioFileReader() {
    static const SndfileReader reader;
    return reader;
}

}  // namespace zeku
