// Stylus coordinates back from the device to the game: the same quarter turn
// the present applies, undone, plus doubling for a VGA game on a small device.
#pragma once

#include "platform/api/display_back_end.h"

namespace zeku {

struct PointerMap {
    bool vgaGame = false;   // the logical screen is at least 640 wide
    bool vgaDevice = true;  // the device reports VGA-sized coordinates
    bool landscape = true;  // the frame buffer needs no turning
};

PointerMap makePointerMap(int screenWidth, const DeviceTraits& traits);

struct GamePoint {
    int x = 0;
    int y = 0;
};

GamePoint mapPointer(const PointerMap& map, int clientX, int clientY);

}  // namespace zeku
