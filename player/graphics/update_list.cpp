// Adding to the update list: clipping, then the one-pass merge.
#include "player/graphics/update_list.h"

#include <algorithm>

namespace zeku {

bool UpdateList::addDirty(ScreenRect rect, bool merge) {
    if (rect.right < 0 || rect.left > clipWidth_ || rect.bottom < 0 || rect.top > clipHeight_)
        return false;
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, clipWidth_);
    rect.bottom = std::min(rect.bottom, clipHeight_);
    // An inverted rectangle covers nothing and would corrupt unions.
    if (rect.right < rect.left || rect.bottom < rect.top) return false;

    if (merge) {
        // Walk once, compacting the kept nodes to the front.
        size_t kept = 0;
        const size_t count = rects_.size();
        for (size_t i = 0; i < count; ++i) {
            const ScreenRect node = rects_[i];
            if (containsClosed(node, rect)) {
                // Already covered: keep this node and everything after it.
                for (size_t j = i; j < count; ++j, ++kept) {
                    rects_[kept] = rects_[j];
                    flags_[kept] = flags_[j];
                }
                rects_.resize(kept);
                flags_.resize(kept);
                return false;
            }
            if (!touchesOrOverlaps(node, rect)) {
                rects_[kept] = node;
                flags_[kept] = flags_[i];
                ++kept;
                continue;
            }
            // Contained or touching: the node goes, the new rectangle covers it.
            rect = unionOf(rect, node);
        }
        rects_.resize(kept);
        flags_.resize(kept);
    }
    rects_.push_back(rect);
    flags_.push_back(merge ? 1u : 0u);
    return true;
}

uint32_t UpdateList::dirtyAt(size_t index, ScreenRect& out) const {
    if (index >= rects_.size()) return 0;
    out = rects_[index];
    return flags_[index];
}

bool UpdateList::touchesFlagged(int left, int top, int right, int bottom) const {
    const ScreenRect probe{left, top, right, bottom};
    for (size_t i = 0; i < rects_.size(); ++i) {
        if (flags_[i] == 1 && touchesOrOverlaps(rects_[i], probe)) return true;
    }
    return false;
}

}  // namespace zeku
