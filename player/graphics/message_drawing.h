// Drawing the message windows over the redrawn screen: the glyphs typed
// this frame, and every glyph part that lies in an area the redraw cleared.
#pragma once

#include <string_view>

#include "player/graphics/glyph_cache.h"
#include "player/graphics/message_window.h"
#include "player/graphics/screen_surface.h"
#include "player/graphics/update_list.h"

namespace zeku {

struct TextStyle {
    std::string_view face;  // Shift-JIS family name
    int weight = 400;
    int antiAlias = 1;  // k: coverage is the mean of k × k font pixels (1..4)
    bool shadow = false;
};

// Draws, after the display list has been redrawn into the flagged
// rectangles of `dirty`, each glyph that is new (changed) and each part of
// an older glyph inside a redrawn rectangle, in typing order, so every
// pixel is blended exactly once onto its freshly drawn background. A window
// showing its history draws that entry in grey; a hidden window nothing.
void drawWindows(MessageWindows& windows, const UpdateList& dirty, ScreenSurface& screen,
                 GlyphCache& glyphs, const TextStyle& style);

}  // namespace zeku
