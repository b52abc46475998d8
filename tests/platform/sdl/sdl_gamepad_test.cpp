// Pad buttons and the stick as keys: the button layout, and a stick that
// presses once past its threshold and releases only near the centre.
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

TEST(SdlGamepad, ButtonsPlayTheGameKeys) {
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, 'X'), 0x26);
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 'X'), 0x27);
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_A, 'X'), 'C');
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_B, 'X'), 'Z');
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_X, 0x0D), 'X');
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_START, 0x0D), 0x0D);
    EXPECT_EQ(virtualKeyFromPadButton(SDL_CONTROLLER_BUTTON_GUIDE, 'X'), 0);

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
    EXPECT_EQ(queue[0].wParam, static_cast<uintptr_t>('C'));
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
    EXPECT_EQ(queue[0].wParam, 0x28u);
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, -20000), queue);  // flick across
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[1].code, kWmKeyUp);
    EXPECT_EQ(queue[1].wParam, 0x28u);
    EXPECT_EQ(queue[2].wParam, 0x26u);
    pads.translate(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 100), queue);
    ASSERT_EQ(queue.size(), 4u);
    EXPECT_EQ(queue[3].code, kWmKeyUp);
}

}  // namespace
}  // namespace zeku
