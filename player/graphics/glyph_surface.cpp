// Menu text: no supersampling and no blend, a pixel is either the colour or
// left alone, which keeps the small panel font crisp.
#include "player/graphics/glyph_surface.h"

#include <algorithm>
#include <cstdint>

#include "common/text/sjis.h"
#include "player/graphics/message_font.h"

namespace zeku {

GlyphSurface::GlyphSurface(GlyphRenderer* renderer)
    : renderer_(renderer), face_(kDefaultFontFace) {}

void GlyphSurface::setHeight(int height) {
    height_ = std::clamp(height, 1, kGlyphSurfaceSize);
}

int GlyphSurface::drawText(ScreenSurface& target, int x, int y, std::string_view sjis,
                           uint32_t colourRgb) {
    // The pen is wide so long text far off the target cannot overflow it.
    long long pen = x;
    for (size_t i = 0; i < sjis.size();) {
        const auto lead = static_cast<unsigned char>(sjis[i]);
        uint16_t code = lead;
        int advance = height_ / 2;
        size_t length = 1;
        if (isLeadByte(lead)) {
            if (i + 1 >= sjis.size()) break;  // a lead byte cut off at the end draws nothing
            code = static_cast<uint16_t>(lead << 8 | static_cast<unsigned char>(sjis[i + 1]));
            advance = height_;
            length = 2;
        }
        if (pen > -height_ && pen < target.width()) {
            drawCharacter(target, static_cast<int>(pen), y, code, colourRgb);
        }
        pen += advance;
        i += length;
    }
    return static_cast<int>(std::clamp<long long>(pen, INT32_MIN, INT32_MAX));
}

void GlyphSurface::drawCharacter(ScreenSurface& target, int x, int y, uint16_t code,
                                 uint32_t colourRgb) {
    if (renderer_ == nullptr || !target.hasPixels()) return;
    const int h = height_;
    if (x >= target.width() || y >= target.height() || x <= -h || y <= -h) return;
    cell_.assign(static_cast<size_t>(h) * h, 0);
    if (!renderer_->render(face_, kNormalFontWeight, code, h, cell_.data())) return;
    const uint8_t blue = colourRgb & 0xFFu;
    const uint8_t green = (colourRgb >> 8) & 0xFFu;
    const uint8_t red = (colourRgb >> 16) & 0xFFu;
    const int x0 = std::max(0, -x), x1 = std::min(h, target.width() - x);
    const int y0 = std::max(0, -y), y1 = std::min(h, target.height() - y);
    for (int row = y0; row < y1; ++row) {
        const uint8_t* source = cell_.data() + static_cast<size_t>(row) * h;
        uint8_t* pixel = target.pixel(x + x0, y + row);
        for (int col = x0; col < x1; ++col, pixel += 3) {
            if (source[col] == 0) continue;
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
}

}  // namespace zeku
