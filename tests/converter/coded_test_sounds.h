// Sound files in the codings the converter decodes through the host's
// reader (µ-law, ADPCM, GSM WAV; FLAC; Ogg Vorbis), written by libsndfile
// for the tests and the benchmark, and a tone-fidelity measure for what
// comes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku::test_support {

// Interleaved sine frames, every channel at `hz`, peak `amplitude`.
std::vector<float> toneFrames(int channels, int rateHz, size_t frames, double hz, double amplitude);

// The whole file libsndfile writes for `format` (SF_FORMAT_* major | minor);
// empty when it refuses.
std::vector<uint8_t> writeCodedSound(int format, int channels, int rateHz,
                                     const std::vector<float>& interleaved);

// How faithfully one channel of `samples` (16-bit, interleaved) over
// [from, from + count) frames carries a tone at `hz`: the tone fitted at
// its best phase against everything else, in dB.
double toneSnrDb(const std::vector<int16_t>& samples, int channels, int channel, double rateHz,
                 double hz, size_t from, size_t count);

}  // namespace zeku::test_support
