// The box an object covers, its dirty bookkeeping and its per-frame step
// with frame animation.
#include "player/graphics/display_object.h"

#include <algorithm>
#include <cmath>

#include "player/graphics/transition_effect.h"

namespace zeku {
namespace {

// Pi as single precision holds it: the angle boxes are pinned to this value.
constexpr double kPi = 3.1415927410125732;

bool sameRect(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool isFrameIndex(int index) {
    return index >= 0 && index < kAnimationFrameCount;
}

ScreenRect rotatedBox(const DisplayObject& o) {
    const double radians = o.angle * kPi / 180.0;
    const int64_t s = static_cast<int64_t>(std::trunc(std::sin(radians) * 1024.0));
    const int64_t c = static_cast<int64_t>(std::trunc(std::cos(radians) * 1024.0));
    const int64_t v = o.x / 1000;
    const int64_t t = o.y / 1000;
    const int64_t w = o.width;
    const int64_t h = o.height;
    const int64_t side = std::max(w, h);
    int64_t squareLeft = v - o.originX;
    int64_t squareTop = t - o.originY;
    if (h < w)
        squareTop -= (w - h) / 2;
    else
        squareLeft -= (h - w) / 2;

    int64_t minX = 9999, minY = 9999, maxX = 0, maxY = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const int64_t px = squareLeft + ((corner & 1) ? side : 0);
        const int64_t py = squareTop + ((corner & 2) ? side : 0);
        const int64_t rx = v + (((px - v) * c - (py - t) * s + 512) >> 10);
        const int64_t ry = t + (((py - t) * c + (px - v) * s + 512) >> 10);
        minX = std::min(minX, rx);
        minY = std::min(minY, ry);
        maxX = std::max(maxX, rx);
        maxY = std::max(maxY, ry);
    }
    const int64_t n = (static_cast<int64_t>(o.scaleX) + o.scaleY) / 2;
    const int64_t left = v - (v - minX) * n / 1000;
    const int64_t top = t - (t - minY) * n / 1000;
    return ScreenRect{saturateToInt(left), saturateToInt(top),
                      saturateToInt(n * (maxX - minX) / 1000 + left + 1),
                      saturateToInt(n * (maxY - minY) / 1000 + top + 1)};
}

}  // namespace

ScreenRect objectBox(const DisplayObject& o) {
    if (o.effect.active) {
        ScreenRect box;
        if (effectBox(o, box)) return box;
        // Nothing shows yet: an empty box where the object is drawn.
        const int x = saturateToInt(o.x / 1000 - int64_t{o.originX});
        const int y = saturateToInt(o.y / 1000 - int64_t{o.originY});
        return ScreenRect{x, y, x, y};
    }
    if (o.angle != 0) return rotatedBox(o);
    const int64_t left = o.x / 1000 - static_cast<int64_t>(o.scaleX) * o.originX / 1000;
    const int64_t top = o.y / 1000 - static_cast<int64_t>(o.originY) * o.scaleY / 1000;
    int64_t right = left + static_cast<int64_t>(o.scaleX) * o.width / 1000;
    int64_t bottom = top + static_cast<int64_t>(o.scaleY) * o.height / 1000;
    // A frame drawn with an offset covers the shifted area, so the box follows.
    int64_t dx = 0, dy = 0;
    if (o.animationRunning && isFrameIndex(o.currentFrame)) {
        dx = o.frames[o.currentFrame].offsetX;
        dy = o.frames[o.currentFrame].offsetY;
    }
    return ScreenRect{saturateToInt(left + dx), saturateToInt(top + dy), saturateToInt(right + dx),
                      saturateToInt(bottom + dy)};
}

void noteObjectChanged(DisplayObject& o) {
    o.newBox = objectBox(o);
    if (!isNoBox(o.currentBox) && !sameRect(o.currentBox, o.newBox))
        o.pendingBox = unionOf(o.currentBox, o.newBox);
    else
        o.pendingBox = o.newBox;
    o.changed = true;
}

void showAnimationFrame(DisplayObject& o, int index, uint32_t nowMs) {
    if (!isFrameIndex(index)) return;
    const AnimationFrame& f = o.frames[index];
    o.currentFrame = index;
    o.entry.slot = f.slot;
    o.entry.sourceLeft = f.sourceX;
    o.entry.sourceTop = f.sourceY;
    o.entry.sourceRight = saturateToShort(int64_t{f.sourceX} + f.width);
    o.entry.sourceBottom = saturateToShort(int64_t{f.sourceY} + f.height);
    o.width = f.width;
    o.height = f.height;
    o.nextChangeMs = nowMs + static_cast<uint32_t>(std::max<int16_t>(f.durationMs, 0));
}

bool stepObject(DisplayObject& o, uint32_t nowMs) {
    if (o.finished) return false;
    o.entry.next = nullptr;
    // The effect steps even for an object without an image, so that it
    // ends in time and nothing waiting for it waits forever.
    if (o.effect.active) {
        if (!stepEffect(o, nowMs)) return true;
        if (o.finished) return false;
    }
    if (isImageEntry(o.entry.kind) && o.entry.slot < 0) return true;
    int64_t left = 0;
    int64_t top = 0;

    if (o.animationRunning) {
        // Signed difference so the tick count may wrap around.
        if (static_cast<int32_t>(nowMs - o.nextChangeMs) >= 0) {
            const int next =
                isFrameIndex(o.currentFrame) ? o.frames[o.currentFrame].next : kFrameEnds;
            if (next == kFrameEnds || (isFrameIndex(next) && o.frames[next].next == kFrameEnds)) {
                o.finished = true;
                return false;
            }
            if (next == kFrameHides) {
                if (o.visible) {
                    o.visible = false;
                    noteObjectChanged(o);  // the area it covered must be redrawn
                }
                return false;
            }
            if (isFrameIndex(next)) {
                showAnimationFrame(o, next, nowMs);
            } else {
                // A link to no frame at all: keep the frame shown and stop.
                o.animationRunning = false;
            }
            noteObjectChanged(o);
        }
        if (o.animationRunning && isFrameIndex(o.currentFrame)) {
            left += o.frames[o.currentFrame].offsetX;
            top += o.frames[o.currentFrame].offsetY;
        }
    }

    left += o.x / 1000 - o.originX;
    top += o.y / 1000 - o.originY;
    o.entry.left = saturateToShort(left);
    o.entry.top = saturateToShort(top);
    o.entry.scaleX = saturateToShort(o.scaleX);
    o.entry.scaleY = saturateToShort(o.scaleY);
    o.entry.angle = saturateToShort(o.angle);
    return true;
}

}  // namespace zeku
