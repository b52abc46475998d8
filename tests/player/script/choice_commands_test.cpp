// The commands that wait for the player: click areas with keyboard wrap,
// hit tests and highlight, the click wait, and the choice menu.
#include <gtest/gtest.h>

#include "player/script/interpreter.h"
#include "tests/player/script/script_rig.h"

namespace zeku {
namespace {

using test_support::ScriptRig;

constexpr int kHighlight = 20;

std::string threeAreas() {
    return "#MouseClickEventEX()\n{\n"
           "0,0,400,300,\"_A\",\"./script.txt\",0,0,0,255\n"
           "400,0,800,300,\"_B\",\"./script.txt\",0,0,0,65280\n"
           "short,line\n"
           "0,300,800,600,\"_C\",\"./script.txt\",0,0,0,16711680\n"
           "}\n"
           "#Wait(-1)\n|_A:\n@1=1\n#Wait(-1)\n|_B:\n@1=2\n#Wait(-1)\n|_C:\n@1=3\n#Wait(-1)\n";
}

void press(ScriptRig& rig, KeyRole role) {
    rig.input.keys[role] = 1;
    rig.step();
}

void click(ScriptRig& rig, int x, int y) {
    rig.input.pointerX = x;
    rig.input.pointerY = y;
    rig.input.clickEdge = 1;
    rig.step();
}

TEST(MouseClickEventEx, KeysWrapThroughTheAreasAndMoveTheHighlight) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", threeAreas()}}));
    rig.step();
    EXPECT_EQ(rig.engine.areaCount, 3);  // the short line is no area
    EXPECT_EQ(rig.engine.selectedArea, 0);

    press(rig, KeyRole::Down);
    EXPECT_EQ(rig.engine.selectedArea, 1);
    ASSERT_NE(objectInSlot(rig.objects, kHighlight), nullptr);
    EXPECT_EQ(objectInSlot(rig.objects, kHighlight)->entry.colour, 255u);
    press(rig, KeyRole::Up);
    EXPECT_EQ(rig.engine.selectedArea, 3);
    EXPECT_EQ(objectInSlot(rig.objects, kHighlight)->entry.colour, 0xFF0000u);
    press(rig, KeyRole::Down);
    EXPECT_EQ(rig.engine.selectedArea, 1);
    // A press is seen once: the consumed counter does not move it again.
    rig.step();
    EXPECT_EQ(rig.engine.selectedArea, 1);
    EXPECT_EQ(rig.currentLine(), "#MouseClickEventEX()");

    press(rig, KeyRole::C);  // decide: jump and yield
    EXPECT_EQ(rig.var(1), 0);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(objectInSlot(rig.objects, kHighlight), nullptr);
}

TEST(MouseClickEventEx, AClickHitTestsScaledAreasWithTheirEdgesAndDecides) {
    ScriptRig rig;  // 320 × 240: the areas split at x 160 and y 120
    ASSERT_TRUE(rig.load({{"./script.txt", threeAreas()}}));
    rig.step();
    press(rig, KeyRole::Down);
    ASSERT_NE(objectInSlot(rig.objects, kHighlight), nullptr);

    rig.input.pointerX = 300;
    rig.input.pointerY = 500;  // below the screen: no area
    rig.input.clickEdge = 1;
    rig.step();
    EXPECT_EQ(rig.engine.selectedArea, 0);
    EXPECT_EQ(objectInSlot(rig.objects, kHighlight), nullptr);
    EXPECT_EQ(rig.var(1), 0);

    click(rig, 160, 100);  // on the shared edge: the later area wins, and the click decides
    rig.step();
    EXPECT_EQ(rig.var(1), 2);
}

TEST(MouseClickEventEx, AreasPastTheThirtySecondAreDropped) {
    std::string text = "#MouseClickEventEX()\n{\n";
    for (int i = 0; i < 40; ++i)
        text += "0,0,10,10,\"_A\",\"./script.txt\",0,0,0,1\n";
    text += "}\n#Wait(-1)\n|_A:\n#Wait(-1)\n";
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", text}}));
    rig.step();
    EXPECT_EQ(rig.engine.areaCount, kHotAreaLimit);
    press(rig, KeyRole::Up);
    EXPECT_EQ(rig.engine.selectedArea, kHotAreaLimit);
}

TEST(MouseClickWait, ADecideOrTheSkipKeyGoesOnInTheSameFrame) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt",
                           "#MouseClickWait(1)\n@1=1\n#MouseClickWait(1)\n@2=1\n"
                           "#MouseClickWait(2)\n@3=1\n"}}));
    rig.step();
    rig.step();
    EXPECT_EQ(rig.var(1), 0);
    rig.input.clickEdge = 1;
    rig.input.keys[KeyRole::Right] = 1;
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(rig.input.clickEdge, 0);  // cleared, so the next wait does not see it
    EXPECT_EQ(rig.input.keys[KeyRole::Right], 0);
    EXPECT_EQ(rig.var(2), 0);

    rig.input.keys[KeyRole::Left] = 2;  // skip held
    rig.step();
    EXPECT_EQ(rig.var(2), 1);
    rig.step();
    rig.input.clickEdge = 1;
    rig.step();
    EXPECT_EQ(rig.var(3), 0);  // an argument other than 1 never completes
}

TEST(SelectEx, ChoicesWrapWithKeysAndADecideJumps) {
    std::string text = "#SelectEx()\n{\n";
    for (int i = 1; i <= 6; ++i)
        text += "#Choice(0," + std::to_string(i) + ",\"_C" + std::to_string(i) +
                "\",\"./script.txt\")\n";
    text += "}\n#Wait(-1)\n";
    for (int i = 1; i <= 4; ++i)
        text += "|_C" + std::to_string(i) + ":\n@1=" + std::to_string(i) + "\n#Wait(-1)\n";
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", text}}));
    rig.step();
    EXPECT_EQ(rig.engine.state.pendingChoices, kChoiceLimit);

    press(rig, KeyRole::Up);
    EXPECT_EQ(rig.engine.selectedChoice, 4);
    press(rig, KeyRole::Down);
    EXPECT_EQ(rig.engine.selectedChoice, 1);
    press(rig, KeyRole::Down);
    EXPECT_EQ(rig.engine.selectedChoice, 2);
    rig.input.clickEdge = 1;  // a click clears the selection first
    rig.step();
    EXPECT_EQ(rig.engine.selectedChoice, 0);
    EXPECT_EQ(rig.var(1), 0);

    press(rig, KeyRole::Down);
    press(rig, KeyRole::Right);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(rig.engine.state.pendingChoices, 0);
}

// Deciding a choice spends the decide input: still held in the next frame,
// it does not also pass the click wait the choice leads to.
TEST(SelectEx, ADecideStillHeldDoesNotPassTheNextClickWait) {
    for (const KeyRole decide : {KeyRole::C, KeyRole::Right}) {
        SCOPED_TRACE(static_cast<int>(decide));
        ScriptRig rig;
        ASSERT_TRUE(rig.load({{"./script.txt",
                               "#SelectEx()\n{\n#Choice(0,1,\"_C\",\"./script.txt\")\n}\n"
                               "|_C:\n#MouseClickWait(1)\n@1=1\n#Wait(-1)\n"}}));
        rig.step();
        press(rig, KeyRole::Down);
        press(rig, decide);
        EXPECT_EQ(rig.engine.state.pendingChoices, 0);
        rig.step();  // the key is still down
        rig.step();
        EXPECT_EQ(rig.var(1), 0);
        EXPECT_EQ(rig.currentLine(), "#MouseClickWait(1)");
        press(rig, decide);  // a new press does
        EXPECT_EQ(rig.var(1), 1);
    }
}

}  // namespace
}  // namespace zeku
