// Opening the system menu's panel on the 640 x 480 screen: reading the
// picture back from the frame buffer, drawing the panel and showing its
// rectangle, with the text blank and through FreeType, next to one
// whole-screen present timed in the same run as the yardstick.
#include <benchmark/benchmark.h>

#include "platform/font/freetype_glyph_renderer.h"
#include "platform/headless/headless_device_status.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/virtual_clock.h"
#include "player/shell/screen_present.h"
#include "player/system/menu_panel.h"

namespace zeku {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

ScreenSurface noisySurface() {
    ScreenSurface s;
    s.create(kWidth, kHeight);
    uint32_t seed = 12345;
    for (size_t i = 0; i < static_cast<size_t>(kWidth) * kHeight * 3; ++i) {
        seed = seed * 1103515245u + 12345u;
        s.pixels()[i] = static_cast<uint8_t>(seed >> 24);
    }
    return s;
}

// The top level as the player builds it: eleven entries, four of them popups.
MenuTree topLevel() {
    MenuTree tree;
    int child = -1;
    tree.addPopup(0, 1, "\xDB\xB0\xC4\xDE", &child);  // ﾛｰﾄﾞ
    tree.addPopup(0, 2, "\xBE\xB0\xCC\xDE", &child);  // ｾｰﾌﾞ
    tree.addCommand(0, 3,
                    "\x82\xD0\x82\xC6\x82\xC2\x91\x4F\x82\xCC\x91\x49\x91\xF0"
                    "\x8E\x88\x82\xC9\x96\xDF\x82\xE9");  // ひとつ前の選択肢に戻る
    tree.addSeparator(0);
    tree.addPopup(0, 4, "\x90\xDD\x92\xE8", &child);          // 設定
    tree.addPopup(0, 5, "\xD2\xAF\xBE\xB0\xBC\xDE", &child);  // ﾒｯｾｰｼﾞ
    tree.addSeparator(0);
    tree.addCommand(0, 6, "\xC0\xB2\xC4\xD9\x82\xC9\x96\xDF\x82\xE9");  // ﾀｲﾄﾙに戻る
    tree.addSeparator(0);
    tree.addCommand(0, 7, "\x8F\x49\x97\xB9");  // 終了
    return tree;
}

FreeTypeGlyphRenderer& renderer() {
    static FreeTypeGlyphRenderer instance;
    return instance;
}

void openPanel(benchmark::State& state, GlyphRenderer* glyphs) {
    MemoryGdiDisplay display;
    display.open(kWidth, kHeight);
    const ScreenSurface picture = noisySurface();
    presentScreen(picture, display.beginDraw(), display.properties(), nullptr, 0, 0, nullptr);
    display.endDraw();
    VirtualClock clock;
    HeadlessDeviceStatus device(clock);
    MenuPanelHost host;
    host.display = &display;
    host.properties = display.properties();
    host.screenWidth = kWidth;
    host.screenHeight = kHeight;
    host.device = &device;
    host.overlayDescription = "mpg123 1.31.2";
    host.glyphs = glyphs;
    const MenuTree tree = topLevel();
    MenuCursor cursor;
    MenuPanel panel;
    for (auto _ : state) {
        panel.open(host, tree, cursor);
        benchmark::ClobberMemory();
    }
}

void BM_OpenMenuPanelBlankText640x480(benchmark::State& state) {
    openPanel(state, nullptr);
}
void BM_OpenMenuPanelFreeType640x480(benchmark::State& state) {
    openPanel(state, &renderer());
}

void BM_PresentWholeScreen640x480(benchmark::State& state) {
    MemoryGdiDisplay display;
    display.open(kWidth, kHeight);
    const ScreenSurface picture = noisySurface();
    const GXDisplayProperties p = display.properties();
    for (auto _ : state) {
        presentScreen(picture, display.beginDraw(), p, nullptr, 0, 0, nullptr);
        display.endDraw();
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_OpenMenuPanelBlankText640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMenuPanelFreeType640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentWholeScreen640x480)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zeku
