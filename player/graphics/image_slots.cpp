// Slot lookup and on-demand creation of slot images.
#include "player/graphics/image_slots.h"

#include <new>

namespace zeku {
namespace {

bool inRange(int slot) {
    return slot >= 0 && slot < kImageSlotCount;
}

}  // namespace

Image* imageInSlot(ImageSlots& slots, int slot) {
    return inRange(slot) ? slots.slots[slot].get() : nullptr;
}

const Image* imageInSlot(const ImageSlots& slots, int slot) {
    return inRange(slot) ? slots.slots[slot].get() : nullptr;
}

Image* imageForCommand(ImageSlots& slots, int slot, int screenWidth, int screenHeight,
                       uint32_t& errorWord) {
    if (!inRange(slot)) {
        errorWord |= kErrorBadImageSlot;
        return nullptr;
    }
    std::unique_ptr<Image>& held = slots.slots[slot];
    if (!held) {
        held.reset(new (std::nothrow) Image);
        if (!held) return nullptr;
        // Widened so a large default size cannot overflow before the division.
        const long long width = static_cast<long long>(slots.defaultWidth) * screenWidth / 800;
        const long long height = static_cast<long long>(slots.defaultHeight) * screenHeight / 600;
        if (width <= kImageMaxSide && height <= kImageMaxSide)
            createImage(*held, static_cast<int>(width), static_cast<int>(height));
    }
    return held.get();
}

void releaseImageSlot(ImageSlots& slots, int slot) {
    if (inRange(slot)) slots.slots[slot].reset();
}

}  // namespace zeku
