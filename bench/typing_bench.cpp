// A typing frame at 640 x 480 next to a full-screen redraw in the same run:
// one new character typed, its small rectangle redrawn from the background
// picture and the glyph drawn with shadow at anti-alias 4, warm cache.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/font/freetype_glyph_renderer.h"
#include "player/graphics/compositor.h"
#include "player/graphics/message_drawing.h"
#include "player/graphics/message_font.h"

namespace zeku {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Stage {
    ScreenSurface screen;
    ImageSlots images;
    DisplayList list;
    GraphicsState graphics;
    UpdateList dirty;
    DisplayEntry background;  // the list links the entry itself

    Stage() {
        screen.create(kWidth, kHeight);
        images.slots[0] = std::make_unique<Image>();
        createImage(*images.slots[0], kWidth, kHeight);
        background.kind = kEntryImage;
        background.slot = 0;
        background.sourceRight = kWidth;
        background.sourceBottom = kHeight;
        list.insert(0, background);
        dirty.setClip(kWidth, kHeight);
    }
};

FreeTypeGlyphRenderer& renderer() {
    static FreeTypeGlyphRenderer instance;
    return instance;
}

void BM_TypingFrame(benchmark::State& state) {
    Stage stage;
    GlyphCache cache(&renderer());
    MessageWindows windows;
    MessageWindow& window = windows[kTextWindow];
    createWindow(window, kWidth, kHeight);
    applyCommandDefaults(window, kWidth, kHeight);
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "\x82\xa0";  // the same character: the cache is warm after the first
    const TextStyle style{kDefaultFontFace, 900, 4, true};
    TypingInput input;
    input.messageSpeed = 1;
    input.screenWidth = kWidth;
    uint32_t now = 0;
    startMessage(window, text, 0xFFFFFF, false, now);
    for (auto _ : state) {
        if (window.readOffset >= window.textLength) {
            clearGlyphs(window, stage.dirty);
            stage.dirty.clear();
            startMessage(window, text, 0xFFFFFF, false, now);
        }
        now += 16;
        input.nowMs = now;
        typeStep(window, input, stage.dirty);
        redrawDirty(stage.screen, stage.list, stage.images, stage.graphics, stage.dirty);
        drawWindows(windows, stage.dirty, stage.screen, cache, style);
        stage.dirty.clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TypingFrame)->Unit(benchmark::kMicrosecond);

void BM_FullScreenRedrawReference(benchmark::State& state) {
    Stage stage;
    stage.dirty.add(ScreenRect{0, 0, kWidth, kHeight});
    for (auto _ : state) {
        redrawDirty(stage.screen, stage.list, stage.images, stage.graphics, stage.dirty);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullScreenRedrawReference)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zeku
