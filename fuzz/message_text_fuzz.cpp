// Fuzzes message files end to end: arbitrary bytes read as a message file,
// then every record expanded (with string variables long enough to hit the
// text limit), typed to the end under changing input, laid out as choice
// lines and drawn onto a small screen through a glyph cache.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "player/graphics/glyph_cache.h"
#include "player/graphics/message_drawing.h"
#include "player/graphics/message_file.h"
#include "player/graphics/message_window.h"

namespace {

// Ink in a checkerboard of the cell, whatever the character.
class PatternRenderer final : public zeku::GlyphRenderer {
  public:
    bool render(std::string_view, int, uint16_t code, int cellPx, uint8_t* coverage) override {
        for (int i = 0; i < cellPx * cellPx; ++i)
            coverage[i] = ((i + code) & 1) != 0 ? 255 : 0;
        return code != 0;
    }
};

std::string_view variable(const void*, char letter) {
    static const std::string longText(200, 'v');
    return letter == 'z' ? std::string_view(longText) : std::string_view("\x82\xa0@a");
}

void checkWindow(const zeku::MessageWindow& window) {
    if (window.glyphCount < 0 || window.glyphCount > zeku::kGlyphLimit) __builtin_trap();
    if (window.readOffset > window.textLength) __builtin_trap();
    if (window.textLength >= zeku::kMessageTextBytes) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> bytes(new char[size == 0 ? 1 : size]);
    if (size > 0) std::memcpy(bytes.get(), data, size);
    const zeku::MessageTable table = zeku::parseMessages(std::string_view(bytes.get(), size));

    static PatternRenderer renderer;
    static zeku::GlyphCache cache(&renderer);
    static zeku::ScreenSurface screen;
    if (!screen.hasPixels()) screen.create(160, 120);
    zeku::UpdateList dirty;
    dirty.setClip(screen.width(), screen.height());
    zeku::MessageWindows windows;
    for (zeku::MessageWindow& window : windows) {
        zeku::createWindow(window, screen.width(), screen.height());
        zeku::applyCommandDefaults(window, screen.width(), screen.height());
    }
    zeku::MessageWindow& window = windows[zeku::kTextWindow];
    const uint32_t seed = size > 0 ? data[0] : 0;
    const zeku::TextStyle style{"face", 400, static_cast<int>(seed % 4) + 1, (seed & 4) != 0};

    uint32_t now = 1000;
    for (const zeku::MessageEntry& entry : table.entries) {
        char expanded[zeku::kMessageTextBytes];
        const size_t length = zeku::expandMessage(entry.text, true, variable, nullptr, expanded);
        if (length >= zeku::kMessageTextBytes || expanded[length] != 0) __builtin_trap();
        zeku::startMessage(window, std::string_view(expanded, length), 0xFFFFFF, false, now);
        zeku::TypingInput input;
        input.screenWidth = screen.width();
        input.messageSpeed = static_cast<int>(seed % 3);
        input.autoAdvance = (seed & 8) != 0;
        for (int frame = 0; frame < 64; ++frame) {
            now += 16;
            input.nowMs = now;
            input.decidePending = frame % 3 == 0;
            input.skipping = (frame & 4) != 0;
            const zeku::TypingResult result = zeku::typeStep(window, input, dirty);
            checkWindow(window);
            if (frame % 8 == 0 || result.state == zeku::TypingState::Finished) {
                zeku::drawWindows(windows, dirty, screen, cache, style);
                dirty.clear();
            }
            if (result.state == zeku::TypingState::Finished) break;
        }
        zeku::pushHistory(window);
        zeku::addChoiceLine(window, entry.name);
        zeku::drawChoices(window, screen.width(), dirty);
        zeku::highlightChoice(window, zeku::choiceAt(window, 20, 20), dirty);
        zeku::drawWindows(windows, dirty, screen, cache, style);
        zeku::clearChoices(window, dirty);
        zeku::clearGlyphs(window, dirty);
        dirty.clear();
        checkWindow(window);
    }
    return 0;
}
