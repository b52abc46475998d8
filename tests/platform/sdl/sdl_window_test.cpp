// Tests for SdlWindow: the first window size, and SDL events arriving as the
// Windows messages the shell expects. Needs an X display (xvfb-run).
#include "platform/sdl/sdl_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "tests/platform/sdl/sdl_test_window.h"

// libdbus keeps a read buffer of the session connection SDL opens for the
// screen saver; it is freed by no one.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}

namespace zeku {
namespace {

// SDL's X11 and GL libraries keep one-time allocations that the leak checker
// reports once SDL unloads them; holding video open for the run keeps them.
class KeepSdlVideo : public ::testing::Environment {
  public:
    void SetUp() override {
        if (sdltest::haveDisplay()) SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
};
[[maybe_unused]] ::testing::Environment* const keepSdlVideo =
    ::testing::AddGlobalTestEnvironment(new KeepSdlVideo);

TEST(SdlWindowScale, LargestWholeMultipleInsideFourFifthsOfTheDesktop) {
    EXPECT_EQ(initialWindowScale(320, 240, 1920, 1040), 3);  // 1536 x 832 available
    EXPECT_EQ(initialWindowScale(320, 240, 3840, 2160), 7);  // height limits
    EXPECT_EQ(initialWindowScale(640, 480, 1280, 720), 1);
    EXPECT_EQ(initialWindowScale(640, 480, 800, 600), 1);  // never below one
}

TEST(SdlWindowScale, UserChoices) {
    struct Case {
        int choice, logicalWidth, logicalHeight, usableWidth, usableHeight, scale;
    };
    const Case cases[] = {
        {kWindowScaleDefault, 320, 240, 1920, 1040, 3},
        {kWindowScaleFit, 320, 240, 1920, 1040, 4},  // 1280 x 960 fits
        {kWindowScaleFit, 320, 240, 1280, 960, 4},   // an exact fit counts
        {kWindowScaleFit, 640, 480, 600, 400, 1},    // never below one
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chosenWindowScale(c.choice, c.logicalWidth, c.logicalHeight, c.usableWidth,
                                    c.usableHeight),
                  c.scale)
            << c.choice << " on " << c.usableWidth << "x" << c.usableHeight;
    }
}

TEST(SdlVideoDriver, DriversThatShowNothingOnlyWhenAskedFor) {
    struct Case {
        const char* driver;
        const char* requested;
        bool allowed;
    };
    const Case cases[] = {
        {"x11", nullptr, true},
        {"offscreen", nullptr, false},  // the silent fallback without a display
        {"dummy", "", false},
        {"offscreen", "offscreen", true},
        {"dummy", "x11,Dummy", true},  // a list, letter case ignored as SDL does
        {"offscreen", "offscreen-ish", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(videoDriverAllowed(c.driver, c.requested), c.allowed)
            << (c.driver ? c.driver : "(none)") << " / " << (c.requested ? c.requested : "(unset)");
    }
}

class SdlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!sdltest::haveDisplay()) GTEST_SKIP() << "no X display; run under xvfb-run";
        ASSERT_TRUE(sdltest::createTestWindow(window_, 320, 240)) << SDL_GetError();
        sdltest::drainMessages(window_);
    }

    SDL_Event event(Uint32 type) {
        SDL_Event event{};
        event.type = type;
        // Window, key and mouse events keep the window id in the same place.
        event.window.windowID = SDL_GetWindowID(window_.sdlWindow());
        return event;
    }
    // A mouse event at the window position of logical pixel (x, y).
    void pushMouse(Uint32 type, float x, float y, Uint8 button = SDL_BUTTON_LEFT,
                   Uint32 which = 0) {
        SDL_Event e = event(type);
        int wx = 0;
        int wy = 0;
        SDL_RenderLogicalToWindow(window_.renderer(), x + 0.5f, y + 0.5f, &wx, &wy);
        if (type == SDL_MOUSEMOTION) {
            e.motion.which = which;
            e.motion.x = wx;
            e.motion.y = wy;
        } else {
            e.button.which = which;
            e.button.button = button;
            e.button.x = wx;
            e.button.y = wy;
        }
        SDL_PushEvent(&e);
    }
    void pushFinger(Uint32 type, SDL_FingerID id, float x, float y, SDL_TouchID touch = 1) {
        SDL_Event e = event(type);
        e.tfinger.touchId = touch;
        e.tfinger.fingerId = id;
        e.tfinger.x = x;
        e.tfinger.y = y;
        e.tfinger.windowID = SDL_GetWindowID(window_.sdlWindow());
        SDL_PushEvent(&e);
    }
    void pushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint8 repeat = 0,
                 Uint16 mod = KMOD_NONE) {
        SDL_Event e = event(type);
        e.key.repeat = repeat;
        e.key.keysym = SDL_Keysym{scancode, sym, mod, 0};
        SDL_PushEvent(&e);
    }
    void pushWindowEvent(Uint8 which) {
        SDL_Event e = event(SDL_WINDOWEVENT);
        e.window.event = which;
        SDL_PushEvent(&e);
    }

    // Waiting messages of the given codes; the host sends paints and, when
    // the window moves under the pointer, mouse moves at will.
    std::vector<Message> take(std::initializer_list<uint32_t> codes) {
        std::vector<Message> taken;
        Message message;
        while (window_.peekMessage(message)) {
            for (uint32_t code : codes) {
                if (message.code == code) taken.push_back(message);
            }
        }
        return taken;
    }
    std::vector<Message> takePointer() {
        return take({kWmLButtonDown, kWmLButtonUp, kWmMouseMove});
    }
    std::vector<Message> takeKeys() { return take({kWmKeyDown, kWmKeyUp}); }

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
}

TEST_F(SdlWindowTest, LeftButtonArrivesInClampedClientCoordinates) {
    pushMouse(SDL_MOUSEBUTTONDOWN, 100, 50);
    pushMouse(SDL_MOUSEBUTTONUP, 400, -3);  // released outside the picture
    std::vector<Message> messages = takePointer();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, kWmLButtonDown);
    EXPECT_EQ(messages[0].wParam, 1u);  // MK_LBUTTON
    EXPECT_EQ(messages[0].lParam, packPoint(100, 50));
    EXPECT_EQ(messages[1].code, kWmLButtonUp);
    EXPECT_EQ(messages[1].lParam, packPoint(319, 0));
}

TEST_F(SdlWindowTest, MovesCoalesceAndOnlyTheRealLeftButtonCounts) {
    pushMouse(SDL_MOUSEMOTION, 10, 10);
    pushMouse(SDL_MOUSEMOTION, 25, 35);
    pushMouse(SDL_MOUSEBUTTONDOWN, 25, 35, SDL_BUTTON_RIGHT);
    pushMouse(SDL_MOUSEBUTTONDOWN, 25, 35, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID);
    pushMouse(SDL_MOUSEMOTION, 40, 40, SDL_BUTTON_LEFT, SDL_TOUCH_MOUSEID);
    pushMouse(SDL_MOUSEBUTTONDOWN, 25, 35);
    std::vector<Message> messages = takePointer();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, kWmMouseMove);
    EXPECT_EQ(messages[0].lParam, packPoint(25, 35));
    EXPECT_EQ(messages[1].code, kWmLButtonDown);
}

TEST_F(SdlWindowTest, FirstFingerActsAsTheStylus) {
    pushFinger(SDL_FINGERDOWN, 7, 0.5f, 0.25f);
    pushFinger(SDL_FINGERDOWN, 8, 0.9f, 0.9f);  // a second finger is ignored
    pushFinger(SDL_FINGERMOTION, 8, 0.8f, 0.8f);
    pushFinger(SDL_FINGERMOTION, 7, 0.75f, 0.5f);
    pushFinger(SDL_FINGERDOWN, 9, 0.1f, 0.1f, SDL_MOUSE_TOUCHID);  // made from the mouse
    pushFinger(SDL_FINGERUP, 7, 1.0f, 1.0f);
    pushFinger(SDL_FINGERDOWN, 8, 0.0f, 0.0f);  // the stylus is free again
    std::vector<Message> messages = takePointer();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].code, kWmLButtonDown);
    EXPECT_EQ(messages[0].lParam, packPoint(160, 60));
    EXPECT_EQ(messages[1].code, kWmMouseMove);
    EXPECT_EQ(messages[1].lParam, packPoint(240, 120));
    EXPECT_EQ(messages[2].code, kWmLButtonUp);
    EXPECT_EQ(messages[2].lParam, packPoint(319, 239));
    EXPECT_EQ(messages[3].code, kWmLButtonDown);
}

TEST_F(SdlWindowTest, KeysArriveAsVirtualKeysWithRepeats) {
    pushKey(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z);
    pushKey(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z, 1);
    pushKey(SDL_KEYDOWN, SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY);
    pushKey(SDL_KEYUP, SDLK_z, SDL_SCANCODE_Z);
    std::vector<Message> messages = takeKeys();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, kWmKeyDown);
    EXPECT_EQ(messages[0].wParam, 0x5Au);
    EXPECT_EQ(messages[0].lParam & (intptr_t{1} << 30), 0);
    EXPECT_EQ(messages[1].code, kWmKeyDown);
    EXPECT_NE(messages[1].lParam & (intptr_t{1} << 30), 0);  // was already down
    EXPECT_EQ(messages[2].code, kWmKeyUp);
    EXPECT_EQ(messages[2].wParam, 0x5Au);
}

TEST_F(SdlWindowTest, FullScreenKeysSwitchAndAreNotPassedOn) {
    pushKey(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11);
    pushKey(SDL_KEYDOWN, SDLK_F11, SDL_SCANCODE_F11, 1);  // a repeat does not switch back
    pushKey(SDL_KEYUP, SDLK_F11, SDL_SCANCODE_F11);
    EXPECT_TRUE(takeKeys().empty());
    EXPECT_TRUE(window_.isFullScreen());

    pushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, 0, KMOD_LALT);
    pushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN);  // Alt released first
    EXPECT_TRUE(takeKeys().empty());
    EXPECT_FALSE(window_.isFullScreen());

    pushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN);  // Enter alone is a key again
    std::vector<Message> messages = takeKeys();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, 0x0Du);
}

TEST_F(SdlWindowTest, EscapeLeavesFullScreenAndIsOtherwiseAKey) {
    window_.setFullScreen(true);
    ASSERT_TRUE(window_.isFullScreen());
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 1);
    pushKey(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(takeKeys().empty());
    EXPECT_FALSE(window_.isFullScreen());

    // In a window the game may have Escape bound to one of its keys.
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    pushKey(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    std::vector<Message> messages = takeKeys();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, 0x1Bu);
    EXPECT_FALSE(window_.isFullScreen());
}

TEST_F(SdlWindowTest, PadStartIsItsOwnKeyOnBothBuilds) {
    // What Start plays is the game's pad binding, not the window's.
    for (const bool pocketPcPanel : {true, false}) {
        std::unique_ptr<DisplayBackEnd> display = createSdlDisplay(window_, pocketPcPanel);
        SDL_Event press = event(SDL_CONTROLLERBUTTONDOWN);
        press.cbutton.button = SDL_CONTROLLER_BUTTON_START;
        SDL_PushEvent(&press);
        std::vector<Message> messages = takeKeys();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].wParam, 0xCFu) << pocketPcPanel;
    }
}

TEST_F(SdlWindowTest, CloseRequestsAndPaintsCoalesce) {
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit = event(SDL_QUIT);
    SDL_PushEvent(&quit);
    EXPECT_EQ(take({kWmClose}).size(), 1u);

    // A paint waits behind the other messages and stands for all exposures.
    pushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    window_.postMessage(Message{kWmCommand, 40007, 0});
    pushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    window_.postMessage(Message{kWmTimer, 1, 2});
    std::vector<Message> messages = take({kWmCommand, kWmTimer, kWmPaint});
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, kWmCommand);
    EXPECT_EQ(messages[0].wParam, 40007u);
    EXPECT_EQ(messages[1].code, kWmTimer);
    EXPECT_EQ(messages[2].code, kWmPaint);
}

// Windows opened with the user's choices rather than the test default.
class SdlWindowChoiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!sdltest::haveDisplay()) GTEST_SKIP() << "no X display; run under xvfb-run";
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    }
    static bool onTop(SdlWindow& window) {
        return (SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_ALWAYS_ON_TOP) != 0;
    }
};

TEST_F(SdlWindowChoiceTest, ScaleSetsTheFirstSizeAndOneTimesIsTheSmallest) {
    SdlWindow window(SdlWindowOptions{SdlWindowOptions::Screen::AsBuilt, 2});
    ASSERT_TRUE(window.create(WindowSpec{320, 240, false, false})) << SDL_GetError();
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.sdlWindow(), &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    SDL_SetWindowSize(window.sdlWindow(), 100, 300);
    SDL_GetWindowSize(window.sdlWindow(), &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 300);
}

TEST_F(SdlWindowChoiceTest, FullScreenAsBuiltOrAsChosenAndTopmostOnlyThere) {
    using Screen = SdlWindowOptions::Screen;
    struct Case {
        Screen choice;
        bool builtFullScreen;
        bool builtTopmost;  // the Pocket PC build's window is topmost
        bool fullScreen;
    };
    const Case cases[] = {
        {Screen::AsBuilt, true, true, true},     {Screen::AsBuilt, false, false, false},
        {Screen::Windowed, true, true, false},   {Screen::FullScreen, false, false, true},
        {Screen::FullScreen, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "choice " << static_cast<int>(c.choice) << ", built "
                                        << c.builtFullScreen << c.builtTopmost);
        SdlWindow window(SdlWindowOptions{c.choice, kWindowScaleDefault});
        ASSERT_TRUE(window.create(WindowSpec{640, 480, c.builtFullScreen, c.builtTopmost}))
            << SDL_GetError();
        EXPECT_EQ(window.isFullScreen(), c.fullScreen);
        EXPECT_EQ(onTop(window), c.builtTopmost && c.fullScreen);
        // Switching over (F11, Escape) takes the topmost state along.
        window.setFullScreen(!c.fullScreen);
        EXPECT_EQ(onTop(window), c.builtTopmost && !c.fullScreen);
        window.setFullScreen(c.fullScreen);
        EXPECT_EQ(onTop(window), c.builtTopmost && c.fullScreen);
    }
}

}  // namespace
}  // namespace zeku
