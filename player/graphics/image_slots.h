// The 32 image slots of the game context. Script commands and display
// objects name pictures by slot index.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "player/graphics/image.h"

namespace zeku {

inline constexpr int kImageSlotCount = 32;
// The system image (the wait icon and other interface parts) sits after the
// script slots: display objects may show it, script commands cannot touch it.
inline constexpr int kSystemImageSlot = 32;
// Bit of the script engine's error word raised by an out-of-range slot.
inline constexpr uint32_t kErrorBadImageSlot = 0x800000;
// All slot images together may take this many screens' worth of pixels,
// about twice what 32 screen-sized pictures need. Each side is capped, but
// 32 slots of the largest images would still ask for gigabytes, which the
// system may promise and later fail to give; past the budget an image is
// refused like any allocation that fails.
inline constexpr size_t kImageBudgetScreens = 64;

struct ImageSlots {
    std::array<std::unique_ptr<Image>, kImageSlotCount> slots;
    std::unique_ptr<Image> systemImage;  // loaded at start-up, kept for the whole run
    // Size of an image a command creates in an empty slot, in the scripts'
    // 800 × 600 coordinates (a script command changes it).
    int defaultWidth = 800;
    int defaultHeight = 600;
};

// The slot's image, or nullptr for an empty slot or an index out of range.
Image* imageInSlot(ImageSlots& slots, int slot);
const Image* imageInSlot(const ImageSlots& slots, int slot);
// What a display object with that image slot shows: a slot's image, or the
// system image for kSystemImageSlot.
const Image* shownImage(const ImageSlots& slots, int slot);

// The pixel budget of all slot images for a screen of that size, in bytes.
size_t imageBudgetBytes(int screenWidth, int screenHeight);
// What the budget leaves for `image`: the budget less the pixels of every
// slot image other than `image`.
size_t imageRoomBytes(const ImageSlots& slots, const Image& image, int screenWidth,
                      int screenHeight);

// The slot's image for a command that needs one: an empty slot first gets an
// image of the default size scaled to the screen (which is left without
// pixels when memory is short or the budget is spent). An index outside
// 0..31 creates nothing, raises kErrorBadImageSlot in `errorWord` and gives
// nullptr.
Image* imageForCommand(ImageSlots& slots, int slot, int screenWidth, int screenHeight,
                       uint32_t& errorWord);
// The same, but a slot that holds an image gets it afresh at the default
// size (transparent black, or no pixels as above).
Image* recreateImageForCommand(ImageSlots& slots, int slot, int screenWidth, int screenHeight,
                               uint32_t& errorWord);

// Frees the slot's image and empties it.
void releaseImageSlot(ImageSlots& slots, int slot);

}  // namespace zeku
