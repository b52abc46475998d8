// What the game keeps about its save slots between saves: which of the
// fifteen menu slots hold a game, the newest of them, and whether the
// choice rewind save can be gone back to.
#pragma once

#include <array>

namespace zeku {

inline constexpr int kMenuSaveSlots = 15;

struct SaveSlotBook {
    std::array<bool, kMenuSaveSlots> used{};
    int newest = -1;  // -1 while no slot is used
    bool rewindAvailable = false;
};

}  // namespace zeku
