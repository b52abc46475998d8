// The present and the stylus mapping through the memory back ends: the
// window emulation, a portrait panel and a landscape panel.
#include <gtest/gtest.h>

#include "platform/headless/memory_display.h"
#include "player/shell/pointer_map.h"
#include "player/shell/screen_present.h"

namespace zeku {
namespace {

constexpr uint16_t kRed = 0xF800;

void setPixel(ScreenSurface& s, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* p = s.pixel(x, y);
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

// A surface where every pixel is distinct, so misplacement shows.
ScreenSurface gradient(int w, int h) {
    ScreenSurface s;
    s.create(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            setPixel(s, x, y, x * 7, (x + y) * 3, y * 5);
    }
    return s;
}

TEST(Present, PackingDropsTheLowBits) {
    EXPECT_EQ(packRgb565(0xFF, 0xFF, 0xFF), 0xFFFF);
    EXPECT_EQ(packRgb565(0x00, 0x00, 0xFF), kRed);
    EXPECT_EQ(packRgb565(0x07, 0x03, 0x07), 0x0000);
    EXPECT_EQ(packRgb565(0x08, 0x04, 0x08), 0x0821);
}

TEST(Present, EveryRunLengthConvertsEveryPixelExactly) {
    // Runs of every length around the 16-pixel vector step, at odd offsets.
    ScreenSurface s;
    s.create(64, 4);
    uint32_t seed = 7;
    for (int i = 0; i < 64 * 4 * 3; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s.pixels()[i] = static_cast<uint8_t>(seed >> 24);
    }
    MemoryPanelDisplay panel(64, 4);
    panel.open(64, 4);
    for (int left = 0; left < 3; ++left) {
        for (int right = left + 1; right <= 64; ++right) {
            const ScreenRect r{left, 1, right, 2};
            presentScreen(s, panel.beginDraw(), panel.properties(), &r, left, 1, nullptr);
            for (int x = left; x < right; ++x) {
                const uint8_t* px = s.pixel(x, 1);
                ASSERT_EQ(panel.devicePixel(x, 1), packRgb565(px[0], px[1], px[2]))
                    << left << ".." << right;
            }
        }
    }
}

TEST(Present, WindowEmulationShowsThePictureUnturned) {
    MemoryGdiDisplay display;
    ASSERT_TRUE(display.open(320, 240));
    const GXDisplayProperties p = display.properties();
    EXPECT_EQ(p.cxWidth, 240u);
    EXPECT_EQ(p.cyHeight, 320u);
    EXPECT_EQ(p.cbxPitch, -640);
    EXPECT_EQ(p.cbyPitch, -2);
    EXPECT_EQ(p.cBPP, 16);
    EXPECT_EQ(p.ffFormat, 0x80u);

    ScreenSurface s = gradient(320, 240);
    setPixel(s, 0, 0, 255, 0, 0);
    presentScreen(s, display.beginDraw(), p, nullptr, 0, 0, nullptr);
    display.endDraw();
    EXPECT_EQ(display.windowPixel(0, 0), kRed);
    for (int y = 1; y < 240; y += 37) {
        for (int x = 0; x < 320; x += 29) {
            const uint8_t* px = s.pixel(x, y);
            ASSERT_EQ(display.windowPixel(x, y), packRgb565(px[0], px[1], px[2])) << x << "," << y;
        }
    }
}

TEST(Present, APartialPresentShowsOnlyItsRectangles) {
    MemoryGdiDisplay display;
    display.open(320, 240);
    ScreenSurface s;
    s.create(320, 240);
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x)
            setPixel(s, x, y, 255, 255, 255);
    }
    const GXDisplayProperties p = display.properties();
    uint8_t* base = display.beginDraw();
    // The whole surface goes into the DIB, but only one rectangle is shown.
    presentScreen(s, base, p, nullptr, 0, 0, nullptr);
    const ScreenRect r{10, 20, 30, 25};
    presentScreen(s, base, p, &r, r.left, r.top, &display);
    display.endDraw();
    ASSERT_EQ(display.shownRects().size(), 1u);
    EXPECT_EQ(display.windowPixel(10, 20), 0xFFFF);
    EXPECT_EQ(display.windowPixel(29, 24), 0xFFFF);
    EXPECT_EQ(display.windowPixel(30, 24), 0x0000);
    EXPECT_EQ(display.windowPixel(9, 20), 0x0000);
    EXPECT_EQ(display.windowPixel(10, 25), 0x0000);
}

TEST(Present, PortraitPanelTurnsThePicture) {
    MemoryPanelDisplay panel(480, 640);
    ASSERT_TRUE(panel.open(640, 480));
    const GXDisplayProperties p = panel.properties();
    EXPECT_EQ(p.cxWidth, 480u);
    EXPECT_EQ(p.cyHeight, 640u);
    ScreenSurface s = gradient(640, 480);
    setPixel(s, 0, 0, 255, 0, 0);
    setPixel(s, 639, 479, 0, 0, 255);
    presentScreen(s, panel.beginDraw(), p, nullptr, 0, 0, nullptr);
    EXPECT_EQ(panel.devicePixel(0, 639), kRed);    // game (0, 0)
    EXPECT_EQ(panel.devicePixel(479, 0), 0x001F);  // game (639, 479)
    const uint8_t* px = s.pixel(100, 50);
    EXPECT_EQ(panel.devicePixel(50, 639 - 100), packRgb565(px[0], px[1], px[2]));

    const PointerMap map = makePointerMap(640, panel.traits());
    const GamePoint tap = mapPointer(map, 0, 0);
    EXPECT_EQ(tap.x, 639);
    EXPECT_EQ(tap.y, 0);
    const GamePoint corner = mapPointer(map, 479, 639);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 479);

    std::vector<uint16_t> shown;
    ASSERT_TRUE(panel.captureShown(640, 480, shown));
    EXPECT_EQ(shown[0], kRed);
    EXPECT_EQ(shown[639 + 479 * 640], 0x001F);
}

TEST(Present, LandscapePanelNeedsNoTurning) {
    MemoryPanelDisplay panel(640, 480);
    ASSERT_TRUE(panel.open(640, 480));
    ScreenSurface s = gradient(640, 480);
    presentScreen(s, panel.beginDraw(), panel.properties(), nullptr, 0, 0, nullptr);
    for (int y = 0; y < 480; y += 31) {
        for (int x = 0; x < 640; x += 41) {
            const uint8_t* px = s.pixel(x, y);
            ASSERT_EQ(panel.devicePixel(x, y), packRgb565(px[0], px[1], px[2]));
        }
    }
    const GamePoint tap = mapPointer(makePointerMap(640, panel.traits()), 12, 34);
    EXPECT_EQ(tap.x, 12);
    EXPECT_EQ(tap.y, 34);
}

TEST(Present, SmallPortraitPanelAndDoubledStylus) {
    // A 320 x 240 game on a 240 x 320 portrait panel.
    MemoryPanelDisplay panel(240, 320);
    ASSERT_TRUE(panel.open(320, 240));
    ScreenSurface s = gradient(320, 240);
    presentScreen(s, panel.beginDraw(), panel.properties(), nullptr, 0, 0, nullptr);
    const uint8_t* px = s.pixel(5, 7);
    EXPECT_EQ(panel.devicePixel(7, 319 - 5), packRgb565(px[0], px[1], px[2]));
    const GamePoint tap = mapPointer(makePointerMap(320, panel.traits()), 0, 0);
    EXPECT_EQ(tap.x, 319);
    EXPECT_EQ(tap.y, 0);

    // A VGA game on a device reporting quarter-VGA coordinates doubles them.
    PointerMap qvga{true, false, true};
    const GamePoint doubled = mapPointer(qvga, 100, 50);
    EXPECT_EQ(doubled.x, 200);
    EXPECT_EQ(doubled.y, 100);
}

TEST(Present, ShakenSourceOutsideTheSurfaceIsBlackAndRectsAreClipped) {
    MemoryPanelDisplay panel(640, 480);
    panel.open(640, 480);
    ScreenSurface s;
    s.create(640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            setPixel(s, x, y, 255, 255, 255);
    }
    const ScreenRect whole{0, 0, 640, 480};
    presentScreen(s, panel.beginDraw(), panel.properties(), &whole, 6, -4, nullptr);
    EXPECT_EQ(panel.devicePixel(0, 0), 0x0000);      // source row -4
    EXPECT_EQ(panel.devicePixel(0, 4), 0xFFFF);      // source (6, 0)
    EXPECT_EQ(panel.devicePixel(633, 4), 0xFFFF);    // source (639, 0)
    EXPECT_EQ(panel.devicePixel(634, 4), 0x0000);    // source (640, 0): outside
    EXPECT_EQ(panel.devicePixel(639, 479), 0x0000);  // source (645, 475): outside
}

}  // namespace
}  // namespace zeku
