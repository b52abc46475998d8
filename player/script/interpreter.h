// The per-frame interpreter: runs lines of the current call level until one
// yields, and the return to the title.
#pragma once

#include <cstdint>

#include "player/script/script_context.h"

namespace zeku {

enum class CommandOutcome {
    Advance,       // next line (or further on, see nextPosition), go on this frame
    AdvanceYield,  // the same, then return
    StayYield,     // same line again next frame
    Jump,          // the command entered a label, a file or a level; go on this frame
    JumpYield,     // the same, then return
};

// Bounds of one step. A script loop that never yields would otherwise hold
// up the frame, and with it the window's messages (close included): the
// step ends after this many lines, jumps or script files read from the
// package, as if the last line had yielded, and the script goes on in the
// next frame. At their worst (long expressions, large compressed files)
// each bound lets a step run about one frame; counting rather than reading
// the clock keeps headless runs repeatable.
inline constexpr int kLinesPerStepLimit = 10000;
inline constexpr int kJumpsPerStepLimit = 1000;
inline constexpr uint32_t kScriptReadsPerStepLimit = 8;

// Runs one frame of the script. Returns the number of lines executed.
int stepScript(ScriptContext& context);

// Empties the call levels and the tables that belong to the script being
// run (parameters, timers, click areas, choices, a pending save request).
void resetScriptTables(ScriptEngine& engine);

// Frees all levels and the graphics, clears the interpreter's tables and
// enters "./script.txt" at "_Start" on level 0. Returns enterScript's result.
int restartScript(ScriptContext& context);

}  // namespace zeku
