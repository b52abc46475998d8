// The rectangles that changed during the current frame, clipped to the
// screen. Flagged ones are redrawn; all of them are presented.
//
// Rectangles are half-open (right and bottom exclusive), but merging treats
// them as closed: two rectangles that share only an edge (or a corner) are
// merged into their union, and a rectangle lying inside another one, edges
// included, adds nothing. One pass from the head decides: a node containing
// the new rectangle ends the call, a node the new one contains is dropped,
// a node touching or overlapping it is dropped and the new rectangle grows
// to the union; nodes already passed are not looked at again after a growth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/geometry/screen_rect.h"

namespace zeku {

class UpdateList {
  public:
    // Rectangles are clamped to 0..width × 0..height (320 × 240 until set).
    void setClip(int width, int height) {
        clipWidth_ = width;
        clipHeight_ = height;
    }

    // Drops rectangles wholly outside the clip area (or inverted), clamps the
    // rest, merges them with the list when `merge` is set, and appends the
    // result with flag 1 when merged, else 0. True when a node was added.
    bool addDirty(ScreenRect rect, bool merge);
    // The shell's shorthand: a merged rectangle that is redrawn.
    void add(ScreenRect rect) { addDirty(rect, true); }

    size_t dirtyCount() const { return rects_.size(); }
    // The node's flag, with its rectangle in `out`; 0 past the end.
    uint32_t dirtyAt(size_t index, ScreenRect& out) const;
    // True when a flagged node overlaps the rectangle, edges included.
    bool touchesFlagged(int left, int top, int right, int bottom) const;

    void clear() {
        rects_.clear();
        flags_.clear();
    }
    void clearDirty() { clear(); }
    bool empty() const { return rects_.empty(); }
    const std::vector<ScreenRect>& rects() const { return rects_; }
    const std::vector<uint32_t>& flags() const { return flags_; }

  private:
    int clipWidth_ = 320;
    int clipHeight_ = 240;
    // One node per index, in list order.
    std::vector<ScreenRect> rects_;
    std::vector<uint32_t> flags_;
};

}  // namespace zeku
