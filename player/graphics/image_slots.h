// The 32 image slots of the game context. Script commands and display
// objects name pictures by slot index.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "player/graphics/image.h"

namespace zeku {

inline constexpr int kImageSlotCount = 32;
// Bit of the script engine's error word raised by an out-of-range slot.
inline constexpr uint32_t kErrorBadImageSlot = 0x800000;

struct ImageSlots {
    std::array<std::unique_ptr<Image>, kImageSlotCount> slots;
    // Size of an image a command creates in an empty slot, in the scripts'
    // 800 × 600 coordinates (a script command changes it).
    int defaultWidth = 800;
    int defaultHeight = 600;
};

// The slot's image, or nullptr for an empty slot or an index out of range.
Image* imageInSlot(ImageSlots& slots, int slot);
const Image* imageInSlot(const ImageSlots& slots, int slot);

// The slot's image for a command that needs one: an empty slot first gets an
// image of the default size scaled to the screen (which may be left without
// pixels when memory is short). An index outside 0..31 creates nothing,
// raises kErrorBadImageSlot in `errorWord` and gives nullptr.
Image* imageForCommand(ImageSlots& slots, int slot, int screenWidth, int screenHeight,
                       uint32_t& errorWord);

// Frees the slot's image and empties it.
void releaseImageSlot(ImageSlots& slots, int slot);

}  // namespace zeku
