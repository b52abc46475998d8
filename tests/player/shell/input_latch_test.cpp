// The per-frame input latch: one-frame click edges, the cancel rules for a
// tap or a fresh action key, and the skip latch.
#include <gtest/gtest.h>

#include "player/shell/input_latch.h"

namespace zeku {
namespace {

TEST(InputLatch, ATapIsAClickForExactlyOneFrameAndCancelsPresses) {
    InputState in;
    SystemSettings settings;
    in.keys[KeyRole::Up] = 1;
    in.keys[KeyRole::C] = 1;
    in.keys[KeyRole::D] = 1;
    in.keys.armDown = true;
    in.buttonDownEvent = true;
    latchInput(in, settings);
    EXPECT_EQ(in.clickEdge, 1);
    EXPECT_EQ(in.keys[KeyRole::Up], 0);
    EXPECT_EQ(in.keys[KeyRole::C], 0);
    EXPECT_EQ(in.keys[KeyRole::D], 1);  // D and E are not cancelled by a tap
    EXPECT_FALSE(in.keys.armDown);
    latchInput(in, settings);
    EXPECT_EQ(in.clickEdge, 0);
}

TEST(InputLatch, AFreshActionKeyCancelsCursorPresses) {
    InputState in;
    SystemSettings settings;
    in.keys[KeyRole::A] = 1;
    in.keys[KeyRole::Left] = 3;
    in.keys[KeyRole::Start] = 1;
    latchInput(in, settings);
    EXPECT_EQ(in.keys[KeyRole::Left], 0);
    EXPECT_EQ(in.keys[KeyRole::Start], 0);
    EXPECT_EQ(in.keys[KeyRole::A], 1);

    in.keys[KeyRole::A] = 2;  // already consumed: cancels nothing
    in.keys[KeyRole::Right] = 1;
    latchInput(in, settings);
    EXPECT_EQ(in.keys[KeyRole::Right], 1);
}

TEST(InputLatch, SkipLatchLocksOnLeftAndReleasesOnClickOrRight) {
    InputState in;
    SystemSettings settings;
    settings.lockSkip = 1;
    in.keys[KeyRole::Left] = 1;
    latchInput(in, settings);
    EXPECT_TRUE(in.skipLatch);
    EXPECT_EQ(in.keys[KeyRole::Left], 0);

    latchInput(in, settings);
    EXPECT_TRUE(in.skipLatch);
    in.buttonDownEvent = true;
    latchInput(in, settings);
    EXPECT_FALSE(in.skipLatch);
    EXPECT_EQ(in.clickEdge, 0);  // the tap that ends skipping does nothing else

    in.keys[KeyRole::Left] = 1;
    latchInput(in, settings);
    in.keys[KeyRole::Right] = 1;
    latchInput(in, settings);
    EXPECT_FALSE(in.skipLatch);
    EXPECT_EQ(in.keys[KeyRole::Right], 0);

    settings.lockSkip = 0;
    in.keys[KeyRole::Left] = 1;
    latchInput(in, settings);
    EXPECT_FALSE(in.skipLatch);
    EXPECT_EQ(in.keys[KeyRole::Left], 1);
}

// A key pressed and released between two frames (a fast typist, a key
// repeat tool, a remote desktop) counts once, as a tap does; a key held
// over a frame is released at once, as before.
TEST(InputLatch, AKeyPressedAndReleasedBetweenFramesIsSeenByOneFrame) {
    InputState in;
    SystemSettings settings;
    KeyMap map = makeKeyMap(GXKeyList{});
    map.codes[static_cast<int>(KeyRole::C)] = 0x43;
    map.codes[static_cast<int>(KeyRole::A)] = 0x5A;
    keyEvent(map, settings, in.keys, 0x43, true);
    keyEvent(map, settings, in.keys, 0x43, false);
    latchInput(in, settings);
    EXPECT_EQ(in.keys[KeyRole::C], 1);  // this frame sees the press
    latchInput(in, settings);
    EXPECT_EQ(in.keys[KeyRole::C], 0);  // and the next one the release

    // Pressed again before the release took effect: one new press.
    keyEvent(map, settings, in.keys, 0x43, true);
    keyEvent(map, settings, in.keys, 0x43, false);
    keyEvent(map, settings, in.keys, 0x43, true);
    latchInput(in, settings);
    EXPECT_EQ(in.keys[KeyRole::C], 1);

    // Held over a latch, then released: gone at once.
    keyEvent(map, settings, in.keys, 0x5A, true);
    latchInput(in, settings);
    keyEvent(map, settings, in.keys, 0x5A, false);
    EXPECT_EQ(in.keys[KeyRole::A], 0);
}

TEST(InputLatch, MenuKeysFollowTheCentreKeySetting) {
    InputState in;
    SystemSettings settings;
    int opened = 0;
    auto open = [&] {
        ++opened;
        return true;
    };
    in.keys[KeyRole::Start] = 1;
    checkMenuKeys(in, settings, open);  // centre key 1: START opens the menu
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(in.keys[KeyRole::Start], 0);

    settings.keyCenterAction = 0;
    in.keys[KeyRole::Start] = 1;
    checkMenuKeys(in, settings, open);
    EXPECT_EQ(opened, 1);
    in.keys[KeyRole::B] = 1;
    checkMenuKeys(in, settings, open);  // B always does
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(in.keys[KeyRole::B], 0);
    EXPECT_EQ(in.keys[KeyRole::Start], 1);
}

}  // namespace
}  // namespace zeku
