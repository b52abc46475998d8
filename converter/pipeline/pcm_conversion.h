// Turns a sound's samples into what the MP3 encoder takes: 16-bit signed
// little-endian PCM, interleaved, at the chosen rate and channel count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/wave_file.h"

namespace zeku {

struct PcmTarget {
    uint32_t rateHz = 22050;
    int channels = 2;
};

// Source rates outside this range are refused: nothing records sound that
// way, and a tiny rate would blow a short file up to gigabytes.
inline constexpr uint32_t kMinSourceRateHz = 1000;
inline constexpr uint32_t kMaxSourceRateHz = 384000;
// The float working copy of one sound, before or after the rate change, may
// not exceed this (about 50 minutes of 44.1 kHz stereo).
inline constexpr uint64_t kMaxWorkingBytes = uint64_t{1} << 30;

// How the samples of a format are coded, after the checks.
struct SampleCoding {
    enum Kind { kUnsigned8, kSignedInt, kFloat };
    Kind kind = kSignedInt;
    int channels = 0;
    int containerBytes = 0;  // bytes of one sample of one channel
    uint32_t rateHz = 0;
    size_t frameBytes() const { return static_cast<size_t>(channels) * containerBytes; }
};

// Integer PCM of 1 to 32 bits (8 bits and less unsigned) and 32/64-bit
// float, plain or extensible; mono or stereo. False with `error` otherwise.
bool describeSamples(const WaveFormat& format, SampleCoding& coding, std::string& error);

// True when the samples already are 16-bit PCM at the target rate and
// channel count: they then go to the encoder as they are.
bool isTargetPcm(const WaveFormat& format, const PcmTarget& target);

// Frames after a rate change, rounded to the nearest.
uint64_t resampledFrameCount(uint64_t frames, uint32_t fromHz, uint32_t toHz);

// Whole frames of `bytes` as floats in [-1, 1], already mapped to
// `outChannels` (mono is copied to both sides, stereo averaged to mono).
// `out` gets frames × outChannels values.
void decodeFrames(const uint8_t* bytes, size_t frames, const SampleCoding& coding, int outChannels,
                  float* out);

// Rounds to 16 bits with clipping, stored little-endian.
void quantizeToPcm16(const float* samples, size_t count, uint8_t* out);

// The whole conversion: coding, channels, then rate. A trailing partial
// frame is dropped. False with `error` when the format cannot be converted.
bool convertToTargetPcm(const WaveFormat& format, const uint8_t* samples, size_t byteCount,
                        const PcmTarget& target, std::vector<uint8_t>& pcm, std::string& error);

// The same for samples a decoder has already turned into floats
// (interleaved, `channels` of them per frame, full scale [-1, 1]; a
// trailing partial frame is dropped). `samples` is used as working space
// and left empty. False with `error` for more than two channels, a rate
// outside the range above or a sound too long to convert.
bool convertFloatToTargetPcm(std::vector<float>& samples, int channels, uint32_t rateHz,
                             const PcmTarget& target, std::vector<uint8_t>& pcm,
                             std::string& error);

}  // namespace zeku
