// Fuzzes the MP3 stream over arbitrary bytes through the real overlay: tag
// skipping, frame lengths from damaged headers, the leftover between reads
// and the looping rewind must stay inside the image and the buffers, and a
// looping stream over garbage must end rather than spin.
#include <cstdint>
#include <string>
#include <vector>

#include "player/sound/mp3_stream.h"

namespace {

const zeku::Mp3Overlay& overlay() {
    static zeku::Mp3Overlay loaded;
    static const bool ok = [] {
        const std::string path = ZEKU_OVERLAY_PATH;
        return loaded.load(&path, 1);
    }();
    if (!ok) __builtin_trap();
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zeku::Mp3Stream stream(&overlay());
    if (stream.openMemory(data, size) != 0) return 0;
    const zeku::WaveFormat format = stream.outputFormat();
    if (format.channels != 1 && format.channels != 2) __builtin_trap();
    stream.estimate();
    // Odd request sizes keep the leftover busy.
    std::vector<uint8_t> buffer(4999 + zeku::kDecodedFrameBytes);
    size_t total = 0;
    for (int i = 0; i < 4096 && !stream.ended(); ++i) {
        const size_t got = stream.read(buffer.data(), 3001, false);
        if (got > 3001) __builtin_trap();
        total += got;
        if (got == 0) break;
    }
    // Every frame is at least 4 bytes and decodes to at most one frame.
    if (total > (size / 4 + 1) * zeku::kDecodedFrameBytes) __builtin_trap();
    stream.rewind();
    for (int i = 0; i < 8; ++i) {
        if (stream.read(buffer.data(), 5000 - 1, true) > 4999) __builtin_trap();
        if (stream.ended()) break;
    }
    return 0;
}
