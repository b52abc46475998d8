// Tests for SdlWindow: the first window size, and SDL events arriving as the
// Windows messages the shell expects. Needs an X display (xvfb-run).
#include "platform/sdl/sdl_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/sdl/sdl_test_window.h"

namespace zeku {
namespace {

TEST(SdlWindowScale, LargestWholeMultipleInsideFourFifthsOfTheDesktop) {
    EXPECT_EQ(initialWindowScale(320, 240, 1920, 1040), 3);  // 1536 x 832 available
    EXPECT_EQ(initialWindowScale(320, 240, 1280, 1024), 3);
    EXPECT_EQ(initialWindowScale(320, 240, 3840, 2160), 7);  // height limits
    EXPECT_EQ(initialWindowScale(640, 480, 1280, 720), 1);
    EXPECT_EQ(initialWindowScale(640, 480, 800, 600), 1);  // never below one
    EXPECT_EQ(initialWindowScale(640, 480, 0, 0), 1);
}

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!sdltest::haveDisplay()) GTEST_SKIP() << "no X display; run under xvfb-run";
        ASSERT_TRUE(sdltest::createTestWindow(window_, 320, 240)) << SDL_GetError();
        sdltest::drainMessages(window_);
    }
    void TearDown() override { window_.destroy(); }

    void push(SDL_Event event) {
        if (event.type == SDL_WINDOWEVENT) event.window.windowID = windowId();
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    Uint32 windowId() { return SDL_GetWindowID(window_.sdlWindow()); }

    // A mouse event at the window position of logical pixel (x, y).
    SDL_Event mouseButton(Uint32 type, Uint8 button, float x, float y, Uint32 which = 0) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = windowId();
        event.button.which = which;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        toWindow(x, y, event.button.x, event.button.y);
        return event;
    }
    SDL_Event mouseMotion(float x, float y, Uint32 which = 0) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = windowId();
        event.motion.which = which;
        toWindow(x, y, event.motion.x, event.motion.y);
        return event;
    }
    SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y, SDL_TouchID touch = 1) {
        SDL_Event event{};
        event.type = type;
        event.tfinger.touchId = touch;
        event.tfinger.fingerId = id;
        event.tfinger.x = x;
        event.tfinger.y = y;
        event.tfinger.windowID = windowId();
        return event;
    }
    SDL_Event key(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint8 repeat = 0,
                  Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = windowId();
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        return event;
    }
    SDL_Event windowEvent(Uint8 which) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = which;
        return event;
    }

    // Messages other than paints, which the host sends at will.
    std::vector<Message> inputMessages() {
        std::vector<Message> taken;
        Message message;
        while (window_.peekMessage(message)) {
            if (message.code != kWmPaint) taken.push_back(message);
        }
        return taken;
    }

    // The window moving under the pointer brings real mouse moves; key tests
    // look past them.
    std::vector<Message> keyMessages() {
        std::vector<Message> keys;
        for (const Message& message : inputMessages()) {
            if (message.code == kWmKeyDown || message.code == kWmKeyUp) keys.push_back(message);
        }
        return keys;
    }

    void toWindow(float x, float y, Sint32& wx, Sint32& wy) {
        int outX = 0;
        int outY = 0;
        SDL_RenderLogicalToWindow(window_.renderer(), x + 0.5f, y + 0.5f, &outX, &outY);
        wx = outX;
        wy = outY;
    }

    SdlWindow window_;
};

TEST_F(SdlWindowTest, WindowIsAWholeMultipleOfTheLogicalScreen) {
    EXPECT_EQ(window_.clientWidth(), 320);
    EXPECT_EQ(window_.clientHeight(), 240);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_.sdlWindow(), &width, &height);
    SDL_Rect usable;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
    int scale = initialWindowScale(320, 240, usable.w, usable.h);
    EXPECT_EQ(width, 320 * scale);
    EXPECT_EQ(height, 240 * scale);
    EXPECT_FALSE(window_.isFullScreen());
}

TEST_F(SdlWindowTest, LeftButtonArrivesInClientCoordinates) {
    push(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 50));
    push(mouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 101, 52));
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, kWmLButtonDown);
    EXPECT_EQ(messages[0].wParam, 1u);  // MK_LBUTTON
    EXPECT_EQ(messages[0].lParam, packPoint(100, 50));
    EXPECT_EQ(messages[1].code, kWmLButtonUp);
    EXPECT_EQ(messages[1].lParam, packPoint(101, 52));
}

TEST_F(SdlWindowTest, PointerOutsideTheScreenIsClampedToItsEdges) {
    push(mouseMotion(-40, -3));
    push(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300));
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, kWmMouseMove);
    EXPECT_EQ(messages[0].lParam, packPoint(0, 0));
    EXPECT_EQ(messages[1].lParam, packPoint(319, 239));
}

TEST_F(SdlWindowTest, MovesCoalesceAndOnlyTheRealLeftButtonCounts) {
    push(mouseMotion(10, 10));
    push(mouseMotion(20, 30));
    push(mouseMotion(25, 35));
    push(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 25, 35));
    push(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 25, 35, SDL_TOUCH_MOUSEID));
    push(mouseMotion(40, 40, SDL_TOUCH_MOUSEID));
    push(mouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 25, 35));
    push(mouseMotion(26, 36));
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, kWmMouseMove);
    EXPECT_EQ(messages[0].lParam, packPoint(25, 35));
    EXPECT_EQ(messages[1].code, kWmLButtonDown);
    EXPECT_EQ(messages[2].code, kWmMouseMove);
    EXPECT_EQ(messages[2].lParam, packPoint(26, 36));
}

TEST_F(SdlWindowTest, FirstFingerActsAsTheStylus) {
    push(finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    push(finger(SDL_FINGERDOWN, 8, 0.9f, 0.9f));  // a second finger is ignored
    push(finger(SDL_FINGERMOTION, 8, 0.8f, 0.8f));
    push(finger(SDL_FINGERMOTION, 7, 0.75f, 0.5f));
    push(finger(SDL_FINGERUP, 8, 0.8f, 0.8f));
    push(finger(SDL_FINGERDOWN, 9, 0.1f, 0.1f, SDL_MOUSE_TOUCHID));  // made from the mouse
    push(finger(SDL_FINGERUP, 7, 1.0f, 1.0f));
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, kWmLButtonDown);
    EXPECT_EQ(messages[0].lParam, packPoint(160, 60));
    EXPECT_EQ(messages[1].code, kWmMouseMove);
    EXPECT_EQ(messages[1].lParam, packPoint(240, 120));
    EXPECT_EQ(messages[2].code, kWmLButtonUp);
    EXPECT_EQ(messages[2].lParam, packPoint(319, 239));

    // With the stylus lifted, the next finger takes over.
    push(finger(SDL_FINGERDOWN, 8, 0.0f, 0.0f));
    messages = inputMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, kWmLButtonDown);
}

TEST_F(SdlWindowTest, KeysArriveAsVirtualKeysWithRepeats) {
    push(key(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z));
    push(key(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z, 1));
    push(key(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY));
    push(key(SDL_KEYUP, SDLK_z, SDL_SCANCODE_Z));
    push(key(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER));
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].code, kWmKeyDown);
    EXPECT_EQ(messages[0].wParam, 0x5Au);
    EXPECT_EQ(messages[0].lParam & (intptr_t{1} << 30), 0);
    EXPECT_EQ(messages[1].code, kWmKeyDown);
    EXPECT_NE(messages[1].lParam & (intptr_t{1} << 30), 0);  // was already down
    EXPECT_EQ(messages[2].code, kWmKeyUp);
    EXPECT_EQ(messages[2].wParam, 0x5Au);
    EXPECT_EQ(messages[3].wParam, 0x0Du);
}

TEST_F(SdlWindowTest, FullScreenKeysSwitchAndAreNotPassedOn) {
    push(key(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11));
    push(key(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11, 1));  // a repeat does not switch back
    push(key(SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11));
    EXPECT_TRUE(keyMessages().empty());
    EXPECT_TRUE(window_.isFullScreen());

    push(key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, 0, KMOD_LALT));
    push(key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN));  // Alt already released
    EXPECT_TRUE(keyMessages().empty());
    EXPECT_FALSE(window_.isFullScreen());

    // Enter alone is an ordinary key again.
    push(key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN));
    std::vector<Message> messages = keyMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, kWmKeyDown);
    EXPECT_EQ(messages[0].wParam, 0x0Du);
}

TEST_F(SdlWindowTest, QuitAndWindowCloseTogetherGiveOneClose) {
    push(windowEvent(SDL_WINDOWEVENT_CLOSE));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);
    std::vector<Message> messages = inputMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, kWmClose);

    push(quit);
    messages = inputMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, kWmClose);
}

TEST_F(SdlWindowTest, ExposuresGiveOnePaintAfterWaitingMessages) {
    push(windowEvent(SDL_WINDOWEVENT_EXPOSED));
    window_.postMessage(Message{kWmCommand, 40007, 0});
    push(windowEvent(SDL_WINDOWEVENT_EXPOSED));
    window_.postMessage(Message{kWmTimer, 1, 2});

    Message message;
    ASSERT_TRUE(window_.peekMessage(message));
    EXPECT_EQ(message.code, kWmCommand);
    EXPECT_EQ(message.wParam, 40007u);
    ASSERT_TRUE(window_.peekMessage(message));
    EXPECT_EQ(message.code, kWmTimer);
    ASSERT_TRUE(window_.peekMessage(message));
    EXPECT_EQ(message.code, kWmPaint);
    EXPECT_FALSE(window_.peekMessage(message));
}

TEST_F(SdlWindowTest, PostedMessagesOutliveTheWindow) {
    window_.destroy();
    EXPECT_FALSE(window_.exists());
    window_.postMessage(Message{kWmQuit, 0, 0});
    Message message;
    ASSERT_TRUE(window_.peekMessage(message));
    EXPECT_EQ(message.code, kWmQuit);
    EXPECT_FALSE(window_.peekMessage(message));
}

}  // namespace
}  // namespace zeku
