// Windows bitmaps from memory: every header field is checked against the
// bytes actually there before any pixel is read.
#include "converter/pipeline/bmp_reader.h"

#include <cstring>

#include "common/bytes/byte_buffer.h"

namespace zeku {

namespace {

constexpr size_t kFileHeaderLength = 14;
constexpr size_t kInfoHeaderLength = 40;
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

bool fail(std::string& error, const std::string& reason, size_t offset) {
    error = "BMP: " + reason + " (offset " + std::to_string(offset) + ")";
    return false;
}

// Channel masks of a 32-bit bitfield picture, after the 40 header bytes
// (inside larger headers, or right behind a 40-byte one). Only the plain
// blue-green-red-alpha byte layout is accepted: anything else would need
// per-pixel bit shuffling no game picture calls for.
bool bitFieldsArePlain(const uint8_t* bytes, size_t size, uint32_t headerLength,
                       std::string& error) {
    const size_t masksAt = kFileHeaderLength + kInfoHeaderLength;
    if (size < masksAt + 12) return fail(error, "channel masks missing", masksAt);
    const uint32_t red = loadLe32(bytes + masksAt);
    const uint32_t green = loadLe32(bytes + masksAt + 4);
    const uint32_t blue = loadLe32(bytes + masksAt + 8);
    uint32_t alpha = 0xFF000000u;
    if (headerLength >= 56 && size >= masksAt + 16) alpha = loadLe32(bytes + masksAt + 12);
    if (red != 0x00FF0000u || green != 0x0000FF00u || blue != 0x000000FFu ||
        (alpha != 0xFF000000u && alpha != 0))
        return fail(error, "channel masks other than blue-green-red-alpha bytes", masksAt);
    return true;
}

}  // namespace

bool decodeBmp(const uint8_t* bytes, size_t size, ConverterPicture& out, std::string& error,
               size_t maxPixels) {
    out = ConverterPicture{};
    if (bytes == nullptr || size < kFileHeaderLength + kInfoHeaderLength)
        return fail(error, "file shorter than its headers", size);
    if (bytes[0] != 'B' || bytes[1] != 'M') return fail(error, "not a bitmap (no \"BM\")", 0);
    const uint32_t pixelOffset = loadLe32(bytes + 10);
    const uint32_t headerLength = loadLe32(bytes + 14);
    // 40 is the common header; 52, 56, 108 and 124 extend it with masks,
    // colour space and profile fields that change nothing here. The
    // 12-byte OS/2 header has a different layout altogether.
    if (headerLength < kInfoHeaderLength)
        return fail(
            error,
            "information header of " + std::to_string(headerLength) + " bytes is not supported",
            14);
    if (headerLength > size - kFileHeaderLength)
        return fail(error, "information header runs past the end of the file", 14);

    const auto width = static_cast<int32_t>(loadLe32(bytes + 18));
    const auto storedHeight = static_cast<int32_t>(loadLe32(bytes + 22));
    const uint16_t bitsPerPixel = loadLe16(bytes + 28);
    const uint32_t compression = loadLe32(bytes + 30);
    const uint32_t coloursUsed = loadLe32(bytes + 46);

    if (compression == kRle8 || compression == kRle4)
        return fail(error, "compressed (RLE) bitmaps are not supported", 30);
    if (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return fail(error, std::to_string(bitsPerPixel) + " bits per pixel is not supported", 28);
    if (compression == kBitFields && bitsPerPixel == 32) {
        if (!bitFieldsArePlain(bytes, size, headerLength, error)) return false;
    } else if (compression != kUncompressed) {
        return fail(error, "compression " + std::to_string(compression) + " is not supported", 30);
    }

    // A negative height marks top-down rows; compare in 64 bits so the most
    // negative value cannot overflow.
    const bool topDown = storedHeight < 0;
    const int64_t height = topDown ? -static_cast<int64_t>(storedHeight) : storedHeight;
    if (width <= 0 || height == 0) return fail(error, "empty picture", 18);
    if (width > kConverterMaxSide || height > kConverterMaxSide)
        return fail(error,
                    "picture of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels is larger than 65535 in a side",
                    18);
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (pixelCount > maxPixels)
        return fail(error, "picture of " + std::to_string(pixelCount) + " pixels is too large", 18);

    // The palette: 4-byte entries (blue, green, red, unused) straight
    // after the information header; a count of 0 means all 256.
    const uint8_t* palette = nullptr;
    size_t paletteEntries = 0;
    if (bitsPerPixel == 8) {
        paletteEntries = coloursUsed == 0 ? 256 : coloursUsed;
        if (paletteEntries > 256)
            return fail(error, "palette of " + std::to_string(coloursUsed) + " colours", 46);
        const size_t paletteAt = kFileHeaderLength + headerLength;
        if (paletteEntries * 4 > size - paletteAt)
            return fail(error, "palette runs past the end of the file", paletteAt);
        palette = bytes + paletteAt;
    }

    // Rows are padded to 4 bytes; the last row's padding may be missing.
    const size_t bytesPerPixel = bitsPerPixel / 8u;
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    const size_t stride = (rowBytes + 3) & ~size_t{3};
    const size_t rows = static_cast<size_t>(height);
    if (pixelOffset > size) return fail(error, "pixel data starts past the end of the file", 10);
    if ((rows - 1) * stride + rowBytes > size - pixelOffset)
        return fail(error,
                    "pixel data of " + std::to_string((rows - 1) * stride + rowBytes) +
                        " bytes runs past the end of the file",
                    pixelOffset);

    out.width = width;
    out.height = static_cast<int>(height);
    out.bitsPerPixel = bitsPerPixel == 32 ? 32 : 24;
    out.stride = static_cast<size_t>(width) * (out.bitsPerPixel / 8u);
    out.pixels.resize(out.stride * rows);
    for (size_t y = 0; y < rows; ++y) {
        const size_t storedRow = topDown ? y : rows - 1 - y;
        const uint8_t* src = bytes + pixelOffset + storedRow * stride;
        uint8_t* dst = out.row(static_cast<int>(y));
        if (bitsPerPixel != 8) {
            std::memcpy(dst, src, rowBytes);
            continue;
        }
        for (int x = 0; x < width; ++x, dst += 3) {
            // An index past a short palette has no colour: black.
            const uint8_t index = src[x];
            if (index >= paletteEntries) {
                dst[0] = dst[1] = dst[2] = 0;
                continue;
            }
            const uint8_t* entry = palette + size_t{index} * 4;
            dst[0] = entry[0];
            dst[1] = entry[1];
            dst[2] = entry[2];
        }
    }
    return true;
}

}  // namespace zeku
