// The thumbnail a saved game carries for the menu: a 16-bit BMP of the
// screen shrunk by box averaging, and its decoding back into the menu's
// RGB565 picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bytes/byte_layout.h"
#include "common/result/parsed.h"
#include "player/system/menu_tree.h"

namespace zeku {

inline constexpr size_t kThumbnailHeaderBytes = 54;

// The file header and the info header of a BMP, as the thumbnail writes them.
struct ThumbnailBmpHeader {
    uint32_t fileSize = 0;
    uint32_t pixelOffset = kThumbnailHeaderBytes;
    uint32_t infoSize = 40;
    uint32_t width = 0;   // i32
    uint32_t height = 0;  // i32; positive: rows bottom-up
    uint16_t planes = 1;
    uint16_t bitsPerPixel = 16;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
};

inline constexpr char kBmpMagic[2] = {'B', 'M'};

template <typename Io, RecordOf<ThumbnailBmpHeader> Header>
void syncThumbnailBmpHeader(Io& io, Header& header) {
    io.magic(kBmpMagic);
    io.le32(header.fileSize);
    io.zeros(4);
    io.le32(header.pixelOffset);
    io.le32(header.infoSize);
    io.le32(header.width);
    io.le32(header.height);
    io.le16(header.planes);
    io.le16(header.bitsPerPixel);
    io.le32(header.compression);
    io.le32(header.imageSize);
    io.zeros(16);  // resolution and palette counts
}

// Bytes of a thumbnail BMP of w × h.
size_t thumbnailBmpBytes(int width, int height);

// Writes the w × h thumbnail of a 24-bit blue-green-red picture (rows
// top-down, `rowBytes` apart) into `out`, which holds thumbnailBmpBytes.
// Each output pixel averages the whole source pixels of its box, channel
// by channel; pixels outside the source are left out and an empty box is
// black.
bool writeThumbnailBmp(const uint8_t* bgr, int sourceWidth, int sourceHeight, size_t rowBytes,
                       int width, int height, uint8_t* out, size_t capacity);

// A 16-bit uncompressed BMP back into RGB565 rows top first. Sides above
// 1024 are refused, as no thumbnail is that large.
Parsed<MenuThumbnail> decodeThumbnailBmp(const uint8_t* data, size_t size);

}  // namespace zeku
