// Sound files decoded by a host library: the WAV codings the converter's own
// chunk walk does not decode (µ-law, A-law, ADPCM, GSM) and ripped CD tracks
// (WAV, FLAC, Ogg Vorbis). The pipeline sees only this interface, so its
// own code can be tested with any reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeku {

struct DecodedAudio {
    uint32_t rateHz = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved, full scale is [-1, 1]
    size_t frames() const {
        return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0;
    }
};

class AudioFileReader {
  public:
    virtual ~AudioFileReader() = default;

    // Decodes a whole file held in memory. False with `error` (English, a
    // few words to follow "file: ") when the bytes are no sound the reader
    // knows, are cut short or damaged, or would decode to more than
    // `maxSamples` values; a claimed length above that is refused before
    // anything is allocated. Safe to call from several threads at once.
    virtual bool decode(const uint8_t* image, size_t size, uint64_t maxSamples, DecodedAudio& audio,
                        std::string& error) const = 0;
};

// The host's reader (libsndfile: WAV in all its codings, FLAC, Ogg Vorbis).
const AudioFileReader& hostAudioFileReader();

}  // namespace zeku
