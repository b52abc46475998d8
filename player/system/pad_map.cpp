// Pad bindings: the defaults, the "[PAD_CONFIG]" names and values, and the
// hand-over of pad presses to the same role counting as keys.
#include "player/system/pad_map.h"

#include "common/text/sjis.h"

namespace zeku {
namespace {

bool isPadCode(uint16_t code) {
    return code >= vk::kGamepadFirst && code <= vk::kGamepadLast;
}

struct RoleName {
    std::string_view name;
    std::optional<KeyRole> role;
};

constexpr RoleName kRoleNames[] = {
    {"UP", KeyRole::Up},       {"DOWN", KeyRole::Down},   {"LEFT", KeyRole::Left},
    {"RIGHT", KeyRole::Right}, {"START", KeyRole::Start}, {"KEY_A", KeyRole::A},
    {"KEY_B", KeyRole::B},     {"KEY_C", KeyRole::C},     {"KEY_D", KeyRole::D},
    {"KEY_E", KeyRole::E},     {"NONE", std::nullopt},
};

}  // namespace

const std::array<PadButtonName, kPadCodeCount> kPadButtonNames = {{
    {"PAD_A", vk::kGamepadA},
    {"PAD_B", vk::kGamepadB},
    {"PAD_X", vk::kGamepadX},
    {"PAD_Y", vk::kGamepadY},
    {"PAD_RB", vk::kGamepadRightShoulder},
    {"PAD_LB", vk::kGamepadLeftShoulder},
    {"PAD_LT", vk::kGamepadLeftTrigger},
    {"PAD_RT", vk::kGamepadRightTrigger},
    {"PAD_UP", vk::kGamepadDpadUp},
    {"PAD_DOWN", vk::kGamepadDpadDown},
    {"PAD_LEFT", vk::kGamepadDpadLeft},
    {"PAD_RIGHT", vk::kGamepadDpadRight},
    {"PAD_START", vk::kGamepadMenu},
    {"PAD_BACK", vk::kGamepadView},
    {"PAD_LS", vk::kGamepadLeftThumb},
    {"PAD_RS", vk::kGamepadRightThumb},
    {"PAD_STICK_UP", vk::kGamepadLeftStickUp},
    {"PAD_STICK_DOWN", vk::kGamepadLeftStickDown},
    {"PAD_STICK_RIGHT", vk::kGamepadLeftStickRight},
    {"PAD_STICK_LEFT", vk::kGamepadLeftStickLeft},
}};

std::optional<KeyRole> PadMap::role(uint16_t code) const {
    if (!isPadCode(code)) return std::nullopt;
    return roles[static_cast<size_t>(code - vk::kGamepadFirst)];
}

void PadMap::setRole(uint16_t code, std::optional<KeyRole> role) {
    if (isPadCode(code)) roles[static_cast<size_t>(code - vk::kGamepadFirst)] = role;
}

PadMap makePadMap(const KeyMap& keys) {
    PadMap map;
    for (uint16_t code : {vk::kGamepadDpadUp, vk::kGamepadLeftStickUp})
        map.setRole(code, KeyRole::Up);
    for (uint16_t code : {vk::kGamepadDpadDown, vk::kGamepadLeftStickDown})
        map.setRole(code, KeyRole::Down);
    for (uint16_t code :
         {vk::kGamepadDpadLeft, vk::kGamepadLeftStickLeft, vk::kGamepadLeftShoulder})
        map.setRole(code, KeyRole::Left);
    for (uint16_t code : {vk::kGamepadDpadRight, vk::kGamepadLeftStickRight})
        map.setRole(code, KeyRole::Right);
    map.setRole(vk::kGamepadA, KeyRole::C);
    map.setRole(vk::kGamepadB, KeyRole::A);
    map.setRole(vk::kGamepadX, KeyRole::B);
    const bool hasStart = keys.defaults[static_cast<size_t>(KeyRole::Start)] != 0;
    map.setRole(vk::kGamepadMenu, hasStart ? KeyRole::Start : KeyRole::B);
    return map;
}

bool bindPad(PadMap& map, std::string_view name, std::string_view value) {
    // Unlike key texts, role names never hold blanks: "PAD_A = KEY_C" works.
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    for (const PadButtonName& button : kPadButtonNames) {
        if (textEquals(button.name, name) != 1) continue;
        for (const RoleName& role : kRoleNames) {
            if (textEquals(role.name, value) != 1) continue;
            map.setRole(button.code, role.role);
            return true;
        }
        return false;
    }
    return false;
}

void inputKeyEvent(const KeyMap& keys, const PadMap& pads, const SystemSettings& settings,
                   PressCounters& counters, uint16_t code, bool down) {
    RoleSet roles = rolesOfKey(keys, code);
    if (const std::optional<KeyRole> role = pads.role(code)) {
        roles.set(static_cast<size_t>(*role));
    }
    roleEvent(settings, counters, roles, down);
}

}  // namespace zeku
