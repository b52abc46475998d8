// Script lines interpreted per second: a loop of expression statements,
// #IF blocks, comments and a #GOTO, as a game's bookkeeping between its
// pictures and messages looks; and one frame of a loop that never yields
// at the end of a large compressed script, the worst a step can cost.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/player/script/script_rig.h"

namespace {

const char kLoop[] =
    "_Start\n"
    "; bookkeeping between scenes\n"
    "@1=@1+1\n"
    "@2=@1==3\n"
    "#IF(@2==1){\n"
    "@3++\n"
    "}\n"
    "@a=\"abc\"@b\n"
    "@4=RGB(10,20,30)\n"
    "#IF(@1<>0&&@3==0||@4==0){\n"
    "@5=@5+2\n"
    "}\n"
    "#GOTO(\"_Start\",\"./script.txt\")\n"
    "#END\n";

void ScriptLines(benchmark::State& state) {
    zeku::test_support::ScriptRig rig;
    if (!rig.load({{"./script.txt", kLoop}})) {
        state.SkipWithError("cannot build the script package");
        return;
    }
    int64_t lines = 0;
    for (auto _ : state)
        lines += rig.step();  // each step runs until the line bound
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(ScriptLines)->Unit(benchmark::kMillisecond);

// About 200 KB of scenes (labels, pictures, messages, bookkeeping) followed
// by "|_Start:" and "#GOTO("_Start")": every jump looks for a label at the
// very end of the file.
std::string largeScriptEndingInALoop() {
    std::string text = "#GOTO(\"_Start\")\n";
    for (int scene = 0; text.size() < 200 * 1024; ++scene) {
        const std::string n = std::to_string(scene);
        text += "|_Scene" + n + ":\n";
        text += "#LoadImage(3,\"./bg/bg" + n + ".png\")\n";
        text += "#TransFade(0,0,0,0,0,0,800,600,3)\n";
        for (int line = 0; line < 8; ++line)
            text += "#PrintTextf(" + std::to_string(scene * 8 + line) + ")\n";
        text += "@" + std::to_string(scene % 900) + "=@" + std::to_string(scene % 900) + "+1\n";
        text += "#IF(@5==" + n + ")\n{\n#GOTO(\"_Scene" + n + "\",\"./script.txt\")\n}\n";
    }
    text += "|_Start:\n#GOTO(\"_Start\")\n#END()\n";
    return text;
}

// Steps the files (stored compressed) and counts the lines each step ran.
void stepCompressedScripts(benchmark::State& state,
                           const std::vector<std::pair<std::string, std::string>>& files) {
    zeku::test_support::ScriptRig rig;
    if (!rig.load(files, true)) {
        state.SkipWithError("cannot build the script package");
        return;
    }
    int64_t lines = 0;
    for (auto _ : state)
        lines += rig.step();
    state.counters["lines/step"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}

void NonYieldingLoopAtTheEndOfALargeScript(benchmark::State& state) {
    stepCompressedScripts(state, {{"./script.txt", largeScriptEndingInALoop()}});
}
BENCHMARK(NonYieldingLoopAtTheEndOfALargeScript)->Unit(benchmark::kMillisecond)->MinTime(0.5);

// The same loop jumping between two such files on one level, so that each
// jump lets go of the text it leaves.
void NonYieldingLoopBetweenTwoLargeScripts(benchmark::State& state) {
    const std::string loop = "|_Start:\n#GOTO(\"_Start\")\n#END()\n";
    std::string first = largeScriptEndingInALoop();
    first.resize(first.size() - loop.size());
    std::string second = first;
    first += "|_Start:\n#GOTO(\"_Start\",\"./other.txt\")\n#END()\n";
    second += "|_Start:\n#GOTO(\"_Start\",\"./script.txt\")\n#END()\n";
    stepCompressedScripts(state, {{"./script.txt", first}, {"./other.txt", second}});
}
BENCHMARK(NonYieldingLoopBetweenTwoLargeScripts)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace
