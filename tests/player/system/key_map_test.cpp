// Key bindings and the cursor modes: presses that must count, presses that
// must only arm, and bindings that must fall back to the defaults.
#include "player/system/key_map.h"

#include <gtest/gtest.h>

#include "platform/api/frame_buffer_layouts.h"

namespace zeku {
namespace {

// The keyboard layout with Enter as START.
GXKeyList sigmarionKeys() {
    return defaultKeyList(true);
}

struct Keys {
    KeyMap map = makeKeyMap(sigmarionKeys());
    SystemSettings settings;
    PressCounters counters;

    void press(uint16_t vk) {
        keyEvent(map, settings, counters, vk, true);
        keyEvent(map, settings, counters, vk, false);
    }
    // Presses and reports whether the role's counter moved.
    bool counts(uint16_t vk, KeyRole role) {
        int hits = 0;
        keyEvent(map, settings, counters, vk, true);
        hits = counters[role];
        keyEvent(map, settings, counters, vk, false);
        return hits > 0;
    }
};

TEST(KeyMap, BindingTexts) {
    KeyMap map = makeKeyMap(sigmarionKeys());
    bindKey(map, KeyRole::A, "1b");
    EXPECT_EQ(map.code(KeyRole::A), 0x1B);
    bindKey(map, KeyRole::A, "zz");  // non-hex characters count as 0
    EXPECT_EQ(map.code(KeyRole::A), 0x00);
    bindKey(map, KeyRole::A, "Q");  // too short: ignored, binding unchanged
    EXPECT_EQ(map.code(KeyRole::A), 0x00);
    bindKey(map, KeyRole::A, "key_b");  // another role's default
    EXPECT_EQ(map.code(KeyRole::A), 0x58);
    bindKey(map, KeyRole::A, "nonsense");
    EXPECT_EQ(map.code(KeyRole::A), 0x5A);
    EXPECT_EQ(map.code(KeyRole::D), 0);
}

TEST(KeyMap, CountersGrowWithRepeatsAndDropOnKeyUp) {
    Keys k;
    keyEvent(k.map, k.settings, k.counters, 0x5A, true);
    keyEvent(k.map, k.settings, k.counters, 0x5A, true);  // auto-repeat
    EXPECT_EQ(k.counters[KeyRole::A], 2);
    keyEvent(k.map, k.settings, k.counters, 0x5A, false);
    EXPECT_EQ(k.counters[KeyRole::A], 0);
    keyEvent(k.map, k.settings, k.counters, kIgnoredVirtualKey, true);
    for (int32_t c : k.counters.count)
        EXPECT_EQ(c, 0);
}

TEST(KeyMap, FullSuppressionNeedsASecondPressPerDirection) {
    Keys k;
    k.settings.cursorMode = 4;
    EXPECT_FALSE(k.counts(0x28, KeyRole::Down));
    EXPECT_TRUE(k.counts(0x28, KeyRole::Down));
    EXPECT_FALSE(k.counts(0x26, KeyRole::Up));  // a change of direction starts over
    EXPECT_FALSE(k.counts(0x28, KeyRole::Down));
    EXPECT_TRUE(k.counts(0x28, KeyRole::Down));
}

TEST(KeyMap, BasicSuppressionIgnoresADirectionWhileAnotherIsHeld) {
    Keys k;
    k.settings.cursorMode = 1;
    keyEvent(k.map, k.settings, k.counters, 0x27, true);  // hold right
    keyEvent(k.map, k.settings, k.counters, 0x28, true);
    EXPECT_EQ(k.counters[KeyRole::Down], 0);
    keyEvent(k.map, k.settings, k.counters, 0x27, false);
    keyEvent(k.map, k.settings, k.counters, 0x28, false);
    EXPECT_TRUE(k.counts(0x28, KeyRole::Down));
}

TEST(KeyMap, HorizontalAndVerticalPriority) {
    Keys k;
    k.settings.cursorMode = 2;  // horizontal first
    EXPECT_TRUE(k.counts(0x25, KeyRole::Left));
    EXPECT_FALSE(k.counts(0x28, KeyRole::Down));  // only arms after a horizontal key
    EXPECT_TRUE(k.counts(0x28, KeyRole::Down));
    EXPECT_TRUE(k.counts(0x27, KeyRole::Right));
    EXPECT_FALSE(k.counts(0x28, KeyRole::Down));

    Keys v;
    v.settings.cursorMode = 3;  // vertical first: the mirror image
    EXPECT_TRUE(v.counts(0x26, KeyRole::Up));
    EXPECT_FALSE(v.counts(0x25, KeyRole::Left));
    EXPECT_TRUE(v.counts(0x25, KeyRole::Left));
}

TEST(KeyMap, DoublePressStart) {
    Keys k;
    k.settings.doublePress = 1;
    EXPECT_FALSE(k.counts(0x0D, KeyRole::Start));
    EXPECT_TRUE(k.counts(0x0D, KeyRole::Start));
    k.press(0x28);                                 // a cursor key between two presses...
    EXPECT_FALSE(k.counts(0x0D, KeyRole::Start));  // ...cancels the first one
    EXPECT_TRUE(k.counts(0x0D, KeyRole::Start));

    Keys single;
    EXPECT_TRUE(single.counts(0x0D, KeyRole::Start));
    EXPECT_FALSE(single.counters.armStart);
}

}  // namespace
}  // namespace zeku
