// stub until the glyphs branch lands
#pragma once
#include <cstdint>
#include "common/geometry/screen_rect.h"
#include "player/graphics/screen_surface.h"
namespace zeku {
void drawGlyph(ScreenSurface& screen, const uint8_t* coverage, int size, int left, int top,
               uint32_t colourRgb, bool shadow, const ScreenRect& clip);
}  // namespace zeku
