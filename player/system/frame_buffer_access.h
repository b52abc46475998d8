// The menu panel's own path to the display: reading the game picture back
// out of the RGB565 frame buffer and writing areas of it in again, through
// the portrait-view pitches the present uses.
#pragma once

#include <cstdint>

#include "common/geometry/screen_rect.h"
#include "platform/api/display_back_end.h"
#include "player/graphics/screen_surface.h"

namespace zeku {

// Game pixel (x, y) of a screen `width` wide lies at
// base + cbyPitch * (width - 1 - x) + cbxPitch * y.
// Reads every pixel of `surface` from the frame buffer, expanding RGB565 by
// shifting (the low bits stay zero).
void captureFrameBuffer(const uint8_t* base, const GXDisplayProperties& props,
                        ScreenSurface& surface);

// Writes `area` (clipped to the surface) of `surface` into the frame buffer.
void writeFrameBuffer(const ScreenSurface& surface, uint8_t* base, const GXDisplayProperties& props,
                      const ScreenRect& area);

}  // namespace zeku
