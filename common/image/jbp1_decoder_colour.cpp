// The portable JBP1 colour conversion, also the model the vector versions
// are checked against.
#include "common/image/jbp1_decoder_colour.h"

namespace zeku {

namespace {

// Products wrap to 32 bits before the shift, as 32-bit arithmetic would;
// samples are 16-bit, so only hostile streams get anywhere near that.
inline int32_t wrapShift(uint32_t product) {
    return static_cast<int32_t>(product) >> 16;
}

inline uint16_t rgb565(int32_t red, int32_t green, int32_t blue) {
    red = red < 0 ? 0 : red > 255 ? 255 : red;
    green = green < 0 ? 0 : green > 255 ? 255 : green;
    blue = blue < 0 ? 0 : blue > 255 ? 255 : blue;
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

}  // namespace

void jbp1ColourScalar(const int16_t* blocks, uint16_t* pixels, size_t stride) {
    const int16_t* cbBlock = blocks + 4 * 64;
    const int16_t* crBlock = blocks + 5 * 64;
    for (int cy = 0; cy < 8; ++cy) {
        for (int cx = 0; cx < 8; ++cx) {
            const uint32_t cb = static_cast<uint32_t>(cbBlock[cy * 8 + cx]);
            const uint32_t cr = static_cast<uint32_t>(crBlock[cy * 8 + cx]);
            const int32_t dr = wrapShift(cr * 91881u);
            const int32_t dg = wrapShift(cb * 22553u + cr * 46801u);
            const int32_t db = wrapShift(cb * 116129u);
            for (int dy = 0; dy < 2; ++dy) {
                const int py = 2 * cy + dy;
                for (int dx = 0; dx < 2; ++dx) {
                    const int px = 2 * cx + dx;
                    const int16_t* yBlock = blocks + ((py >> 3) * 2 + (px >> 3)) * 64;
                    const int32_t y = yBlock[(py & 7) * 8 + (px & 7)] + 128;
                    pixels[py * stride + px] = rgb565(y + dr, y - dg, y + db);
                }
            }
        }
    }
}

}  // namespace zeku
