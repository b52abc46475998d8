// The windows' share of the frame's redraw. A redrawn rectangle wipes
// whatever text lay under it, so the glyph parts inside it are drawn again;
// glyphs are drawn clipped to disjoint pieces of those rectangles, so an
// overlap of two rectangles never blends a pixel twice.
#include "player/graphics/message_drawing.h"

#include <vector>

#include "player/graphics/glyph_drawing.h"

namespace zeku {
namespace {

bool overlaps(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect intersection(const ScreenRect& a, const ScreenRect& b) {
    return ScreenRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
}

// Appends the parts of `a` outside `b` (up to four) to `out`.
void subtract(const ScreenRect& a, const ScreenRect& b, std::vector<ScreenRect>& out) {
    if (!overlaps(a, b)) {
        out.push_back(a);
        return;
    }
    if (a.top < b.top) out.push_back(ScreenRect{a.left, a.top, a.right, b.top});
    if (b.bottom < a.bottom) out.push_back(ScreenRect{a.left, b.bottom, a.right, a.bottom});
    const int top = std::max(a.top, b.top);
    const int bottom = std::min(a.bottom, b.bottom);
    if (a.left < b.left) out.push_back(ScreenRect{a.left, top, b.left, bottom});
    if (b.right < a.right) out.push_back(ScreenRect{b.right, top, a.right, bottom});
}

// The parts of `glyph` the redraw cleared, as disjoint rectangles.
void clearedParts(const ScreenRect& glyph, const UpdateList& dirty,
                  std::vector<ScreenRect>& parts) {
    parts.clear();
    std::vector<ScreenRect> pieces;
    std::vector<ScreenRect> next;
    for (size_t i = 0; i < dirty.rects().size(); ++i) {
        if (dirty.flags()[i] != 1 || !overlaps(glyph, dirty.rects()[i])) continue;
        pieces.assign(1, intersection(glyph, dirty.rects()[i]));
        for (const ScreenRect& earlier : parts) {
            next.clear();
            for (const ScreenRect& piece : pieces)
                subtract(piece, earlier, next);
            pieces.swap(next);
        }
        parts.insert(parts.end(), pieces.begin(), pieces.end());
    }
}

void drawGlyphRecord(GlyphRecord& glyph, uint32_t colour, const UpdateList& dirty,
                     ScreenSurface& screen, GlyphCache& cache, const TextStyle& style,
                     std::vector<ScreenRect>& parts) {
    if (!glyph.active) return;
    clearedParts(glyph.rect, dirty, parts);
    // A changed glyph outside every redrawn area (a merge kept its rectangle
    // unflagged) still has to appear once.
    if (glyph.changed && parts.empty()) parts.push_back(glyph.rect);
    glyph.changed = false;
    if (parts.empty()) return;
    const uint8_t* coverage =
        cache.coverage(style.face, style.weight, glyph.code, glyph.size, style.antiAlias);
    if (coverage == nullptr) return;
    for (const ScreenRect& part : parts)
        drawGlyph(screen, coverage, glyph.size, glyph.rect.left, glyph.rect.top, colour,
                  style.shadow, part);
}

}  // namespace

void drawWindows(MessageWindows& windows, const UpdateList& dirty, ScreenSurface& screen,
                 GlyphCache& glyphs, const TextStyle& style) {
    if (!screen.hasPixels()) return;
    std::vector<ScreenRect> parts;
    for (MessageWindow& window : windows) {
        if (!window.created || !window.visible || window.hidden) continue;
        if (window.showingHistory) {
            const int count = static_cast<int>(window.history.size());
            const int index = count - 1 - window.historyShown;
            if (index < 0 || index >= count) continue;
            for (GlyphRecord& glyph : window.history[static_cast<size_t>(index)].glyphs)
                drawGlyphRecord(glyph, kHistoryColour, dirty, screen, glyphs, style, parts);
            continue;
        }
        for (int g = 0; g < window.glyphCount; ++g) {
            GlyphRecord& glyph = window.glyphs[static_cast<size_t>(g)];
            drawGlyphRecord(glyph, glyph.colour, dirty, screen, glyphs, style, parts);
        }
    }
}

}  // namespace zeku
