// The baseline JPEG that JBP1 encoding starts from: compressing 24-bit
// pictures with libjpeg and reading back its quantised blocks and tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

// Quantised DCT blocks of a 4:2:0 picture in macroblock order: per 16 × 16
// macroblock (raster order) the four luminance blocks (top-left, top-right,
// bottom-left, bottom-right), then Cb, then Cr; each block 64 coefficients
// in natural (row-major) order.
struct JpegCoefficients {
    int width = 0;
    int height = 0;
    int macroblocksAcross = 0;
    int macroblocksDown = 0;
    std::vector<int16_t> blocks;  // 6 × 64 per macroblock
    uint8_t lumaTable[64] = {};   // low 8 bits of each entry, natural order
    uint8_t chromaTable[64] = {};
};

inline constexpr int kJpegBlocksPerMacroblock = 6;

// Baseline 4:2:0 JFIF at `quality` (1..100) from blue-green-red rows, top
// to bottom, `stride` bytes apart. False when libjpeg reports an error.
bool compressBgrToJpeg(const uint8_t* bgr, int width, int height, size_t stride, int quality,
                       std::vector<uint8_t>& jpeg);

// Reads the quantised blocks and tables back. Only three-component pictures
// with luminance sampled 2 × 2 and both chroma components 1 × 1 sharing a
// table are accepted, since that is what the macroblock order describes.
bool readJpegCoefficients(const uint8_t* jpeg, size_t length, JpegCoefficients& out);

}  // namespace zeku
