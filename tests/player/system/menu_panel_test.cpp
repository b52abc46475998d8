// The menu panel drawn onto memory displays: the frame, the grooves, the
// marks in both states, a disabled entry, the highlight band moving, a
// slot's thumbnail with its border, and the picture put back on close, on
// the window emulation and on turned and unturned device panels.
#include "player/system/menu_panel.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_device_status.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/virtual_clock.h"
#include "player/system/frame_buffer_access.h"

namespace zeku {
namespace {

// The panel's colours as the display holds them.
constexpr uint16_t kFace = 0xD699, kWhite = 0xFFFF, kDark = 0x4208, kBlack = 0x0000;
constexpr uint16_t kGrey = 0x8410, kNavy = 0x0010, kEdge = 0x630C;

// Inks only the top-left pixel of every character: a text shows as one dot
// per character at its pen position, in its colour.
class DotRenderer final : public GlyphRenderer {
  public:
    bool render(std::string_view, int, uint16_t, int, uint8_t* coverage) override {
        coverage[0] = 255;
        return true;
    }
};

// Every pixel distinct and exact in RGB565.
uint16_t pictureAt(int x, int y) {
    return static_cast<uint16_t>(((x * 7 + y) & 0x1F) << 11 | ((x + y * 3) & 0x3F) << 5 |
                                 ((x ^ y) & 0x1F));
}
uint16_t thumbnailAt(int x, int y) {
    return static_cast<uint16_t>(0x8000 | (y << 6) | x);
}

MenuThumbnail thumbnail(int w, int h) {
    MenuThumbnail t{w, h, {}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            t.pixels.push_back(thumbnailAt(x, y));
    }
    return t;
}

// Top: popup "ﾛｰﾄﾞ", checked "AB", separator, disabled checked "CD",
// disabled popup "EF", "終了". Slots: 40x30 thumbnail, none, 20x10.
MenuTree sampleMenu() {
    MenuTree tree;
    int slots = -1, unused = -1;
    tree.addPopup(0, 1, "\xDB\xB0\xC4\xDE", &slots);
    tree.addCommand(0, 2, "AB");
    tree.addSeparator(0);
    tree.addCommand(0, 3, "CD");
    tree.addPopup(0, 4, "EF", &unused);
    tree.addCommand(0, 5, "\x8F\x49\x97\xB9");
    tree.setChecked(2, true);
    tree.setChecked(3, true);
    tree.setEnabled(3, false);
    tree.setEnabled(4, false);
    tree.addCommand(slots, 10, "LOAD_001");
    tree.addCommand(slots, 11, "LOAD_002");
    tree.addCommand(slots, 12, "LOAD_003");
    tree.setThumbnail(10, thumbnail(40, 30));
    tree.setThumbnail(12, thumbnail(20, 10));
    return tree;
}

struct Expect {
    int x, y;
    uint16_t colour;
};

// A display showing the picture, and a panel over it.
struct Scene {
    explicit Scene(DisplayBackEnd& d, int w = 320, int h = 240) : display(d), width(w), height(h) {
        display.open(w, h);
        ScreenSurface s;
        s.create(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint16_t c = pictureAt(x, y);
                uint8_t* p = s.pixel(x, y);
                p[0] = static_cast<uint8_t>((c & 0x1F) << 3);
                p[1] = static_cast<uint8_t>((c >> 3) & 0xFC);
                p[2] = static_cast<uint8_t>((c >> 8) & 0xF8);
            }
        }
        writeFrameBuffer(s, display.beginDraw(), display.properties(), {0, 0, w, h});
        display.endDraw();
        host = {&display, display.properties(), w, h, &device, "", "", 22050, &dots};
    }
    std::vector<uint16_t> shownAll() const {
        std::vector<uint16_t> all;
        EXPECT_TRUE(display.captureShown(width, height, all));
        return all;
    }
    uint16_t shown(int x, int y) const { return shownAll()[static_cast<size_t>(y) * width + x]; }
    // Pixels of `rect` that differ from the picture.
    int changedIn(ScreenRect rect) const {
        const std::vector<uint16_t> all = shownAll();
        int changed = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x)
                changed += all[static_cast<size_t>(y) * width + x] != pictureAt(x, y);
        }
        return changed;
    }
    // Pixels and the RGB565 colour expected there.
    void check(std::initializer_list<Expect> expects) const {
        const std::vector<uint16_t> all = shownAll();
        for (const Expect& e : expects)
            EXPECT_EQ(all[static_cast<size_t>(e.y) * width + e.x], e.colour) << e.x << "," << e.y;
    }
    void open() { panel.open(host, tree, cursor); }
    void move(bool up = false) {
        const int previous = cursor.highlighted;
        ASSERT_TRUE(moveHighlight(tree, cursor, up));
        panel.highlightChanged(tree, cursor, previous);
    }
    void enter(int entry) {
        cursor.highlighted = entry;
        ASSERT_TRUE(enterLevel(tree, cursor));
        panel.levelChanged(tree, cursor);
    }

    DisplayBackEnd& display;
    int width, height;
    VirtualClock clock;
    HeadlessDeviceStatus device{clock};
    DotRenderer dots;
    MenuPanelHost host;
    MenuTree tree = sampleMenu();
    MenuCursor cursor;
    MenuPanel panel;
};

// The pixel tables below keep several points to a line.
// clang-format off

TEST(MenuPanel, OpenDrawsTheFrameGroovesEntriesAndMarks) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.open();
    // "[2006-01-04 17:30][87%]" is the widest text: 23 bytes of 6 pixels, plus 12.
    const int w = 150, h = 13 * 6 + 40;
    ASSERT_EQ(s.panel.width(), w);
    ASSERT_EQ(s.panel.height(), h);
    // Frame: face at row and column 0, light at 1, dark at size - 2, black at size - 1.
    s.check({{0, 0, kFace}, {5, 5, kFace}, {1, 1, kWhite}, {w - 3, 1, kWhite}, {1, h - 3, kWhite},
             {w - 2, 1, kDark}, {1, h - 2, kDark}, {w - 2, h - 2, kDark}, {w - 1, 0, kBlack},
             {0, h - 1, kBlack}, {w - 1, h - 1, kBlack}});
    // Status texts (a dot per character, 6 apart) and the groove under them.
    s.check({{6, 4, kBlack}, {12, 4, kBlack}, {6, 16, kBlack}, {5, 29, kFace}, {6, 29, kGrey},
             {6, 30, kWhite}, {w - 7, 29, kGrey}, {w - 6, 29, kFace}});
    // Entry 0, enabled popup: text and arrow (columns 1..4 of its rows 3..9) black.
    s.check({{12, 34, kBlack}, {w - 9, 37, kBlack}, {w - 6, 40, kBlack}, {w - 10, 40, kFace},
             {w - 5, 40, kFace}});
    // Entry 1, checked: check mark black.
    s.check({{12, 47, kBlack}, {8, 51, kBlack}, {5, 52, kBlack}, {6, 52, kFace}});
    // Entry 2, separator: a groove on row 66 over columns 12..w - 13, no text.
    s.check({{11, 66, kFace}, {12, 66, kGrey}, {12, 67, kWhite}, {w - 13, 66, kGrey},
             {w - 12, 66, kFace}, {12, 60, kFace}});
    // Entries 3 and 4, disabled: text, check and arrow grey over a white copy.
    s.check({{12, 73, kGrey}, {13, 74, kWhite}, {8, 77, kGrey}, {9, 78, kWhite},
             {w - 9, 89, kGrey}, {w - 9, 95, kGrey}, {w - 8, 96, kWhite}});
    // Entry 5, double-byte text: the pen advances 12.
    s.check({{12, 99, kBlack}, {18, 99, kFace}, {24, 99, kBlack}});
    EXPECT_EQ(s.changedIn({w, 0, 320, 240}), 0);
    EXPECT_EQ(s.changedIn({0, h, w, 240}), 0);
}

TEST(MenuPanel, HighlightBandMovesAndTheOldOneComesBack) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.open();
    const int w = s.panel.width();
    display.forgetShownRects();
    s.move();
    // Only the panel's rectangle is shown again. Band: columns 11..w - 12, 13 rows.
    EXPECT_EQ(display.shownRects(), std::vector<ScreenRect>{(ScreenRect{0, 0, w, 118})});
    s.check({{11, 34, kNavy}, {w - 12, 46, kNavy}, {10, 34, kFace}, {w - 11, 34, kFace},
             {11, 33, kFace}, {11, 47, kFace}, {12, 34, kWhite}, {w - 9, 37, kBlack}});
    s.move();
    s.check({{11, 34, kFace}, {w - 12, 46, kFace}, {12, 34, kBlack}, {11, 47, kNavy},
             {12, 47, kWhite}, {8, 51, kBlack}});
    s.move();  // past the separator and both disabled entries
    EXPECT_EQ(s.cursor.highlighted, 5);
    s.check({{11, 47, kFace}, {11, 99, kNavy}, {11, 73, kFace}});
}

TEST(MenuPanel, ThumbnailShowsAtTheTopRightAndGoesWithTheHighlight) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.open();
    display.forgetShownRects();
    s.enter(0);
    // A level change shows the whole screen.
    EXPECT_EQ(display.shownRects(), std::vector<ScreenRect>{(ScreenRect{0, 0, 320, 240})});
    EXPECT_EQ(s.panel.height(), 13 * 3 + 40);
    s.move();
    // 40 x 30 at the top right; a white column left of it over rows 0..30;
    // the 0x630C row under the picture, then a black row under both.
    const std::vector<uint16_t> all = s.shownAll();
    for (int y = 0; y < 34; ++y) {
        for (int x = 270; x < 320; ++x) {
            uint16_t expected = pictureAt(x, y);
            if (x >= 280 && y < 30) expected = thumbnailAt(x - 280, y);
            if (x == 279 && y <= 30) expected = kWhite;
            if (x >= 280 && y == 30) expected = kEdge;
            if (x >= 279 && y == 31) expected = kBlack;
            ASSERT_EQ(all[static_cast<size_t>(y) * 320 + x], expected) << x << "," << y;
        }
    }
    s.move();  // a slot without one: the picture comes back
    EXPECT_EQ(s.changedIn({s.panel.width(), 0, 320, 240}), 0);
    s.move();  // the small one
    s.check({{300, 0, thumbnailAt(0, 0)}, {299, 10, kWhite}, {300, 10, kEdge}, {299, 11, kBlack},
             {298, 0, pictureAt(298, 0)}});
    s.move();  // wraps to the large one, over the small one's border
    s.check({{280, 0, thumbnailAt(0, 0)}, {300, 12, thumbnailAt(20, 12)}});

    s.cursor.highlighted = 0;
    s.panel.highlightChanged(s.tree, s.cursor, 2);
    ASSERT_TRUE(leaveLevel(s.cursor));
    s.panel.levelChanged(s.tree, s.cursor);
    EXPECT_EQ(s.changedIn({150, 0, 320, 240}), 0);
    s.check({{11, 34, kNavy}});  // the opened popup is highlighted again

    s.enter(0);
    s.move();
    s.panel.close();  // with a thumbnail up
    EXPECT_FALSE(s.panel.isOpen());
    EXPECT_EQ(s.changedIn({0, 0, 320, 240}), 0);
}

TEST(MenuPanel, OversizedPanelAndThumbnailAreCutAtTheScreenEdge) {
    MemoryPanelDisplay display(320, 240);
    Scene s(display);
    s.tree = MenuTree();
    for (int i = 0; i < kMenuLevelCapacity; ++i)
        s.tree.addCommand(0, static_cast<uint32_t>(100 + i), std::string(60, 'W'));
    s.tree.setThumbnail(100, thumbnail(400, 250));
    s.open();
    EXPECT_EQ(s.panel.width(), 60 * 6 + 24);
    EXPECT_EQ(s.panel.height(), 13 * 20 + 40);
    s.check({{319, 239, kFace}});
    s.move();
    s.check({{0, 0, thumbnailAt(80, 0)}, {319, 239, thumbnailAt(399, 239)}});
    s.move();
    s.check({{0, 0, kFace}, {11, 47, kNavy}});
    s.panel.close();
    EXPECT_EQ(s.changedIn({0, 0, 320, 240}), 0);
}

TEST(MenuPanel, HitTestsInGameCoordinates) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.open();
    const int w = s.panel.width(), h = s.panel.height();
    struct Case {
        int x, y;
        bool inside;
        int entry;
    } cases[] = {{0, 0, true, -1},  {w - 1, h - 1, true, -1}, {w, 0, false, -1}, {0, h, false, -1},
                 {-1, 40, false, -1}, {20, 33, true, -1},     {20, 34, true, 0}, {20, 46, true, 0},
                 {20, 47, true, 1},  {20, 60, true, 2},       {20, 111, true, 5}, {20, 112, true, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(s.panel.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(s.panel.entryAt(c.x, c.y), c.entry) << c.x << "," << c.y;
    }
    s.panel.close();
    EXPECT_FALSE(s.panel.contains(0, 0));
}

// clang-format on

TEST(MenuPanel, LevelWithoutSelectableEntryShowsNoHighlight) {
    MemoryGdiDisplay display;
    Scene s(display);
    int child = -1;
    s.tree = MenuTree();
    s.tree.addPopup(0, 1, "A", &child);
    s.tree.addSeparator(child);
    s.tree.addCommand(child, 2, "B");
    s.tree.setEnabled(2, false);
    s.open();
    s.enter(0);
    EXPECT_FALSE(moveHighlight(s.tree, s.cursor, false));
    EXPECT_FALSE(moveHighlight(s.tree, s.cursor, true));
    s.panel.highlightChanged(s.tree, s.cursor, -1);
    const std::vector<uint16_t> all = s.shownAll();
    for (int y = 0; y < s.panel.height(); ++y) {
        for (int x = 0; x < s.panel.width(); ++x)
            ASSERT_NE(all[static_cast<size_t>(y) * 320 + x], kNavy) << x << "," << y;
    }
}

// The same session on the window emulation, a portrait (turned) panel and a
// landscape panel shows the same game-oriented picture at every step.
TEST(MenuPanel, TurnedAndUnturnedFrameBuffersShowTheSamePanel) {
    MemoryGdiDisplay window;
    MemoryPanelDisplay portrait(240, 320), landscape(320, 240);
    Scene a(window), b(portrait), c(landscape);
    auto step = [&](auto action) {
        for (Scene* s : {&a, &b, &c})
            action(*s);
        EXPECT_EQ(b.shownAll(), a.shownAll());
        EXPECT_EQ(c.shownAll(), a.shownAll());
    };
    step([](Scene& s) { s.open(); });
    step([](Scene& s) { s.enter(0); });
    step([](Scene& s) { s.move(); });
    step([](Scene& s) { s.panel.close(); });
    EXPECT_EQ(a.changedIn({0, 0, 320, 240}), 0);

    // On the portrait panel the game's top lies along the device's left edge.
    resetCursor(b.cursor);
    b.open();
    EXPECT_EQ(portrait.devicePixel(1, 318), kWhite);  // game (1, 1)
    EXPECT_EQ(portrait.devicePixel(0, 319), kFace);   // game (0, 0)
    EXPECT_EQ(portrait.devicePixel(0, 0), pictureAt(319, 0));
}

TEST(MenuPanel, WideScreenStatusTextsWidenThePanel) {
    MemoryGdiDisplay display;
    Scene s(display, 640, 480);
    s.host.overlayDescription = "mpg123 1.31.2 (generic)";
    s.open();
    // "[ﾄｯﾌﾟ] [Corvalite.ovl mpg123 1.31.2 ][22.05kHz]": 47 bytes.
    EXPECT_EQ(s.panel.width(), 47 * 6 + 12);
    s.enter(0);
    // "[2006-01-04 17:30][87%][40MB(38%)][256MB]": 41 bytes.
    EXPECT_EQ(s.panel.width(), 41 * 6 + 12);
}

}  // namespace
}  // namespace zeku
