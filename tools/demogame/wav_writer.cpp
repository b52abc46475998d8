// WAVE encoding: "RIFF" header, a 16-byte "fmt " chunk, an optional comment
// chunk and the "data" chunk.
#include "tools/demogame/wav_writer.h"

#include "common/bytes/byte_buffer.h"

namespace zeku::demo {
namespace {

void appendTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

void appendLe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void appendLe16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

std::vector<uint8_t> encodeWav(const WavFormat& format, const int16_t* samples, size_t frameCount,
                               std::string_view comment) {
    const uint16_t bytesPerSample = format.bitsPerSample == 8 ? 1 : 2;
    const uint16_t blockAlign = static_cast<uint16_t>(format.channels * bytesPerSample);
    const size_t valueCount = frameCount * format.channels;
    const uint32_t dataSize = static_cast<uint32_t>(valueCount * bytesPerSample);

    std::vector<uint8_t> out;
    appendTag(out, "RIFF");
    appendLe32(out, 0);  // patched below
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLe32(out, 16);
    appendLe16(out, 1);  // PCM
    appendLe16(out, format.channels);
    appendLe32(out, format.rateHz);
    appendLe32(out, format.rateHz * blockAlign);
    appendLe16(out, blockAlign);
    appendLe16(out, format.bitsPerSample == 8 ? 8 : 16);
    if (!comment.empty()) {
        // LIST size: "INFO" + "ICMT" + size + text and terminator (+ pad).
        const uint32_t textSize = static_cast<uint32_t>(comment.size() + 1);
        const uint32_t paddedText = (textSize + 1) & ~1u;
        appendTag(out, "LIST");
        appendLe32(out, 4 + 8 + paddedText);
        appendTag(out, "INFO");
        appendTag(out, "ICMT");
        appendLe32(out, textSize);
        out.insert(out.end(), comment.begin(), comment.end());
        out.push_back(0);
        if (paddedText != textSize) out.push_back(0);
    }
    appendTag(out, "data");
    appendLe32(out, dataSize);
    out.reserve(out.size() + dataSize + 1);
    for (size_t i = 0; i < valueCount; ++i) {
        if (bytesPerSample == 1) {
            out.push_back(static_cast<uint8_t>((samples[i] + 32768) >> 8));
        } else {
            appendLe16(out, static_cast<uint16_t>(samples[i]));
        }
    }
    // A chunk of odd size is followed by one pad byte.
    if (dataSize % 2 != 0) out.push_back(0);
    storeLe32(out.data() + 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

}  // namespace zeku::demo
