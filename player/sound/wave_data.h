// The sound formats of the player: the one output format every slot is
// mixed in, the player's own RIFF WAVE walk, and the conversion of 16-bit
// PCM to the output format.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/result/parsed.h"

namespace zeku {

// A wave format record (18 bytes in files and in the slot).
struct WaveFormat {
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t sampleRateHz = 22050;
    uint32_t bytesPerSecond = 88200;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;
    uint16_t extraSize = 0;
};

// PCM, 2 channels, 22050 Hz, 16-bit signed little-endian, left first.
inline constexpr WaveFormat kOutputFormat{};
inline constexpr uint32_t kOutputBytesPerSecond = 88200;
inline constexpr uint32_t kOutputFrameBytes = 4;

// The sample data of a RIFF WAVE image, pointing into it.
struct WaveImage {
    WaveFormat format;
    const uint8_t* samples = nullptr;
    uint32_t sampleBytes = 0;
};

// Walks the chunks of `image` (never past `size`): the first "fmt " and the
// first "data" chunk. A "data" chunk that claims more than the file holds is
// refused, as is a format chunk too short to carry the bits per sample.
Parsed<WaveImage> parseRiffWave(const uint8_t* image, size_t size);

// Whether the player can play this PCM: 16 bits at 22050 Hz or more.
bool playableWave(const WaveFormat& format);

// Bytes of output format that `sourceBytes` of `format` become: twice for
// mono, half at exactly 44100 Hz.
uint64_t convertedBytes(const WaveFormat& format, uint64_t sourceBytes);

// Converts `sourceBytes` of 16-bit PCM to the output format into `out`,
// which holds convertedBytes(format, sourceBytes) bytes. Writes whole output
// frames only and reads nothing past the source; returns the bytes written.
size_t convertToOutput(const WaveFormat& format, const uint8_t* source, size_t sourceBytes,
                       uint8_t* out);

}  // namespace zeku
