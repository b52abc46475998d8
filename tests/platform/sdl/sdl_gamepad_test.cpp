// Pad buttons, triggers and the stick as keys: each its own pad key, and a
// stick or trigger that presses once past its threshold and releases only
// near its rest.
#include "platform/sdl/sdl_gamepad.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

SDL_Event axisEvent(int axis, int value) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.axis = static_cast<Uint8>(axis);
    event.caxis.value = static_cast<Sint16>(value);
    return event;
}

TEST(SdlGamepad, ButtonsAreTheirOwnKeys) {
    struct Case {
        int button;
        uint16_t key;
    };
    // The Windows gamepad key numbers.
    for (const Case c :
         {Case{SDL_CONTROLLER_BUTTON_A, 0xC3}, Case{SDL_CONTROLLER_BUTTON_B, 0xC4},
          Case{SDL_CONTROLLER_BUTTON_X, 0xC5}, Case{SDL_CONTROLLER_BUTTON_Y, 0xC6},
          Case{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0xC7},
          Case{SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0xC8}, Case{SDL_CONTROLLER_BUTTON_DPAD_UP, 0xCB},
          Case{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0xCE}, Case{SDL_CONTROLLER_BUTTON_START, 0xCF},
          Case{SDL_CONTROLLER_BUTTON_BACK, 0xD0}, Case{SDL_CONTROLLER_BUTTON_GUIDE, 0}}) {
        EXPECT_EQ(virtualKeyFromPadButton(c.button), c.key) << c.button;
    }

    SdlGamepads pads;
    std::deque<Message> queue;
    SDL_Event press{};
    press.type = SDL_CONTROLLERBUTTONDOWN;
    press.cbutton.button = SDL_CONTROLLER_BUTTON_A;
    EXPECT_TRUE(pads.translate(press, queue));
    press.type = SDL_CONTROLLERBUTTONUP;
    pads.translate(press, queue);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue[0].code, kWmKeyDown);
    EXPECT_EQ(queue[0].wParam, 0xC3u);
    EXPECT_EQ(queue[1].code, kWmKeyUp);

    SDL_Event other{};
    other.type = SDL_MOUSEMOTION;
    EXPECT_FALSE(pads.translate(other, queue));
}

TEST(SdlGamepad, StickPressesPastTheThresholdAndReleasesNearTheCentre) {
    SdlGamepads pads;
    std::deque<Message> queue;
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 12000), queue);  // not yet
    EXPECT_TRUE(queue.empty());
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 20000), queue);
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 30000), queue);
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 12000), queue);  // still held
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue[0].code, kWmKeyDown);
    EXPECT_EQ(queue[0].wParam, 0xD4u);                                    // stick down
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, -20000), queue);  // flick across
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[1].code, kWmKeyUp);
    EXPECT_EQ(queue[1].wParam, 0xD4u);
    EXPECT_EQ(queue[2].wParam, 0xD3u);
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 100), queue);
    ASSERT_EQ(queue.size(), 4u);
    EXPECT_EQ(queue[3].code, kWmKeyUp);
}

TEST(SdlGamepad, TriggersPressPastTheThresholdAndReleaseNearRest) {
    SdlGamepads pads;
    std::deque<Message> queue;
    for (int value : {12000, 20000, 30000, 12000, 4000, 20000}) {
        pads.translate(axisEvent(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, value), queue);
    }
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[0].code, kWmKeyDown);
    EXPECT_EQ(queue[0].wParam, 0xCAu);
    EXPECT_EQ(queue[1].code, kWmKeyUp);
    EXPECT_EQ(queue[2].code, kWmKeyDown);
}

}  // namespace
}  // namespace zeku
