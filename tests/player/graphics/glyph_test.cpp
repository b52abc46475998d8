// The engine half of the message font with a fake renderer whose pattern is
// known: the cache's supersampling and its keys, its bounded memory, the
// blend and shadow arithmetic, clipping, and the menu surface's pen.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "player/graphics/glyph_cache.h"
#include "player/graphics/glyph_drawing.h"
#include "player/graphics/glyph_surface.h"
#include "player/graphics/message_font.h"

namespace zeku {
namespace {

// Inks pixel (x, y) of a cell when (x + 2y + code) % 3 == 0, and fails for code 0.
bool patternInked(int x, int y, uint16_t code) {
    return (x + 2 * y + code) % 3 == 0;
}

class PatternRenderer : public GlyphRenderer {
  public:
    bool render(std::string_view face, int weight, uint16_t code, int cellPx,
                uint8_t* coverage) override {
        calls.push_back({std::string(face), weight, code, cellPx});
        for (int y = 0; y < cellPx; ++y) {
            for (int x = 0; x < cellPx; ++x) {
                coverage[y * cellPx + x] = code != 0 && patternInked(x, y, code) ? 255 : 0;
            }
        }
        return code != 0;
    }
    struct Call {
        std::string face;
        int weight;
        uint16_t code;
        int cellPx;
    };
    std::vector<Call> calls;
};

TEST(GlyphCache, CoverageIsTheMeanOfEachKByKBlockOfTheRendering) {
    PatternRenderer renderer;
    GlyphCache cache(&renderer);
    for (int k = 1; k <= 4; ++k) {
        for (int size : {1, 7, 24}) {
            const uint16_t code = 0x82A0;
            const uint8_t* c = cache.coverage(kDefaultFontFace, 400, code, size, k);
            ASSERT_NE(c, nullptr);
            ASSERT_EQ(renderer.calls.back().cellPx, k * size);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    int inked = 0;
                    for (int i = 0; i < k * k; ++i)
                        inked += patternInked(x * k + i % k, y * k + i / k, code);
                    ASSERT_EQ(c[y * size + x], inked * 255 / (k * k))
                        << k << " " << size << " " << x << "," << y;
                }
            }
        }
    }
}

TEST(GlyphCache, EachKeyIsRasterisedOnce) {
    PatternRenderer renderer;
    GlyphCache cache(&renderer);
    const std::string other = "IPAGothic";
    struct Step {
        const char* face;
        int weight;
        uint16_t code;
        int size;
        int k;
        size_t rasterisations;  // after the call
    };
    const Step steps[] = {
        {kDefaultFontFace, 400, 0x82A0, 24, 1, 1}, {kDefaultFontFace, 400, 0x82A0, 24, 1, 1},
        {kDefaultFontFace, 400, 0x82A0, 24, 4, 2},  // another factor
        {kDefaultFontFace, 400, 0x82A0, 25, 4, 3},  // another size
        {kDefaultFontFace, 700, 0x82A0, 25, 4, 4},  // another weight
        {"IPAGothic", 700, 0x82A0, 25, 4, 5},       // another face
        {kDefaultFontFace, 700, 0x82A2, 25, 4, 6},  // another character
        {kDefaultFontFace, 400, 0x82A0, 24, 0, 6},  // k 0 is clamped to 1
        {kDefaultFontFace, 400, 0x82A0, 24, 9, 6},  // k 9 is clamped to 4
        {kDefaultFontFace, 400, 0, 24, 1, 7},       // a failed render is kept too
        {kDefaultFontFace, 400, 0, 24, 1, 7},      {"IPAGothic", 700, 0x82A0, 25, 4, 7},
    };
    for (const Step& s : steps) {
        ASSERT_NE(cache.coverage(s.face, s.weight, s.code, s.size, s.k), nullptr);
        EXPECT_EQ(cache.rasterisations(), s.rasterisations)
            << s.code << " " << s.size << " " << s.k;
    }
    EXPECT_EQ(renderer.calls.size(), 7u);
    EXPECT_EQ(renderer.calls[4].face, other);
    EXPECT_EQ(renderer.calls[3].weight, 700);
    // A blank glyph for a failed render.
    const uint8_t* blank = cache.coverage(kDefaultFontFace, 400, 0, 24, 1);
    EXPECT_EQ(std::vector<uint8_t>(blank, blank + 24 * 24), std::vector<uint8_t>(24 * 24, 0));
}

TEST(GlyphCache, SizesOutOfRangeGiveNothingAndNoRendererGivesBlanks) {
    PatternRenderer renderer;
    GlyphCache cache(&renderer);
    for (int size : {0, -1, INT_MIN, kMaxGlyphSize + 1, INT_MAX}) {
        EXPECT_EQ(cache.coverage(kDefaultFontFace, 400, 0x82A0, size, 1), nullptr) << size;
    }
    EXPECT_NE(cache.coverage(kDefaultFontFace, 400, 0x82A0, kMaxGlyphSize, 4), nullptr);
    EXPECT_EQ(renderer.calls.back().cellPx, kMaxGlyphSize * 4);

    GlyphCache blank;
    const uint8_t* c = blank.coverage(kDefaultFontFace, 400, 0x82A0, 8, 2);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(c, c + 64), std::vector<uint8_t>(64, 0));
    EXPECT_EQ(blank.rasterisations(), 0u);
    // A renderer given later is used, and the blanks it replaces are forgotten.
    blank.setRenderer(&renderer);
    c = blank.coverage(kDefaultFontFace, 400, 0x82A0, 8, 2);
    EXPECT_EQ(blank.rasterisations(), 1u);
    EXPECT_NE(std::vector<uint8_t>(c, c + 64), std::vector<uint8_t>(64, 0));
}

TEST(GlyphCache, ManyFacesNeverShareAKey) {
    PatternRenderer renderer;
    GlyphCache cache(&renderer);
    // More faces than the key has room for: each still gets its own rendering.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 300; ++i) {
            const std::string face = "face " + std::to_string(i);
            ASSERT_NE(cache.coverage(face, 400, 0x82A0, 4, 1), nullptr);
            ASSERT_EQ(renderer.calls.back().face, face);
        }
    }
    // The faces seen since the cache started again are still cached.
    const size_t before = cache.rasterisations();
    cache.coverage("face 299", 400, 0x82A0, 4, 1);
    EXPECT_EQ(cache.rasterisations(), before);
}

TEST(GlyphCache, MemoryStaysWithinTheBudgetAndDroppedGlyphsComeBack) {
    PatternRenderer renderer;
    GlyphCache cache(&renderer);
    const int size = kMaxGlyphSize;
    const int distinct = static_cast<int>(kGlyphCacheBudgetBytes / (size * size)) + 20;
    for (int i = 1; i <= distinct; ++i) {
        cache.coverage(kDefaultFontFace, 400, static_cast<uint16_t>(i), size, 1);
        ASSERT_LE(cache.bytesHeld(), kGlyphCacheBudgetBytes);
    }
    EXPECT_EQ(cache.rasterisations(), static_cast<size_t>(distinct));
    // The newest glyph survived the drop, the first did not.
    cache.coverage(kDefaultFontFace, 400, static_cast<uint16_t>(distinct), size, 1);
    EXPECT_EQ(cache.rasterisations(), static_cast<size_t>(distinct));
    const uint8_t* first = cache.coverage(kDefaultFontFace, 400, 1, size, 1);
    EXPECT_EQ(cache.rasterisations(), static_cast<size_t>(distinct) + 1);
    EXPECT_EQ(first[0], patternInked(0, 0, 1) ? 255 : 0);
    EXPECT_EQ(first[2], patternInked(2, 0, 1) ? 255 : 0);
}

// A w x h screen filled with (blue, green, red) = (100, 150, 200).
ScreenSurface greyScreen(int w, int h) {
    ScreenSurface screen;
    EXPECT_TRUE(screen.create(w, h));
    for (int i = 0; i < w * h; ++i) {
        screen.pixels()[i * 3 + 0] = 100;
        screen.pixels()[i * 3 + 1] = 150;
        screen.pixels()[i * 3 + 2] = 200;
    }
    return screen;
}

struct Bgr {
    int b, g, r;
    bool operator==(const Bgr&) const = default;
};

Bgr at(const ScreenSurface& s, int x, int y) {
    const uint8_t* p = s.pixel(x, y);
    return {p[0], p[1], p[2]};
}

TEST(DrawGlyph, BlendsShadowsAndClipsByTheFixedArithmetic) {
    const uint32_t colour = 0x102030;  // red 0x10, green 0x20, blue 0x30
    const Bgr grey{100, 150, 200};
    struct Case {
        const char* what;
        std::vector<uint8_t> coverage;  // 2 x 2
        int left, top;
        bool shadow;
        std::vector<std::pair<std::pair<int, int>, Bgr>> expected;  // pixels that change
    };
    const Case cases[] = {
        {"full coverage takes the colour",
         {255, 0, 0, 0},
         1,
         1,
         false,
         {{{1, 1}, {0x30, 0x20, 0x10}}}},
        {"half coverage blends",
         {128, 0, 0, 0},
         1,
         1,
         false,
         {{{1, 1}, {50 + 24, 75 + 16, 100 + 8}}}},
        {"coverage 1 barely darkens", {1, 0, 0, 0}, 0, 0, false, {{{0, 0}, {99, 149, 199}}}},
        {"coverage 254", {254, 0, 0, 0}, 0, 0, false, {{{0, 0}, {0 + 47, 1 + 31, 1 + 15}}}},
        {"full shadow is black under the glyph",
         {255, 0, 0, 0},
         1,
         1,
         true,
         {{{1, 1}, {0x30, 0x20, 0x10}}, {{2, 2}, {0, 0, 0}}}},
        {"half shadow darkens, glyph blends over it",
         {128, 0, 0, 128},
         0,
         0,
         true,
         {{{0, 0}, {74, 91, 108}}, {{1, 1}, {25 + 24, 37 + 16, 50 + 8}}, {{2, 2}, {50, 75, 100}}}},
        {"clipped at the top-left",
         {7, 9, 11, 255},
         -1,
         -1,
         true,
         {{{0, 0}, {0x30, 0x20, 0x10}},
          {{1, 0}, {96, 144, 192}},
          {{0, 1}, {95, 143, 191}},
          {{1, 1}, {0, 0, 0}}}},
        {"clipped at the bottom-right",
         {255, 0, 0, 255},
         3,
         3,
         true,
         {{{3, 3}, {0x30, 0x20, 0x10}}}},
        {"entirely off the screen", {255, 255, 255, 255}, 4, -3, true, {}},
        {"far away", {255, 255, 255, 255}, INT_MAX, INT_MIN, true, {}},
        {"far away the other way", {255, 255, 255, 255}, INT_MIN, INT_MAX, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScreenSurface screen = greyScreen(4, 4);
        drawGlyph(screen, c.coverage.data(), 2, c.left, c.top, colour, c.shadow);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                Bgr want = grey;
                for (const auto& [where, value] : c.expected) {
                    if (where == std::make_pair(x, y)) want = value;
                }
                const Bgr got = at(screen, x, y);
                EXPECT_TRUE(got == want)
                    << x << "," << y << ": " << got.b << " " << got.g << " " << got.r;
            }
        }
    }
}

TEST(GlyphSurface, AdvancesByTheHeightForDoubleByteAndHalfForSingleByteCharacters) {
    PatternRenderer renderer;
    GlyphSurface surface(&renderer);
    ScreenSurface screen;
    ASSERT_TRUE(screen.create(100, 20));
    // "A", "あ", "B", then a lead byte cut off at the end.
    const std::string text =
        "A\x82\xA0"
        "B\x82";
    EXPECT_EQ(surface.drawText(screen, 5, 2, text, 0xFF0000), 5 + 6 + 12 + 6);
    ASSERT_EQ(renderer.calls.size(), 3u);
    const uint16_t codes[] = {'A', 0x82A0, 'B'};
    const int pens[] = {5, 11, 23};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(renderer.calls[i].code, codes[i]);
        EXPECT_EQ(renderer.calls[i].cellPx, 12);
        EXPECT_EQ(renderer.calls[i].weight, 400);
        EXPECT_EQ(renderer.calls[i].face, kDefaultFontFace);
    }
    // Inked pixels take the colour (screen bytes blue, green, red), the rest
    // stay black; the last character's cell is where its pen said.
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const Bgr want = patternInked(x, y, 'B') ? Bgr{0, 0, 255} : Bgr{0, 0, 0};
            ASSERT_TRUE(at(screen, pens[2] + x, 2 + y) == want) << x << "," << y;
        }
    }
    EXPECT_TRUE(at(screen, 4, 2) == (Bgr{0, 0, 0}));
}

TEST(GlyphSurface, HeightStaysOnTheSurfaceAndTextIsClippedToTheTarget) {
    PatternRenderer renderer;
    GlyphSurface surface(&renderer);
    EXPECT_EQ(surface.height(), kGlyphSurfaceDefaultHeight);
    surface.setHeight(100);
    EXPECT_EQ(surface.height(), kGlyphSurfaceSize);
    surface.setHeight(-3);
    EXPECT_EQ(surface.height(), 1);
    surface.setHeight(16);

    ScreenSurface screen;
    ASSERT_TRUE(screen.create(20, 10));
    // Half off every edge, and far off: no write outside the target.
    EXPECT_EQ(surface.drawText(screen, -8, -8, "\x82\xA0\x82\xA0", 0xFFFFFF), -8 + 32);
    EXPECT_EQ(surface.drawText(screen, 12, 4, "\x82\xA0", 0xFFFFFF), 28);
    EXPECT_EQ(surface.drawText(screen, INT_MAX - 4, 0, "\x82\xA0", 0xFFFFFF), INT_MAX);
    surface.drawText(screen, INT_MIN, INT_MIN, "\x82\xA0", 0xFFFFFF);
    EXPECT_EQ(renderer.calls.size(), 3u);  // the far-off characters were never rendered
    bool inked = false;
    for (int i = 0; i < 20 * 10 * 3; ++i)
        inked = inked || screen.pixels()[i] != 0;
    EXPECT_TRUE(inked);
    // Without a renderer nothing draws, but the pen still moves.
    GlyphSurface none;
    EXPECT_EQ(none.drawText(screen, 0, 0, "ab", 0xFFFFFF), 12);
}

}  // namespace
}  // namespace zeku
