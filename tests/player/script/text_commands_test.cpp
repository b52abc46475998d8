// The message commands through the interpreter: a message typed, waited on
// and finished; embedded calls; read-skipping; the history; the window
// erase; and choice menus built from message texts.
#include <gtest/gtest.h>

#include "player/script/interpreter.h"
#include "tests/player/script/script_rig.h"

namespace zeku {
namespace {

using test_support::ScriptRig;

constexpr int kWaitIcon = 128;

// Messages in Shift-JIS: "あ" "い" "う" "え" and ASCII.
const char kMessages[] =
    "1,\"\x82\xa0\",\"AB\\mCD\"\r\n"
    "2,\"\",\"E\\#(_Sub,\"./sub.txt\")F\\m\"\r\n"
    "3,\"\",\"G\\m\"\r\n"
    "10,\"\",\"x\x82\xa0y\x82\xa2\"\r\n"
    "11,\"\",\"\x82\xa4\"\r\n"
    "12,\"\",\"\x82\xa6\x82\xa6\"\r\n";

std::string gameScript(const std::string& body) {
    return "#CreateTextf(2,0)\n#LoadTextf(\"./mes.txt\")\n" + body + "@1=1\n#Wait(-1)\n";
}

struct TextRig : ScriptRig {
    explicit TextRig(const std::string& body) {
        settings.messageSpeed = 0;
        EXPECT_TRUE(load({{"./script.txt", gameScript(body)},
                          {"./mes.txt", kMessages},
                          {"./sub.txt", "|_Sub:\n@2=@2+1\n#Return()\n"}}));
    }
    MessageWindow& text() { return game.messageWindows[kTextWindow]; }
    void click() {
        input.clickEdge = 1;
        step();
    }
    void press(KeyRole role) {
        input.keys[role] = 1;
        step();
    }
};

TEST(PrintTextf, TypesWaitsForAClickFinishesAndMarksTheLineRead) {
    TextRig rig("#PrintTextf(1)\n");
    rig.step();
    EXPECT_EQ(rig.game.messageWindows[kNameWindow].glyphCount, 1);
    EXPECT_EQ(rig.text().glyphCount, 2);
    EXPECT_NE(objectInSlot(rig.objects, kWaitIcon), nullptr);
    rig.step();
    EXPECT_EQ(rig.text().glyphCount, 2);  // still waiting
    rig.click();                          // the rest is typed and the message ends
    EXPECT_EQ(objectInSlot(rig.objects, kWaitIcon), nullptr);
    EXPECT_EQ(rig.text().glyphCount, 0);
    ASSERT_EQ(rig.text().history.size(), 1u);
    EXPECT_EQ(rig.text().history.back().glyphs.size(), 4u);
    EXPECT_EQ(rig.engine.readMarks.fileCount(), 1);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
}

TEST(PrintTextf, AnEmbeddedCallRunsOnceAndTheMessageGoesOn) {
    TextRig rig("#PrintTextf(0,2)\n");
    for (int i = 0; i < 4; ++i)
        rig.step();
    EXPECT_EQ(rig.var(2), 1);
    EXPECT_EQ(rig.text().glyphCount, 2);  // "E" then "F", not typed afresh
    EXPECT_EQ(rig.currentLine(), "#PrintTextf(0,2)");
    rig.click();
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(rig.var(2), 1);
}

TEST(PrintTextf, ReadSkipStopsAtTheFirstUnreadMessage) {
    TextRig rig("#PrintTextf(3)\n#PrintTextf(3)\n");
    rig.settings.readSkip = 1;
    const std::string script = gameScript("#PrintTextf(3)\n#PrintTextf(3)\n");
    const size_t first = test_support::crlf(script).find("#PrintTextf");
    rig.engine.readMarks.markRead("./script.txt", static_cast<uint32_t>(first));
    rig.input.skipLatch = true;
    rig.step();  // read: the wait is passed over, the frame ends there
    rig.step();
    EXPECT_EQ(rig.text().history.size(), 1u);
    rig.step();  // unread: skipping ends and the message waits
    EXPECT_FALSE(rig.input.skipLatch);
    rig.step();
    EXPECT_EQ(rig.text().history.size(), 1u);
    EXPECT_EQ(rig.text().glyphCount, 1);
}

TEST(PrintTextf, HistoryOpensWithAStepsAndCloses) {
    TextRig rig("#PrintTextf(1)\n#PrintTextf(3)\n#PrintTextf(3)\n");
    rig.step();
    rig.click();
    rig.step();  // message 3 waits; one entry in the history
    rig.click();
    rig.step();
    ASSERT_EQ(rig.text().history.size(), 2u);
    rig.press(KeyRole::A);
    EXPECT_TRUE(rig.text().showingHistory);
    EXPECT_EQ(rig.text().historyShown, 0);
    rig.press(KeyRole::Up);
    EXPECT_EQ(rig.text().historyShown, 1);
    rig.press(KeyRole::Up);  // no older entry
    EXPECT_EQ(rig.text().historyShown, 1);
    rig.click();  // a click closes it and is spent on that
    EXPECT_FALSE(rig.text().showingHistory);
    EXPECT_EQ(rig.text().glyphCount, 1);
    rig.press(KeyRole::A);
    rig.press(KeyRole::Down);  // newer than the newest closes
    EXPECT_FALSE(rig.text().showingHistory);

    // The wheel: away from the user opens and goes older, towards newer and shut.
    for (const auto& [notches, shown, index] :
         {std::tuple{1, true, 0}, std::tuple{3, true, 1}, std::tuple{-1, true, 0},
          std::tuple{-1, false, 0}, std::tuple{2, true, 1}, std::tuple{-5, false, 0}}) {
        rig.input.wheelEdge = notches;
        rig.step();
        EXPECT_EQ(rig.text().showingHistory, shown) << notches;
        EXPECT_EQ(rig.text().historyShown, index) << notches;
    }
}

TEST(PrintTextf, TheCentreKeyErasesTheWindowsUntilTheNextPress) {
    TextRig rig("#PrintTextf(1)\n");
    rig.settings.keyCenterAction = 2;
    rig.step();
    rig.press(KeyRole::Start);
    EXPECT_TRUE(rig.text().hidden);
    rig.click();  // brings the windows back without passing the wait
    EXPECT_FALSE(rig.text().hidden);
    EXPECT_EQ(rig.text().glyphCount, 2);
    rig.click();
    EXPECT_EQ(rig.text().glyphCount, 0);
}

TEST(SelectEx, ChoiceLinesComeFromMessagesAndATapChooses) {
    TextRig rig(
        "#SelectEx()\n{\n#Select(0,10,\"_A\",\"./script.txt\")\n"
        "#Select(0,11,\"_B\",\"./script.txt\")\n#Select(0,12,\"_C\",\"./script.txt\")\n}\n"
        "|_A:\n@3=1\n#Wait(-1)\n|_B:\n@3=2\n#Wait(-1)\n|_C:\n@3=3\n#Wait(-1)\n");
    rig.step();
    MessageWindow& window = rig.text();
    ASSERT_EQ(window.choiceCount, 3);
    EXPECT_STREQ(window.choices[0].text, "\x82\xa0\x82\xa2");  // single bytes dropped
    EXPECT_EQ(window.glyphCount, 5);
    rig.press(KeyRole::Down);
    rig.press(KeyRole::Down);
    EXPECT_EQ(window.glyphs[2].colour, kChoiceHighlightColour);
    const ScreenRect third = window.choices[2].rect;
    EXPECT_EQ(rig.input.pointerX, window.choices[1].rect.right - 2);
    rig.input.pointerX = third.left + 1;
    rig.input.pointerY = third.top + 1;
    rig.click();
    rig.step();
    EXPECT_EQ(rig.var(3), 3);
    EXPECT_EQ(window.glyphCount, 0);
}

}  // namespace
}  // namespace zeku
