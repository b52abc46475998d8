// The present: converts the 24-bit screen surface to RGB565 and writes it
// into the back end's frame buffer through the portrait-view pitches.
#pragma once

#include <cstdint>

#include "platform/api/display_back_end.h"
#include "player/graphics/screen_surface.h"

namespace zeku {

inline uint16_t packRgb565(uint8_t blue, uint8_t green, uint8_t red) {
    return static_cast<uint16_t>(((red & 0xF8) << 8) | ((green & 0xFC) << 3) | (blue >> 3));
}

// Writes game pixel (X, Y) to base + cbyPitch * (W - 1 - X) + cbxPitch * Y.
// Without `rect` the whole surface is written in place. With `rect` (clipped
// to the screen) its pixels come from the surface starting at (sourceX,
// sourceY); source pixels outside the surface, as a shaken screen asks for,
// are written black. `showOn` (may be null) then shows that rectangle at once;
// a whole-screen present is shown by the closing end-draw instead.
void presentScreen(const ScreenSurface& surface, uint8_t* base, const GXDisplayProperties& props,
                   const ScreenRect* rect, int sourceX, int sourceY, DisplayBackEnd* showOn);

}  // namespace zeku
