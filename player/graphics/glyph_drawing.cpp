// stub until the glyphs branch lands
#include "player/graphics/glyph_drawing.h"
namespace zeku {
void drawGlyph(ScreenSurface&, const uint8_t*, int, int, int, uint32_t, bool, const ScreenRect&) {}
}  // namespace zeku
