// Builders for the WAVE images of the sound tests and the benchmark.
#include "tests/converter/wave_test_sounds.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace zeku::test_support {

const Mp3EncoderLibrary& sharedEncoder() {
    static Mp3EncoderLibrary* library = [] {
        auto* opened = new Mp3EncoderLibrary;
        opened->open("");
        return opened;
    }();
    return *library;
}
namespace {

void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putSample(Bytes& out, ToneCoding coding, double value) {
    switch (coding) {
        case ToneCoding::kUnsigned8:
            out.push_back(static_cast<uint8_t>(std::lround(value * 127.0) + 128));
            break;
        case ToneCoding::kInt16:
            put16(out, static_cast<uint32_t>(std::lround(value * 32767.0)));
            break;
        case ToneCoding::kInt24: {
            const uint32_t v = static_cast<uint32_t>(std::lround(value * 8388607.0));
            out.push_back(static_cast<uint8_t>(v));
            out.push_back(static_cast<uint8_t>(v >> 8));
            out.push_back(static_cast<uint8_t>(v >> 16));
            break;
        }
        case ToneCoding::kInt32:
            put32(out, static_cast<uint32_t>(std::llround(value * 2147483647.0)));
            break;
        case ToneCoding::kFloat32: {
            const float f = static_cast<float>(value);
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            put32(out, bits);
            break;
        }
    }
}

}  // namespace

int toneCodingBytes(ToneCoding coding) {
    switch (coding) {
        case ToneCoding::kUnsigned8:
            return 1;
        case ToneCoding::kInt16:
            return 2;
        case ToneCoding::kInt24:
            return 3;
        case ToneCoding::kInt32:
        case ToneCoding::kFloat32:
            return 4;
    }
    return 0;
}

Bytes waveChunk(const char id[4], const Bytes& body, int64_t sizeField) {
    Bytes out(id, id + 4);
    put32(out,
          static_cast<uint32_t>(sizeField >= 0 ? sizeField : static_cast<int64_t>(body.size())));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

Bytes riffWave(const std::vector<Bytes>& chunks, int64_t riffSize) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    Bytes out = {'R', 'I', 'F', 'F'};
    put32(out, static_cast<uint32_t>(riffSize >= 0 ? riffSize : static_cast<int64_t>(body.size())));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes formatBody(uint16_t tag, uint16_t channels, uint32_t rateHz, uint16_t bitsPerSample,
                 int blockAlign) {
    const uint16_t align =
        static_cast<uint16_t>(blockAlign >= 0 ? blockAlign : channels * ((bitsPerSample + 7) / 8));
    Bytes out;
    put16(out, tag);
    put16(out, channels);
    put32(out, rateHz);
    put32(out, rateHz * align);
    put16(out, align);
    put16(out, bitsPerSample);
    return out;
}

Bytes extensibleFormatBody(uint16_t subTag, uint16_t channels, uint32_t rateHz,
                           uint16_t containerBits, uint16_t validBits) {
    Bytes out = formatBody(0xFFFE, channels, rateHz, containerBits);
    put16(out, 22);
    put16(out, validBits);
    put32(out, channels == 1 ? 0x4 : 0x3);
    put16(out, subTag);
    const uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    out.insert(out.end(), tail, tail + sizeof tail);
    return out;
}

Bytes toneSamples(ToneCoding coding, int channels, uint32_t rateHz, size_t frames, double leftHz,
                  double rightHz, double amplitude) {
    Bytes out;
    out.reserve(frames * channels * toneCodingBytes(coding));
    const double step = 2.0 * std::numbers::pi / rateHz;
    for (size_t i = 0; i < frames; ++i) {
        putSample(out, coding, amplitude * std::sin(step * leftHz * static_cast<double>(i)));
        if (channels == 2) {
            putSample(out, coding, amplitude * std::sin(step * rightHz * static_cast<double>(i)));
        }
    }
    return out;
}

Bytes toneWave(ToneCoding coding, int channels, uint32_t rateHz, size_t frames, double leftHz,
               double rightHz, double amplitude) {
    const int bytes = toneCodingBytes(coding);
    const uint16_t tag = coding == ToneCoding::kFloat32 ? 3 : 1;
    return riffWave({waveChunk("fmt ", formatBody(tag, static_cast<uint16_t>(channels), rateHz,
                                                  static_cast<uint16_t>(bytes * 8))),
                     waveChunk("data", toneSamples(coding, channels, rateHz, frames, leftHz,
                                                   rightHz, amplitude))});
}

std::vector<int16_t> pcm16Samples(const Bytes& bytes) {
    std::vector<int16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return out;
}

}  // namespace zeku::test_support
