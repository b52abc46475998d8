// The host's text output for one character: the message text and the menu
// panel draw from the monochrome square it fills.
#pragma once

#include <cstdint>
#include <string_view>

namespace zeku {

class GlyphRenderer {
  public:
    virtual ~GlyphRenderer() = default;
    // Renders the Shift-JIS character `code` (one byte, or lead << 8 | trail) of the face
    // named `faceSjis` (Shift-JIS family name, e.g. "ＭＳ ゴシック") with weight `weight`
    // (100..900), as the system text output draws it at (0, 0) with a font of cell height
    // `cellPx` (ascent + descent = cellPx): white on black, monochrome (no anti-aliasing),
    // into the top-left of a cellPx x cellPx square. `coverage` receives cellPx * cellPx
    // bytes, row by row: 255 inked, 0 not; ink outside the square is cut.
    // False (coverage all 0) when no usable font exists or the code is not a character.
    virtual bool render(std::string_view faceSjis, int weight, uint16_t code, int cellPx,
                        uint8_t* coverage) = 0;
};

}  // namespace zeku
