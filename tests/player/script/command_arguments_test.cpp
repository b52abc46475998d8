// How a line's argument count meets the command table: an optional tail is
// read only when the line gives all of it, and too few arguments still run.
#include <gtest/gtest.h>

#include <string>

#include "player/script/command_table.h"
#include "tests/player/script/script_rig.h"

namespace zeku {
namespace {

using test_support::ScriptRig;

TEST(CommandTable, ArgumentCountsFitAParsedLine) {
    for (const CommandInfo& info : commandTable()) {
        EXPECT_GE(info.minArguments, 0) << info.name;
        EXPECT_LE(info.minArguments, info.maxArguments) << info.name;
        EXPECT_LE(info.maxArguments, kCommandArgumentCount) << info.name;
    }
}

// "@1++" in an argument counts whether the handler evaluated it.
TEST(CommandArguments, AnOptionalTailIsReadOnlyWhenTheLineGivesAllOfIt) {
    struct Case {
        const char* line;
        int32_t evaluated;
    };
    const Case cases[] = {
        {"#PlayWave(\"a\",@1++)", 1},
        {"#PlayWave(\"a\",0,@1++)", 0},  // past the maximum: never read
        {"#PrintTextf(0,@1++)", 1},
        {"#PrintTextf(3,@1++)", 0},  // a non-zero first argument is the number
        {"#LoadImage(7,\"none\",@1++)", 1},
        {"#TransFill(3,0,0,8,8,0,0,0,@1++)", 1},
        {"#TransFill(3,0,0,8,8,0,@1++,@1++)", 0},  // eight: still the six-argument form
    };
    for (const Case& c : cases) {
        ScriptRig rig;
        ASSERT_TRUE(rig.load({{"./script.txt", std::string(c.line) + "\n#END()\n"}}));
        rig.step();
        EXPECT_EQ(rig.var(1), c.evaluated) << c.line;
    }
}

TEST(CommandArguments, TheLongTransFillOnlyKeepsItsArguments) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#TransFill(5,1,2,3,4,5,6,7,8)\n#END()\n"}}));
    rig.step();
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(rig.engine.parameter(i), i == 1 ? 5 : i - 1) << i;
    EXPECT_EQ(rig.engine.currentImageSlot, 5);
}

TEST(CommandArguments, GotoTakesItsFileOnlyFromASecondArgument) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#GOTO(\"_B\",\"./b.txt\")\n|_B:\n@1=1\n#END()\n"},
                          {"./b.txt", "|_B:\n@2=2\n#GOTO(\"_C\")\n|_C:\n@3=3\n#END()\n"}}));
    rig.step();
    EXPECT_STREQ(rig.level().fileName, "./b.txt");
    EXPECT_EQ(rig.var(1), 0);
    EXPECT_EQ(rig.var(2), 2);
    EXPECT_EQ(rig.var(3), 3);
}

TEST(CommandArguments, TooFewArgumentsRunWithTheMissingOnesAsZero) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt",
                           "#SetDefaultColor(1,7)\n#OpenPlayMCICdda(4,5,1)\n#Locatef(1,9,9)\n"
                           "#SetDefaultColor(1)\n#OpenPlayMCICdda(4)\n#Locatef(1,5)\n"
                           "#Wait()\n@1=1\n#END()\n"}}));
    rig.step();
    EXPECT_EQ(rig.engine.textSettings[1], 0);
    EXPECT_EQ(rig.engine.musicFirstTrack, 4);
    EXPECT_EQ(rig.engine.musicSecondTrack, 0);
    EXPECT_EQ(rig.engine.musicLoop, 0);
    EXPECT_EQ(rig.engine.textSettings[4], 5);
    EXPECT_EQ(rig.engine.textSettings[5], 0);
    // "#Wait()" is a wait of 0 ms: it yields once and ends on the next frame.
    EXPECT_EQ(rig.currentLine(), "#Wait()");
    rig.step(0);
    EXPECT_EQ(rig.var(1), 0);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
}

}  // namespace
}  // namespace zeku
