// A frame's cost per pixel: the redraw of a whole screen of three layers (an
// opaque background and two characters with soft edges) and its present,
// next to a plain memcpy of the same 24-bit frame timed in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/headless/memory_display.h"
#include "player/graphics/compositor.h"
#include "player/shell/screen_present.h"

namespace zeku {
namespace {

// Fills an image with a colour ramp; characters get transparent margins,
// opaque bodies and a band of partial alpha between them.
void paint(Image& image, bool character) {
    const int w = static_cast<int>(image.width);
    const int h = static_cast<int>(image.height);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.pixel(x, y);
            store565(p, static_cast<uint16_t>(x * 31 + y * 17));
            uint8_t alpha = 255;
            if (character) {
                const int edge = std::min(x, w - 1 - x);
                alpha = edge < w / 6 ? 0 : edge < w / 6 + 8 ? static_cast<uint8_t>(edge * 29) : 255;
            }
            p[2] = alpha;
        }
}

struct Scene {
    ScreenSurface screen;
    ImageSlots images;
    DisplayList list;
    GraphicsState state;
    DisplayEntry entries[3];

    Scene(int w, int h) {
        screen.create(w, h);
        const int sizes[3][2] = {{w, h}, {w * 2 / 5, h}, {w * 2 / 5, h * 9 / 10}};
        const int places[3][2] = {{0, 0}, {w / 10, 0}, {w / 2, h / 10}};
        for (int i = 0; i < 3; ++i) {
            images.slots[i] = std::make_unique<Image>();
            createImage(*images.slots[i], sizes[i][0], sizes[i][1]);
            paint(*images.slots[i], i != 0);
            DisplayEntry& e = entries[i];
            e.kind = kEntryImage;
            e.slot = static_cast<int16_t>(i);
            e.sourceRight = static_cast<int16_t>(sizes[i][0]);
            e.sourceBottom = static_cast<int16_t>(sizes[i][1]);
            e.left = static_cast<int16_t>(places[i][0]);
            e.top = static_cast<int16_t>(places[i][1]);
            list.insert(2 - i, e);  // the background on the deepest layer
        }
    }
};

// One frame as the player makes it: the redraw of the dirty rectangle and
// the present of the finished surface to the display.
template <typename Display>
void redrawAndPresent(Scene& scene, const UpdateList& dirty, Display& display,
                      const GXDisplayProperties& props) {
    redrawDirty(scene.screen, scene.list, scene.images, scene.state, dirty);
    presentScreen(scene.screen, display.beginDraw(), props, nullptr, 0, 0, nullptr);
}

template <typename Display>
void redrawWholeScreen(benchmark::State& state, Display& display, int w, int h) {
    Scene scene(w, h);
    display.open(w, h);
    const GXDisplayProperties props = display.properties();
    UpdateList dirty;
    dirty.setClip(w, h);
    dirty.addDirty({0, 0, w, h}, true);
    for (auto _ : state) {
        redrawAndPresent(scene, dirty, display, props);
        benchmark::ClobberMemory();
    }
    const double pixels = static_cast<double>(w) * h;

    // The same frame copied with memcpy, as a floor for any redraw.
    std::vector<uint8_t> copy(static_cast<size_t>(w) * h * 3);
    const int copies = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < copies; ++i) {
        std::memcpy(copy.data(), scene.screen.pixels(), copy.size());
        benchmark::ClobberMemory();
    }
    const double memcpyNs =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
        copies;
    // The redraw timed the same way, for the ratio.
    const int redraws = 50;
    const auto redrawStart = std::chrono::steady_clock::now();
    for (int i = 0; i < redraws; ++i) {
        redrawAndPresent(scene, dirty, display, props);
        benchmark::ClobberMemory();
    }
    const double redrawNs =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - redrawStart)
            .count() /
        redraws;

    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pixels));
    state.counters["ns/pixel"] = benchmark::Counter(
        state.iterations() * pixels, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["memcpy_ns/pixel"] = memcpyNs / pixels;
    state.counters["memcpy_ns/frame"] = memcpyNs;
    state.counters["x_memcpy"] = redrawNs / memcpyNs;
}

void BM_Redraw3Layers640x480(benchmark::State& state) {
    MemoryPanelDisplay display(640, 480);
    redrawWholeScreen(state, display, 640, 480);
}
void BM_Redraw3Layers320x240(benchmark::State& state) {
    MemoryGdiDisplay display;
    redrawWholeScreen(state, display, 320, 240);
}
BENCHMARK(BM_Redraw3Layers640x480);
BENCHMARK(BM_Redraw3Layers320x240);

}  // namespace
}  // namespace zeku
