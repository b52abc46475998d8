// The key layer under the game: which virtual key plays which role, and the
// per-role press counters that key messages drive under the cursor modes.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string_view>

#include "platform/api/display_back_end.h"
#include "player/system/system_settings.h"

namespace zeku {

// Roles in the key map's order (also the order of the "KEY_*" bindings).
enum class KeyRole : int { Up, Down, Left, Right, A, B, C, D, E, Start };
inline constexpr int kKeyRoleCount = 10;
inline constexpr uint16_t kIgnoredVirtualKey = 91;

// Press counter values: 0 up, 1 fresh press nobody consumed, 2 consumed,
// higher for key repeats.
struct PressCounters {
    std::array<int32_t, kKeyRoleCount> count{};
    // Arm flags of the cursor modes and of double-press START.
    bool armUp = false, armDown = false, armLeft = false, armRight = false, armStart = false;

    // A key pressed and released between two frames must still count once,
    // as a tap does: its release waits until a frame has seen the press.
    // pressedSinceLatch marks presses no frame has seen; a deferred release
    // is due (1) at the next latch, which lets that frame see the press, and
    // applied (2) at the one after.
    std::array<bool, kKeyRoleCount> pressedSinceLatch{};
    std::array<uint8_t, kKeyRoleCount> deferredRelease{};

    int32_t& operator[](KeyRole role) { return count[static_cast<int>(role)]; }
    int32_t operator[](KeyRole role) const { return count[static_cast<int>(role)]; }
    void clearArms() { armUp = armDown = armLeft = armRight = armStart = false; }
    // Runs at each latch: applies the releases a frame has now seen the
    // press of, and lets the ones of presses since the last latch wait.
    void settleDeferredReleases();
};

struct KeyMap {
    std::array<uint16_t, kKeyRoleCount> codes{};
    std::array<uint16_t, kKeyRoleCount> defaults{};

    uint16_t code(KeyRole role) const { return codes[static_cast<int>(role)]; }
};

// Defaults from the display's key list: directions, A, B, C and START; D and E none.
KeyMap makeKeyMap(const GXKeyList& keys);

// Applies one binding text ("UP", "KEY_B", "1b", ...) to a role. Texts shorter
// than two characters are ignored; anything unresolvable restores the default.
void bindKey(KeyMap& map, KeyRole role, std::string_view text);

using RoleSet = std::bitset<kKeyRoleCount>;

// The roles bound to `virtualKey` (none for 0 and the ignored key).
RoleSet rolesOfKey(const KeyMap& map, uint16_t virtualKey);

// Counts a press or applies a release on each of `roles`, under the cursor
// mode and double-press settings; keys and pad buttons both come through here.
void roleEvent(const SystemSettings& settings, PressCounters& counters, RoleSet roles, bool down);

// Counts a key-down or releases a key-up on the roles bound to `virtualKey`.
void keyEvent(const KeyMap& map, const SystemSettings& settings, PressCounters& counters,
              uint16_t virtualKey, bool down);

// The same for one role, whatever key plays it (the right mouse button plays B).
void roleEvent(const SystemSettings& settings, PressCounters& counters, KeyRole role, bool down);

}  // namespace zeku
