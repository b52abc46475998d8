// The RIFF WAVE chunk walk. Sizes come from the file, so every position is
// computed in 64 bits and checked against the end before anything is read.
#include "converter/pipeline/wave_file.h"

#include <algorithm>
#include <cstring>

#include "common/bytes/byte_buffer.h"

namespace zeku {
namespace {

constexpr size_t kRiffHeaderBytes = 12;
constexpr size_t kChunkHeaderBytes = 8;
// Extensible records: 16 basic bytes, the extra size, then valid bits,
// channel mask and the 16-byte sub-format GUID.
constexpr size_t kExtensibleRecordBytes = 40;
// The GUID's last 14 bytes shared by every standard sub-format; its first
// two bytes are the plain format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool isChunk(const uint8_t* at, const char* id) {
    return std::memcmp(at, id, 4) == 0;
}

ParseError notWave(const char* reason, size_t offset) {
    return ParseError(reason, offset, ParseErrorKind::kWrongFormat);
}

void readFormat(const uint8_t* body, uint32_t chunkSize, WaveFormat& format) {
    format.chunkSize = chunkSize;
    format.recordSize = std::min<size_t>(chunkSize, kWaveFormatRecordBytes);
    std::memcpy(format.record.data(), body, format.recordSize);
    const uint8_t* r = format.record.data();
    format.formatTag = loadLe16(r);
    format.channels = loadLe16(r + 2);
    format.samplesPerSecond = loadLe32(r + 4);
    format.bytesPerSecond = loadLe32(r + 8);
    format.blockAlign = loadLe16(r + 12);
    format.bitsPerSample = format.recordSize >= 16 ? loadLe16(r + 14) : 0;
    if (format.formatTag == kWaveFormatExtensible && format.recordSize >= kExtensibleRecordBytes &&
        loadLe16(r + 16) >= kExtensibleRecordBytes - 18) {
        format.validBitsPerSample = loadLe16(r + 18);
        if (std::memcmp(r + 26, kSubFormatTail, sizeof kSubFormatTail) == 0) {
            format.subFormatTag = loadLe16(r + 24);
        }
    }
}

}  // namespace

Parsed<void> parseWave(const uint8_t* image, size_t size, WaveFile& wave) {
    wave = WaveFile();
    if (image == nullptr || size < kRiffHeaderBytes)
        return notWave("shorter than a RIFF header", 0);
    if (!isChunk(image, "RIFF")) return notWave("no RIFF signature", 0);
    if (!isChunk(image + 8, "WAVE")) return notWave("RIFF form is not WAVE", 8);

    // Writers that never went back to fix the RIFF size leave it too large;
    // the image is the real bound.
    const uint64_t end = std::min<uint64_t>(8 + static_cast<uint64_t>(loadLe32(image + 4)), size);
    bool haveFormat = false;
    bool haveData = false;
    uint64_t at = kRiffHeaderBytes;
    while (at + kChunkHeaderBytes <= end) {
        const uint8_t* header = image + at;
        const uint32_t chunkSize = loadLe32(header + 4);
        const uint64_t body = at + kChunkHeaderBytes;
        const uint64_t bodyEnd = body + chunkSize;
        if (!haveFormat && isChunk(header, "fmt ")) {
            if (chunkSize < kWaveFormatMinBytes) {
                return ParseError("format chunk smaller than 14 bytes", at + 4);
            }
            if (bodyEnd > end) return ParseError("format chunk runs past the end", at + 4);
            readFormat(image + body, chunkSize, wave.format);
            haveFormat = true;
        } else if (!haveData && isChunk(header, "data")) {
            const uint64_t available = end - body;
            wave.samples = image + body;
            wave.sampleBytes = static_cast<size_t>(std::min<uint64_t>(chunkSize, available));
            wave.samplesClamped = chunkSize > available;
            haveData = true;
        }
        if (haveFormat && haveData) return {};
        at = bodyEnd + (chunkSize & 1u);
    }
    const size_t stop = static_cast<size_t>(std::min(at, end));
    wave = WaveFile();
    return ParseError(haveFormat ? "no data chunk" : "no format chunk", stop);
}

}  // namespace zeku
