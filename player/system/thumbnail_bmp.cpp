// Box-averaged thumbnails and their BMP form.
#include "player/system/thumbnail_bmp.h"

#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"

namespace zeku {
namespace {

constexpr int32_t kMaxThumbnailSide = 1024;

size_t bmpRowBytes(int width) {
    return (size_t(width) * 2 + 3) & ~size_t{3};
}

}  // namespace

size_t thumbnailBmpBytes(int width, int height) {
    return kThumbnailHeaderBytes + bmpRowBytes(width) * size_t(height);
}

bool writeThumbnailBmp(const uint8_t* bgr, int sourceWidth, int sourceHeight, size_t rowBytes,
                       int width, int height, uint8_t* out, size_t capacity) {
    if (width <= 0 || height <= 0 || width > kMaxThumbnailSide || height > kMaxThumbnailSide)
        return false;
    const size_t total = thumbnailBmpBytes(width, height);
    if (capacity < total) return false;
    ThumbnailBmpHeader header;
    header.fileSize = static_cast<uint32_t>(total);
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.imageSize = static_cast<uint32_t>(total - kThumbnailHeaderBytes);
    ByteWriter writer(out, capacity);
    syncThumbnailBmpHeader(writer, header);
    if (!writer.ok()) return false;

    // Steps in 1/1024 pixel, as the boxes have always been placed.
    const uint32_t stepX = uint32_t(sourceWidth) * 1024u / uint32_t(width);
    const uint32_t stepY = uint32_t(sourceHeight) * 1024u / uint32_t(height);
    const int boxW = int(stepX / 1024);
    const int boxH = int(stepY / 1024);
    const size_t row = bmpRowBytes(width);
    for (int y = 0; y < height; ++y) {
        uint8_t* line = out + kThumbnailHeaderBytes + size_t(height - 1 - y) * row;
        const int top = int(uint32_t(y) * stepY / 1024);
        for (int x = 0; x < width; ++x) {
            const int left = int(uint32_t(x) * stepX / 1024);
            uint32_t sum[3] = {0, 0, 0};
            uint32_t count = 0;
            for (int sy = top; sy < top + boxH && sy < sourceHeight; ++sy) {
                const uint8_t* p = bgr + size_t(sy) * rowBytes + size_t(left) * 3;
                for (int sx = left; sx < left + boxW && sx < sourceWidth; ++sx, p += 3) {
                    sum[0] += p[0];
                    sum[1] += p[1];
                    sum[2] += p[2];
                    ++count;
                }
            }
            uint16_t word = 0;
            if (count != 0) {
                const uint32_t b = sum[0] / count, g = sum[1] / count, r = sum[2] / count;
                word = static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
            }
            storeLe16(line + size_t(x) * 2, word);
        }
        for (size_t pad = size_t(width) * 2; pad < row; ++pad)
            line[pad] = 0;
    }
    return true;
}

Parsed<MenuThumbnail> decodeThumbnailBmp(const uint8_t* data, size_t size) {
    ThumbnailBmpHeader header;
    ByteReader reader(data, size);
    syncThumbnailBmpHeader(reader, header);
    if (!reader.ok()) return reader.error("thumbnail header cut short");
    const int32_t width = static_cast<int32_t>(header.width);
    const int32_t height = static_cast<int32_t>(header.height);
    if (header.bitsPerPixel != 16 || header.compression != 0)
        return ParseError("thumbnail not 16-bit uncompressed", 28, ParseErrorKind::kWrongFormat);
    if (width <= 0 || width > kMaxThumbnailSide || height == 0 || height < -kMaxThumbnailSide ||
        height > kMaxThumbnailSide) {
        return ParseError("thumbnail size out of range", 18);
    }
    const int rows = height < 0 ? -height : height;
    const size_t row = bmpRowBytes(width);
    if (header.pixelOffset > size || size - header.pixelOffset < row * size_t(rows))
        return ParseError("thumbnail pixels cut short", size);
    MenuThumbnail thumbnail;
    thumbnail.width = width;
    thumbnail.height = rows;
    thumbnail.pixels.resize(size_t(width) * size_t(rows));
    for (int y = 0; y < rows; ++y) {
        const int stored = height > 0 ? rows - 1 - y : y;
        const uint8_t* line = data + header.pixelOffset + size_t(stored) * row;
        for (int x = 0; x < width; ++x)
            thumbnail.pixels[size_t(y) * size_t(width) + size_t(x)] =
                loadLe16(line + size_t(x) * 2);
    }
    return thumbnail;
}

}  // namespace zeku
