// PNG and BMP files built in code for the picture conversion tests, so
// every fixture states exactly which header fields and samples it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku::test_support {

struct BmpLayout {
    int width = 0;
    int height = 0;  // negative: rows stored top-down
    int bitsPerPixel = 24;
    uint32_t headerLength = 40;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint8_t> palette;  // 4 bytes an entry: blue, green, red, unused
    // Pixel bytes, rows top to bottom, no padding; written bottom-up for a
    // positive height, each row padded with 0xEE bytes to 4.
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> masks;  // red, green, blue[, alpha] for bitfields
    bool padLastRow = true;
};

std::vector<uint8_t> makeBmp(const BmpLayout& layout);

// Offset of the pixel data in a file made by makeBmp.
size_t bmpPixelOffset(const BmpLayout& layout);

struct PngLayout {
    int width = 0;
    int height = 0;
    int colorType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    // Samples as the file holds them: rows top to bottom, 16-bit samples
    // big-endian, sub-byte samples packed from the high bit.
    std::vector<uint8_t> samples;
    std::vector<uint8_t> palette;  // red, green, blue triples
    std::vector<uint8_t> paletteAlpha;
    bool colourKey = false;  // a tRNS chunk naming one colour (keyRed.. or keyGrey)
    uint16_t keyRed = 0, keyGreen = 0, keyBlue = 0, keyGrey = 0;
    bool interlaced = false;
    double fileGamma = 0;  // writes a gAMA chunk when not 0
};

// Empty on failure.
std::vector<uint8_t> makePng(const PngLayout& layout);

// An 8-bit RGB or RGBA PNG from red-green-blue(-alpha) samples.
std::vector<uint8_t> makeRgbPng(int width, int height, int channels,
                                const std::vector<uint8_t>& samples);

}  // namespace zeku::test_support
