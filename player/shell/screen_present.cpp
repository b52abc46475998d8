// The present's hot loop. The common placements (the window back end and a
// landscape panel) store a game row as one ascending run of 16-bit pixels,
// which gets its own loop; a portrait panel walks a device column instead.
#include "player/shell/screen_present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace zeku {
namespace {

inline void store565(uint8_t* at, uint16_t value) { std::memcpy(at, &value, 2); }

// Converts `count` surface pixels starting at `source` into a run whose
// consecutive pixels are `step` bytes apart.
void convertRun(const uint8_t* source, int count, uint8_t* dest, ptrdiff_t step) {
    if (step == 2) {
        for (int i = 0; i < count; ++i) {
            const uint8_t* p = source + i * 3;
            store565(dest + i * 2, packRgb565(p[0], p[1], p[2]));
        }
        return;
    }
    for (int i = 0; i < count; ++i, dest += step) {
        const uint8_t* p = source + i * 3;
        store565(dest, packRgb565(p[0], p[1], p[2]));
    }
}

void blackRun(int count, uint8_t* dest, ptrdiff_t step) {
    if (step == 2) {
        std::memset(dest, 0, static_cast<size_t>(count) * 2);
        return;
    }
    for (int i = 0; i < count; ++i, dest += step) store565(dest, 0);
}

}  // namespace

void presentScreen(const ScreenSurface& surface, uint8_t* base, const GXDisplayProperties& props,
                   const ScreenRect* rect, int sourceX, int sourceY, DisplayBackEnd* showOn) {
    if (base == nullptr || !surface.hasPixels()) return;
    const int width = surface.width();
    const int height = surface.height();
    ScreenRect area{0, 0, width, height};
    if (rect != nullptr) {
        area.left = std::max(rect->left, 0);
        area.top = std::max(rect->top, 0);
        area.right = std::min(rect->right, width);
        area.bottom = std::min(rect->bottom, height);
    } else {
        sourceX = 0;
        sourceY = 0;
    }
    if (area.left >= area.right || area.top >= area.bottom) return;
    if (rect != nullptr) {
        // Keep the source point aligned with the clipped corner.
        sourceX += area.left - rect->left;
        sourceY += area.top - rect->top;
    }

    const ptrdiff_t xStep = -static_cast<ptrdiff_t>(props.cbyPitch);  // one game column right
    const ptrdiff_t yStep = props.cbxPitch;                           // one game row down
    const int count = area.right - area.left;
    uint8_t* rowStart = base + static_cast<ptrdiff_t>(props.cbyPitch) * (width - 1 - area.left) +
                        yStep * area.top;
    for (int y = area.top; y < area.bottom; ++y, rowStart += yStep) {
        const int sy = sourceY + (y - area.top);
        if (sy < 0 || sy >= height) {
            blackRun(count, rowStart, xStep);
            continue;
        }
        // Columns whose source lies left of, inside, and right of the surface.
        const int leftBlack = std::clamp(-sourceX, 0, count);
        const int inside = std::clamp(width - sourceX, 0, count) - leftBlack;
        uint8_t* dest = rowStart;
        if (leftBlack > 0) blackRun(leftBlack, dest, xStep);
        dest += xStep * leftBlack;
        if (inside > 0) convertRun(surface.pixel(sourceX + leftBlack, sy), inside, dest, xStep);
        dest += xStep * std::max(inside, 0);
        const int rightBlack = count - leftBlack - std::max(inside, 0);
        if (rightBlack > 0) blackRun(rightBlack, dest, xStep);
    }
    if (showOn != nullptr && rect != nullptr) showOn->showRect(&area);
}

uint16_t readPresentedPixel(const uint8_t* base, const GXDisplayProperties& props, int screenWidth,
                            int x, int y) {
    const uint8_t* at = base + static_cast<ptrdiff_t>(props.cbyPitch) * (screenWidth - 1 - x) +
                        static_cast<ptrdiff_t>(props.cbxPitch) * y;
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
}

}  // namespace zeku
