// Pixel loops over the frame buffer. The panel touches it only when the
// menu opens, moves or closes, so plain loops serve: a separate loop for
// the ascending layouts measured no faster than these.
#include "player/system/frame_buffer_access.h"

#include <cstddef>
#include <cstring>

#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

ptrdiff_t offsetOf(const GXDisplayProperties& props, int width, int x, int y) {
    return static_cast<ptrdiff_t>(props.cbyPitch) * (width - 1 - x) +
           static_cast<ptrdiff_t>(props.cbxPitch) * y;
}

}  // namespace

void captureFrameBuffer(const uint8_t* base, const GXDisplayProperties& props,
                        ScreenSurface& surface) {
    if (base == nullptr || !surface.hasPixels()) return;
    const int width = surface.width();
    const ptrdiff_t step = -static_cast<ptrdiff_t>(props.cbyPitch);  // one game column right
    for (int y = 0; y < surface.height(); ++y) {
        const uint8_t* from = base + offsetOf(props, width, 0, y);
        uint8_t* to = surface.pixel(0, y);
        for (int x = 0; x < width; ++x, from += step, to += 3) {
            uint16_t c;
            std::memcpy(&c, from, 2);
            to[0] = static_cast<uint8_t>(blue8Of(c));
            to[1] = static_cast<uint8_t>(green8Of(c));
            to[2] = static_cast<uint8_t>(red8Of(c));
        }
    }
}

void writeFrameBuffer(const ScreenSurface& surface, uint8_t* base, const GXDisplayProperties& props,
                      const ScreenRect& area) {
    if (base == nullptr || !surface.hasPixels()) return;
    const ScreenRect r = clipRect(area, surface.width(), surface.height());
    const ptrdiff_t step = -static_cast<ptrdiff_t>(props.cbyPitch);
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* from = surface.pixel(r.left, y);
        uint8_t* to = base + offsetOf(props, surface.width(), r.left, y);
        for (int x = r.left; x < r.right; ++x, from += 3, to += step) {
            const uint16_t c = pack565(from[2], from[1], from[0]);
            std::memcpy(to, &c, 2);
        }
    }
}

}  // namespace zeku
