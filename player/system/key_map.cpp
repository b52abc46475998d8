// Key bindings and press counting. Counters only ever grow on key-down and
// return to 0 on key-up; consumers mark a press as seen by raising it to 2.
#include "player/system/key_map.h"

namespace zeku {
namespace {

bool sameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;  // any other character counts as 0
}

bool isDirection(KeyRole role) {
    return role == KeyRole::Up || role == KeyRole::Down || role == KeyRole::Left ||
           role == KeyRole::Right;
}

bool& armFlag(PressCounters& c, KeyRole role) {
    switch (role) {
        case KeyRole::Up:
            return c.armUp;
        case KeyRole::Down:
            return c.armDown;
        case KeyRole::Left:
            return c.armLeft;
        case KeyRole::Right:
            return c.armRight;
        default:
            return c.armStart;
    }
}

void countDirection(PressCounters& c, KeyRole role, int cursorMode) {
    const bool vertical = role == KeyRole::Up || role == KeyRole::Down;
    switch (cursorMode) {
        case 1: {  // only when no other direction is held
            bool othersUp = true;
            for (KeyRole other : {KeyRole::Up, KeyRole::Down, KeyRole::Left, KeyRole::Right}) {
                // A key whose release waits for a frame is up already.
                const bool held = c[other] != 0 && c.deferredRelease[static_cast<int>(other)] == 0;
                if (other != role && held) othersUp = false;
            }
            if (othersUp) ++c[role];
            break;
        }
        case 2:  // horizontal first: a vertical press after a horizontal one only arms
        case 3: {
            const bool free = (cursorMode == 2) ? !vertical : vertical;
            if (free) {
                ++c[role];
                if (vertical) {
                    c.armLeft = c.armRight = false;
                } else {
                    c.armUp = c.armDown = false;
                }
            } else {
                bool& arm = armFlag(c, role);
                if (arm) ++c[role];
                arm = true;
            }
            break;
        }
        case 4: {  // every change of direction needs a second press
            if (armFlag(c, role)) ++c[role];
            c.armUp = c.armDown = c.armLeft = c.armRight = false;
            armFlag(c, role) = true;
            break;
        }
        default:
            ++c[role];
            break;
    }
}

}  // namespace

KeyMap makeKeyMap(const GXKeyList& keys) {
    KeyMap map;
    auto set = [&map](KeyRole role, uint16_t code) {
        map.defaults[static_cast<int>(role)] = code;
        map.codes[static_cast<int>(role)] = code;
    };
    set(KeyRole::Up, keys.vkUp.vkCode);
    set(KeyRole::Down, keys.vkDown.vkCode);
    set(KeyRole::Left, keys.vkLeft.vkCode);
    set(KeyRole::Right, keys.vkRight.vkCode);
    set(KeyRole::A, keys.vkA.vkCode);
    set(KeyRole::B, keys.vkB.vkCode);
    set(KeyRole::C, keys.vkC.vkCode);
    set(KeyRole::Start, keys.vkStart.vkCode);
    set(KeyRole::D, 0);
    set(KeyRole::E, 0);
    return map;
}

void bindKey(KeyMap& map, KeyRole role, std::string_view text) {
    if (text.size() < 2) return;
    struct Named {
        std::string_view name;
        KeyRole role;
    };
    static constexpr Named kNames[] = {
        {"UP", KeyRole::Up},       {"DOWN", KeyRole::Down},   {"LEFT", KeyRole::Left},
        {"RIGHT", KeyRole::Right}, {"START", KeyRole::Start}, {"KEY_A", KeyRole::A},
        {"KEY_B", KeyRole::B},     {"KEY_C", KeyRole::C},
    };
    int code = -1;
    for (const Named& named : kNames) {
        if (sameAsciiText(text, named.name)) code = map.defaults[static_cast<int>(named.role)];
    }
    if (code < 0 && text.size() == 2) code = hexDigit(text[0]) * 16 + hexDigit(text[1]);
    const int index = static_cast<int>(role);
    map.codes[index] = code < 0 ? map.defaults[index] : static_cast<uint16_t>(code);
}

void PressCounters::settleDeferredReleases() {
    for (size_t i = 0; i < count.size(); ++i) {
        if (deferredRelease[i] == 2) {
            count[i] = 0;
            deferredRelease[i] = 0;
        } else if (deferredRelease[i] == 1) {
            deferredRelease[i] = 2;
        }
    }
    pressedSinceLatch.fill(false);
}

RoleSet rolesOfKey(const KeyMap& map, uint16_t virtualKey) {
    RoleSet roles;
    if (virtualKey == kIgnoredVirtualKey || virtualKey == 0) return roles;
    for (int i = 0; i < kKeyRoleCount; ++i) {
        if (map.codes[static_cast<size_t>(i)] == virtualKey) roles.set(static_cast<size_t>(i));
    }
    return roles;
}

void roleEvent(const SystemSettings& settings, PressCounters& counters, RoleSet roles, bool down) {
    for (int i = 0; i < kKeyRoleCount; ++i) {
        const auto index = static_cast<size_t>(i);
        if (!roles.test(index)) continue;
        const KeyRole role = static_cast<KeyRole>(i);
        if (!down) {
            if (counters[role] == 1 && counters.pressedSinceLatch[index]) {
                counters.deferredRelease[index] = 1;  // no frame has seen this press yet
            } else {
                counters[role] = 0;
                counters.deferredRelease[index] = 0;
            }
            continue;
        }
        if (counters.deferredRelease[index] != 0) {
            // Pressed again before the earlier release took effect: a new press.
            counters.deferredRelease[index] = 0;
            counters[role] = 0;
        }
        counters.pressedSinceLatch[index] = true;
        if (isDirection(role)) {
            counters.armStart = false;
            countDirection(counters, role, settings.cursorMode);
        } else if (role == KeyRole::Start) {
            if (settings.doublePress != 0) {
                if (counters.armStart) ++counters[role];
                counters.armStart = true;
            } else {
                ++counters[role];
                counters.armStart = false;
            }
        } else {
            ++counters[role];
        }
    }
}

void keyEvent(const KeyMap& map, const SystemSettings& settings, PressCounters& counters,
              uint16_t virtualKey, bool down) {
    roleEvent(settings, counters, rolesOfKey(map, virtualKey), down);
}

void roleEvent(const SystemSettings& settings, PressCounters& counters, KeyRole role, bool down) {
    RoleSet roles;
    roles.set(static_cast<size_t>(role));
    roleEvent(settings, counters, roles, down);
}

}  // namespace zeku
