// Putting one glyph's coverage onto the screen: the optional one-pixel
// shadow, then the text colour blended by coverage.
#pragma once

#include <cstdint>

#include "common/geometry/screen_rect.h"
#include "player/graphics/screen_surface.h"

namespace zeku {

// Draws one glyph of `size` x `size` coverage at (left, top) onto the 24-bit screen,
// clipped to the screen: first the shadow at (left+1, top+1) when `shadow`, then the glyph.
// Text colours are 0xRRGGBB (bits 16-23 red, like "\c(r,g,b)" and rectangle colours).
void drawGlyph(ScreenSurface& screen, const uint8_t* coverage, int size, int left, int top,
               uint32_t colourRgb, bool shadow);
// The same, touching only the pixels inside `clip` (the part of the screen
// a redraw cleared), so a glyph is never blended twice onto one pixel.
void drawGlyph(ScreenSurface& screen, const uint8_t* coverage, int size, int left, int top,
               uint32_t colourRgb, bool shadow, const ScreenRect& clip);

}  // namespace zeku
