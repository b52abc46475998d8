// BMP encoding: the 14-byte file header, the 40-byte information header, the
// palette for 8-bit pictures, then the rows from the bottom up.
#include "tools/demogame/bmp_writer.h"

#include "common/bytes/byte_buffer.h"

namespace zeku::demo {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

size_t paddedRow(int width, int bitsPerPixel) {
    return (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) / 8 + 3) & ~size_t{3};
}

std::vector<uint8_t> headers(int width, int height, int bitsPerPixel, int paletteCount) {
    const uint32_t paletteBytes = static_cast<uint32_t>(paletteCount) * 4;
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + paletteBytes;
    const uint32_t imageSize =
        static_cast<uint32_t>(paddedRow(width, bitsPerPixel) * static_cast<size_t>(height));
    std::vector<uint8_t> file(pixelOffset + imageSize, 0);
    uint8_t* p = file.data();
    p[0] = 'B';
    p[1] = 'M';
    storeLe32(p + 2, pixelOffset + imageSize);
    storeLe32(p + 10, pixelOffset);
    storeLe32(p + 14, kInfoHeaderSize);
    storeLe32(p + 18, static_cast<uint32_t>(width));
    storeLe32(p + 22, static_cast<uint32_t>(height));  // positive: bottom-up
    storeLe16(p + 26, 1);
    storeLe16(p + 28, static_cast<uint16_t>(bitsPerPixel));
    storeLe32(p + 30, 0);  // no compression
    storeLe32(p + 34, imageSize);
    storeLe32(p + 38, 2835);  // 72 dots per inch
    storeLe32(p + 42, 2835);
    storeLe32(p + 46, paletteCount == 256 ? 0 : static_cast<uint32_t>(paletteCount));
    return file;
}

}  // namespace

std::vector<uint8_t> encodeBmp24(int width, int height, const uint8_t* rgb) {
    std::vector<uint8_t> file = headers(width, height, 24, 0);
    const size_t row = paddedRow(width, 24);
    uint8_t* pixels = file.data() + kFileHeaderSize + kInfoHeaderSize;
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = rgb + static_cast<size_t>(y) * width * 3;
        uint8_t* target = pixels + static_cast<size_t>(height - 1 - y) * row;
        for (int x = 0; x < width; ++x) {
            target[x * 3] = source[x * 3 + 2];
            target[x * 3 + 1] = source[x * 3 + 1];
            target[x * 3 + 2] = source[x * 3];
        }
    }
    return file;
}

std::vector<uint8_t> encodeBmp8(int width, int height, const uint8_t* indices,
                                const uint8_t* paletteRgb, int paletteCount) {
    std::vector<uint8_t> file = headers(width, height, 8, paletteCount);
    uint8_t* palette = file.data() + kFileHeaderSize + kInfoHeaderSize;
    for (int i = 0; i < paletteCount; ++i) {
        palette[i * 4] = paletteRgb[i * 3 + 2];
        palette[i * 4 + 1] = paletteRgb[i * 3 + 1];
        palette[i * 4 + 2] = paletteRgb[i * 3];
    }
    const size_t row = paddedRow(width, 8);
    uint8_t* pixels = palette + static_cast<size_t>(paletteCount) * 4;
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = indices + static_cast<size_t>(y) * width;
        uint8_t* target = pixels + static_cast<size_t>(height - 1 - y) * row;
        for (int x = 0; x < width; ++x)
            target[x] = source[x];
    }
    return file;
}

}  // namespace zeku::demo
