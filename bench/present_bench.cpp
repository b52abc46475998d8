// The present's cost per pixel: whole frames and typical dirty rectangles on
// each placement, next to a plain memcpy of the same 16-bit frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/headless/memory_display.h"
#include "player/shell/screen_present.h"

namespace zeku {
namespace {

ScreenSurface noisySurface(int w, int h) {
    ScreenSurface s;
    s.create(w, h);
    uint32_t seed = 12345;
    for (size_t i = 0; i < static_cast<size_t>(w) * h * 3; ++i) {
        seed = seed * 1103515245u + 12345u;
        s.pixels()[i] = static_cast<uint8_t>(seed >> 24);
    }
    return s;
}

void reportPixels(benchmark::State& state, int64_t pixelsPerIteration) {
    state.SetItemsProcessed(state.iterations() * pixelsPerIteration);
    state.counters["ns/pixel"] =
        benchmark::Counter(static_cast<double>(state.iterations() * pixelsPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename Display>
void presentWhole(benchmark::State& state, Display& display, int w, int h) {
    ScreenSurface s = noisySurface(w, h);
    display.open(w, h);
    const GXDisplayProperties p = display.properties();
    for (auto _ : state) {
        presentScreen(s, display.beginDraw(), p, nullptr, 0, 0, nullptr);
        benchmark::ClobberMemory();
    }
    reportPixels(state, int64_t{w} * h);
}

void BM_PresentWindow320x240(benchmark::State& state) {
    MemoryGdiDisplay d;
    presentWhole(state, d, 320, 240);
}
void BM_PresentLandscape640x480(benchmark::State& state) {
    MemoryPanelDisplay d(640, 480);
    presentWhole(state, d, 640, 480);
}
void BM_PresentPortrait640x480(benchmark::State& state) {
    MemoryPanelDisplay d(480, 640);
    presentWhole(state, d, 640, 480);
}

// A typing message: a dozen 24 x 24 glyph cells, and one 200 x 300 character.
void BM_PresentDirtyRects640x480(benchmark::State& state) {
    MemoryPanelDisplay d(640, 480);
    d.open(640, 480);
    ScreenSurface s = noisySurface(640, 480);
    std::vector<ScreenRect> rects;
    for (int i = 0; i < 12; ++i)
        rects.push_back({40 + i * 24, 380, 64 + i * 24, 404});
    rects.push_back({400, 60, 600, 360});
    int64_t pixels = 0;
    for (const ScreenRect& r : rects)
        pixels += int64_t{r.right - r.left} * (r.bottom - r.top);
    const GXDisplayProperties p = d.properties();
    for (auto _ : state) {
        uint8_t* base = d.beginDraw();
        for (const ScreenRect& r : rects)
            presentScreen(s, base, p, &r, r.left, r.top, nullptr);
        benchmark::ClobberMemory();
    }
    reportPixels(state, pixels);
}

void BM_MemcpyFrame640x480(benchmark::State& state) {
    std::vector<uint16_t> from(640 * 480, 0x1234), to(640 * 480);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 2);
        benchmark::ClobberMemory();
    }
    reportPixels(state, 640 * 480);
}

BENCHMARK(BM_PresentWindow320x240);
BENCHMARK(BM_PresentLandscape640x480);
BENCHMARK(BM_PresentPortrait640x480);
BENCHMARK(BM_PresentDirtyRects640x480);
BENCHMARK(BM_MemcpyFrame640x480);

}  // namespace
}  // namespace zeku
