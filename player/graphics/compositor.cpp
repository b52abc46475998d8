// Drawing display-list entries clipped to a dirty rectangle, and the redraw
// of all flagged rectangles.
#include "player/graphics/compositor.h"

#include <algorithm>

#include "player/graphics/blitters.h"
#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

// An entry's destination and source, moved together while clipping.
struct Placement {
    ScreenRect dest;
    ScreenRect source;
};

Placement placementOf(const DisplayEntry& e) {
    Placement p;
    p.source = ScreenRect{e.sourceLeft, e.sourceTop, e.sourceRight, e.sourceBottom};
    p.dest = ScreenRect{e.left, e.top, e.left + (p.source.right - p.source.left),
                        e.top + (p.source.bottom - p.source.top)};
    return p;
}

// Pulls each side of the destination lying outside `clip` in to its edge,
// moving the matching source edge by the same amount. False when the
// destination does not reach the clip (edges count) or nothing is left.
bool clipPlacement(Placement& p, const ScreenRect& clip) {
    ScreenRect& d = p.dest;
    if (d.right < clip.left || d.bottom < clip.top || clip.right < d.left || clip.bottom < d.top)
        return false;
    if (d.left < clip.left) {
        p.source.left += clip.left - d.left;
        d.left = clip.left;
    }
    if (d.top < clip.top) {
        p.source.top += clip.top - d.top;
        d.top = clip.top;
    }
    if (d.right > clip.right) {
        p.source.right -= d.right - clip.right;
        d.right = clip.right;
    }
    if (d.bottom > clip.bottom) {
        p.source.bottom -= d.bottom - clip.bottom;
        d.bottom = clip.bottom;
    }
    return d.left < d.right && d.top < d.bottom;
}

// The same with the source kept inside the image.
bool clipToSource(Placement& p, int width, int height) {
    if (p.source.left < 0) {
        p.dest.left -= p.source.left;
        p.source.left = 0;
    }
    if (p.source.top < 0) {
        p.dest.top -= p.source.top;
        p.source.top = 0;
    }
    if (p.source.right > width) {
        p.dest.right -= p.source.right - width;
        p.source.right = width;
    }
    if (p.source.bottom > height) {
        p.dest.bottom -= p.source.bottom - height;
        p.source.bottom = height;
    }
    return p.dest.left < p.dest.right && p.dest.top < p.dest.bottom;
}

void drawImage(const DisplayEntry& e, ScreenSurface& screen, const ImageSlots& images,
               const ScreenRect& area) {
    if (e.slot < 0) return;
    if (e.alpha < 1 && e.order < 0) return;
    if (e.scaleX != 1000 || e.scaleY != 1000 || e.angle != 0) return;
    const Image* image = shownImage(images, e.slot);
    if (image == nullptr || !image->hasPixels()) return;
    Placement p = placementOf(e);
    if (!clipPlacement(p, area)) return;
    if (!clipToSource(p, static_cast<int>(image->width), static_cast<int>(image->height))) return;
    drawImageEntry(*image, screen.pixels(), screen.width(), p.dest.left, p.dest.top, p.source,
                   e.alpha);
}

void drawRectangle(const DisplayEntry& e, ScreenSurface& screen, const GraphicsState& state,
                   const ScreenRect& area) {
    if (e.alpha <= 0 || (e.mode != 0 && e.mode != 1)) return;
    Placement p = placementOf(e);
    if (!clipPlacement(p, area)) return;
    int level = e.level;
    if ((e.flags & kEntryIgnoresScreenLevel) == 0 && state.screenLevel != kNeutralLevel)
        level = (state.screenLevel * level) >> 8;
    const ScreenRect size{0, 0, p.dest.right - p.dest.left, p.dest.bottom - p.dest.top};
    if (e.mode == 0) {
        drawRectEntry(e.colour, screen.pixels(), screen.width(), p.dest.left, p.dest.top, size,
                      e.alpha, level);
    } else {
        addRectEntry(e.colour, screen.pixels(), screen.width(), p.dest.left, p.dest.top, size,
                     e.alpha, level);
    }
}

uint32_t greyColour(int level) {
    const uint32_t g = greyOfLevel(level);
    return g << 16 | g << 8 | g;
}

ScreenRect clipToScreen(ScreenRect r, const ScreenSurface& screen) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, screen.width());
    r.bottom = std::min(r.bottom, screen.height());
    return r;
}

}  // namespace

void drawDisplayEntry(const DisplayEntry& entry, ScreenSurface& screen, const ImageSlots& images,
                      GraphicsState& state, const ScreenRect* area) {
    if (!screen.hasPixels()) return;
    const ScreenRect clip = clipToScreen(
        area != nullptr ? *area : ScreenRect{0, 0, screen.width(), screen.height()}, screen);
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;
    if (isImageEntry(entry.kind)) {
        drawImage(entry, screen, images, clip);
    } else if (entry.kind == kEntryRect) {
        drawRectangle(entry, screen, state, clip);
    } else if (entry.kind == kEntryScreenLevel) {
        state.screenLevel = entry.level;
        if (entry.paint != 0)
            fillScreenRect(screen.pixels(), screen.width(), clip, greyColour(entry.level));
    }
}

void redrawArea(ScreenSurface& screen, const DisplayList& list, const ImageSlots& images,
                GraphicsState& state, ScreenRect area) {
    if (!screen.hasPixels()) return;
    area = clipToScreen(area, screen);
    if (area.right <= area.left || area.bottom <= area.top) return;
    if (state.clearBackground) {
        const uint32_t colour = state.levelledBackground ? greyColour(state.screenLevel) : 0;
        fillScreenRect(screen.pixels(), screen.width(), area, colour);
    }
    for (const DisplayEntry* e = list.head(); e != nullptr; e = e->next)
        drawDisplayEntry(*e, screen, images, state, &area);
}

void redrawDirty(ScreenSurface& screen, const DisplayList& list, const ImageSlots& images,
                 GraphicsState& state, const UpdateList& dirty) {
    for (size_t i = 0; i < dirty.dirtyCount(); ++i) {
        ScreenRect rect;
        if (dirty.dirtyAt(i, rect) == 1) redrawArea(screen, list, images, state, rect);
    }
}

}  // namespace zeku
