// Creating, changing and removing display objects, and the per-frame
// retire / step / collect / redraw sequence.
#include "player/graphics/display_objects.h"

#include <algorithm>
#include <new>

#include "player/graphics/transition_effect.h"

namespace zeku {
namespace {

// Image slots outside 0..32 (32 the system image) show nothing, like a
// negative slot.
int16_t imageSlotValue(int imageSlot) {
    return imageSlot >= 0 && imageSlot <= kSystemImageSlot ? static_cast<int16_t>(imageSlot) : -1;
}

// Screen pixels back to script units, for sizes that start in pixels.
int scaleToScriptX(const DisplayObjects& objects, int value) {
    return objects.screenWidth > 0 ? saturateToInt(int64_t{value} * 800 / objects.screenWidth) : 0;
}

int scaleToScriptY(const DisplayObjects& objects, int value) {
    return objects.screenHeight > 0 ? saturateToInt(int64_t{value} * 600 / objects.screenHeight)
                                    : 0;
}

// The area the object leaves behind on screen when it goes away.
void releaseBox(DisplayObjects& objects, const DisplayObject& o) {
    if (!isNoBox(o.currentBox)) objects.releasedBoxes.push_back(o.currentBox);
}

// A screen-level fade that ended or was stopped leaves its level for the
// frame to apply.
void takeScreenLevel(DisplayObjects& objects, DisplayObject& o) {
    if (o.effect.endScreenLevel < 0) return;
    objects.screenLevelRequest = o.effect.endScreenLevel;
    o.effect.endScreenLevel = -1;
}

void freeObject(DisplayObjects& objects, int slot) {
    std::unique_ptr<DisplayObject>& held = objects.slots[slot];
    if (!held) return;
    stopEffect(*held);
    takeScreenLevel(objects, *held);
    releaseBox(objects, *held);
    held.reset();
}

// Objects for the operations that raise the error bit.
DisplayObject* objectOrError(DisplayObjects& objects, int slot, uint32_t& errorWord) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) errorWord |= kErrorBadDisplayObject;
    return o;
}

void applyPosition(const DisplayObjects& objects, DisplayObject& o, int x, int y) {
    o.x = saturateToInt(int64_t{scaleToScreenX(objects, x)} * 1000);
    o.y = saturateToInt(int64_t{scaleToScreenY(objects, y)} * 1000);
    o.scriptX = saturateToInt(int64_t{x} * 1000);
    o.scriptY = saturateToInt(int64_t{y} * 1000);
}

void applyPicture(const DisplayObjects& objects, const ImageSlots& images, DisplayObject& o,
                  int imageSlot, int sourceX, int sourceY, int width, int height) {
    sourceX = std::max(sourceX, 0);
    sourceY = std::max(sourceY, 0);
    const int64_t left = scaleToScreenX(objects, sourceX);
    const int64_t top = scaleToScreenY(objects, sourceY);
    // A negative size takes the image's own, which is already in screen
    // pixels: scaling it again would shrink a full-screen picture.
    const Image* image = shownImage(images, imageSlot);
    const int imageWidth = image != nullptr ? saturateToInt(image->width) : 0;
    const int imageHeight = image != nullptr ? saturateToInt(image->height) : 0;
    const int scaledWidth = width < 0 ? imageWidth : scaleToScreenX(objects, width);
    const int scaledHeight = height < 0 ? imageHeight : scaleToScreenY(objects, height);
    if (width < 0) width = scaleToScriptX(objects, imageWidth);
    if (height < 0) height = scaleToScriptY(objects, imageHeight);
    o.entry.slot = imageSlotValue(imageSlot);
    o.entry.sourceLeft = saturateToShort(left);
    o.entry.sourceTop = saturateToShort(top);
    o.entry.sourceRight = saturateToShort(left + scaledWidth);
    o.entry.sourceBottom = saturateToShort(top + scaledHeight);
    o.width = scaledWidth;
    o.height = scaledHeight;
    o.scriptWidth = width;
    o.scriptHeight = height;
}

}  // namespace

bool isDisplayObjectSlot(int slot) {
    return slot >= 0 && slot < kDisplayObjectSlotCount;
}

DisplayObject* objectInSlot(DisplayObjects& objects, int slot) {
    return isDisplayObjectSlot(slot) ? objects.slots[slot].get() : nullptr;
}

const DisplayObject* objectInSlot(const DisplayObjects& objects, int slot) {
    return isDisplayObjectSlot(slot) ? objects.slots[slot].get() : nullptr;
}

int scaleToScreenX(const DisplayObjects& objects, int value) {
    return saturateToInt(int64_t{value} * objects.screenWidth / 800);
}

int scaleToScreenY(const DisplayObjects& objects, int value) {
    return saturateToInt(int64_t{value} * objects.screenHeight / 600);
}

bool createObject(DisplayObjects& objects, int slot) {
    if (!isDisplayObjectSlot(slot)) return false;
    freeObject(objects, slot);
    objects.slots[slot].reset(new (std::nothrow) DisplayObject);
    DisplayObject* o = objects.slots[slot].get();
    if (o == nullptr) return false;
    noteObjectChanged(*o);
    return true;
}

bool createPictureObject(DisplayObjects& objects, const ImageSlots& images, int slot, int imageSlot,
                         int sourceX, int sourceY, int width, int height, int x, int y, int originX,
                         int originY, int layer) {
    if (!createObject(objects, slot)) return false;
    setPicture(objects, images, slot, imageSlot, sourceX, sourceY, width, height);
    setPosition(objects, slot, x, y);
    setLayer(objects, slot, layer);
    setOrigin(objects, slot, originX, originY);
    return true;
}

bool createRectObject(DisplayObjects& objects, int slot, int x, int y, int width, int height,
                      uint32_t colour) {
    if (!createObject(objects, slot)) return false;
    DisplayObject& o = *objects.slots[slot];
    o.entry.kind = kEntryRect;
    o.entry.colour = colour;
    o.entry.mode = 0;
    o.entry.alpha = 256;
    o.width = scaleToScreenX(objects, std::max(width, 0));
    o.height = scaleToScreenY(objects, std::max(height, 0));
    o.scriptWidth = std::max(width, 0);
    o.scriptHeight = std::max(height, 0);
    o.entry.sourceRight = saturateToShort(o.width);
    o.entry.sourceBottom = saturateToShort(o.height);
    applyPosition(objects, o, x, y);
    noteObjectChanged(o);
    return true;
}

bool removeObject(DisplayObjects& objects, int slot) {
    if (objectInSlot(objects, slot) == nullptr) return false;
    freeObject(objects, slot);
    return true;
}

void removeAllObjects(DisplayObjects& objects) {
    for (int slot = 0; slot < kDisplayObjectSlotCount; ++slot)
        removeObject(objects, slot);
}

bool setPicture(DisplayObjects& objects, const ImageSlots& images, int slot, int imageSlot,
                int sourceX, int sourceY, int width, int height) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    applyPicture(objects, images, *o, imageSlot, sourceX, sourceY, width, height);
    return true;
}

bool setImageSlot(DisplayObjects& objects, int slot, int imageSlot) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    o->entry.slot = imageSlotValue(imageSlot);
    noteObjectChanged(*o);
    return true;
}

bool setPosition(DisplayObjects& objects, int slot, int x, int y) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    applyPosition(objects, *o, x, y);
    noteObjectChanged(*o);
    return true;
}

bool setLayer(DisplayObjects& objects, int slot, int layer) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    if (layer >= 0 && layer < kLayerCount) o->layer = layer;
    noteObjectChanged(*o);
    return true;
}

bool setAlpha(DisplayObjects& objects, int slot, int alpha) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    o->entry.alpha = static_cast<int16_t>(std::clamp(alpha, 0, 256));
    noteObjectChanged(*o);
    return true;
}

bool setOrigin(DisplayObjects& objects, int slot, int originX, int originY) {
    DisplayObject* o = objectInSlot(objects, slot);
    if (o == nullptr) return false;
    o->originX = scaleToScreenX(objects, originX);
    o->originY = scaleToScreenY(objects, originY);
    noteObjectChanged(*o);
    return true;
}

bool setMode(DisplayObjects& objects, int slot, int mode, uint32_t& errorWord) {
    DisplayObject* o = objectOrError(objects, slot, errorWord);
    if (o == nullptr) return false;
    o->entry.mode = saturateToShort(mode);
    noteObjectChanged(*o);
    return true;
}

bool setFrame(DisplayObjects& objects, int slot, int frameIndex, const FrameSettings& frame,
              int sequence, uint32_t& errorWord) {
    DisplayObject* o = objectOrError(objects, slot, errorWord);
    if (o == nullptr) return false;
    if (frameIndex < 0 || frameIndex >= kAnimationFrameCount) return false;
    if (sequence >= kAnimationSequenceCount) return false;
    AnimationFrame& f = o->frames[frameIndex];
    f.slot = imageSlotValue(frame.imageSlot);
    f.sourceX = saturateToShort(scaleToScreenX(objects, frame.sourceX));
    f.sourceY = saturateToShort(scaleToScreenY(objects, frame.sourceY));
    f.width = saturateToShort(scaleToScreenX(objects, std::max(frame.width, 0)));
    f.height = saturateToShort(scaleToScreenY(objects, std::max(frame.height, 0)));
    f.offsetX = saturateToShort(scaleToScreenX(objects, frame.offsetX));
    f.offsetY = saturateToShort(scaleToScreenY(objects, frame.offsetY));
    f.unused = {-1, -1, -1};
    f.durationMs = static_cast<int16_t>(std::clamp(frame.durationMs, 0, 32767));
    f.next = saturateToShort(frame.next);
    if (sequence >= 0) o->sequences[sequence] = static_cast<int16_t>(frameIndex);
    return true;
}

bool startAnimation(DisplayObjects& objects, int slot, int sequence, uint32_t nowMs,
                    uint32_t& errorWord) {
    DisplayObject* o = objectOrError(objects, slot, errorWord);
    if (o == nullptr) return false;
    if (sequence < 0 || sequence >= kAnimationSequenceCount) return false;
    const int first = o->sequences[sequence];
    if (first < 0 || first >= kAnimationFrameCount) return false;
    // Restarting keeps the picture saved by the first start, not a frame.
    if (!o->animationRunning) {
        o->saved.slot = o->entry.slot;
        o->saved.source = ScreenRect{o->entry.sourceLeft, o->entry.sourceTop, o->entry.sourceRight,
                                     o->entry.sourceBottom};
    }
    o->currentSequence = sequence;
    showAnimationFrame(*o, first, nowMs);
    o->animationRunning = true;
    noteObjectChanged(*o);
    return true;
}

bool stopAnimation(DisplayObjects& objects, int slot, uint32_t& errorWord) {
    DisplayObject* o = objectOrError(objects, slot, errorWord);
    if (o == nullptr) return false;
    if (o->animationRunning) {
        o->animationRunning = false;
        o->entry.slot = o->saved.slot;
        o->entry.sourceLeft = saturateToShort(o->saved.source.left);
        o->entry.sourceTop = saturateToShort(o->saved.source.top);
        o->entry.sourceRight = saturateToShort(o->saved.source.right);
        o->entry.sourceBottom = saturateToShort(o->saved.source.bottom);
        o->width = o->saved.source.right - o->saved.source.left;
        o->height = o->saved.source.bottom - o->saved.source.top;
    }
    noteObjectChanged(*o);
    return true;
}

bool moveObject(DisplayObjects& objects, int from, int to, uint32_t& errorWord) {
    constexpr int kMovableSlots = kDisplayObjectSlotCount - 1;
    if (from < 0 || from >= kMovableSlots || to < 0 || to >= kMovableSlots ||
        !objects.slots[from]) {
        errorWord |= kErrorBadDisplayObject;
        return false;
    }
    if (from == to) return true;
    freeObject(objects, to);
    objects.slots[to] = std::move(objects.slots[from]);
    // Its place among the objects of its layer changes with the slot.
    noteObjectChanged(*objects.slots[to]);
    return true;
}

void retireFinishedObjects(DisplayObjects& objects, UpdateList& dirty) {
    for (int slot = 0; slot < kDisplayObjectSlotCount; ++slot) {
        const DisplayObject* o = objects.slots[slot].get();
        if (o != nullptr && o->finished) freeObject(objects, slot);
    }
    for (const ScreenRect& box : objects.releasedBoxes)
        dirty.addDirty(box, true);
    objects.releasedBoxes.clear();
}

void collectObjects(DisplayObjects& objects, DisplayList& list, uint32_t nowMs) {
    list.reset();
    for (int slot = 0; slot < kDisplayObjectSlotCount; ++slot) {
        DisplayObject* o = objects.slots[slot].get();
        if (o == nullptr) continue;
        const bool drawn = stepObject(*o, nowMs) && o->visible;
        takeScreenLevel(objects, *o);
        if (!drawn) continue;
        DisplayEntry* first = nullptr;
        DisplayEntry* last = nullptr;
        if (!o->effect.active)
            list.insert(o->layer, o->entry);
        else if (effectChain(*o, first, last))
            list.insertChain(o->layer, *first, *last);
    }
}

void addChangedBoxes(DisplayObjects& objects, UpdateList& dirty) {
    for (const std::unique_ptr<DisplayObject>& held : objects.slots) {
        if (!held || !held->changed) continue;
        dirty.addDirty(held->pendingBox, true);
        held->changed = false;
        held->currentBox = held->newBox;
    }
}

void applyScreenLevelRequest(DisplayObjects& objects, GraphicsState& state) {
    if (objects.screenLevelRequest < 0) return;
    state.screenLevel = objects.screenLevelRequest;
    objects.screenLevelRequest = -1;
}

void displayFrame(DisplayObjects& objects, DisplayList& list, UpdateList& dirty,
                  ScreenSurface& screen, const ImageSlots& images, GraphicsState& state,
                  uint32_t nowMs) {
    prepareDisplayFrame(objects, list, dirty, state, nowMs);
    redrawDirty(screen, list, images, state, dirty);
}

void prepareDisplayFrame(DisplayObjects& objects, DisplayList& list, UpdateList& dirty,
                         GraphicsState& state, uint32_t nowMs) {
    collectObjects(objects, list, nowMs);
    applyScreenLevelRequest(objects, state);
    // The list stays valid: a step that finishes its object leaves it out.
    retireFinishedObjects(objects, dirty);
    addChangedBoxes(objects, dirty);
}

}  // namespace zeku
