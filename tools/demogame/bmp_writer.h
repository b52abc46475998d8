// Windows bitmap files as the source game stores them: 24-bit and 8-bit with
// a palette, rows bottom-up and padded to four bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace zeku::demo {

// `rgb`: width * 3 bytes per row, rows top-down.
std::vector<uint8_t> encodeBmp24(int width, int height, const uint8_t* rgb);

// `indices`: width bytes per row, rows top-down, each below `paletteCount`.
// `paletteRgb`: paletteCount red-green-blue triples (1 to 256). A full
// palette is declared with colour count 0, which readers take as 256.
std::vector<uint8_t> encodeBmp8(int width, int height, const uint8_t* indices,
                                const uint8_t* paletteRgb, int paletteCount);

}  // namespace zeku::demo
