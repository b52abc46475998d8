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

// Byte offset of game pixel (x, y) from the drawing address, as the present
// computes it; the game screen is the view's cyHeight pixels wide.
ptrdiff_t presentOffset(const GXDisplayProperties& p, int x, int y) {
    int width = static_cast<int>(p.cyHeight);
    return ptrdiff_t{p.cbyPitch} * (width - 1 - x) + ptrdiff_t{p.cbxPitch} * y;
}

void putGamePixel(uint8_t* base, const GXDisplayProperties& p, int x, int y, uint16_t colour) {
    std::memcpy(base + presentOffset(p, x, y), &colour, sizeof colour);
}

TEST(SdlPanelView, LandscapePanelShowsThePictureUnturned) {
    PanelView view = panelViewOf(RawFrameBuffer{0x80, 16, 2, 1280, 640, 480});
    EXPECT_TRUE(view.landscape);
    const GXDisplayProperties& p = view.properties;
    EXPECT_EQ((std::vector<int64_t>{p.cxWidth, p.cyHeight, p.cbxPitch, p.cbyPitch, p.cBPP}),
              (std::vector<int64_t>{480, 640, 1280, -2, 16}));
    for (auto [x, y] : {std::pair{0, 0}, {639, 479}, {17, 300}}) {
        EXPECT_EQ(view.drawOffset + presentOffset(p, x, y), 2 * x + 1280 * y);
    }
}

TEST(SdlPanelView, PortraitPanelTurnsThePictureAQuarter) {
    PanelView view = panelViewOf(RawFrameBuffer{0x80, 16, 2, 960, 480, 640});
    EXPECT_FALSE(view.landscape);
    const GXDisplayProperties& p = view.properties;
    EXPECT_EQ((std::vector<int64_t>{p.cxWidth, p.cyHeight, p.cbxPitch, p.cbyPitch}),
              (std::vector<int64_t>{480, 640, 2, 960}));
    auto device = [&](int x, int y) {
        ptrdiff_t at = view.drawOffset + presentOffset(p, x, y);
        return std::pair{at % 960 / 2, at / 960};
    };
    EXPECT_EQ(device(0, 0), (std::pair<ptrdiff_t, ptrdiff_t>{0, 639}));
    EXPECT_EQ(device(639, 479), (std::pair<ptrdiff_t, ptrdiff_t>{479, 0}));
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

    SdlWindow window_;
};

TEST_F(SdlDisplayTest, GdiEmulationShowsThePictureUpright) {
    openWindow(320, 240);
    SdlGdiDisplay display(window_);
    ASSERT_TRUE(display.open(320, 240));
    GXDisplayProperties p = display.properties();
    EXPECT_EQ(
        (std::vector<int64_t>{p.cxWidth, p.cyHeight, p.cbxPitch, p.cbyPitch, p.cBPP, p.ffFormat}),
        (std::vector<int64_t>{240, 320, -640, -2, 16, 0x80}));
    EXPECT_EQ(display.defaultKeys().vkA.vkCode, 90);

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

    // A client area shorter than the smallest screen gets the smallest screen.
    ASSERT_TRUE(display.open(320, 200));
    EXPECT_EQ(display.properties().cxWidth, 240u);
}

TEST_F(SdlDisplayTest, GdiPartialShowLeavesTheRestUntilAFrameWithoutShows) {
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
    SDL_SetRenderDrawColor(window_.renderer(), 0, 0, 255, 255);  // the host scribbles
    SDL_RenderClear(window_.renderer());
    SDL_RenderPresent(window_.renderer());
    ASSERT_EQ(shown(0, 0), kBlue);

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
    EXPECT_EQ(p.cbxPitch, 1280);
    EXPECT_EQ(p.cbyPitch, -2);
    EXPECT_EQ(display.defaultKeys().vkStart.vkCode, 13);

    putGamePixel(display.beginDraw(), p, 0, 0, kRed);
    display.endDraw();
    EXPECT_EQ(shown(0, 0), kRed);

    // A later frame changes other rows; the earlier ones stay.
    putGamePixel(display.beginDraw(), p, 639, 479, kBlue);
    putGamePixel(display.beginDraw(), p, 320, 240, kGreen);
    display.endDraw();
    EXPECT_EQ(shown(0, 0), kRed);
    EXPECT_EQ(shown(639, 479), kBlue);
    EXPECT_EQ(shown(320, 240), kGreen);
}

}  // namespace
}  // namespace zeku
