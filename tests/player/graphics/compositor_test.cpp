// The layered redraw: drawing order across layers and slots, clipping of
// image and rectangle entries at every screen edge and to the dirty
// rectangle, the entries that must not draw, and the screen level.
#include "player/graphics/compositor.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

constexpr int kW = 32;
constexpr int kH = 24;
constexpr uint8_t kUntouched = 0x55;

// An opaque picture whose every pixel has its own colour.
uint16_t patternColour(int x, int y) {
    return static_cast<uint16_t>((x * 8 + y) * 0x0421 + 1);
}

uint32_t screenColourOf565(uint16_t c) {
    return red8Of(c) << 16 | green8Of(c) << 8 | blue8Of(c);
}

class CompositorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(screen_.create(kW, kH));
        std::fill(screen_.pixels(), screen_.pixels() + kW * kH * 3, kUntouched);
        dirty_.setClip(kW, kH);
    }

    Image& makeImage(int slot, int w, int h) {
        images_.slots[slot] = std::make_unique<Image>();
        Image& image = *images_.slots[slot];
        EXPECT_TRUE(createImage(image, w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                store565(image.pixel(x, y), patternColour(x, y));
                image.pixel(x, y)[2] = 255;
            }
        return image;
    }

    static DisplayEntry imageEntry(int slot, int left, int top, ScreenRect source) {
        DisplayEntry e;
        e.kind = kEntryImage;
        e.slot = static_cast<int16_t>(slot);
        e.sourceLeft = static_cast<int16_t>(source.left);
        e.sourceTop = static_cast<int16_t>(source.top);
        e.sourceRight = static_cast<int16_t>(source.right);
        e.sourceBottom = static_cast<int16_t>(source.bottom);
        e.left = static_cast<int16_t>(left);
        e.top = static_cast<int16_t>(top);
        return e;
    }

    static DisplayEntry rectEntry(int left, int top, int w, int h, uint32_t colour) {
        DisplayEntry e;
        e.kind = kEntryRect;
        e.colour = colour;
        e.sourceRight = static_cast<int16_t>(w);
        e.sourceBottom = static_cast<int16_t>(h);
        e.left = static_cast<int16_t>(left);
        e.top = static_cast<int16_t>(top);
        return e;
    }

    uint32_t at(int x, int y) const {
        const uint8_t* p = screen_.pixel(x, y);
        return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    }

    void redrawWhole() { redrawArea(screen_, list_, images_, state_, {0, 0, kW, kH}); }

    ScreenSurface screen_;
    ImageSlots images_;
    DisplayList list_;
    GraphicsState state_;
    UpdateList dirty_;
};

constexpr uint32_t kUntouchedColour = 0x555555;

TEST_F(CompositorTest, LowerLayersAndLowerSlotsEndOnTop) {
    // Collect visits slots in ascending order; each goes behind its anchor.
    std::array<DisplayEntry, 3> objects = {rectEntry(0, 0, 4, 4, 0x0000FF),
                                           rectEntry(2, 0, 4, 4, 0x00FF00),
                                           rectEntry(0, 2, 8, 4, 0xFF0000)};
    list_.insert(5, objects[0]);
    list_.insert(5, objects[1]);
    list_.insert(9, objects[2]);
    redrawWhole();
    EXPECT_EQ(at(3, 3), 0x0000FFu);  // slot 0 over slot 1 (same layer) over layer 9
    EXPECT_EQ(at(5, 1), 0x00FF00u);
    EXPECT_EQ(at(7, 3), 0xFF0000u);
    EXPECT_EQ(at(10, 10), 0u);  // cleared background

    // Reset empties every layer.
    list_.reset();
    redrawWhole();
    EXPECT_EQ(at(3, 3), 0u);
    // Out-of-range layers insert nothing.
    list_.insert(128, objects[0]);
    list_.insert(-1, objects[0]);
    redrawWhole();
    EXPECT_EQ(at(3, 3), 0u);
}

TEST_F(CompositorTest, ImageEntriesClipAtEveryScreenEdge) {
    makeImage(0, 10, 9);
    const ScreenRect source{1, 2, 10, 9};  // 9 × 7
    const int places[][2] = {{-4, -3}, {kW - 5, -6}, {-7, kH - 2}, {kW - 3, kH - 4},
                             {-20, 5}, {kW, 0},      {5, kH},      {10, 10}};
    for (const auto& place : places) {
        list_.reset();
        DisplayEntry e = imageEntry(0, place[0], place[1], source);
        list_.insert(0, e);
        std::fill(screen_.pixels(), screen_.pixels() + kW * kH * 3, kUntouched);
        redrawWhole();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int sx = x - place[0] + source.left;
                const int sy = y - place[1] + source.top;
                const bool inside = sx >= source.left && sx < source.right && sy >= source.top &&
                                    sy < source.bottom;
                const uint32_t want = inside ? screenColourOf565(patternColour(sx, sy)) : 0;
                ASSERT_EQ(at(x, y), want)
                    << "at " << place[0] << "," << place[1] << ": " << x << "," << y;
            }
    }
}

TEST_F(CompositorTest, RectEntriesClipAtEveryScreenEdge) {
    const int places[][2] = {{-4, -3}, {kW - 5, -6}, {-7, kH - 2}, {kW - 3, kH - 4}, {kW, kH}};
    for (const auto& place : places) {
        list_.reset();
        DisplayEntry e = rectEntry(place[0], place[1], 9, 7, 0x123456);
        list_.insert(0, e);
        std::fill(screen_.pixels(), screen_.pixels() + kW * kH * 3, kUntouched);
        redrawWhole();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inside =
                    x >= place[0] && x < place[0] + 9 && y >= place[1] && y < place[1] + 7;
                ASSERT_EQ(at(x, y), inside ? 0x123456u : 0u) << x << "," << y;
            }
    }
}

TEST_F(CompositorTest, RedrawTouchesOnlyFlaggedDirtyRects) {
    makeImage(2, 32, 24);
    DisplayEntry background = imageEntry(2, 0, 0, {0, 0, 32, 24});
    DisplayEntry box = rectEntry(0, 0, 32, 24, 0x000010);
    box.mode = 1;
    list_.insert(10, background);
    list_.insert(0, box);
    dirty_.addDirty({2, 3, 6, 7}, true);
    dirty_.addDirty({6, 7, 9, 9}, true);  // corner-touching: merged with the first
    dirty_.addDirty({20, 10, 25, 12}, true);
    dirty_.addDirty({0, 20, 4, 24}, false);  // presented only, not redrawn
    redrawDirty(screen_, list_, images_, state_, dirty_);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool redrawn =
                (x >= 2 && x < 9 && y >= 3 && y < 9) || (x >= 20 && x < 25 && y >= 10 && y < 12);
            uint32_t want = kUntouchedColour;
            if (redrawn) {
                const uint16_t c = patternColour(x, y);
                const uint32_t blue = std::min<uint32_t>(blue8Of(c) + 0x10, 255);
                want = red8Of(c) << 16 | green8Of(c) << 8 | blue;
            }
            ASSERT_EQ(at(x, y), want) << x << "," << y;
        }
}

TEST_F(CompositorTest, EntriesThatMustNotDraw) {
    Image& image = makeImage(1, 4, 4);
    DisplayEntry scaled = imageEntry(1, 0, 0, {0, 0, 4, 4});
    scaled.scaleY = 999;
    DisplayEntry rotated = imageEntry(1, 4, 0, {0, 0, 4, 4});
    rotated.angle = 90;
    DisplayEntry noSlot = imageEntry(-1, 8, 0, {0, 0, 4, 4});
    DisplayEntry emptySlot = imageEntry(5, 12, 0, {0, 0, 4, 4});
    DisplayEntry hidden = imageEntry(1, 16, 0, {0, 0, 4, 4});
    hidden.alpha = 0;
    hidden.order = -1;
    DisplayEntry clearRect = rectEntry(20, 0, 4, 4, 0xFFFFFF);
    clearRect.alpha = 0;
    DisplayEntry oddMode = rectEntry(24, 0, 4, 4, 0xFFFFFF);
    oddMode.mode = 2;
    DisplayEntry otherKind = rectEntry(28, 0, 4, 4, 0xFFFFFF);
    otherKind.kind = 3;
    for (DisplayEntry* e :
         {&scaled, &rotated, &noSlot, &emptySlot, &hidden, &clearRect, &oddMode, &otherKind})
        list_.insert(0, *e);
    redrawWhole();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(at(x, y), 0u) << x << "," << y;

    // A freshly created picture is fully transparent.
    createImage(image, 4, 4);
    list_.reset();
    DisplayEntry fresh = imageEntry(1, 0, 0, {0, 0, 4, 4});
    list_.insert(0, fresh);
    std::fill(screen_.pixels(), screen_.pixels() + kW * kH * 3, kUntouched);
    state_.clearBackground = false;
    redrawWhole();
    EXPECT_EQ(at(1, 1), kUntouchedColour);
}

TEST_F(CompositorTest, SourceReachingOutsideTheImageDrawsOnlyWhatExists) {
    makeImage(0, 4, 4);
    DisplayEntry e = imageEntry(0, 10, 10, {-2, -1, 6, 5});
    list_.insert(0, e);
    redrawWhole();
    EXPECT_EQ(at(11, 10), 0u);
    EXPECT_EQ(at(12, 11), screenColourOf565(patternColour(0, 0)));
    EXPECT_EQ(at(15, 14), screenColourOf565(patternColour(3, 3)));
    EXPECT_EQ(at(16, 14), 0u);
}

TEST_F(CompositorTest, FadedImageUsesEntryAlphaAsOpacity) {
    makeImage(0, 2, 1);
    DisplayEntry e = imageEntry(0, 0, 0, {0, 0, 2, 1});
    e.alpha = 128;
    list_.insert(0, e);
    state_.clearBackground = false;
    redrawWhole();
    const uint16_t c = patternColour(1, 0);
    EXPECT_EQ(at(1, 0) & 0xFF, (blue8Of(c) * 128 + kUntouched * 128) >> 8);
}

TEST_F(CompositorTest, ScreenLevelScalesRectLevelsUnlessTheEntryOptsOut) {
    DisplayEntry levelEntry;
    levelEntry.kind = kEntryScreenLevel;
    levelEntry.level = 128;
    DisplayEntry dimmed = rectEntry(0, 0, 2, 2, 0xFFFFFF);
    DisplayEntry own = rectEntry(4, 0, 2, 2, 0xFFFFFF);
    own.flags = kEntryIgnoresScreenLevel;
    // Layer 1 draws before layer 0: the level entry comes first.
    list_.insert(0, dimmed);
    list_.insert(0, own);
    list_.insert(1, levelEntry);
    redrawWhole();
    EXPECT_EQ(state_.screenLevel, 128);
    EXPECT_EQ(at(0, 0), 0x7F7F7Fu);  // level (128 × 256) >> 8 = 128
    EXPECT_EQ(at(4, 0), 0xFFFFFFu);

    // The levelled background and a painting level entry use the same grey.
    state_.levelledBackground = true;
    list_.reset();
    redrawWhole();
    EXPECT_EQ(at(10, 10), 0x7F7F7Fu);
    levelEntry.level = 64;
    levelEntry.paint = 1;
    list_.insert(0, levelEntry);
    redrawArea(screen_, list_, images_, state_, {0, 0, 3, 3});
    EXPECT_EQ(at(2, 2), 0x3F3F3Fu);
    EXPECT_EQ(at(3, 3), 0x7F7F7Fu);
}

}  // namespace
}  // namespace zeku
