// Reading and writing the ".rbp" header, and locating each type's data
// within the file with every length checked against the file size.
#include "common/image/rbp_file.h"

#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"

namespace zeku {

Parsed<void> parseRbpFile(const uint8_t* data, size_t size, RbpFile& file) {
    file = RbpFile{};
    if (data == nullptr) return ParseError("file shorter than the picture header", size);
    RbpHeader header;
    ByteReader reader(data, size);
    syncRbpHeader(reader, header);
    if (!reader.ok()) return reader.error("file shorter than the picture header");
    file.header = header;
    const RbpHeader& h = file.header;
    if (h.width > kRbpMaxSide) return ParseError("picture too wide", 8);
    if (h.height > kRbpMaxSide) return ParseError("picture too high", 12);

    file.knownType = h.type == kRbpRawWithAlpha || h.type == kRbpRawWithAlphaToo ||
                     h.type == kRbpRaw || h.type == kRbpJbp1 || h.type == kRbpJbp1WithAlpha;
    if (!file.knownType) return {};

    if (h.dataOffset < kRbpHeaderLength || h.dataOffset > size)
        return ParseError("picture data offset outside the file", 16);
    const size_t available = size - h.dataOffset;
    const uint8_t* start = data + h.dataOffset;
    // Both sides are at most 16 bits, so these products cannot overflow.
    const size_t pixelCount = static_cast<size_t>(h.width) * h.height;

    if (rbpIsCoded(h.type)) {
        if (h.streamLength > available)
            return ParseError("picture stream runs past the file end", size);
        file.stream = start;
        file.streamLength = h.streamLength;
        file.streamOffset = h.dataOffset;
        if (h.type == kRbpJbp1WithAlpha) {
            if (pixelCount > available - h.streamLength)
                return ParseError("alpha plane runs past the file end", size);
            file.alpha = start + h.streamLength;
        }
        return {};
    }

    const size_t bytesPerPixel = h.type == kRbpRaw ? 2 : 3;
    if (pixelCount * bytesPerPixel > available)
        return ParseError("pixels run past the file end", size);
    file.pixels = start;
    file.pixelsLength = pixelCount * bytesPerPixel;
    return {};
}

void writeRbpHeader(const RbpHeader& header, uint8_t out[kRbpHeaderLength]) {
    ByteWriter writer(out, kRbpHeaderLength);
    syncRbpHeader(writer, header);
}

}  // namespace zeku
