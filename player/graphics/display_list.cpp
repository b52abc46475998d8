// Resetting the layer anchors and linking entries in behind them.
#include "player/graphics/display_list.h"

namespace zeku {

void DisplayList::reset() {
    for (int layer = 0; layer < kLayerCount; ++layer) {
        anchors_[layer] = DisplayEntry{};
        anchors_[layer].kind = kEntryAnchor;
        anchors_[layer].next = layer == 0 ? nullptr : &anchors_[layer - 1];
    }
}

void DisplayList::insertChain(int layer, DisplayEntry& first, DisplayEntry& last) {
    if (layer < 0 || layer >= kLayerCount) return;
    DisplayEntry& anchor = anchors_[layer];
    last.next = anchor.next;
    anchor.next = &first;
}

}  // namespace zeku
