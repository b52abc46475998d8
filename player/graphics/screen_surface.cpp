// The screen surface's storage. Its size comes from the build's logical screen.
#include "player/graphics/screen_surface.h"

#include <new>

namespace zeku {

bool ScreenSurface::create(int width, int height) {
    pixels_.clear();
    width_ = height_ = 0;
    // Keep sizes sane: the product must fit comfortably and rows stay addressable in int.
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return false;
    pixels_.resize(static_cast<size_t>(width) * height * 3, 0);
    width_ = width;
    height_ = height;
    return true;
}

}  // namespace zeku
