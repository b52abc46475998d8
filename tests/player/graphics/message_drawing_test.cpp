// Drawing the windows over a redraw: a glyph part inside a cleared area is
// drawn again exactly once, overlapping dirty rectangles included, and a
// glyph nobody cleared is never blended over itself.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "player/graphics/message_drawing.h"

namespace zeku {
namespace {

// Half-covered cells (a checkerboard), so a pixel blended twice shows.
class Checkerboard final : public GlyphRenderer {
  public:
    bool render(std::string_view, int, uint16_t, int cellPx, uint8_t* coverage) override {
        for (int y = 0; y < cellPx; ++y)
            for (int x = 0; x < cellPx; ++x)
                coverage[y * cellPx + x] = ((x + y) & 1) != 0 ? 255 : 0;
        return true;
    }
};

constexpr uint8_t kBackground = 0x40;

struct Scene {
    Checkerboard renderer;
    GlyphCache cache{&renderer};
    ScreenSurface screen;
    MessageWindows windows;
    UpdateList dirty;
    const TextStyle style{"face", 400, 2, true};

    Scene() {
        screen.create(160, 120);
        dirty.setClip(160, 120);
        clear(ScreenRect{0, 0, 160, 120});
        MessageWindow& window = windows[kTextWindow];
        createWindow(window, 160, 120);
        applyCommandDefaults(window, 160, 120);
        char text[kMessageTextBytes];
        const size_t length =
            expandMessage("\x82\xa0\x82\xa2\x82\xa4", true, nullptr, nullptr, text);
        startMessage(window, std::string_view(text, length), 0xFFFFFF, false, 0);
        TypingInput input;
        input.messageSpeed = 0;
        input.screenWidth = 160;
        typeStep(window, input, dirty);
        drawWindows(windows, dirty, screen, cache, style);
        dirty.clear();
    }
    // What the redraw does to a flagged rectangle with a plain background.
    void clear(ScreenRect r) {
        for (int y = r.top; y < r.bottom; ++y)
            std::memset(screen.pixel(r.left, y), kBackground, static_cast<size_t>(r.width()) * 3);
    }
    std::vector<uint8_t> pixels() const {
        return {screen.pixels(), screen.pixels() + screen.rowBytes() * screen.height()};
    }
};

TEST(MessageDrawing, ClearedPartsAreDrawnAgainExactlyOnce) {
    Scene scene;
    const std::vector<uint8_t> typed = scene.pixels();
    const ScreenRect first = scene.windows[kTextWindow].glyphs[0].rect;
    const int left = first.left;
    const int top = first.top;
    // A and B apart, then C joining B: B ∪ C overlaps A, which the list has
    // already passed, so two flagged rectangles overlap over the glyphs.
    const ScreenRect a{left, top, left + 4, top + 7};
    const ScreenRect b{left - 1, top + 10, left + 6, top + 11};
    const ScreenRect c{left + 5, top + 2, left + 7, top + 11};
    for (const ScreenRect& r : {a, b, c})
        scene.dirty.add(r);
    ASSERT_EQ(scene.dirty.dirtyCount(), 2u);
    for (const ScreenRect& r : scene.dirty.rects())
        scene.clear(r);
    drawWindows(scene.windows, scene.dirty, scene.screen, scene.cache, scene.style);
    EXPECT_EQ(scene.pixels(), typed);
}

TEST(MessageDrawing, NothingIsDrawnWhenNothingChangedOrWasCleared) {
    Scene scene;
    const std::vector<uint8_t> typed = scene.pixels();
    drawWindows(scene.windows, scene.dirty, scene.screen, scene.cache, scene.style);
    EXPECT_EQ(scene.pixels(), typed);
    // A hidden window is not drawn into a cleared area.
    scene.windows[kTextWindow].hidden = true;
    scene.dirty.add(ScreenRect{0, 0, 160, 120});
    scene.clear(ScreenRect{0, 0, 160, 120});
    drawWindows(scene.windows, scene.dirty, scene.screen, scene.cache, scene.style);
    EXPECT_EQ(scene.pixels(), std::vector<uint8_t>(typed.size(), kBackground));
}

}  // namespace
}  // namespace zeku
