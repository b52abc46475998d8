// A rectangle in screen pixels, the unit of dirty areas, blits and presents,
// and the few rules every user of it shares.
//
// Rectangles are half-open: right and bottom are one past the last pixel, so
// {0, 0, 320, 240} is a whole 320 × 240 screen and a rectangle whose right
// equals its left covers nothing. Two rules treat them as closed instead, on
// purpose: the update list merges rectangles that only share an edge or a
// corner (`touchesOrOverlaps`), and a rectangle lying inside another with
// edges included adds nothing to it (`containsClosed`). Merging neighbours
// costs a few pixels of redraw and saves a present per rectangle.
#pragma once

#include <algorithm>

namespace zeku {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // No pixel inside (inverted rectangles included).
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

// `rect` clipped to a width × height screen; an inverted or outside
// rectangle comes back empty (right = left or bottom = top), never inverted.
inline ScreenRect clipRect(ScreenRect rect, int width, int height) {
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, width);
    rect.bottom = std::min(rect.bottom, height);
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    return rect;
}

// The smallest rectangle holding both.
inline ScreenRect unionOf(const ScreenRect& a, const ScreenRect& b) {
    return ScreenRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

// `inner` lies inside `outer`, edges included.
inline bool containsClosed(const ScreenRect& outer, const ScreenRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

// A pixel or at least an edge or corner in common.
inline bool touchesOrOverlaps(const ScreenRect& a, const ScreenRect& b) {
    return !(a.right < b.left || b.right < a.left || a.bottom < b.top || b.bottom < a.top);
}

}  // namespace zeku
