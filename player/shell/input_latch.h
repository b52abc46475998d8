// The shell's input rules: the per-frame latch that turns raw button events
// into one-frame edges, and the menu keys checked after each key message.
#pragma once

#include "player/system/input_state.h"
#include "player/system/system_settings.h"

namespace zeku {

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
