// RIFF WAVE images built in code for the sound tests and the benchmark:
// chunks, format records and sine tones in every sample coding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/mp3_encoder.h"

namespace zeku::test_support {

// The system's LAME, opened once for all the sound tests (check isOpen()).
const Mp3EncoderLibrary& sharedEncoder();

using Bytes = std::vector<uint8_t>;

enum class ToneCoding { kUnsigned8, kInt16, kInt24, kInt32, kFloat32 };

int toneCodingBytes(ToneCoding coding);

// One chunk: id, size and body, padded to an even length. `sizeField`
// overrides the stored size when non-negative.
Bytes waveChunk(const char id[4], const Bytes& body, int64_t sizeField = -1);

// "RIFF", the size of everything after it (or `riffSize` when non-negative),
// "WAVE" and the chunks.
Bytes riffWave(const std::vector<Bytes>& chunks, int64_t riffSize = -1);

// A 16-byte format record; blockAlign and bytes per second follow from the
// others unless blockAlign is given.
Bytes formatBody(uint16_t tag, uint16_t channels, uint32_t rateHz, uint16_t bitsPerSample,
                 int blockAlign = -1);

// A 40-byte extensible record whose sub-format GUID carries `subTag`.
Bytes extensibleFormatBody(uint16_t subTag, uint16_t channels, uint32_t rateHz,
                           uint16_t containerBits, uint16_t validBits);

// Interleaved sine frames, left at `leftHz`, right at `rightHz` (mono: the
// left tone), peak `amplitude` of full scale.
Bytes toneSamples(ToneCoding coding, int channels, uint32_t rateHz, size_t frames, double leftHz,
                  double rightHz, double amplitude = 0.5);

// A complete file: format chunk then data chunk.
Bytes toneWave(ToneCoding coding, int channels, uint32_t rateHz, size_t frames, double leftHz,
               double rightHz, double amplitude = 0.5);

// Reads 16-bit little-endian samples.
std::vector<int16_t> pcm16Samples(const Bytes& bytes);

}  // namespace zeku::test_support
