// Message text cost on the 640 x 480 screen: one changed glyph, cold (first
// rasterisation through FreeType) and warm (cached coverage), a whole
// 160-character message, and a full-screen redraw timed in the same run as
// the yardstick a typing frame is compared with.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/font/freetype_glyph_renderer.h"
#include "player/graphics/compositor.h"
#include "player/graphics/glyph_cache.h"
#include "player/graphics/glyph_drawing.h"
#include "player/graphics/message_font.h"

namespace zeku {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kGlyphSize = 28 * kWidth / 800;  // the message window's character size here
constexpr int kMessageLength = 160;

// 160 different characters: the hiragana, then the first kanji.
std::vector<uint16_t> messageCodes() {
    std::vector<uint16_t> codes;
    for (uint16_t c = 0x829F; c <= 0x82F1; ++c)
        codes.push_back(c);
    for (uint16_t c = 0x889F; codes.size() < kMessageLength; ++c)
        codes.push_back(c);
    return codes;
}

ScreenSurface greyScreen() {
    ScreenSurface screen;
    screen.create(kWidth, kHeight);
    for (size_t i = 0; i < static_cast<size_t>(kWidth) * kHeight * 3; ++i)
        screen.pixels()[i] = 0x60;
    return screen;
}

FreeTypeGlyphRenderer& renderer() {
    static FreeTypeGlyphRenderer instance;
    return instance;
}

void drawOne(GlyphCache& cache, ScreenSurface& screen, uint16_t code, int k, int left, int top) {
    const uint8_t* coverage =
        cache.coverage(kDefaultFontFace, kNormalFontWeight, code, kGlyphSize, k);
    drawGlyph(screen, coverage, kGlyphSize, left, top, 0xFFFFFF, true);
}

// One glyph per iteration; cold runs empty the cache first.
void BM_OneGlyph(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    const std::vector<uint16_t> codes = messageCodes();
    ScreenSurface screen = greyScreen();
    GlyphCache cache(&renderer());
    for (uint16_t code : codes)
        cache.coverage(kDefaultFontFace, kNormalFontWeight, code, kGlyphSize, k);
    size_t i = 0;
    for (auto _ : state) {
        if (cold) cache.clear();
        drawOne(cache, screen, codes[i % codes.size()], k,
                40 + static_cast<int>(i % 20) * kGlyphSize, 360);
        ++i;
        benchmark::ClobberMemory();
    }
    state.SetLabel(cold ? "cold" : "warm");
}
BENCHMARK(BM_OneGlyph)
    ->ArgNames({"k", "cold"})
    ->Args({1, 0})
    ->Args({4, 0})
    ->Args({1, 1})
    ->Args({4, 1});

// A whole message laid out in lines as the message window types it.
void BM_Message160(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    const std::vector<uint16_t> codes = messageCodes();
    ScreenSurface screen = greyScreen();
    GlyphCache cache(&renderer());
    for (auto _ : state) {
        if (cold) cache.clear();
        int x = 12, y = 330;
        for (uint16_t code : codes) {
            if (x + kGlyphSize >= kWidth - 12) {
                x = 12;
                y += kGlyphSize;
            }
            drawOne(cache, screen, code, k, x, y);
            x += kGlyphSize;
        }
        benchmark::ClobberMemory();
    }
    state.SetLabel(cold ? "cold" : "warm");
}
BENCHMARK(BM_Message160)
    ->ArgNames({"k", "cold"})
    ->Args({4, 0})
    ->Args({4, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMicrosecond);

// The yardstick: the whole screen redrawn from one opaque background picture.
void BM_FullScreenRedraw(benchmark::State& state) {
    ScreenSurface screen = greyScreen();
    ImageSlots images;
    images.slots[0] = std::make_unique<Image>();
    createImage(*images.slots[0], kWidth, kHeight);
    DisplayList list;
    DisplayEntry background;
    background.kind = kEntryImage;
    background.slot = 0;
    background.sourceRight = kWidth;
    background.sourceBottom = kHeight;
    list.insert(0, background);
    GraphicsState graphics;
    UpdateList dirty;
    dirty.setClip(kWidth, kHeight);
    dirty.addDirty({0, 0, kWidth, kHeight}, true);
    for (auto _ : state) {
        redrawDirty(screen, list, images, graphics, dirty);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenRedraw)->Unit(benchmark::kMicrosecond);

// The floor of any full-screen redraw: one memset of the 24-bit screen.
void BM_FullScreenFill(benchmark::State& state) {
    ScreenSurface screen = greyScreen();
    uint8_t value = 0;
    for (auto _ : state) {
        std::memset(screen.pixels(), ++value, static_cast<size_t>(screen.rowBytes()) * kHeight);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenFill)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zeku
