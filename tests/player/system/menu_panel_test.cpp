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
#include "player/graphics/screen_surface.h"
#include "player/system/frame_buffer_access.h"
#include "player/system/menu_cursor.h"

namespace zeku {
namespace {

constexpr uint16_t kFace = 0xD699;  // 0xD4D0C8 as the display holds it
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kDark = 0x4208;  // 0x404040
constexpr uint16_t kBlack = 0x0000;
constexpr uint16_t kGrey = 0x8410;  // 0x808080
constexpr uint16_t kNavy = 0x0010;  // 0x000080
constexpr uint16_t kEdge = 0x630C;

// Inks only the top-left pixel of every character, so a text shows as one
// dot per character at its pen position, in the colour it was written in.
class DotRenderer final : public GlyphRenderer {
  public:
    bool render(std::string_view, int, uint16_t, int cellPx, uint8_t* coverage) override {
        coverage[0] = 255;
        (void)cellPx;
        return true;
    }
};

// The game picture: every pixel distinct and exact in RGB565.
uint16_t pictureAt(int x, int y) {
    return static_cast<uint16_t>(((x * 7 + y) & 0x1F) << 11 | ((x + y * 3) & 0x3F) << 5 |
                                 ((x ^ y) & 0x1F));
}

uint16_t thumbnailAt(int x, int y) {
    return static_cast<uint16_t>(0x8000 | (y << 6) | x);
}

void paintPicture(DisplayBackEnd& display, int width, int height) {
    ScreenSurface s;
    ASSERT_TRUE(s.create(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint16_t c = pictureAt(x, y);
            uint8_t* p = s.pixel(x, y);
            p[0] = static_cast<uint8_t>((c & 0x1F) << 3);
            p[1] = static_cast<uint8_t>((c >> 3) & 0xFC);
            p[2] = static_cast<uint8_t>((c >> 8) & 0xF8);
        }
    }
    writeFrameBuffer(s, display.beginDraw(), display.properties(), {0, 0, width, height});
    display.endDraw();
}

// Top level: a popup of load slots, a checked command, a separator, a
// disabled checked command, a disabled popup and a last command. The slots
// level: two slots with thumbnails and one without.
struct SampleMenu {
    MenuTree tree;
    int slots = -1;
    SampleMenu() {
        tree.addPopup(0, 1, "\xDB\xB0\xC4\xDE", &slots);  // ﾛｰﾄﾞ
        tree.addCommand(0, 2, "AB");
        tree.addSeparator(0);
        tree.addCommand(0, 3, "CD");
        int unused = -1;
        tree.addPopup(0, 4, "EF", &unused);
        tree.addCommand(0, 5, "\x8F\x49\x97\xB9");  // 終了
        tree.setChecked(2, true);
        tree.setChecked(3, true);
        tree.setEnabled(3, false);
        tree.setEnabled(4, false);
        tree.addCommand(slots, 10, "LOAD_001");
        tree.addCommand(slots, 11, "LOAD_002");
        tree.addCommand(slots, 12, "LOAD_003");
        tree.setThumbnail(10, thumbnail(40, 30));
        tree.setThumbnail(12, thumbnail(20, 10));
    }
    static MenuThumbnail thumbnail(int w, int h) {
        MenuThumbnail t;
        t.width = w;
        t.height = h;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                t.pixels.push_back(thumbnailAt(x, y));
        }
        return t;
    }
};

// One display, its picture, and a panel over it at 320 x 240.
struct Scene {
    explicit Scene(DisplayBackEnd& d, int w = 320, int h = 240) : display(d), width(w), height(h) {
        display.open(w, h);
        paintPicture(display, w, h);
        host.display = &display;
        host.properties = display.properties();
        host.screenWidth = w;
        host.screenHeight = h;
        host.device = &device;
        host.glyphs = &dots;
    }
    uint16_t shown(int x, int y) const {
        std::vector<uint16_t> all;
        EXPECT_TRUE(display.captureShown(width, height, all));
        return all.empty() ? 0 : all[static_cast<size_t>(y) * width + x];
    }
    std::vector<uint16_t> shownAll() const {
        std::vector<uint16_t> all;
        EXPECT_TRUE(display.captureShown(width, height, all));
        return all;
    }
    // Pixels of `rect` that differ from the game picture.
    int changedIn(ScreenRect rect) const {
        const std::vector<uint16_t> all = shownAll();
        int changed = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x)
                changed += all[static_cast<size_t>(y) * width + x] != pictureAt(x, y);
        }
        return changed;
    }

    DisplayBackEnd& display;
    int width, height;
    VirtualClock clock;
    HeadlessDeviceStatus device{clock};
    DotRenderer dots;
    MenuPanelHost host;
    SampleMenu menu;
    MenuCursor cursor;
    MenuPanel panel;
};

struct Expect {
    int x, y;
    uint16_t colour;
    const char* what;
};

void checkPixels(const Scene& s, std::initializer_list<Expect> expects) {
    for (const Expect& e : expects)
        EXPECT_EQ(s.shown(e.x, e.y), e.colour) << e.what << " at " << e.x << "," << e.y;
}

TEST(MenuPanel, OpenDrawsTheFrameGroovesEntriesAndMarks) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.panel.open(s.host, s.menu.tree, s.cursor);
    ASSERT_TRUE(s.panel.isOpen());
    // "[2006-01-04 17:30][87%]" is the widest text: 23 bytes of 6 pixels, plus 12.
    const int w = 150, h = 13 * 6 + 40;
    EXPECT_EQ(s.panel.width(), w);
    EXPECT_EQ(s.panel.height(), h);
    checkPixels(s, {
                       {0, 0, kFace, "outer corner"},
                       {5, 5, kFace, "face"},
                       {1, 1, kWhite, "light row and column"},
                       {w - 3, 1, kWhite, "light row end"},
                       {1, h - 3, kWhite, "light column end"},
                       {w - 2, 1, kDark, "dark column top"},
                       {1, h - 2, kDark, "dark row start"},
                       {w - 2, h - 2, kDark, "dark corner"},
                       {w - 1, 0, kBlack, "black column top"},
                       {0, h - 1, kBlack, "black row start"},
                       {w - 1, h - 1, kBlack, "black corner"},
                       {w, 0, pictureAt(w, 0), "right of the panel"},
                       {0, h, pictureAt(0, h), "below the panel"},
                       // Texts, one dot per character.
                       {6, 4, kBlack, "date line"},
                       {12, 4, kBlack, "date line, second character"},
                       {6, 16, kBlack, "path line"},
                       // The groove under the status texts: columns 6 .. w - 7.
                       {5, 29, kFace, "groove start"},
                       {6, 29, kGrey, "groove"},
                       {6, 30, kWhite, "groove light"},
                       {w - 7, 29, kGrey, "groove end"},
                       {w - 6, 29, kFace, "after the groove"},
                       // Entry 0, an enabled popup: text and arrow in black.
                       {12, 34, kBlack, "popup text"},
                       {w - 9, 37, kBlack, "arrow tip row 3"},
                       {w - 6, 40, kBlack, "arrow point"},
                       {w - 10, 40, kFace, "arrow column 0"},
                       {w - 5, 40, kFace, "arrow column 5"},
                       // Entry 1, checked: the check mark in black.
                       {8, 51, kBlack, "check row 4"},
                       {5, 52, kBlack, "check row 5 column 1"},
                       {6, 52, kFace, "check row 5 column 2"},
                       {12, 47, kBlack, "command text"},
                       // Entry 2, a separator: a groove on row 66, columns 12 .. w - 13.
                       {11, 66, kFace, "separator start"},
                       {12, 66, kGrey, "separator"},
                       {12, 67, kWhite, "separator light"},
                       {w - 13, 66, kGrey, "separator end"},
                       {w - 12, 66, kFace, "after the separator"},
                       {12, 60, kFace, "separator has no text"},
                       // Entry 3, disabled and checked: embossed text and check.
                       {12, 73, kGrey, "disabled text"},
                       {13, 74, kWhite, "disabled text's light copy"},
                       {8, 77, kGrey, "disabled check"},
                       {9, 78, kWhite, "disabled check's light copy"},
                       // Entry 4, a disabled popup: embossed arrow.
                       {w - 9, 89, kGrey, "disabled arrow"},
                       {w - 9, 95, kGrey, "disabled arrow tail"},
                       {w - 8, 96, kWhite, "disabled arrow's light copy"},
                       // Entry 5: a double-byte text, pen advancing 12.
                       {12, 99, kBlack, "first character"},
                       {18, 99, kFace, "no half step after a double-byte character"},
                       {24, 99, kBlack, "second character"},
                   });
    // Nothing outside the panel changed.
    EXPECT_EQ(s.changedIn({w, 0, 320, 240}), 0);
    EXPECT_EQ(s.changedIn({0, h, w, 240}), 0);
}

TEST(MenuPanel, HighlightBandMovesAndTheOldOneComesBack) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.panel.open(s.host, s.menu.tree, s.cursor);
    const int w = s.panel.width();
    display.forgetShownRects();

    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, -1);
    // Only the panel's rectangle is shown again.
    ASSERT_EQ(display.shownRects().size(), 1u);
    EXPECT_EQ(display.shownRects()[0], (ScreenRect{0, 0, w, s.panel.height()}));
    checkPixels(s, {
                       {11, 34, kNavy, "band's first column"},
                       {w - 12, 46, kNavy, "band's last column and row"},
                       {10, 34, kFace, "left of the band"},
                       {w - 11, 34, kFace, "right of the band"},
                       {11, 33, kFace, "above the band"},
                       {11, 47, kFace, "below the band"},
                       {12, 34, kWhite, "highlighted text"},
                       {w - 9, 37, kBlack, "the arrow stays outside the band"},
                   });

    int previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, previous);
    checkPixels(s, {
                       {11, 34, kFace, "old band gone"},
                       {w - 12, 46, kFace, "old band gone, last pixel"},
                       {12, 34, kBlack, "old text black again"},
                       {11, 47, kNavy, "new band"},
                       {12, 47, kWhite, "new text"},
                       {8, 51, kBlack, "check beside the band"},
                   });

    // Down again skips the separator and both disabled entries.
    previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    EXPECT_EQ(s.cursor.highlighted, 5);
    s.panel.highlightChanged(s.menu.tree, s.cursor, previous);
    checkPixels(s, {
                       {11, 47, kFace, "second band gone"},
                       {11, 99, kNavy, "band on the last entry"},
                       {11, 73, kFace, "disabled entry never banded"},
                   });
}

TEST(MenuPanel, ThumbnailShowsAtTheTopRightAndLeavesWithTheHighlight) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.panel.open(s.host, s.menu.tree, s.cursor);
    s.cursor.highlighted = 0;
    ASSERT_TRUE(enterLevel(s.menu.tree, s.cursor));
    display.forgetShownRects();
    s.panel.levelChanged(s.menu.tree, s.cursor);
    // A level change shows the whole screen.
    ASSERT_EQ(display.shownRects().size(), 1u);
    EXPECT_EQ(display.shownRects()[0], (ScreenRect{0, 0, 320, 240}));
    EXPECT_EQ(s.panel.height(), 13 * 3 + 40);

    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, -1);
    // 40 x 30 at x 280..319, y 0..29; white column x 279 over rows 0..30;
    // the 0x630C row under the picture and a black row under both.
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

    // To the slot without a thumbnail: the picture comes back.
    int previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, previous);
    EXPECT_EQ(s.changedIn({s.panel.width(), 0, 320, 240}), 0);

    // A smaller thumbnail in its own place, then back up to the larger one.
    previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, previous);
    checkPixels(s, {{300, 0, thumbnailAt(0, 0), "small thumbnail"},
                    {299, 10, kWhite, "its white column"},
                    {300, 10, kEdge, "its grey row"},
                    {299, 11, kBlack, "its black row"},
                    {298, 0, pictureAt(298, 0), "left of it"}});
    previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));  // wraps to the first slot
    s.panel.highlightChanged(s.menu.tree, s.cursor, previous);
    checkPixels(s, {{280, 0, thumbnailAt(0, 0), "large thumbnail again"},
                    {300, 12, thumbnailAt(20, 12), "where the small one's border was"}});

    // Leaving the level puts the picture back and highlights the opened entry.
    ASSERT_TRUE(leaveLevel(s.cursor));
    s.panel.levelChanged(s.menu.tree, s.cursor);
    EXPECT_EQ(s.changedIn({150, 0, 320, 240}), 0);
    checkPixels(s, {{11, 34, kNavy, "the opened popup is highlighted again"}});
}

TEST(MenuPanel, LevelWithoutSelectableEntryShowsNoHighlight) {
    MemoryGdiDisplay display;
    Scene s(display);
    int child = -1;
    MenuTree tree;
    tree.addPopup(0, 1, "A", &child);
    tree.addSeparator(child);
    tree.addCommand(child, 2, "B");
    tree.setEnabled(2, false);
    s.cursor.highlighted = 0;
    s.panel.open(s.host, tree, s.cursor);
    ASSERT_TRUE(enterLevel(tree, s.cursor));
    s.panel.levelChanged(tree, s.cursor);
    EXPECT_FALSE(moveHighlight(tree, s.cursor, false));
    EXPECT_FALSE(moveHighlight(tree, s.cursor, true));
    s.panel.highlightChanged(tree, s.cursor, -1);
    const std::vector<uint16_t> all = s.shownAll();
    for (int y = 0; y < s.panel.height(); ++y) {
        for (int x = 0; x < s.panel.width(); ++x)
            ASSERT_NE(all[static_cast<size_t>(y) * 320 + x], kNavy) << x << "," << y;
    }
}

TEST(MenuPanel, CloseRestoresTheWholePicture) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.panel.open(s.host, s.menu.tree, s.cursor);
    s.cursor.highlighted = 0;
    ASSERT_TRUE(enterLevel(s.menu.tree, s.cursor));
    s.panel.levelChanged(s.menu.tree, s.cursor);
    ASSERT_TRUE(moveHighlight(s.menu.tree, s.cursor, false));
    s.panel.highlightChanged(s.menu.tree, s.cursor, -1);  // with a thumbnail up
    ASSERT_GT(s.changedIn({0, 0, 320, 240}), 0);
    s.panel.close();
    EXPECT_FALSE(s.panel.isOpen());
    EXPECT_EQ(s.changedIn({0, 0, 320, 240}), 0);
    EXPECT_FALSE(s.panel.contains(0, 0));
}

TEST(MenuPanel, OversizedPanelAndThumbnailAreCutAtTheScreenEdge) {
    MemoryPanelDisplay display(320, 240);
    Scene s(display);
    MenuTree tree;
    for (int i = 0; i < kMenuLevelCapacity; ++i)
        tree.addCommand(0, static_cast<uint32_t>(100 + i), std::string(60, 'W'));
    MenuThumbnail wide = SampleMenu::thumbnail(400, 250);
    tree.setThumbnail(100, wide);
    s.panel.open(s.host, tree, s.cursor);
    EXPECT_EQ(s.panel.width(), 60 * 6 + 24);
    EXPECT_EQ(s.panel.height(), 13 * 20 + 40);
    EXPECT_EQ(s.shown(319, 239), kFace);
    ASSERT_TRUE(moveHighlight(tree, s.cursor, false));
    s.panel.highlightChanged(tree, s.cursor, -1);
    // The thumbnail's right part lies on the screen, its border beyond it.
    EXPECT_EQ(s.shown(0, 0), thumbnailAt(80, 0));
    EXPECT_EQ(s.shown(319, 239), thumbnailAt(399, 239));
    const int previous = s.cursor.highlighted;
    ASSERT_TRUE(moveHighlight(tree, s.cursor, false));
    s.panel.highlightChanged(tree, s.cursor, previous);
    EXPECT_EQ(s.shown(0, 0), kFace);
    EXPECT_EQ(s.shown(11, 47), kNavy);
    s.panel.close();
    EXPECT_EQ(s.changedIn({0, 0, 320, 240}), 0);
}

TEST(MenuPanel, HitTestsInGameCoordinates) {
    MemoryGdiDisplay display;
    Scene s(display);
    s.panel.open(s.host, s.menu.tree, s.cursor);
    const int w = s.panel.width(), h = s.panel.height();
    struct Case {
        int x, y;
        bool inside;
        int entry;
    } cases[] = {
        {0, 0, true, -1},       {w - 1, h - 1, true, -1}, {w, 0, false, -1},  {0, h, false, -1},
        {-1, 40, false, -1},    {20, 33, true, -1},       {20, 34, true, 0},  {20, 46, true, 0},
        {20, 47, true, 1},      {20, 60, true, 2},        {20, 111, true, 5}, {20, 112, true, -1},
        {w + 5, 40, false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s.panel.contains(c.x, c.y), c.inside) << c.x << "," << c.y;
        EXPECT_EQ(s.panel.entryAt(c.x, c.y), c.entry) << c.x << "," << c.y;
    }
}

// The same session on the window emulation, a portrait (turned) panel and a
// landscape panel must show the same game-oriented picture at every step.
TEST(MenuPanel, TurnedAndUnturnedFrameBuffersShowTheSamePanel) {
    MemoryGdiDisplay window;
    MemoryPanelDisplay portrait(240, 320);
    MemoryPanelDisplay landscape(320, 240);
    Scene a(window), b(portrait), c(landscape);
    std::vector<Scene*> scenes{&a, &b, &c};
    auto step = [&](auto action) {
        for (Scene* s : scenes)
            action(*s);
        const std::vector<uint16_t> reference = a.shownAll();
        EXPECT_EQ(b.shownAll(), reference);
        EXPECT_EQ(c.shownAll(), reference);
    };
    step([](Scene& s) { s.panel.open(s.host, s.menu.tree, s.cursor); });
    step([](Scene& s) {
        s.cursor.highlighted = 0;
        enterLevel(s.menu.tree, s.cursor);
        s.panel.levelChanged(s.menu.tree, s.cursor);
    });
    step([](Scene& s) {
        moveHighlight(s.menu.tree, s.cursor, false);
        s.panel.highlightChanged(s.menu.tree, s.cursor, -1);
    });
    step([](Scene& s) { s.panel.close(); });
    EXPECT_EQ(a.changedIn({0, 0, 320, 240}), 0);

    // On the portrait panel the game's top lies along the device's left edge.
    resetCursor(b.cursor);
    b.panel.open(b.host, b.menu.tree, b.cursor);
    EXPECT_EQ(portrait.devicePixel(1, 318), kWhite);  // game (1, 1)
    EXPECT_EQ(portrait.devicePixel(0, 319), kFace);   // game (0, 0)
    EXPECT_EQ(portrait.devicePixel(0, 0), pictureAt(319, 0));
}

TEST(MenuPanel, WideScreenStatusTextsWidenThePanel) {
    MemoryGdiDisplay display;
    Scene s(display, 640, 480);
    s.host.overlayDescription = "mpg123 1.31.2 (generic)";
    s.panel.open(s.host, s.menu.tree, s.cursor);
    // "[ﾄｯﾌﾟ] [Corvalite.ovl mpg123 1.31.2 ][22.05kHz]": 47 bytes.
    EXPECT_EQ(s.panel.width(), 47 * 6 + 12);
    s.cursor.highlighted = 0;
    enterLevel(s.menu.tree, s.cursor);
    s.panel.levelChanged(s.menu.tree, s.cursor);
    // "[2006-01-04 17:30][87%][40MB(38%)][256MB]": 41 bytes.
    EXPECT_EQ(s.panel.width(), 41 * 6 + 12);
}

}  // namespace
}  // namespace zeku
