// Typing into a message window: delays, click waits, skipping, colours,
// line breaking and its margin rule, the limits, and the choice lines.
#include <gtest/gtest.h>

#include <string>

#include "player/graphics/message_window.h"

namespace zeku {
namespace {

constexpr int kWidth = 640;  // glyphs of 28 × 640 / 800 = 22 pixels
constexpr int kHeight = 480;
constexpr int kGlyph = 22;

struct Typist {
    MessageWindow window;
    UpdateList dirty;
    TypingInput input;

    explicit Typist(std::string_view text, int speed = 1) {
        createWindow(window, kWidth, kHeight);
        applyCommandDefaults(window, kWidth, kHeight);
        dirty.setClip(kWidth, kHeight);
        input.screenWidth = kWidth;
        input.messageSpeed = speed;
        input.nowMs = 1000;
        char expanded[kMessageTextBytes];
        const size_t length = expandMessage(text, true, nullptr, nullptr, expanded);
        startMessage(window, std::string_view(expanded, length), 0xFFFFFF, false, input.nowMs);
    }
    TypingResult frame(uint32_t advanceMs = 16) {
        input.nowMs += advanceMs;
        dirty.clear();
        return typeStep(window, input, dirty);
    }
};

std::string fullWidth(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\x82\xa0";  // "あ"
    return text;
}

TEST(MessageTyping, SpeedSetsCharactersPerFrameAndZeroShowsUpToTheFirstWait) {
    struct Row {
        int speed;
        int afterOneFrame;
        int afterThreeFrames;
    };
    for (const Row row : {Row{0, 4, 4}, Row{1, 1, 3}, Row{2, 0, 1}}) {
        SCOPED_TRACE(row.speed);
        Typist t("ABCD\\mEF", row.speed);
        t.frame(0);  // the frame the message starts in
        t.frame();
        EXPECT_EQ(t.window.glyphCount, row.afterOneFrame);
        t.frame();
        const TypingResult third = t.frame();
        EXPECT_EQ(t.window.glyphCount, row.afterThreeFrames);
        if (row.speed == 0) {
            EXPECT_EQ(third.state, TypingState::WaitingForClick);
        }
    }
}

TEST(MessageTyping, OnlyTheNewCharactersAreMarkedForRedraw) {
    Typist t("ABC");
    t.frame();
    t.frame();
    ASSERT_EQ(t.window.glyphCount, 2);
    ASSERT_EQ(t.dirty.dirtyCount(), 1u);
    const ScreenRect second = t.window.glyphs[1].rect;
    EXPECT_EQ(t.dirty.rects()[0], second);
    EXPECT_EQ(second.width(), kGlyph + 1);  // the shadow's column is included
    EXPECT_EQ(second.left, t.window.glyphs[0].rect.left + kGlyph);
}

TEST(MessageTyping, ClickWaitsPassOnDecideSkipAndAutoAdvance) {
    {  // a decide press while typing shows the rest up to the wait at once
        Typist t("ABCDEF\\mGH");
        t.frame();
        t.input.decidePending = true;
        TypingResult r = t.frame();
        EXPECT_TRUE(r.decideConsumed);
        EXPECT_EQ(r.state, TypingState::WaitingForClick);
        EXPECT_EQ(t.window.glyphCount, 6);
        r = t.frame();  // the next press passes the wait; typing goes on at its pace
        EXPECT_TRUE(r.decideConsumed);
        EXPECT_EQ(t.window.glyphCount, 6);
        t.input.decidePending = false;
        t.frame();
        EXPECT_EQ(t.window.glyphCount, 7);
    }
    {  // skipping passes read waits but stops for the frame; unread text waits
        Typist t("AB\\mCD\\mEF\\mG", 0);
        t.input.skipping = true;
        EXPECT_EQ(t.frame().state, TypingState::Typing);
        EXPECT_EQ(t.window.glyphCount, 2);
        t.frame();
        EXPECT_EQ(t.window.glyphCount, 4);
        t.input.readFlag = false;
        EXPECT_EQ(t.frame().state, TypingState::WaitingForClick);
    }
    {  // automatic advance: (one × glyphs + base × 20 + 20) × 10 ms after the wait began
        Typist t("AB\\mC", 0);
        t.input.autoAdvance = true;
        t.input.autoBase = 1;
        t.input.autoOne = 2;
        EXPECT_EQ(t.frame().state, TypingState::WaitingForClick);  // wait noted now
        const uint32_t due = (2 * 2 + 1 * 20 + 20) * 10;
        EXPECT_EQ(t.frame(due - 1).state, TypingState::WaitingForClick);
        t.input.historyShown = true;
        EXPECT_EQ(t.frame(1).state, TypingState::WaitingForClick);
        t.input.historyShown = false;
        EXPECT_EQ(t.frame(0).state, TypingState::Finished);
    }
}

TEST(MessageTyping, ControlSequences) {
    Typist t("A\\c(255,0,0)B\\c(0x10,-1.2)C\\c()D\\nE \\zF", 0);
    EXPECT_EQ(t.frame().state, TypingState::Finished);
    ASSERT_EQ(t.window.glyphCount, 5);  // the space is passed over, "\z" ends
    EXPECT_EQ(t.window.glyphs[0].colour, 0xFFFFFFu);
    EXPECT_EQ(t.window.glyphs[1].colour, 16711680u);  // red in 0xRRGGBB
    EXPECT_EQ(t.window.glyphs[2].colour, (0x10u << 16) + (0xFFFFFFFFu << 8) + 2u);
    EXPECT_EQ(t.window.glyphs[3].colour, t.window.defaultColour);
    EXPECT_EQ(t.window.glyphs[4].rect.left, t.window.originX);
    EXPECT_EQ(t.window.glyphs[4].rect.top, t.window.originY + kGlyph);
}

TEST(MessageTyping, ClosingPunctuationMayStandInTheMargin) {
    // Origin 12, margin 38: a character breaks the line when pen + 22
    // reaches 602, so pens 12 + 22n for n < 26 fit and the 27th breaks.
    const int perLine = 26;
    for (const char* last : {"\x81\x42", "\x81\x41", "\x81\x76", "\x82\xa0"}) {
        SCOPED_TRACE(last);
        Typist t(fullWidth(perLine) + last, 0);
        t.frame();
        ASSERT_EQ(t.window.glyphCount, perLine + 1);
        const GlyphRecord& glyph = t.window.glyphs[static_cast<size_t>(perLine)];
        const bool staysOnLine = std::string(last) != "\x82\xa0";
        EXPECT_EQ(glyph.rect.top == t.window.originY, staysOnLine);
        EXPECT_EQ(glyph.rect.left == t.window.originX, !staysOnLine);
    }
}

TEST(MessageTyping, LimitsAreKeptAndEmbeddedCallsStop) {
    Typist t(fullWidth(600), 0);  // 1200 bytes: cut to 1023 at a character boundary
    EXPECT_EQ(t.window.textLength, 1022u);
    t.frame();
    EXPECT_EQ(t.window.glyphCount, kGlyphLimit);  // the rest only moves the pen

    Typist call("A\\#(_Sub,\"./s.txt\")B", 0);
    TypingResult r = call.frame();
    EXPECT_EQ(r.embeddedCommand, "#(_Sub,\"./s.txt\")");
    EXPECT_EQ(call.window.glyphCount, 1);
    r = call.frame();
    EXPECT_EQ(r.state, TypingState::Finished);
    EXPECT_EQ(call.window.glyphCount, 2);

    Typist open("A\\#(_Sub B\\c(1,2", 0);  // unclosed sequences end the text
    EXPECT_EQ(open.frame().embeddedCommand, "#(_Sub B\\c(1,2");
    EXPECT_EQ(open.frame().state, TypingState::Finished);
}

TEST(MessageText, StringVariablesAreInserted) {
    struct Vars {
        static std::string_view lookup(const void*, char letter) {
            return (letter | 0x20) == 'a' ? "\x8d\x82\x8c\xb4" : "x";
        }
    };
    char out[kMessageTextBytes];
    const size_t length =
        expandMessage("@a\\@A\\\\@b\x83\x40@c\\#(@d)", true, Vars::lookup, nullptr, out);
    // the trail byte 0x40 of a double-byte character is no "@"; a call stays as written
    EXPECT_EQ(std::string(out, length), "\x8d\x82\x8c\xb4\x8d\x82\x8c\xb4x\x83\x40x\\#(@d)");
}

TEST(MessageChoices, LinesHitTestHighlightAndClear) {
    MessageWindow window;
    UpdateList dirty;
    dirty.setClip(kWidth, kHeight);
    createWindow(window, kWidth, kHeight);
    applyCommandDefaults(window, kWidth, kHeight);
    for (const char* text : {"\x82\xa0\x82\xa2", "\x82\xa4", "\x82\xa6\x82\xa8\x82\xa9", "x", "y"})
        addChoiceLine(window, text);
    EXPECT_EQ(window.choiceCount, kChoiceLineLimit);
    drawChoices(window, kWidth, dirty);
    const ChoiceLine& first = window.choices[0];
    EXPECT_EQ(first.rect, (ScreenRect{12, 12, 12 + 2 * kGlyph, 12 + kGlyph}));
    EXPECT_EQ(window.choices[1].rect.top, 12 + kGlyph);
    EXPECT_EQ(choiceAt(window, 13, 13), 0);
    EXPECT_EQ(choiceAt(window, 12, 13), -1);  // edges are outside
    EXPECT_EQ(choiceAt(window, 13, 12 + kGlyph), -1);
    EXPECT_EQ(choiceAt(window, 13, 13 + kGlyph), 1);

    dirty.clear();
    highlightChoice(window, 1, dirty);
    EXPECT_EQ(window.glyphs[2].colour, kChoiceHighlightColour);
    EXPECT_EQ(window.glyphs[0].colour, kChoiceNormalColour);
    EXPECT_FALSE(dirty.empty());
    clearChoices(window, dirty);
    EXPECT_EQ(window.glyphCount, 0);
    EXPECT_EQ(window.penY, window.originY);
}

TEST(MessageHistory, KeepsTheNewestSixtyFour) {
    MessageWindow window;
    for (int i = 0; i < 70; ++i) {
        window.glyphCount = 1;
        window.glyphs[0].code = static_cast<uint16_t>(i);
        pushHistory(window);
    }
    ASSERT_EQ(window.history.size(), kHistoryLimit);
    EXPECT_EQ(window.history.front().glyphs[0].code, 6);
    EXPECT_EQ(window.history.back().glyphs[0].code, 69);
}

}  // namespace
}  // namespace zeku
