// One display object: a picture, rectangle or screen-level entry with its
// position, origin, layer, frame animation and dirty-box bookkeeping.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "common/geometry/screen_rect.h"
#include "player/graphics/display_list.h"
#include "player/graphics/effect_state.h"

namespace zeku {

// Wide intermediates narrowed to the record's fields without wrapping.
inline int saturateToInt(int64_t v) {
    return static_cast<int>(
        std::clamp<int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
inline int16_t saturateToShort(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

inline constexpr int kAnimationFrameCount = 64;
inline constexpr int kAnimationSequenceCount = 16;
// Next-frame indices with a meaning of their own.
inline constexpr int16_t kFrameEnds = -1;
inline constexpr int16_t kFrameHides = -3;

// One frame of an animation, geometry in screen pixels.
struct AnimationFrame {
    int16_t slot = -1;
    int16_t sourceX = 0;
    int16_t sourceY = 0;
    int16_t width = 0;
    int16_t height = 0;
    int16_t offsetX = 0;  // added to the drawn corner while the frame shows
    int16_t offsetY = 0;
    std::array<int16_t, 3> unused = {-1, -1, -1};
    int16_t durationMs = 0;
    int16_t next = kFrameEnds;  // frame index, kFrameEnds or kFrameHides
};

// The part of an image an object shows, kept while an animation runs.
struct SavedPicture {
    int16_t slot = -1;
    ScreenRect source;
};

inline constexpr ScreenRect kNoBox{-1, -1, -1, -1};

inline bool isNoBox(const ScreenRect& r) {
    return r.left == -1 && r.top == -1 && r.right == -1 && r.bottom == -1;
}

struct DisplayObject {
    // First, so the display list can link the object itself.
    DisplayEntry entry = defaultEntry();

    ScreenRect currentBox = kNoBox;  // area covered when last drawn
    ScreenRect pendingBox = kNoBox;  // area to redraw at the next frame
    ScreenRect newBox = kNoBox;      // area covered after the latest change
    bool changed = false;
    bool visible = true;
    bool finished = false;  // retired at the next frame

    int32_t x = 0;  // screen pixels × 1000
    int32_t y = 0;
    int32_t width = 0;  // size of the shown part, screen pixels
    int32_t height = 0;
    int32_t scriptX = 0;  // script units × 1000
    int32_t scriptY = 0;
    int32_t scriptWidth = 0;
    int32_t scriptHeight = 0;
    int32_t originX = 0;  // screen pixels: the picture point placed at (x, y)
    int32_t originY = 0;
    int32_t scaleX = 1000;  // per mille
    int32_t scaleY = 1000;
    int32_t angle = 0;  // degrees
    int32_t layer = 1;

    SavedPicture saved;
    bool animationRunning = false;
    int currentSequence = -1;
    int currentFrame = -1;
    uint32_t nextChangeMs = 0;
    std::array<int16_t, kAnimationSequenceCount> sequences = filledSequences();
    std::array<AnimationFrame, kAnimationFrameCount> frames{};

    EffectState effect;

    static DisplayEntry defaultEntry() {
        DisplayEntry e;
        e.kind = kEntryImage;
        e.order = -1;
        return e;
    }
    static std::array<int16_t, kAnimationSequenceCount> filledSequences() {
        std::array<int16_t, kAnimationSequenceCount> s{};
        s.fill(-1);
        return s;
    }
};

static_assert(std::is_standard_layout_v<DisplayObject>);
static_assert(offsetof(DisplayObject, entry) == 0, "the entry must come first");

// The screen area the object covers now, from its position, origin, size,
// scale and angle (and the shown frame's offset while animating); while an
// effect runs, the area its pieces cover.
ScreenRect objectBox(const DisplayObject& object);

// Records a change: the pending box grows to cover both the area drawn last
// and the new one, and the object is marked changed.
void noteObjectChanged(DisplayObject& object);

// Per-frame step with the tick count in milliseconds. Steps a running
// effect (its pieces are drawn instead while it runs) and a running
// animation (at most one frame per step), positions the entry and answers
// whether the object takes part in this frame's display list.
bool stepObject(DisplayObject& object, uint32_t nowMs);

// Shows frame `index` (ignored outside 0..63) and schedules the next change
// after its duration.
void showAnimationFrame(DisplayObject& object, int index, uint32_t nowMs);

}  // namespace zeku
