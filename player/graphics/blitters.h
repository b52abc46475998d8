// The ten pixel primitives that put pictures and coloured rectangles onto
// the 24-bit screen surface, and the entry-level operations that pick them.
#pragma once

#include <cstdint>

#include "common/geometry/screen_rect.h"

namespace zeku {

struct Image;

// Every primitive takes the first screen pixel to touch, the screen row
// length in pixels and the area's size; none of them clips. Alpha values are
// 0..255 here (256 selects the plain primitive), levels 0..512.
void blitImage(uint8_t* dst, int dstRowPixels, int width, int height, const uint8_t* src,
               int srcRowPixels);
void blitImageFaded(uint8_t* dst, int dstRowPixels, int width, int height, const uint8_t* src,
                    int srcRowPixels, int opacity);
void fillRect(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour);
void fillBlend(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int alpha);
void fillLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int level);
void fillBlendLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour,
                    int alpha, int level);
void addRect(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour);
void addScaled(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int alpha);
void addLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour, int level);
void addScaledLevel(uint8_t* dst, int dstRowPixels, int width, int height, uint32_t colour,
                    int alpha, int level);

// Sets every pixel of `rect` (right and bottom exclusive) to the colour.
void fillScreenRect(uint8_t* pixels, int rowPixels, ScreenRect rect, uint32_t colour);

// Draws `source` of the image with its top-left corner at (x, y); opacity
// 256 blits plainly, anything else fades (clamped to 0..255).
void drawImageEntry(const Image& image, uint8_t* screenPixels, int screenWidth, int x, int y,
                    ScreenRect source, int opacity);

// A rectangle of rect's size at (x, y), filled or added; alpha and level are
// clamped to 0..256 and 0..512 and pick the primitive.
void drawRectEntry(uint32_t colour, uint8_t* screenPixels, int screenWidth, int x, int y,
                   ScreenRect rect, int alpha, int level);
void addRectEntry(uint32_t colour, uint8_t* screenPixels, int screenWidth, int x, int y,
                  ScreenRect rect, int alpha, int level);

}  // namespace zeku
