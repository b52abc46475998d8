// A game sound turned into the MP3 the player plays: the RIFF WAVE file is
// parsed, its samples brought to the chosen rate and channel count, and the
// result encoded at the chosen bit rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/mp3_encoder.h"
#include "converter/pipeline/pcm_conversion.h"
#include "platform/api/audio_file_reader.h"

namespace zeku {

enum class WaveConversionStatus { kConverted, kNotWave, kFailed };

// The dialog's sound choices: bit-rate list index (0..12), 44.1 kHz instead
// of 22.05 kHz, stereo instead of mono.
struct WaveSettings {
    int bitrateIndex = 3;
    bool rate44 = false;
    bool stereo = true;
};

// The sample rate and channel count the settings ask for.
inline uint32_t waveTargetRateHz(const WaveSettings& settings) {
    return settings.rate44 ? 44100 : 22050;
}
inline int waveTargetChannels(const WaveSettings& settings) {
    return settings.stereo ? 2 : 1;
}

// The bit rate the sounds are encoded at: the dialog's table value (half
// for mono), or the nearest one the format has at the target rate when the
// table's is not among them. 0 for an index outside the table.
int waveEncodingKbps(const WaveSettings& settings);

// The whole source file to MP3 bytes. kNotWave: no RIFF WAVE file at all
// (the caller keeps the entry as it is). kFailed with `error` for a damaged
// file, an unsupported format, a bit rate the target rate lacks or an
// encoder failure. Samples that are already 16-bit PCM at the target rate
// and channel count go to the encoder unchanged. Safe to call from several
// threads at once with one encoder library.
WaveConversionStatus convertWave(const uint8_t* image, size_t size, const WaveSettings& settings,
                                 const Mp3EncoderLibrary& encoder, std::vector<uint8_t>& mp3,
                                 std::string& error);

// The same, with `reader` (when given) decoding the codings the chunk walk
// leaves alone: µ-law, A-law, ADPCM, GSM and whatever else it knows. PCM and
// float samples are still taken from the chunk walk.
WaveConversionStatus convertWave(const uint8_t* image, size_t size, const WaveSettings& settings,
                                 const Mp3EncoderLibrary& encoder, const AudioFileReader* reader,
                                 std::vector<uint8_t>& mp3, std::string& error);

// Decoded sounds are refused beyond this many samples, the float working
// copy's limit.
inline constexpr uint64_t kMaxDecodedSamples = kMaxWorkingBytes / sizeof(float);

// Samples a reader has decoded, brought to the settings' format and
// encoded. `audio` is used as working space and left empty.
bool encodeDecodedSound(DecodedAudio& audio, const WaveSettings& settings,
                        const Mp3EncoderLibrary& encoder, std::vector<uint8_t>& mp3,
                        std::string& error);

}  // namespace zeku
