// The screen shake: the offset the present shifts the whole picture by, and
// the bookkeeping of the transition that moves it. One copy, in the game
// context; the script's #Wipe writes it and the present reads it.
#pragma once

#include <cstdint>

namespace zeku {

struct ShakeState {
    int offsetX = 0;  // screen pixels
    int offsetY = 0;
    int remaining = 0;  // reversals still to come
    uint32_t lastChangeMs = 0;

    bool shaken() const { return offsetX != 0 || offsetY != 0; }
};

}  // namespace zeku
