// The RIFF walk and the conversion to the output format. Samples are read
// bytewise so that odd chunk offsets never make an unaligned access.
#include "player/sound/wave_data.h"

#include <cstring>

#include "common/bytes/byte_buffer.h"
#include "common/bytes/byte_layout.h"
#include "common/bytes/byte_reader.h"

namespace zeku {
namespace {

// The format fields the player reads, in chunk order; the format tag and the
// byte rate are not examined.
template <typename Io, RecordOf<WaveFormat> Format>
void syncWaveFormatFields(Io& io, Format& format) {
    io.le16(format.formatTag);
    io.le16(format.channels);
    io.le32(format.sampleRateHz);
    io.le32(format.bytesPerSecond);
    io.le16(format.blockAlign);
    io.le16(format.bitsPerSample);
}

int16_t sampleAt(const uint8_t* p, size_t index) {
    return static_cast<int16_t>(loadLe16(p + index * 2));
}

void storeSample(uint8_t* p, int16_t value) {
    storeLe16(p, static_cast<uint16_t>(value));
}

}  // namespace

Parsed<WaveImage> parseRiffWave(const uint8_t* image, size_t size) {
    if (image == nullptr || size < 12 || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVE", 4) != 0) {
        return ParseError("not a RIFF WAVE file", 0, ParseErrorKind::kWrongFormat);
    }
    // A RIFF size beyond the file is cut to the file: the walk then fails on
    // whatever chunk does not fit.
    uint64_t areaEnd = 8 + uint64_t(loadLe32(image + 4));
    if (areaEnd > size) areaEnd = size;
    if (areaEnd <= 12) return ParseError("no chunks", 12);

    WaveImage wave;
    bool haveFormat = false, haveData = false;
    uint64_t at = 12;
    while (!(haveFormat && haveData)) {
        if (areaEnd - at < 8) return ParseError("fmt or data chunk missing", at);
        const uint8_t* chunk = image + at;
        const uint64_t chunkSize = loadLe32(chunk + 4);
        const uint64_t body = at + 8;
        if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 14) return ParseError("format chunk too short", at);
            if (chunkSize > areaEnd - body) return ParseError("format chunk past the end", at);
            // Bits per sample lie at 14..15: a 14-byte chunk has none, and
            // then counts as an unsupported format rather than a read past it.
            ByteReader reader(image + body, chunkSize < 16 ? 14 : 16, body);
            syncWaveFormatFields(reader, wave.format);
            if (chunkSize < 16) wave.format.bitsPerSample = 0;
            haveFormat = true;
        } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
            if (chunkSize > areaEnd - body) return ParseError("data chunk past the end", at);
            wave.samples = image + body;
            wave.sampleBytes = static_cast<uint32_t>(chunkSize);
            haveData = true;
        }
        at = body + chunkSize + (chunkSize & 1);
        if (at > areaEnd) at = areaEnd;
    }
    return wave;
}

bool playableWave(const WaveFormat& format) {
    return format.bitsPerSample == 16 && format.sampleRateHz >= 22050;
}

uint64_t convertedBytes(const WaveFormat& format, uint64_t sourceBytes) {
    if (format.channels == 2 && format.sampleRateHz == 22050) return sourceBytes;
    uint64_t out = format.channels == 1 ? sourceBytes * 2 : sourceBytes;
    if (format.sampleRateHz == 44100) out /= 2;
    return out;
}

size_t convertToOutput(const WaveFormat& format, const uint8_t* source, size_t sourceBytes,
                       uint8_t* out) {
    if (format.channels == 2 && format.sampleRateHz == 22050) {
        std::memcpy(out, source, sourceBytes);
        return sourceBytes;
    }
    const bool mono = format.channels == 1;
    const bool halve = format.sampleRateHz == 44100;
    const size_t frames = static_cast<size_t>(convertedBytes(format, sourceBytes)) / 4;
    // Halves are taken before the addition, each truncated toward zero.
    const auto half = [](int16_t s) { return static_cast<int>(s) / 2; };
    size_t s = 0;
    for (size_t f = 0; f < frames; ++f) {
        int left, right;
        if (!halve) {
            left = sampleAt(source, s);
            right = mono ? left : sampleAt(source, s + 1);
            s += mono ? 1 : 2;
        } else if (mono) {
            left = right = half(sampleAt(source, s + 1)) + half(sampleAt(source, s));
            s += 2;
        } else {
            left = half(sampleAt(source, s)) + half(sampleAt(source, s + 2));
            right = half(sampleAt(source, s + 1)) + half(sampleAt(source, s + 3));
            s += 4;
        }
        storeSample(out + f * 4, static_cast<int16_t>(left));
        storeSample(out + f * 4 + 2, static_cast<int16_t>(right));
    }
    return frames * 4;
}

}  // namespace zeku
