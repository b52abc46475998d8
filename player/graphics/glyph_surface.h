// The small fixed-font surface the menu panel writes its text with: each
// character rendered alone, then copied where inked in one colour.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/glyph_renderer.h"
#include "player/graphics/screen_surface.h"

namespace zeku {

inline constexpr int kGlyphSurfaceSize = 64;  // the surface is this many pixels square
inline constexpr int kGlyphSurfaceDefaultHeight = 12;

class GlyphSurface {
  public:
    explicit GlyphSurface(GlyphRenderer* renderer = nullptr);  // null: nothing is drawn
    void setRenderer(GlyphRenderer* renderer) { renderer_ = renderer; }

    // The font height in pixels, kept within 1..kGlyphSurfaceSize so a
    // character always fits the surface.
    void setHeight(int height);
    int height() const { return height_; }

    // Draws Shift-JIS text with its first character's top-left at (x, y),
    // clipped to the target. The pen advances by the height for a double-byte
    // character and by half of it for a single-byte one; the pen's final x
    // is returned.
    int drawText(ScreenSurface& target, int x, int y, std::string_view sjis, uint32_t colourRgb);

  private:
    void drawCharacter(ScreenSurface& target, int x, int y, uint16_t code, uint32_t colourRgb);

    GlyphRenderer* renderer_;
    int height_ = kGlyphSurfaceDefaultHeight;
    std::string face_;
    std::vector<uint8_t> cell_;  // the rendered character, height x height
};

}  // namespace zeku
