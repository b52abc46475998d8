// The rectangles that changed during the current frame, clipped to the
// screen. Only these are redrawn and presented.
#pragma once

#include <vector>

#include "platform/api/frame_buffer_layouts.h"

namespace zeku {

class UpdateList {
  public:
    void setClip(int width, int height) {
        clipWidth_ = width;
        clipHeight_ = height;
    }
    // Adds a rectangle (right and bottom exclusive); empty ones are dropped.
    void add(ScreenRect rect) {
        rect = clipRect(rect, clipWidth_, clipHeight_);
        if (rect.left < rect.right && rect.top < rect.bottom) rects_.push_back(rect);
    }
    void clear() { rects_.clear(); }
    bool empty() const { return rects_.empty(); }
    const std::vector<ScreenRect>& rects() const { return rects_; }

  private:
    int clipWidth_ = 320;
    int clipHeight_ = 240;
    std::vector<ScreenRect> rects_;
};

}  // namespace zeku
