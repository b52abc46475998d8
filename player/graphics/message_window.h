// The two message windows the text commands draw into: 0 the name window,
// 1 the message window. A window holds its text, the typing state, the
// glyphs typed so far, the choice lines of a choice menu and the history of
// finished messages. Typing and layout live here; drawing the glyphs is
// message_drawing.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "common/geometry/screen_rect.h"
#include "player/graphics/update_list.h"

namespace zeku {

inline constexpr int kMessageWindowCount = 2;
inline constexpr int kNameWindow = 0;
inline constexpr int kTextWindow = 1;
inline constexpr int kGlyphLimit = 256;
inline constexpr size_t kMessageTextBytes = 1024;  // 1023 bytes and the terminator
inline constexpr int kChoiceLineLimit = 4;
inline constexpr size_t kChoiceLineBytes = 64;
inline constexpr size_t kHistoryLimit = 64;
inline constexpr uint32_t kHistoryColour = 0xCCCCCC;
inline constexpr uint32_t kChoiceHighlightColour = 0xFF00FF;
inline constexpr uint32_t kChoiceNormalColour = 0x00FFFF;

// One typed character. Colours are 0xRRGGBB; the rectangle holds the glyph
// and its shadow (one pixel right and down).
struct GlyphRecord {
    bool active = false;
    bool changed = false;
    uint16_t code = 0;  // a double-byte character's two bytes, or one byte
    int32_t size = 0;   // pixels
    uint32_t colour = 0;
    ScreenRect rect;
};

struct ChoiceLine {
    char text[kChoiceLineBytes] = {};
    ScreenRect rect;
    int firstGlyph = 0;
    int glyphCount = 0;
};

struct HistoryEntry {
    std::vector<GlyphRecord> glyphs;
};

enum class TypingState { Typing, WaitingForClick, Finished };

struct MessageWindow {
    bool created = false;
    ScreenRect window;  // screen pixels
    int originX = 0;    // screen pixels from the window's corner
    int originY = 0;
    int penX = 0;
    int penY = 0;
    int charSize = 24;    // script units
    int charSpacing = 0;  // screen pixels
    int lineSpacing = 0;
    int rightMargin = 0;   // screen pixels
    int secondMargin = 0;  // kept, never read
    uint32_t colour = 0xFFFFFF;
    uint32_t defaultColour = 0xFFFFFF;
    uint32_t choiceHighlight = kChoiceHighlightColour;
    uint32_t choiceNormal = kChoiceNormalColour;

    char text[kMessageTextBytes] = {};
    size_t textLength = 0;
    size_t readOffset = 0;
    bool instant = false;
    uint32_t delayUnitMs = 16;
    uint32_t lastCharMs = 0;
    uint32_t clickWaitStartMs = 0;
    bool clickWaitNoted = false;
    bool rushing = false;  // a click while typing: the rest up to "\m" at once

    std::array<GlyphRecord, kGlyphLimit> glyphs{};
    int glyphCount = 0;

    std::array<ChoiceLine, kChoiceLineLimit> choices{};
    int choiceCount = 0;
    int selectedChoice = -1;
    int penBeforeChoicesX = 0;
    int penBeforeChoicesY = 0;

    bool visible = true;
    bool hidden = false;  // erased by the player's request: not drawn, choices ignore input

    std::deque<HistoryEntry> history;  // oldest first
    int historyShown = 0;              // 0 the newest entry
    bool showingHistory = false;
};

using MessageWindows = std::array<MessageWindow, kMessageWindowCount>;

// Character width and height in screen pixels.
int glyphPixels(const MessageWindow& window, int screenWidth);

// A fresh window with the creation defaults: the whole screen, origin x 16
// pixels, size 24, margin screen width / 50.
void createWindow(MessageWindow& window, int screenWidth, int screenHeight);
// What the window-creating command sets after creation: origin (16, 16),
// size 28 (32 on screens under 400 pixels wide), margins 48 and 32 script units.
void applyCommandDefaults(MessageWindow& window, int screenWidth, int screenHeight);
// The text origin (x + 10, y) in script units from the window's corner;
// the pen goes there.
void setTextOrigin(MessageWindow& window, int32_t x, int32_t y, int screenWidth, int screenHeight);

// Copies a message's name or text into `out` (kMessageTextBytes), inserting
// string variables for "@x" and "\@x"; in message text "\#(...)" is copied
// whole. Double-byte characters are copied as pairs and never split; what
// does not fit is cut at a character boundary. Returns the length.
using StringVariable = std::string_view (*)(const void* variables, char letter);
size_t expandMessage(std::string_view source, bool messageText, StringVariable lookup,
                     const void* variables, char* out);

// Puts expanded text into the window and starts typing it at `nowMs`.
void startMessage(MessageWindow& window, std::string_view text, uint32_t colour, bool instant,
                  uint32_t nowMs);

struct TypingInput {
    uint32_t nowMs = 0;
    bool readFlag = true;
    bool skipping = false;       // skip mode on or the skip key held
    bool decidePending = false;  // a click, key C or right not yet consumed
    int messageSpeed = 1;
    bool autoAdvance = false;
    int autoBase = 0;
    int autoOne = 0;
    bool historyShown = false;
    int screenWidth = 0;
};

struct TypingResult {
    TypingState state = TypingState::Typing;
    bool decideConsumed = false;
    // The command text of a "\#(...)" met, from "#" to ")"; empty when none.
    std::string_view embeddedCommand;
};

// Types as many characters as are due; new glyph rectangles go to `dirty`.
TypingResult typeStep(MessageWindow& window, const TypingInput& input, UpdateList& dirty);

// Pen back to the origin and every glyph gone (their areas to `dirty`).
void clearGlyphs(MessageWindow& window, UpdateList& dirty);
// Appends a copy of the glyphs to the history, dropping the oldest past 64.
void pushHistory(MessageWindow& window);

// Choice menu lines in the message window.
void addChoiceLine(MessageWindow& window, std::string_view text);
void drawChoices(MessageWindow& window, int screenWidth, UpdateList& dirty);
// The choice whose rectangle holds the point strictly inside, or -1.
int choiceAt(const MessageWindow& window, int x, int y);
// Draws `choice` highlighted and the others normal; -1 none highlighted.
void highlightChoice(MessageWindow& window, int choice, UpdateList& dirty);
void clearChoices(MessageWindow& window, UpdateList& dirty);

// Marks every active glyph changed and the whole screen dirty, for a change
// that must show again everything the windows hold.
void redrawAllWindows(MessageWindows& windows, UpdateList& dirty, int screenWidth,
                      int screenHeight);

}  // namespace zeku
