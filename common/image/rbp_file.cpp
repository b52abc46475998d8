// Reading and writing the ".rbp" header, and locating each type's data
// within the file with every length checked against the file size.
#include "common/image/rbp_file.h"

#include <cstring>

#include "common/bytes/byte_buffer.h"

namespace zeku {

namespace {

RbpResult fail(const char* error, size_t offset) {
    return RbpResult{false, error, offset};
}

}  // namespace

RbpResult parseRbpFile(const uint8_t* data, size_t size, RbpFile& file) {
    file = RbpFile{};
    if (data == nullptr || size < kRbpHeaderLength)
        return fail("file shorter than the picture header", size);
    RbpHeader& h = file.header;
    h.type = loadLe32(data + 4);
    h.width = loadLe32(data + 8);
    h.height = loadLe32(data + 12);
    h.dataOffset = loadLe32(data + 16);
    h.sourceWidth = loadLe16(data + 20);
    h.sourceHeight = loadLe16(data + 22);
    h.streamLength = loadLe32(data + 28);
    if (h.width > kRbpMaxSide) return fail("picture too wide", 8);
    if (h.height > kRbpMaxSide) return fail("picture too high", 12);

    file.knownType = h.type == kRbpRawWithAlpha || h.type == kRbpRawWithAlphaToo ||
                     h.type == kRbpRaw || h.type == kRbpJbp1 || h.type == kRbpJbp1WithAlpha;
    if (!file.knownType) return RbpResult{true, nullptr, 0};

    if (h.dataOffset < kRbpHeaderLength || h.dataOffset > size)
        return fail("picture data offset outside the file", 16);
    const size_t available = size - h.dataOffset;
    const uint8_t* start = data + h.dataOffset;
    // Both sides are at most 16 bits, so these products cannot overflow.
    const size_t pixelCount = static_cast<size_t>(h.width) * h.height;

    if (h.type == kRbpJbp1 || h.type == kRbpJbp1WithAlpha) {
        if (h.streamLength > available) return fail("picture stream runs past the file end", size);
        file.stream = start;
        file.streamLength = h.streamLength;
        file.streamOffset = h.dataOffset;
        if (h.type == kRbpJbp1WithAlpha) {
            if (pixelCount > available - h.streamLength)
                return fail("alpha plane runs past the file end", size);
            file.alpha = start + h.streamLength;
        }
        return RbpResult{true, nullptr, 0};
    }

    const size_t bytesPerPixel = h.type == kRbpRaw ? 2 : 3;
    if (pixelCount * bytesPerPixel > available) return fail("pixels run past the file end", size);
    file.pixels = start;
    file.pixelsLength = pixelCount * bytesPerPixel;
    return RbpResult{true, nullptr, 0};
}

void writeRbpHeader(const RbpHeader& header, uint8_t out[kRbpHeaderLength]) {
    std::memset(out, 0, kRbpHeaderLength);
    const bool jbp1 = header.type == kRbpJbp1 || header.type == kRbpJbp1WithAlpha;
    std::memcpy(out, jbp1 ? "RBP7" : "RBP5", 4);
    storeLe32(out + 4, header.type);
    storeLe32(out + 8, header.width);
    storeLe32(out + 12, header.height);
    storeLe32(out + 16, header.dataOffset);
    storeLe16(out + 20, header.sourceWidth);
    storeLe16(out + 22, header.sourceHeight);
    storeLe32(out + 28, header.streamLength);
}

}  // namespace zeku
