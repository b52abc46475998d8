// Input as the game sees it: press counters from key messages, the stylus
// position and button events from pointer messages, and their per-frame
// copies. The shell fills it; the interpreter and the menu read it.
#pragma once

#include "player/system/key_map.h"

namespace zeku {

struct InputState {
    PressCounters keys;
    int pointerX = 0;  // game coordinates
    int pointerY = 0;
    bool buttonDownEvent = false;  // raised by messages between frames
    bool buttonHeld = false;
    bool buttonReleasedEvent = false;
    // One-frame copies made by the latch: 1 in the frame of the event, and
    // raised to 2 by a consumer that has seen it.
    int clickEdge = 0;
    int releaseEdge = 0;
    bool skipLatch = false;  // skipping locked on by a left press (LOCK_SKIP)
    // Wheel notches since the last frame (positive away from the user), and
    // the latched copy a frame reads; a consumer sets it back to 0.
    int wheelNotches = 0;
    int wheelEdge = 0;
};

}  // namespace zeku
