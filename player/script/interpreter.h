// The per-frame interpreter: runs lines of the current call level until one
// yields, and the return to the title.
#pragma once

#include <cstdint>

#include "player/script/script_context.h"

namespace zeku {

enum class CommandOutcome {
    Advance,       // next line, go on this frame
    AdvanceYield,  // next line, then return
    StayYield,     // same line again next frame
    Jump,          // the command set the position; go on this frame
    JumpYield,     // the command set the position; then return
};

// Lines one step executes at most before it yields, so a script loop
// without a yielding command cannot hang the player.
inline constexpr int kLinesPerStepLimit = 100000;

// Runs one frame of the script. Returns the number of lines executed.
int stepScript(ScriptContext& context);

// Frees all levels and the graphics, clears the interpreter's tables and
// enters "./script.txt" at "_Start" on level 0. Returns enterScript's result.
int restartScript(ScriptContext& context);

}  // namespace zeku
