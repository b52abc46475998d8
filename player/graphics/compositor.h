// The per-frame redraw: each flagged dirty rectangle is cleared and the
// whole display list is drawn clipped to it, into the screen surface.
#pragma once

#include "player/graphics/display_list.h"
#include "player/graphics/image_slots.h"
#include "player/graphics/screen_surface.h"
#include "player/graphics/update_list.h"

namespace zeku {

// The game context's switches the redraw reads (and kind-10 entries write).
struct GraphicsState {
    int screenLevel = 256;
    bool levelledBackground = false;
    bool clearBackground = true;
};

// Draws one entry clipped to `area` (the whole screen when null). Image
// entries are also clipped to their image, so a source rectangle reaching
// outside it draws only the part that exists.
void drawDisplayEntry(const DisplayEntry& entry, ScreenSurface& screen, const ImageSlots& images,
                      GraphicsState& state, const ScreenRect* area);

// Clears `area` as the switches say and draws the list into it.
void redrawArea(ScreenSurface& screen, const DisplayList& list, const ImageSlots& images,
                GraphicsState& state, ScreenRect area);

// Redraws every rectangle of the list whose flag is 1, in list order.
void redrawDirty(ScreenSurface& screen, const DisplayList& list, const ImageSlots& images,
                 GraphicsState& state, const UpdateList& dirty);

}  // namespace zeku
