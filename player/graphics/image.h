// A picture in the 565A format (RGB565 little-endian plus an alpha byte per
// pixel) and the operations that work on one image or between two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "player/graphics/pixel_format.h"

namespace zeku {

inline constexpr size_t kImageNameBytes = 128;
// Neither side of an image may exceed this: far above any screen or stored
// picture, low enough that a bad size cannot ask for gigabytes.
inline constexpr int kImageMaxSide = 8192;

struct Image {
    uint32_t width = 0;  // the picture's size; never above stride × rows
    uint32_t height = 0;
    int32_t stride = 0;                 // allocated pixels per row
    int32_t rows = 0;                   // allocated rows
    char name[kImageNameBytes] = {};    // file last loaded into it, or ""
    std::unique_ptr<uint8_t[]> pixels;  // stride × rows pixels of 565A

    bool hasPixels() const { return pixels != nullptr; }
    uint8_t* pixel(int x, int y) {
        return pixels.get() + (static_cast<ptrdiff_t>(y) * stride + x) * k565aBytes;
    }
    const uint8_t* pixel(int x, int y) const {
        return pixels.get() + (static_cast<ptrdiff_t>(y) * stride + x) * k565aBytes;
    }
};

// Bytes of width × height 565A pixels, for sides of 0..kImageMaxSide.
inline size_t imagePixelBytes(int width, int height) {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * k565aBytes;
}
// Bytes the image's pixels take.
inline size_t imagePixelBytes(const Image& image) {
    return image.hasPixels() ? imagePixelBytes(image.stride, image.rows) : 0;
}

// Frees the old pixels and allocates width × height zero pixels (black,
// fully transparent); the image no longer holds a loaded file. False,
// leaving the image empty, for sides outside 1..kImageMaxSide, for pixels
// that would take more than `roomBytes`, or when memory runs out.
bool createImage(Image& image, int width, int height, size_t roomBytes = SIZE_MAX);
// Frees the pixels and clears the name.
void freeImage(Image& image);
void setImageName(Image& image, const char* name);

// All stride × rows pixels become opaque black; the name is cleared.
void clearImage(Image& image);

// The operations below work on the part of the area that lies inside the
// destination (callers are expected to keep it inside) and clear its name.

// The source's colour at (x, y), made opaque.
void copyImage(Image& destination, const Image& source, int x, int y);
// The source alpha-composed over the destination; touched pixels become opaque.
void blendImage(Image& destination, const Image& source, int x, int y);
// Darkens each field by the colour's channel; colour 0 leaves pixels as they are.
void shadeImage(Image& image, int x, int y, int width, int height, uint32_t colour);
// Turns the area grey and opaque.
void greyImage(Image& image, int x, int y, int width, int height);

}  // namespace zeku
