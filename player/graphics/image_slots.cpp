// Slot lookup and on-demand creation of slot images.
#include "player/graphics/image_slots.h"

#include <new>

namespace zeku {
namespace {

bool inRange(int slot) {
    return slot >= 0 && slot < kImageSlotCount;
}

// The default size scaled to the screen, within the budget.
bool createAtDefaultSize(ImageSlots& slots, Image& image, int screenWidth, int screenHeight) {
    // Widened so a large default size cannot overflow before the division.
    const long long width = static_cast<long long>(slots.defaultWidth) * screenWidth / 800;
    const long long height = static_cast<long long>(slots.defaultHeight) * screenHeight / 600;
    if (width > kImageMaxSide || height > kImageMaxSide) {
        freeImage(image);
        return false;
    }
    return createImage(image, static_cast<int>(width), static_cast<int>(height),
                       imageRoomBytes(slots, image, screenWidth, screenHeight));
}

}  // namespace

size_t imageBudgetBytes(int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return 0;
    return kImageBudgetScreens * imagePixelBytes(screenWidth, screenHeight);
}

size_t imageRoomBytes(const ImageSlots& slots, const Image& image, int screenWidth,
                      int screenHeight) {
    size_t used = 0;
    for (const std::unique_ptr<Image>& held : slots.slots) {
        if (held && held.get() != &image) used += imagePixelBytes(*held);
    }
    const size_t budget = imageBudgetBytes(screenWidth, screenHeight);
    return used < budget ? budget - used : 0;
}

Image* imageInSlot(ImageSlots& slots, int slot) {
    return inRange(slot) ? slots.slots[slot].get() : nullptr;
}

const Image* imageInSlot(const ImageSlots& slots, int slot) {
    return inRange(slot) ? slots.slots[slot].get() : nullptr;
}

const Image* shownImage(const ImageSlots& slots, int slot) {
    return slot == kSystemImageSlot ? slots.systemImage.get() : imageInSlot(slots, slot);
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
        createAtDefaultSize(slots, *held, screenWidth, screenHeight);
    }
    return held.get();
}

Image* recreateImageForCommand(ImageSlots& slots, int slot, int screenWidth, int screenHeight,
                               uint32_t& errorWord) {
    const bool wasEmpty = imageInSlot(slots, slot) == nullptr;
    Image* image = imageForCommand(slots, slot, screenWidth, screenHeight, errorWord);
    if (image != nullptr && !wasEmpty)
        createAtDefaultSize(slots, *image, screenWidth, screenHeight);
    return image;
}

void releaseImageSlot(ImageSlots& slots, int slot) {
    if (inRange(slot)) slots.slots[slot].reset();
}

}  // namespace zeku
