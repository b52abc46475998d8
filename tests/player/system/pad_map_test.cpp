// Pad bindings: the defaults play exactly what the pad played when it sent
// keyboard keys, "[PAD_CONFIG]" texts bind roles, and pad presses count
// under the same cursor and double-press rules as keys.
#include "player/system/pad_map.h"

#include <gtest/gtest.h>

#include "platform/api/frame_buffer_layouts.h"

namespace zeku {
namespace {

TEST(PadMap, DefaultsPlayTheKeysThePadUsedToSend) {
    // What each pad key used to send as a keyboard key; Start sent the
    // build's START key, or X (B, the menu) where there is none.
    struct Old {
        uint16_t pad;
        uint16_t keyWithStart;
        uint16_t keyWithoutStart;
    };
    const Old old[] = {
        {vk::kGamepadDpadUp, vk::kUp, vk::kUp},
        {vk::kGamepadDpadDown, vk::kDown, vk::kDown},
        {vk::kGamepadDpadLeft, vk::kLeft, vk::kLeft},
        {vk::kGamepadDpadRight, vk::kRight, vk::kRight},
        {vk::kGamepadLeftStickUp, vk::kUp, vk::kUp},
        {vk::kGamepadLeftStickDown, vk::kDown, vk::kDown},
        {vk::kGamepadLeftStickLeft, vk::kLeft, vk::kLeft},
        {vk::kGamepadLeftStickRight, vk::kRight, vk::kRight},
        {vk::kGamepadA, 'C', 'C'},
        {vk::kGamepadB, 'Z', 'Z'},
        {vk::kGamepadX, 'X', 'X'},
        {vk::kGamepadMenu, vk::kReturn, 'X'},
        {vk::kGamepadLeftShoulder, vk::kLeft, vk::kLeft},
    };
    for (const bool withStart : {true, false}) {
        const KeyMap keys = makeKeyMap(defaultKeyList(withStart));
        const PadMap pads = makePadMap(keys);
        int bound = 0;
        for (uint16_t code = vk::kGamepadFirst; code <= vk::kGamepadLast; ++code) {
            if (pads.role(code)) ++bound;
        }
        EXPECT_EQ(bound, static_cast<int>(std::size(old)));  // nothing else plays
        for (const Old& o : old) {
            const RoleSet expected =
                rolesOfKey(keys, withStart ? o.keyWithStart : o.keyWithoutStart);
            ASSERT_EQ(expected.count(), 1u);
            ASSERT_TRUE(pads.role(o.pad).has_value()) << o.pad;
            EXPECT_TRUE(expected.test(static_cast<size_t>(*pads.role(o.pad)))) << o.pad;
        }
    }
}

TEST(PadMap, ConfigTexts) {
    struct Case {
        const char* name;
        const char* value;
        bool accepted;
        uint16_t code;
        std::optional<KeyRole> role;  // the code's role afterwards
    };
    const Case cases[] = {
        {"PAD_Y", "KEY_D", true, vk::kGamepadY, KeyRole::D},
        {"pad_rb", "key_e", true, vk::kGamepadRightShoulder, KeyRole::E},
        {"PAD_START", "START", true, vk::kGamepadMenu, KeyRole::Start},
        {"PAD_BACK", "KEY_B", true, vk::kGamepadView, KeyRole::B},
        {"PAD_A", "NONE", true, vk::kGamepadA, std::nullopt},
        {"PAD_UP", "DOWN", true, vk::kGamepadDpadUp, KeyRole::Down},
        {"PAD_STICK_LEFT", "RIGHT", true, vk::kGamepadLeftStickLeft, KeyRole::Right},
        {"PAD_LT", "KEY_A", true, vk::kGamepadLeftTrigger, KeyRole::A},
        {"PAD_B", "JUMP", false, vk::kGamepadB, KeyRole::A},  // unknown role: default kept
        {"PAD_B", "", false, vk::kGamepadB, KeyRole::A},
        {"PAD_Q", "UP", false, vk::kGamepadY, std::nullopt},
    };
    const KeyMap keys = makeKeyMap(defaultKeyList(false));
    for (const Case& c : cases) {
        PadMap pads = makePadMap(keys);
        EXPECT_EQ(bindPad(pads, c.name, c.value), c.accepted) << c.name << "=" << c.value;
        EXPECT_EQ(pads.role(c.code), c.role) << c.name << "=" << c.value;
    }
    EXPECT_EQ(makePadMap(keys).role(vk::kUp), std::nullopt);  // not a pad code
}

struct Input {
    KeyMap keys = makeKeyMap(defaultKeyList(true));
    PadMap pads = makePadMap(keys);
    SystemSettings settings;
    PressCounters counters;

    int press(uint16_t code, KeyRole role) {
        inputKeyEvent(keys, pads, settings, counters, code, true);
        const int count = counters[role];
        inputKeyEvent(keys, pads, settings, counters, code, false);
        return count;
    }
};

TEST(PadMap, PadPressesCountByTheKeyRules) {
    Input full;
    full.settings.cursorMode = 4;  // every change of direction needs a second press
    EXPECT_EQ(full.press(vk::kGamepadDpadDown, KeyRole::Down), 0);
    EXPECT_EQ(full.press(vk::kGamepadLeftStickDown, KeyRole::Down), 1);
    EXPECT_EQ(full.press(vk::kUp, KeyRole::Up), 0);  // the keyboard shares the arm
    EXPECT_EQ(full.press(vk::kGamepadDpadUp, KeyRole::Up), 1);

    Input twice;
    twice.settings.doublePress = 1;
    EXPECT_EQ(twice.press(vk::kGamepadMenu, KeyRole::Start), 0);
    EXPECT_EQ(twice.press(vk::kGamepadMenu, KeyRole::Start), 1);

    // A role reached both through the key map and the pad map counts once.
    Input both;
    bindKey(both.keys, KeyRole::C, "c3");
    EXPECT_EQ(both.press(vk::kGamepadA, KeyRole::C), 1);
    bindKey(both.keys, KeyRole::A, "c3");
    inputKeyEvent(both.keys, both.pads, both.settings, both.counters, vk::kGamepadA, true);
    EXPECT_EQ(both.counters[KeyRole::A], 1);
    EXPECT_EQ(both.counters[KeyRole::C], 1);
}

}  // namespace
}  // namespace zeku
