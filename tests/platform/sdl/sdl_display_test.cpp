// Tests for the SDL display back ends: the portrait view of a raw frame
// buffer, and pictures written through the present formula read back shown.
#include "platform/sdl/sdl_display.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/sdl/sdl_test_window.h"

namespace zeku {
namespace {

constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kGreen = 0x07E0;
constexpr uint16_t kBlue = 0x001F;
constexpr uint16_t kBlack = 0x0000;
constexpr uint16_t kMagenta = 0xF81F;

// Byte offset of game pixel (x, y) from the drawing address, as the present
// computes it for a game screen `width` pixels wide.
ptrdiff_t presentOffset(const GXDisplayProperties& p, int width, int x, int y) {
    return static_cast<ptrdiff_t>(p.cbyPitch) * (width - 1 - x) +
           static_cast<ptrdiff_t>(p.cbxPitch) * y;
}

void putGamePixel(uint8_t* base, const GXDisplayProperties& p, int x, int y, uint16_t colour) {
    int width = static_cast<int>(p.cyHeight);
    std::memcpy(base + presentOffset(p, width, x, y), &colour, sizeof colour);
}

TEST(SdlPanelView, LandscapePanelShowsThePictureUnturned) {
    RawFrameBuffer raw;
    raw.xStride = 2;
    raw.yStride = 1280;
    raw.xPixels = 640;
    raw.yPixels = 480;
    PanelView view = panelViewOf(raw);
    EXPECT_TRUE(view.landscape);
    EXPECT_EQ(view.properties.cxWidth, 480u);
    EXPECT_EQ(view.properties.cyHeight, 640u);
    EXPECT_EQ(view.properties.cbxPitch, 1280);
    EXPECT_EQ(view.properties.cbyPitch, -2);
    EXPECT_EQ(view.properties.cBPP, 16);
    EXPECT_EQ(view.properties.ffFormat, 0x80u);
    EXPECT_EQ(view.drawOffset, 639 * 2);
    // Game pixel (x, y) lands on panel pixel (x, y).
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {17, 300}}) {
        EXPECT_EQ(view.drawOffset + presentOffset(view.properties, 640, x, y), 2 * x + 1280 * y);
    }
}

TEST(SdlPanelView, PortraitPanelTurnsThePictureAQuarter) {
    RawFrameBuffer raw;
    raw.xStride = 2;
    raw.yStride = 960;
    raw.xPixels = 480;
    raw.yPixels = 640;
    PanelView view = panelViewOf(raw);
    EXPECT_FALSE(view.landscape);
    EXPECT_EQ(view.properties.cxWidth, 480u);
    EXPECT_EQ(view.properties.cyHeight, 640u);
    EXPECT_EQ(view.properties.cbxPitch, 2);
    EXPECT_EQ(view.properties.cbyPitch, 960);
    EXPECT_EQ(view.drawOffset, 0);
    auto device = [&](int x, int y) {
        ptrdiff_t at = view.drawOffset + presentOffset(view.properties, 640, x, y);
        return std::pair{static_cast<int>(at % 960 / 2), static_cast<int>(at / 960)};
    };
    EXPECT_EQ(device(0, 0), (std::pair{0, 639}));
    EXPECT_EQ(device(639, 479), (std::pair{479, 0}));
}

class SdlDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!sdltest::haveDisplay()) GTEST_SKIP() << "no X display; run under xvfb-run";
    }
    void openWindow(int width, int height) {
        ASSERT_TRUE(sdltest::createTestWindow(window_, width, height)) << SDL_GetError();
        sdltest::drainMessages(window_);
    }
    uint16_t shown(int x, int y) { return sdltest::presentedPixel(window_, x, y); }
    // Paints the window magenta behind the display's back, as if the host
    // had lost the picture.
    void scribble() {
        SDL_SetRenderDrawColor(window_.renderer(), 255, 0, 255, 255);
        SDL_RenderClear(window_.renderer());
        SDL_RenderPresent(window_.renderer());
    }

    SdlWindow window_;
};

TEST_F(SdlDisplayTest, GdiEmulationDescribesItsBottomUpDib) {
    openWindow(320, 240);
    SdlGdiDisplay display(window_);
    ASSERT_TRUE(display.open(320, 240));
    GXDisplayProperties p = display.properties();
    EXPECT_EQ(p.cxWidth, 240u);
    EXPECT_EQ(p.cyHeight, 320u);
    EXPECT_EQ(p.cbxPitch, -640);
    EXPECT_EQ(p.cbyPitch, -2);
    EXPECT_EQ(p.cBPP, 16);
    EXPECT_EQ(p.ffFormat, 0x80u);
    EXPECT_TRUE(display.traits().landscapeFrameBuffer);
    EXPECT_TRUE(display.traits().vgaDevice);
    GXKeyList keys = display.defaultKeys();
    EXPECT_EQ(keys.vkUp.vkCode, 38);
    EXPECT_EQ(keys.vkA.vkCode, 90);
    EXPECT_EQ(keys.vkB.vkCode, 88);
    EXPECT_EQ(keys.vkC.vkCode, 67);
    EXPECT_EQ(keys.vkStart.vkCode, 0);

    // A client area shorter than the smallest screen gets the smallest screen.
    ASSERT_TRUE(display.open(320, 200));
    EXPECT_EQ(display.properties().cxWidth, 240u);
    EXPECT_EQ(display.properties().cyHeight, 320u);
}

TEST_F(SdlDisplayTest, GdiPresentShowsThePictureUpright) {
    openWindow(320, 240);
    SdlGdiDisplay display(window_);
    ASSERT_TRUE(display.open(320, 240));
    GXDisplayProperties p = display.properties();
    uint8_t* base = display.beginDraw();
    ASSERT_NE(base, nullptr);
    putGamePixel(base, p, 0, 0, kRed);
    putGamePixel(base, p, 319, 239, kBlue);
    putGamePixel(base, p, 5, 200, kGreen);
    ScreenRect all{0, 0, 320, 240};
    display.showRect(&all);
    display.endDraw();
    EXPECT_EQ(shown(0, 0), kRed);
    EXPECT_EQ(shown(1, 0), kBlack);
    EXPECT_EQ(shown(319, 239), kBlue);
    EXPECT_EQ(shown(5, 200), kGreen);
}

TEST_F(SdlDisplayTest, GdiPartialShowLeavesTheRestAsItWas) {
    openWindow(320, 240);
    SdlGdiDisplay display(window_);
    ASSERT_TRUE(display.open(320, 240));
    GXDisplayProperties p = display.properties();
    uint8_t* base = display.beginDraw();
    putGamePixel(base, p, 10, 10, kRed);
    putGamePixel(base, p, 200, 100, kGreen);
    ScreenRect around{8, 8, 12, 12};
    display.showRect(&around);
    display.endDraw();
    EXPECT_EQ(shown(10, 10), kRed);
    EXPECT_EQ(shown(200, 100), kBlack);

    // A frame with no show shows the whole DIB at its end.
    display.beginDraw();
    display.endDraw();
    EXPECT_EQ(shown(200, 100), kGreen);
}

TEST_F(SdlDisplayTest, LostPictureIsShownAgainOnExposure) {
    openWindow(320, 240);
    SdlGdiDisplay display(window_);
    ASSERT_TRUE(display.open(320, 240));
    putGamePixel(display.beginDraw(), display.properties(), 0, 0, kRed);
    display.endDraw();
    scribble();
    ASSERT_EQ(shown(0, 0), kMagenta);

    SDL_Event exposed{};
    exposed.type = SDL_WINDOWEVENT;
    exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
    exposed.window.windowID = SDL_GetWindowID(window_.sdlWindow());
    SDL_PushEvent(&exposed);
    Message message;
    ASSERT_TRUE(window_.peekMessage(message));
    EXPECT_EQ(message.code, kWmPaint);
    EXPECT_EQ(shown(0, 0), kRed);
    EXPECT_EQ(shown(1, 1), kBlack);
}

TEST_F(SdlDisplayTest, PanelShowsWhatWasWrittenWhenDrawingEnds) {
    openWindow(640, 480);
    SdlPanelDisplay display(window_);
    ASSERT_TRUE(display.open(640, 480));
    GXDisplayProperties p = display.properties();
    EXPECT_EQ(p.cxWidth, 480u);
    EXPECT_EQ(p.cyHeight, 640u);
    EXPECT_EQ(p.cbxPitch, 1280);
    EXPECT_EQ(p.cbyPitch, -2);
    EXPECT_TRUE(display.traits().landscapeFrameBuffer);
    EXPECT_EQ(display.defaultKeys().vkStart.vkCode, 13);

    putGamePixel(display.beginDraw(), p, 0, 0, kRed);
    display.endDraw();
    EXPECT_EQ(shown(0, 0), kRed);

    // Later frames change other bands of rows; earlier ones stay.
    putGamePixel(display.beginDraw(), p, 639, 479, kBlue);
    putGamePixel(display.beginDraw(), p, 320, 240, kGreen);
    display.endDraw();
    EXPECT_EQ(shown(0, 0), kRed);
    EXPECT_EQ(shown(639, 479), kBlue);
    EXPECT_EQ(shown(320, 240), kGreen);
}

TEST_F(SdlDisplayTest, PanelPresentsUnchangedFramesOnlyWhenAsked) {
    openWindow(640, 480);
    SdlPanelDisplay display(window_);
    ASSERT_TRUE(display.open(640, 480));
    putGamePixel(display.beginDraw(), display.properties(), 3, 4, kRed);
    display.endDraw();
    scribble();

    display.beginDraw();
    display.endDraw();
    EXPECT_EQ(shown(3, 4), kMagenta);

    display.beginDraw();
    display.showRect(nullptr);
    display.endDraw();
    EXPECT_EQ(shown(3, 4), kRed);
    EXPECT_EQ(shown(0, 0), kBlack);
}

}  // namespace
}  // namespace zeku
