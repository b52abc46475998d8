// The blend is done in 8-bit steps exactly as the screen has always been
// drawn: full coverage replaces the pixel, partial coverage darkens it by
// (256 - c) / 256 and adds c / 256 of the colour.
#include "player/graphics/glyph_drawing.h"

#include <algorithm>

namespace zeku {
namespace {

struct Span {
    int x0, x1, y0, y1;  // coverage coordinates, half-open
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// The part of a size x size square at (left, top) that lies inside `clip`
// (already within the screen); wide arithmetic so positions far off the
// screen cannot overflow.
Span visiblePart(const ScreenRect& clip, int size, long long left, long long top) {
    auto bound = [&](long long edge, long long origin) {
        return static_cast<int>(std::clamp<long long>(edge - origin, 0, size));
    };
    return Span{bound(clip.left, left), bound(clip.right, left), bound(clip.top, top),
                bound(clip.bottom, top)};
}

void drawInk(ScreenSurface& screen, const ScreenRect& clip, const uint8_t* coverage, int size,
             long long left, long long top, uint32_t colourRgb) {
    // Screen bytes are blue, green, red.
    const unsigned colour[3] = {colourRgb & 0xFFu, (colourRgb >> 8) & 0xFFu,
                                (colourRgb >> 16) & 0xFFu};
    const Span s = visiblePart(clip, size, left, top);
    if (s.empty()) return;
    for (int y = s.y0; y < s.y1; ++y) {
        const uint8_t* row = coverage + static_cast<size_t>(y) * size;
        uint8_t* pixel = screen.pixel(static_cast<int>(left + s.x0), static_cast<int>(top + y));
        for (int x = s.x0; x < s.x1; ++x, pixel += 3) {
            const unsigned c = row[x];
            if (c == 0) continue;
            if (c == 255) {
                for (int i = 0; i < 3; ++i)
                    pixel[i] = static_cast<uint8_t>(colour[i]);
                continue;
            }
            const unsigned keep = 256 - c;
            for (int i = 0; i < 3; ++i) {
                pixel[i] = static_cast<uint8_t>((pixel[i] * keep >> 8) + colour[i] * c / 256);
            }
        }
    }
}

}  // namespace

void drawGlyph(ScreenSurface& screen, const uint8_t* coverage, int size, int left, int top,
               uint32_t colourRgb, bool shadow) {
    drawGlyph(screen, coverage, size, left, top, colourRgb, shadow,
              ScreenRect{0, 0, screen.width(), screen.height()});
}

void drawGlyph(ScreenSurface& screen, const uint8_t* coverage, int size, int left, int top,
               uint32_t colourRgb, bool shadow, const ScreenRect& clip) {
    if (coverage == nullptr || size <= 0 || !screen.hasPixels()) return;
    const ScreenRect area = clipRect(clip, screen.width(), screen.height());
    if (area.isEmpty()) return;
    // The shadow is the same blend in black.
    if (shadow) drawInk(screen, area, coverage, size, left + 1LL, top + 1LL, 0);
    drawInk(screen, area, coverage, size, left, top, colourRgb);
}

}  // namespace zeku
