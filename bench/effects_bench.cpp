// The heaviest transition effects at 640 × 480 (the ripple's piece per pixel
// row, the explosion and the diagonal fade with a tile per 8 × 8 pixels),
// per frame: effect step, redraw of the changed area and its present, next
// to a full-screen redraw and present of the same picture timed in the same
// run ("x_full_redraw" is their ratio).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "platform/headless/memory_display.h"
#include "player/graphics/display_objects.h"
#include "player/graphics/transition_effect.h"
#include "player/shell/screen_present.h"

namespace zeku {
namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr uint32_t kFrameMs = 16;
constexpr int32_t kEffectMs = 1500;

void paint(Image& image, int seed) {
    for (int y = 0; y < static_cast<int>(image.height); ++y)
        for (int x = 0; x < static_cast<int>(image.width); ++x) {
            uint8_t* p = image.pixel(x, y);
            store565(p, static_cast<uint16_t>(x * 31 + y * 17 + seed));
            p[2] = 255;
        }
}

// A background and a full-screen picture over it, as a scene change has.
struct Stage {
    DisplayObjects objects;
    DisplayList list;
    UpdateList dirty;
    ScreenSurface screen;
    ImageSlots images;
    GraphicsState state;
    MemoryPanelDisplay display{kW, kH};
    GXDisplayProperties props;
    uint32_t nowMs = 1000;

    Stage() {
        objects.screenWidth = kW;
        objects.screenHeight = kH;
        screen.create(kW, kH);
        dirty.setClip(kW, kH);
        display.open(kW, kH);
        props = display.properties();
        for (int slot : {0, 5}) {
            images.slots[slot] = std::make_unique<Image>();
            createImage(*images.slots[slot], kW, kH);
            paint(*images.slots[slot], slot * 1000);
        }
        createPictureObject(objects, images, 0, 0, 0, 0, 800, 600, 0, 0, 0, 0, 96);
        createPictureObject(objects, images, 5, 5, 0, 0, 800, 600, 0, 0, 0, 0, 28);
    }

    // One player frame: step and redraw, then present what changed.
    void frame() {
        displayFrame(objects, list, dirty, screen, images, state, nowMs);
        uint8_t* base = display.beginDraw();
        for (const ScreenRect& rect : dirty.rects())
            presentScreen(screen, base, props, &rect, rect.left, rect.top, nullptr);
        dirty.clear();
        nowMs += kFrameMs;
    }
};

struct EffectArgs {
    uint32_t type;
    int32_t a, b, c;
};

void runEffectFrame(Stage& stage, const EffectArgs& args) {
    DisplayObject& o = *stage.objects.slots[5];
    if (!o.effect.active)
        startEffect(o, args.type, kEffectMs, args.a, args.b, args.c, stage.nowMs, kW, kH);
    stage.frame();
    // A removing effect retires the picture: put it back for the next round.
    if (stage.objects.slots[5] == nullptr)
        createPictureObject(stage.objects, stage.images, 5, 5, 0, 0, 800, 600, 0, 0, 0, 0, 28);
}

void runFullRedraw(Stage& stage) {
    stage.dirty.addDirty({0, 0, kW, kH}, true);
    stage.frame();
}

template <typename Work>
double nsPerFrame(Work work, int frames) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        work();
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
               .count() /
           frames;
}

void effectBench(benchmark::State& state, EffectArgs args) {
    Stage stage;
    for (auto _ : state)
        runEffectFrame(stage, args);
    // Both timed the same way over whole effect rounds, for the ratio.
    constexpr int kFrames = 3 * (kEffectMs / kFrameMs + 1);
    Stage plain;
    const double fullNs = nsPerFrame([&] { runFullRedraw(plain); }, kFrames);
    Stage timed;
    const double effectNs = nsPerFrame([&] { runEffectFrame(timed, args); }, kFrames);
    state.counters["full_redraw_us"] = fullNs / 1000.0;
    state.counters["effect_us"] = effectNs / 1000.0;
    state.counters["x_full_redraw"] = effectNs / fullNs;
}

void BM_FullRedraw640x480(benchmark::State& state) {
    Stage stage;
    for (auto _ : state)
        runFullRedraw(stage);
}
// The ripple: amplitude 20 script units, 3 degrees a row, two turns.
void BM_Ripple640x480(benchmark::State& state) {
    effectBench(state, {kEffectRipple, 20, 3, 2});
}
// 10 script units make 8-pixel tiles; the centre in the middle tile.
void BM_Explosion640x480(benchmark::State& state) {
    effectBench(state, {kEffectExplosion, 10, (40 << 16) | 30, 0});
}
void BM_DiagonalFade640x480(benchmark::State& state) {
    effectBench(state, {20, 10, 1, 4});
}
void BM_ColumnWipe640x480(benchmark::State& state) {
    effectBench(state, {kEffectColumnsRight, kW / 40, 1, 1});
}
BENCHMARK(BM_FullRedraw640x480);
BENCHMARK(BM_Ripple640x480);
BENCHMARK(BM_Explosion640x480);
BENCHMARK(BM_DiagonalFade640x480);
BENCHMARK(BM_ColumnWipe640x480);

}  // namespace
}  // namespace zeku
