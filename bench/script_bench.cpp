// Script lines interpreted per second: a loop of expression statements,
// #IF blocks, comments and a #GOTO, as a game's bookkeeping between its
// pictures and messages looks.
#include <benchmark/benchmark.h>

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
BENCHMARK(ScriptLines);

}  // namespace
