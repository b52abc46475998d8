// Which role each game-controller button plays. Pads send their own key
// codes (vk::kGamepad*), bound here rather than in the key map so a pad and
// a keyboard can be set up apart; "[PAD_CONFIG]" in "zeku.cfg" changes them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/api/virtual_keys.h"
#include "player/system/key_map.h"

namespace zeku {

inline constexpr int kPadCodeCount = vk::kGamepadLast - vk::kGamepadFirst + 1;

struct PadMap {
    // By code - vk::kGamepadFirst; empty: the button does nothing.
    std::array<std::optional<KeyRole>, kPadCodeCount> roles{};

    std::optional<KeyRole> role(uint16_t code) const;
    void setRole(uint16_t code, std::optional<KeyRole> role);
};

// The pad as it always played: d-pad and left stick the directions, the
// lower face button C, the right one A, the left one B (the menu), the left
// shoulder holds left (skip), and Start plays START where the build has a
// START key, else B.
PadMap makePadMap(const KeyMap& keys);

// One "[PAD_CONFIG]" line: `name` a button ("PAD_A", "PAD_LB", ...),
// `value` a role ("UP" .. "RIGHT", "START", "KEY_A" .. "KEY_E") or "NONE".
// False, with the map unchanged, for a name or value it does not know.
bool bindPad(PadMap& map, std::string_view name, std::string_view value);

// The "[PAD_CONFIG]" key names with their codes, for reading the section.
struct PadButtonName {
    std::string_view name;
    uint16_t code;
};
extern const std::array<PadButtonName, kPadCodeCount> kPadButtonNames;

// A key message on every role its code plays: the key map's, and for a pad
// code the pad map's too; a role bound both ways counts once.
void inputKeyEvent(const KeyMap& keys, const PadMap& pads, const SystemSettings& settings,
                   PressCounters& counters, uint16_t code, bool down);

}  // namespace zeku
