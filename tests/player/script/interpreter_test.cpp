// The stepping model and flow control: yields, waits, calls and returns
// with their repeat counts, conditional blocks, and the refusals.
#include "player/script/interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/script/command_table.h"
#include "tests/player/script/script_rig.h"

namespace zeku {
namespace {

using test_support::ScriptRig;

TEST(StepScript, WaitZeroYieldsOnceAndSkipEndsAWaitOnlyOnItsNextFrame) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#Wait(0)\n@1=1\n#Wait(-1)\n@2=1\n#END()\n"}}));
    EXPECT_EQ(rig.step(0), 1);  // set up, even with no time passing
    EXPECT_EQ(rig.var(1), 0);
    rig.step(0);  // elapsed 0 >= 0: advance and yield
    EXPECT_EQ(rig.var(1), 0);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_EQ(rig.currentLine(), "#Wait(-1)");

    // A negative time never ends by itself...
    for (int i = 0; i < 5; ++i)
        rig.step(100000);
    EXPECT_EQ(rig.currentLine(), "#Wait(-1)");
    // ...but the held skip key ends it.
    rig.input.keys[KeyRole::Left] = 3;
    rig.step();
    rig.step();
    EXPECT_EQ(rig.var(2), 1);
}

struct RecordingTracer : CommandTracer {
    std::vector<std::string> lines;
    void commandStarted(std::string_view fileName, int32_t position, const char* line,
                        const char* description) override {
        lines.push_back(std::string(fileName) + "@" + std::to_string(position) + " " + line + " " +
                        (description != nullptr ? "known" : "unknown"));
    }
};

// A trace shows each command once, however many frames it waits.
TEST(StepScript, TracerSeesEachCommandsFirstRunOnly) {
    ScriptRig rig;
    RecordingTracer tracer;
    rig.engine.tracer = &tracer;
    ASSERT_TRUE(rig.load({{"./script.txt", "@1=1\n#Wait(40)\n#Bogus(1)\n#END()\n"}}));
    for (int frame = 0; frame < 6; ++frame)
        rig.step();
    EXPECT_EQ(tracer.lines, (std::vector<std::string>{"./script.txt@6 #Wait(40) known",
                                                      "./script.txt@17 #Bogus(1) unknown",
                                                      "./script.txt@28 #END() known"}));
}

TEST(StepScript, WaitIsSetUpAgainAfterTheLineChanges) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#Wait(100)\n#Wait(30)\n#END()\n"}}));
    rig.step();
    rig.step(60);
    EXPECT_EQ(rig.currentLine(), "#Wait(100)");
    rig.step(60);  // 120 ms: done
    EXPECT_EQ(rig.currentLine(), "#Wait(30)");
    EXPECT_EQ(rig.level().repeatCount, 0u);
    rig.step(0);
    EXPECT_EQ(rig.engine.parameter(1), 30);
    rig.step(20);
    EXPECT_EQ(rig.currentLine(), "#Wait(30)");
    rig.step(20);
    EXPECT_EQ(rig.currentLine(), "#END()");
}

TEST(StepScript, ReturnResumesAfterTheGosubWithAFreshRepeatCount) {
    ScriptRig rig;
    ASSERT_TRUE(
        rig.load({{"./script.txt", "@1=1\n#Gosub(\"_Sub\",\"./sub.txt\")\n#Wait(50)\n#END()\n"},
                  {"./sub.txt", "@2=9\n|_Sub:\n@2=@1\n#Wait(5)\n#Return()\n"}}));
    rig.step();
    EXPECT_EQ(rig.engine.state.currentLevel, 1);
    EXPECT_EQ(rig.var(2), 1);  // started after the label
    EXPECT_EQ(rig.engine.parameter(1), 5);
    rig.step(10);  // the sub's wait ends
    rig.step();    // #Return, then the caller's #Wait runs as a fresh line
    EXPECT_EQ(rig.engine.state.currentLevel, 0);
    EXPECT_FALSE(rig.engine.state.levels[1].hasText());
    EXPECT_EQ(rig.engine.parameter(1), 50);
    EXPECT_EQ(rig.currentLine(), "#Wait(50)");
    EXPECT_EQ(rig.level().repeatCount, 1u);
}

TEST(StepScript, CallsBeyondTheFourthLevelAndReturnsFromTheFirstArePassedOver) {
    ScriptRig rig;
    ASSERT_TRUE(
        rig.load({{"./script.txt", "#Return()\n@5=5\n#Gosub(\"_R\",\"./r.txt\")\n@6=6\n#END()\n"},
                  {"./r.txt", "|_R:\n@1++\n#Gosub(\"_R\",\"./r.txt\")\n#END()\n"}}));
    rig.step();
    EXPECT_EQ(rig.var(5), 5);
    EXPECT_EQ(rig.engine.state.currentLevel, 3);
    EXPECT_EQ(rig.var(1), 3);
    // The refused call went on to the next line, which yielded.
    EXPECT_EQ(rig.level().position, static_cast<int32_t>(rig.level().size));
}

TEST(StepScript, ACallIntoAMissingFileStaysOnTheCallingLevel) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#Gosub(\"_X\",\"./none.txt\")\n@1=1\n#END()\n"}}));
    rig.step();
    EXPECT_EQ(rig.engine.state.currentLevel, 0);
    EXPECT_EQ(rig.var(1), 1);
    EXPECT_FALSE(rig.engine.state.levels[1].hasText());
}

TEST(StepScript, FalseIfSkipsNestedBlocksAndTrueIfRunsThem) {
    const char* text = "#IF(@1==1)\n{\n{\n@2=1\n}\n{\n@2=2\n}\n@3=3\n}\n@4=4\n#END()\n";
    ScriptRig skipped;
    ASSERT_TRUE(skipped.load({{"./script.txt", text}}));
    skipped.step();
    EXPECT_EQ(skipped.var(2), 0);
    EXPECT_EQ(skipped.var(3), 0);
    EXPECT_EQ(skipped.var(4), 4);

    ScriptRig taken;
    ASSERT_TRUE(taken.load({{"./script.txt", text}}));
    taken.engine.state.variables.numbers[1] = 1;
    taken.step();
    EXPECT_EQ(taken.var(2), 2);
    EXPECT_EQ(taken.var(3), 3);
    EXPECT_EQ(taken.var(4), 4);
}

TEST(StepScript, IfBlocksThatNeverCloseOrCloseFirstStayInsideTheText) {
    ScriptRig unclosed;
    ASSERT_TRUE(unclosed.load({{"./script.txt", "#IF(0)\n@7=1\n{\n@2=1\n{\n}\n@3=1"}}));
    unclosed.step();
    unclosed.step();
    EXPECT_EQ(unclosed.var(2), 0);
    EXPECT_EQ(unclosed.var(3), 0);
    EXPECT_EQ(unclosed.var(7), 0);
    EXPECT_EQ(unclosed.level().position, static_cast<int32_t>(unclosed.level().size));

    ScriptRig closeFirst;
    ASSERT_TRUE(closeFirst.load({{"./script.txt", "#IF(0)\n}\n@3=4\n#END()\n"}}));
    closeFirst.step();
    EXPECT_EQ(closeFirst.var(3), 4);
}

TEST(StepScript, GotoReentersTheFileAndUnknownCommandsArePassedOver) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load(
        {{"./script.txt", "#NoSuchCommand(1)\n#goto(\"_B\")\n@1=1\n|_B:\n@2++\n#Wait(-1)\n"}}));
    rig.step();
    EXPECT_EQ(rig.var(1), 0);
    EXPECT_EQ(rig.var(2), 1);
    EXPECT_EQ(rig.currentLine(), "#Wait(-1)");
}

TEST(StepScript, OneStepRunsAtMostTheLineLimit) {
    std::string text;
    for (int i = 0; i < kLinesPerStepLimit + 10; ++i)
        text += "@1++\n";
    text += "#END()\n";
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", text}}));
    EXPECT_EQ(rig.step(), kLinesPerStepLimit);
    EXPECT_EQ(rig.var(1), kLinesPerStepLimit);
    EXPECT_EQ(rig.step(), 11);
    EXPECT_EQ(rig.var(1), kLinesPerStepLimit + 10);
}

// A loop without a yielding command ends its step at a bound and goes on
// from there in the next frame: every frame runs the same share of it.
TEST(StepScript, ALoopThatNeverYieldsEndsItsStepAtABound) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        int minLines;
        int maxLines;
    };
    const int reads = static_cast<int>(kScriptReadsPerStepLimit);
    // Four lines hold three jumps; where the step ends in that cycle varies.
    const int callCycle = kJumpsPerStepLimit / 3 * 4;
    const Case cases[] = {
        {"jumps inside one file",
         {{"./script.txt", "|_L:\n@1++\n#GOTO(\"_L\")\n"}},
         2 * kJumpsPerStepLimit,
         2 * kJumpsPerStepLimit},
        {"jumps between two files, each a package read",
         {{"./script.txt", "|_L:\n@1++\n#GOTO(\"_L\",\"./b.txt\")\n"},
          {"./b.txt", "|_L:\n@1++\n#GOTO(\"_L\",\"./script.txt\")\n"}},
         2 * reads,
         2 * reads},
        {"a call and a return into the same file, then a jump",
         {{"./script.txt",
           "|_L:\n#Gosub(\"_S\",\"./script.txt\")\n#GOTO(\"_L\")\n|_S:\n@1++\n#Return()\n"}},
         callCycle + 1,
         callCycle + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptRig rig;
        ASSERT_TRUE(rig.load(c.files));
        rig.step();
        for (int frame = 0; frame < 3; ++frame) {
            const int32_t before = rig.var(1);
            const int lines = rig.step();
            EXPECT_GE(lines, c.minLines);
            EXPECT_LE(lines, c.maxLines);
            EXPECT_GT(rig.var(1), before);
        }
    }
}

TEST(StepScript, TheEndOfATextAndAMissingScriptIdle) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "@1++"}}));
    rig.step();
    EXPECT_EQ(rig.step(), 0);
    EXPECT_EQ(rig.var(1), 1);

    ScriptRig empty;
    ScriptContext c = empty.context();
    EXPECT_EQ(restartScript(c), 0);  // no package at all
    EXPECT_EQ(empty.step(), 0);
    EXPECT_EQ(empty.engine.errorWord, 0u);
}

TEST(StepScript, BreakAppRequestsTheCloseAndStays) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load({{"./script.txt", "#BreakApp()\n@1=1\n"}}));
    rig.step();
    EXPECT_TRUE(rig.engine.closeRequested);
    rig.step();
    EXPECT_EQ(rig.var(1), 0);
}

TEST(StepScript, RestartEntersTheTitleAndClearsTheTables) {
    ScriptRig rig;
    ASSERT_TRUE(rig.load(
        {{"./script.txt", "@1=7\n|_Start:\n@1++\n#END()\n"}, {"./other.txt", "#Wait(1000)\n"}}));
    rig.enter("./other.txt", nullptr);
    rig.step();
    rig.engine.state.currentLevel = 2;
    ScriptContext c = rig.context();
    EXPECT_EQ(restartScript(c), 1);
    EXPECT_EQ(rig.engine.state.currentLevel, 0);
    EXPECT_EQ(rig.engine.parameter(1), 0);
    rig.step();
    EXPECT_EQ(rig.var(1), 1);
}

TEST(CommandTable, LookupFoldsAsciiCaseAndCoversEveryCommand) {
    ASSERT_NE(findCommand("#wait"), nullptr);
    EXPECT_STREQ(findCommand("#wait")->name, "#Wait");
    EXPECT_STREQ(findCommand("#MOUSECLICKEVENTex")->name, "#MouseClickEventEX");
    EXPECT_EQ(findCommand("#Wai"), nullptr);
    EXPECT_EQ(findCommand("Wait"), nullptr);
    // The game's 33 commands and the player's own #Effect.
    EXPECT_EQ(commandTable().size(), 34u);
    for (const CommandInfo& info : commandTable()) {
        EXPECT_EQ(findCommand(info.name), &info) << info.name;
        EXPECT_NE(info.handler, nullptr);
        EXPECT_GT(std::string_view(info.description).size(), 0u);
    }
}

}  // namespace
}  // namespace zeku
