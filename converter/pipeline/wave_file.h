// RIFF WAVE files as the game stores its sounds: the chunk walk that finds
// the format record and the sample data, with every size checked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/result/parsed.h"

namespace zeku {

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint16_t kWaveFormatFloat = 3;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;
// A format chunk must hold the fields up to the block alignment.
inline constexpr uint32_t kWaveFormatMinBytes = 14;
// Larger format chunks are accepted, but only this much of them is kept.
inline constexpr size_t kWaveFormatRecordBytes = 1024;

struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t bytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;  // 0 when the chunk ends before it
    // Extensible formats only (0 otherwise): the valid bits per sample and
    // the format tag carried by the sub-format GUID, 0 when the GUID is not
    // one of the standard "tag + fixed tail" ones.
    uint16_t validBitsPerSample = 0;
    uint16_t subFormatTag = 0;
    // The chunk's bytes as stored, cut at kWaveFormatRecordBytes.
    std::array<uint8_t, kWaveFormatRecordBytes> record{};
    size_t recordSize = 0;
    uint32_t chunkSize = 0;  // the chunk's own size field

    // The tag that says how samples are coded: the sub-format's for
    // extensible files, else the format tag itself.
    uint16_t codingTag() const {
        return formatTag == kWaveFormatExtensible ? subFormatTag : formatTag;
    }
};

// A parsed file: the format and a view of the sample bytes inside the image.
struct WaveFile {
    WaveFormat format;
    const uint8_t* samples = nullptr;
    size_t sampleBytes = 0;
    // The data chunk claimed more bytes than the file holds; sampleBytes is
    // what is there.
    bool samplesClamped = false;
};

// Walks the chunks from byte 12 to 8 + the RIFF size (cut at the end of the
// image), each padded to an even size. The first "fmt " chunk is the format
// (one under 14 bytes, or one that runs past the end, ends the walk without
// result); the first "data" chunk is the sample data, cut at the end of the
// walk. Stops as soon as both are found. A file that is no RIFF WAVE at all
// fails as the wrong format, a damaged one as damaged.
Parsed<void> parseWave(const uint8_t* image, size_t size, WaveFile& wave);

}  // namespace zeku
