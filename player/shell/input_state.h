// Input as the game sees it: press counters from key messages, the stylus
// position and button events from pointer messages, and their per-frame copies.
#pragma once

#include "player/system/key_map.h"
#include "player/system/system_settings.h"

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
};

// Runs at the start of every frame (and every menu pass): turns the raw
// button events into one-frame edges and applies the cancel and skip rules.
void latchInput(InputState& input, const SystemSettings& settings);

// After a key message: opens the menu from a fresh B press, or from a fresh
// START press when the centre key is set to show the menu. `openMenu`
// returns true when the menu opened.
template <typename OpenMenu>
void checkMenuKeys(InputState& input, const SystemSettings& settings, OpenMenu&& openMenu) {
    PressCounters& k = input.keys;
    if (settings.keyCenterAction == 1 && (k[KeyRole::Start] == 1 || k[KeyRole::B] == 1)) {
        if (openMenu()) k[KeyRole::Start] = k[KeyRole::B] = 0;
    } else if (k[KeyRole::B] == 1) {
        if (openMenu()) k[KeyRole::B] = 0;
    }
}

}  // namespace zeku
