// The game context's 129 display-object slots, the operations script
// commands call on them (in script units, scaled here to the screen) and
// the per-frame work that turns them into a redrawn screen.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "player/graphics/compositor.h"
#include "player/graphics/display_list.h"
#include "player/graphics/display_object.h"
#include "player/graphics/image_slots.h"
#include "player/graphics/screen_surface.h"
#include "player/graphics/update_list.h"

namespace zeku {

inline constexpr int kDisplayObjectSlotCount = 129;
// Bit of the script engine's error word raised for a bad or empty object slot.
inline constexpr uint32_t kErrorBadDisplayObject = 0x8000000;

struct DisplayObjects {
    std::array<std::unique_ptr<DisplayObject>, kDisplayObjectSlotCount> slots;
    int screenWidth = 320;
    int screenHeight = 240;
    // Areas of objects freed since the last frame, still shown on screen.
    std::vector<ScreenRect> releasedBoxes;
    // The screen level a screen-level fade left behind, -1 when none.
    int screenLevelRequest = -1;
};

// What one animation frame shows, in script units.
struct FrameSettings {
    int next = kFrameEnds;  // frame index, -1 ends, -3 hides
    int durationMs = 0;
    int imageSlot = -1;
    int sourceX = 0;
    int sourceY = 0;
    int width = 0;
    int height = 0;
    int offsetX = 0;
    int offsetY = 0;
};

bool isDisplayObjectSlot(int slot);
// The slot's object, or nullptr for an empty slot or an index out of range.
DisplayObject* objectInSlot(DisplayObjects& objects, int slot);
const DisplayObject* objectInSlot(const DisplayObjects& objects, int slot);

// Script units to screen pixels: multiplication first, integer division.
int scaleToScreenX(const DisplayObjects& objects, int value);
int scaleToScreenY(const DisplayObjects& objects, int value);

// The operations below answer false when they did nothing: a slot out of
// range, an empty slot, or arguments they refuse. Slots run 0..128.

// Replaces the slot's object by a default one. False when out of memory
// (the slot is then empty).
bool createObject(DisplayObjects& objects, int slot);
bool createPictureObject(DisplayObjects& objects, const ImageSlots& images, int slot, int imageSlot,
                         int sourceX, int sourceY, int width, int height, int x, int y, int originX,
                         int originY, int layer);
bool createRectObject(DisplayObjects& objects, int slot, int x, int y, int width, int height,
                      uint32_t colour);
// Frees the object; the area it covered is redrawn at the next frame.
bool removeObject(DisplayObjects& objects, int slot);
void removeAllObjects(DisplayObjects& objects);

// Negative source x or y count as 0; a negative width or height takes the
// image's own in pixels as it is. Does not mark the object changed (the
// caller's next operation does).
bool setPicture(DisplayObjects& objects, const ImageSlots& images, int slot, int imageSlot,
                int sourceX, int sourceY, int width, int height);
bool setImageSlot(DisplayObjects& objects, int slot, int imageSlot);
bool setPosition(DisplayObjects& objects, int slot, int x, int y);
// Layers outside 0..127 keep the old layer.
bool setLayer(DisplayObjects& objects, int slot, int layer);
// Clamped to 0..256.
bool setAlpha(DisplayObjects& objects, int slot, int alpha);
bool setOrigin(DisplayObjects& objects, int slot, int originX, int originY);

// These raise kErrorBadDisplayObject for a slot out of range or empty.
bool setMode(DisplayObjects& objects, int slot, int mode, uint32_t& errorWord);
// Fills frame `frameIndex` (0..63); a `sequence` of 0..15 starts there, a
// negative one leaves the sequences alone. Other indices are refused.
bool setFrame(DisplayObjects& objects, int slot, int frameIndex, const FrameSettings& frame,
              int sequence, uint32_t& errorWord);
// Saves the shown picture and shows the sequence's first frame. Refused for
// a sequence outside 0..15 or one without frames.
bool startAnimation(DisplayObjects& objects, int slot, int sequence, uint32_t nowMs,
                    uint32_t& errorWord);
bool stopAnimation(DisplayObjects& objects, int slot, uint32_t& errorWord);
// Both slots 0..127; the object in `to` is freed, `from` ends empty.
bool moveObject(DisplayObjects& objects, int from, int to, uint32_t& errorWord);

// Per-frame pieces, in the order displayFrame runs them.
// Steps every object and links the active, visible ones behind their layers.
void collectObjects(DisplayObjects& objects, DisplayList& list, uint32_t nowMs);
// The screen level a screen-level fade left behind becomes the state's.
void applyScreenLevelRequest(DisplayObjects& objects, GraphicsState& state);
// Frees the finished objects (never among those just collected) and adds
// the areas of every object freed since the last frame to the list.
void retireFinishedObjects(DisplayObjects& objects, UpdateList& dirty);
// Each changed object's pending box goes to the list, merged.
void addChangedBoxes(DisplayObjects& objects, UpdateList& dirty);

// The graphics work of one frame: step and collect, retire what finished in
// this very step (so an ended animation is gone from this frame's picture),
// add changed boxes, redraw the flagged rectangles. The caller presents and
// clears `dirty`.
// `list` points into the objects: it is only walked right after collecting,
// since any operation that frees an object leaves it stale.
// The same in two halves, so the message windows can be drawn between the
// redraw and the present: everything up to the redraw, then the redraw.
void prepareDisplayFrame(DisplayObjects& objects, DisplayList& list, UpdateList& dirty,
                         GraphicsState& state, uint32_t nowMs);
void displayFrame(DisplayObjects& objects, DisplayList& list, UpdateList& dirty,
                  ScreenSurface& screen, const ImageSlots& images, GraphicsState& state,
                  uint32_t nowMs);

}  // namespace zeku
