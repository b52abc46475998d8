// Reduces a picture to at most 256 colours for the 8-bit bitmap the source
// game also uses: median cut over a 15-bit histogram.
#pragma once

#include <cstdint>
#include <vector>

namespace zeku::demo {

struct IndexedPicture {
    std::vector<uint8_t> indices;     // one byte per pixel, rows top-down
    std::vector<uint8_t> paletteRgb;  // red-green-blue triples
    int paletteCount = 0;
};

// `rgb`: width * 3 bytes per row, rows top-down. maxColours 1..256.
IndexedPicture quantizeMedianCut(int width, int height, const uint8_t* rgb, int maxColours);

}  // namespace zeku::demo
