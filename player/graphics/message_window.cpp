// Layout and typing of the message windows: control sequences, delays,
// click waits, line breaking and the glyph records each character leaves.
#include "player/graphics/message_window.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "common/text/sjis.h"

namespace zeku {
namespace {

constexpr uint16_t kIdeographicComma = 0x8141;  // "、"
constexpr uint16_t kIdeographicStop = 0x8142;   // "。"
constexpr uint16_t kClosingBracket = 0x8176;    // "」"

int scaled(int64_t value, int screenSide, int scriptSide) {
    return static_cast<int>(
        std::clamp<int64_t>(value * screenSide / scriptSide, INT32_MIN, INT32_MAX));
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends `bytes` to `out` when they fit in the text buffer.
bool appendBytes(char* out, size_t& length, std::string_view bytes) {
    if (length + bytes.size() > kMessageTextBytes - 1) return false;
    std::copy(bytes.begin(), bytes.end(), out + length);
    length += bytes.size();
    return true;
}

// Appends a variable's text, cut at a character boundary.
void appendText(char* out, size_t& length, std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] != 0) {
        const size_t width =
            isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (!appendBytes(out, length, text.substr(i, width))) return;
        i += width;
    }
}

void newLine(MessageWindow& window, int screenWidth) {
    window.penX = window.originX;
    window.penY += glyphPixels(window, screenWidth) + window.lineSpacing;
}

// Reads a number of "\c(...)": optional sign, decimal or "0x" hexadecimal.
int32_t colourPart(std::string_view text, size_t& i) {
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t value = 0;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        i += 2;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) break;
            value = value * 16 + static_cast<uint32_t>(digit);
        }
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

// "\c(r,g,b)" from just after "(": the colour, and `i` past the ")". An
// unclosed sequence ends the text.
uint32_t parseColour(std::string_view text, size_t& i, uint32_t defaultColour) {
    const size_t close = text.find(')', i);
    const std::string_view inside =
        text.substr(i, close == std::string_view::npos ? std::string_view::npos : close - i);
    i = close == std::string_view::npos ? text.size() : close + 1;
    if (inside.empty()) return defaultColour;
    size_t at = 0;
    int32_t parts[3] = {0, 0, 0};
    for (int p = 0; p < 3; ++p) {
        parts[p] = colourPart(inside, at);
        if (p < 2) {
            while (at < inside.size() && inside[at] != ',' && inside[at] != '.')
                ++at;
            if (at < inside.size()) ++at;
        }
    }
    return static_cast<uint32_t>(parts[0]) * 65536u + static_cast<uint32_t>(parts[1]) * 256u +
           static_cast<uint32_t>(parts[2]);
}

void addGlyph(MessageWindow& window, uint16_t code, int size, UpdateList& dirty) {
    if (window.glyphCount >= kGlyphLimit) return;  // past the limit characters only move the pen
    GlyphRecord& glyph = window.glyphs[static_cast<size_t>(window.glyphCount++)];
    glyph.active = true;
    glyph.changed = true;
    glyph.code = code;
    glyph.size = size;
    glyph.colour = window.colour;
    const int left = window.window.left + window.penX;
    const int top = window.window.top + window.penY;
    glyph.rect = ScreenRect{left, top, left + size + 1, top + size + 1};
    dirty.add(glyph.rect);
}

uint32_t autoWaitMs(const MessageWindow& window, const TypingInput& input) {
    const int64_t units = static_cast<int64_t>(input.autoOne) * window.glyphCount +
                          static_cast<int64_t>(input.autoBase) * 20 + 20;
    return static_cast<uint32_t>(std::clamp<int64_t>(units * 10, 0, 0x7FFFFFFF));
}

// Past a click wait typing starts afresh, so the characters after it are
// typed at the normal pace rather than all at once to catch up.
void passClickWait(MessageWindow& window, size_t& i, uint32_t nowMs) {
    i += 2;
    window.clickWaitNoted = false;
    window.rushing = false;
    window.lastCharMs = nowMs;
}

}  // namespace

int glyphPixels(const MessageWindow& window, int screenWidth) {
    return scaled(window.charSize, screenWidth, 800);
}

void createWindow(MessageWindow& window, int screenWidth, int screenHeight) {
    window = MessageWindow{};
    window.created = true;
    window.window = ScreenRect{0, 0, screenWidth, screenHeight};
    window.originX = window.window.left + 16;
    window.originY = 0;
    window.penX = window.originX;
    window.penY = window.originY;
    window.rightMargin = screenWidth / 50;
}

void applyCommandDefaults(MessageWindow& window, int screenWidth, int screenHeight) {
    window.originX = scaled(16, screenWidth, 800);
    window.originY = scaled(16, screenHeight, 600);
    window.penX = window.originX;
    window.penY = window.originY;
    window.charSize = screenWidth < 400 ? 32 : 28;
    window.rightMargin = scaled(48, screenWidth, 800);
    window.secondMargin = scaled(32, screenHeight, 600);
}

void setTextOrigin(MessageWindow& window, int32_t x, int32_t y, int screenWidth, int screenHeight) {
    window.originX = scaled(static_cast<int64_t>(x) + 10, screenWidth, 800);
    window.originY = scaled(y, screenHeight, 600);
    window.penX = window.originX;
    window.penY = window.originY;
}

size_t expandMessage(std::string_view source, bool messageText, StringVariable lookup,
                     const void* variables, char* out) {
    size_t length = 0;
    size_t i = 0;
    while (i < source.size()) {
        const unsigned char c = static_cast<unsigned char>(source[i]);
        if (isLeadByte(c) && i + 1 < source.size()) {
            if (!appendBytes(out, length, source.substr(i, 2))) break;
            i += 2;
            continue;
        }
        // "@x", "\@x" (and a doubled backslash) insert string variable x.
        size_t at = i;
        while (at < source.size() && source[at] == '\\' && at - i < 2)
            ++at;
        if (at + 1 < source.size() && source[at] == '@' && isLetter(source[at + 1])) {
            if (lookup != nullptr) appendText(out, length, lookup(variables, source[at + 1]));
            i = at + 2;
            continue;
        }
        if (messageText && source.substr(i, 3) == "\\#(") {
            const size_t close = source.find(')', i + 3);
            const size_t end = close == std::string_view::npos ? source.size() : close + 1;
            if (!appendBytes(out, length, source.substr(i, end - i))) break;
            i = end;
            continue;
        }
        if (!appendBytes(out, length, source.substr(i, 1))) break;
        ++i;
    }
    out[length] = 0;
    return length;
}

void startMessage(MessageWindow& window, std::string_view text, uint32_t colour, bool instant,
                  uint32_t nowMs) {
    const size_t length = std::min(text.size(), kMessageTextBytes - 1);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length), window.text);
    window.text[length] = 0;
    window.textLength = length;
    window.readOffset = 0;
    window.colour = colour;
    window.instant = instant;
    window.lastCharMs = nowMs;
    window.clickWaitNoted = false;
    window.rushing = false;
}

TypingResult typeStep(MessageWindow& window, const TypingInput& input, UpdateList& dirty) {
    TypingResult result;
    const std::string_view text(window.text, window.textLength);
    const int size = glyphPixels(window, input.screenWidth);
    size_t& i = window.readOffset;
    while (true) {
        if (i >= text.size()) {
            result.state = TypingState::Finished;
            return result;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ') {
            ++i;
            continue;
        }
        if (c == '\\' && i + 1 < text.size()) {
            const char kind = text[i + 1];
            if (kind == '#' && i + 2 < text.size() && text[i + 2] == '(') {
                const size_t close = text.find(')', i + 2);
                const size_t end = close == std::string_view::npos ? text.size() : close + 1;
                result.embeddedCommand = text.substr(i + 1, end - i - 1);
                i = end;
                return result;
            }
            if (kind == 'c' && i + 2 < text.size() && text[i + 2] == '(') {
                i += 3;
                window.colour = parseColour(text, i, window.defaultColour);
                continue;
            }
            if (kind == 'n') {
                i += 2;
                newLine(window, input.screenWidth);
                continue;
            }
            if (kind == 'z') {
                i = text.size();
                result.state = TypingState::Finished;
                return result;
            }
            if (kind == 'm') {
                if (!window.clickWaitNoted) {
                    window.clickWaitNoted = true;
                    window.clickWaitStartMs = input.nowMs;
                }
                if (input.skipping && input.readFlag) {
                    passClickWait(window, i, input.nowMs);
                    return result;
                }
                if (input.decidePending && !result.decideConsumed) {
                    result.decideConsumed = true;
                    passClickWait(window, i, input.nowMs);
                    continue;
                }
                if (input.autoAdvance && !input.historyShown &&
                    input.nowMs - window.clickWaitStartMs >= autoWaitMs(window, input)) {
                    passClickWait(window, i, input.nowMs);
                    continue;
                }
                result.state = TypingState::WaitingForClick;
                return result;
            }
        }
        // An ordinary character.
        const bool pair = isLeadByte(c) && i + 1 < text.size();
        const uint16_t code =
            pair ? static_cast<uint16_t>(c << 8 | static_cast<unsigned char>(text[i + 1])) : c;
        if (!window.instant && !input.skipping && !window.rushing && input.decidePending &&
            !result.decideConsumed) {
            result.decideConsumed = true;
            window.rushing = true;
        }
        uint32_t delay =
            window.delayUnitMs * static_cast<uint32_t>(std::max(input.messageSpeed, 0));
        if (window.instant || input.skipping || window.rushing) delay = 0;
        if (static_cast<int32_t>(input.nowMs - (window.lastCharMs + delay)) < 0) return result;
        const int right = window.window.width() - window.rightMargin;
        const bool mayStandInMargin =
            code == kIdeographicComma || code == kIdeographicStop || code == kClosingBracket;
        if (window.penX + size >= right && !mayStandInMargin) newLine(window, input.screenWidth);
        addGlyph(window, code, size, dirty);
        window.penX += size + window.charSpacing;
        window.lastCharMs += delay;
        i += pair ? 2 : 1;
    }
}

void clearGlyphs(MessageWindow& window, UpdateList& dirty) {
    for (int g = 0; g < window.glyphCount; ++g) {
        GlyphRecord& glyph = window.glyphs[static_cast<size_t>(g)];
        if (glyph.active) dirty.add(glyph.rect);
        glyph = GlyphRecord{};
    }
    window.glyphCount = 0;
    window.choiceCount = 0;
    window.selectedChoice = -1;
    window.penX = window.originX;
    window.penY = window.originY;
}

void pushHistory(MessageWindow& window) {
    if (window.history.size() >= kHistoryLimit) window.history.pop_front();
    HistoryEntry entry;
    entry.glyphs.assign(window.glyphs.begin(), window.glyphs.begin() + window.glyphCount);
    window.history.push_back(std::move(entry));
}

void addChoiceLine(MessageWindow& window, std::string_view text) {
    if (window.choiceCount >= kChoiceLineLimit) return;
    ChoiceLine& line = window.choices[static_cast<size_t>(window.choiceCount++)];
    line = ChoiceLine{};
    const std::string terminated(text.substr(0, text.find('\0')));
    textCopy(line.text, sizeof(line.text), terminated.c_str());
}

void drawChoices(MessageWindow& window, int screenWidth, UpdateList& dirty) {
    const int size = glyphPixels(window, screenWidth);
    window.penBeforeChoicesX = window.penX;
    window.penBeforeChoicesY = window.penY;
    if (window.penX != window.originX) newLine(window, screenWidth);
    ScreenRect all{};
    bool any = false;
    for (int c = 0; c < window.choiceCount; ++c) {
        ChoiceLine& line = window.choices[static_cast<size_t>(c)];
        window.penX = window.originX;
        line.firstGlyph = window.glyphCount;
        const int left = window.window.left + window.penX;
        const int top = window.window.top + window.penY;
        const std::string_view text(line.text);
        const uint32_t saved = window.colour;
        window.colour = window.choiceNormal;
        for (size_t i = 0; i < text.size();) {
            const unsigned char b = static_cast<unsigned char>(text[i]);
            const bool pair = isLeadByte(b) && i + 1 < text.size();
            const uint16_t code =
                pair ? static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(text[i + 1])) : b;
            if (window.glyphCount < kGlyphLimit) {
                GlyphRecord& glyph = window.glyphs[static_cast<size_t>(window.glyphCount++)];
                glyph = GlyphRecord{
                    true,
                    true,
                    code,
                    size,
                    window.colour,
                    ScreenRect{window.window.left + window.penX, top,
                               window.window.left + window.penX + size + 1, top + size + 1}};
            }
            window.penX += size + window.charSpacing;
            i += pair ? 2 : 1;
        }
        window.colour = saved;
        line.glyphCount = window.glyphCount - line.firstGlyph;
        line.rect = ScreenRect{left, top, window.window.left + window.penX, top + size};
        all = any ? unionOf(all, line.rect) : line.rect;
        any = true;
        window.penX = window.originX;
        window.penY += size + window.lineSpacing;
    }
    window.selectedChoice = -1;
    if (any) dirty.add(ScreenRect{all.left, all.top, all.right + 1, all.bottom + 1});
}

int choiceAt(const MessageWindow& window, int x, int y) {
    for (int c = 0; c < window.choiceCount; ++c) {
        const ScreenRect& r = window.choices[static_cast<size_t>(c)].rect;
        if (x > r.left && x < r.right && y > r.top && y < r.bottom) return c;
    }
    return -1;
}

void highlightChoice(MessageWindow& window, int choice, UpdateList& dirty) {
    for (int c = 0; c < window.choiceCount; ++c) {
        const ChoiceLine& line = window.choices[static_cast<size_t>(c)];
        const uint32_t colour = c == choice ? window.choiceHighlight : window.choiceNormal;
        for (int g = line.firstGlyph; g < line.firstGlyph + line.glyphCount && g < kGlyphLimit;
             ++g) {
            GlyphRecord& glyph = window.glyphs[static_cast<size_t>(g)];
            if (!glyph.active || glyph.colour == colour) continue;
            // Drawn again on a cleared background, never blended over itself.
            glyph.colour = colour;
            glyph.changed = true;
            dirty.add(glyph.rect);
        }
    }
    window.selectedChoice = choice;
}

void clearChoices(MessageWindow& window, UpdateList& dirty) {
    if (window.choiceCount == 0) return;
    const int first = window.choices[0].firstGlyph;
    for (int g = first; g < window.glyphCount; ++g) {
        GlyphRecord& glyph = window.glyphs[static_cast<size_t>(g)];
        if (glyph.active) dirty.add(glyph.rect);
        glyph = GlyphRecord{};
    }
    window.glyphCount = std::min(window.glyphCount, first);
    window.choiceCount = 0;
    window.selectedChoice = -1;
    window.penX = window.penBeforeChoicesX;
    window.penY = window.penBeforeChoicesY;
}

void redrawAllWindows(MessageWindows& windows, UpdateList& dirty, int screenWidth,
                      int screenHeight) {
    for (MessageWindow& window : windows) {
        for (int g = 0; g < window.glyphCount; ++g)
            window.glyphs[static_cast<size_t>(g)].changed = true;
    }
    dirty.add(ScreenRect{0, 0, screenWidth, screenHeight});
}

}  // namespace zeku
