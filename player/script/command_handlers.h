// Handlers of the command table and the small helpers they share. Internal
// to the script engine: other code reaches commands through the table.
#pragma once

#include <cstdint>
#include <string_view>

#include "player/script/interpreter.h"

namespace zeku {

// Argument `number` (1-based) of the current command, evaluated.
int32_t numberArgument(ScriptContext& context, int number);
// Argument `number` evaluated as text (the accumulator's contents).
std::string_view textArgument(ScriptContext& context, int number);
// The quoted text of argument `number`, cut to `capacity`.
void quotedArgument(const ScriptContext& context, int number, char* destination, size_t capacity);
// The line gives the optional tail the command table allows the command.
bool optionalArgumentsGiven(const ScriptContext& context);
bool firstExecution(ScriptContext& context);
// Enters `fileName` at `label` on `level` (0..3) and makes it current.
// False, leaving the level without text, when the file cannot be read.
bool jumpTo(ScriptContext& context, int level, const char* fileName, const char* label);

// Replaces the message table from the named file of the script package;
// false, keeping the old table, when the file cannot be read.
bool loadMessageFile(ScriptContext& context, const char* name);

// Flow control.
CommandOutcome commandEnd(ScriptContext& context);
CommandOutcome commandWait(ScriptContext& context);
CommandOutcome commandBreakApp(ScriptContext& context);
CommandOutcome commandIf(ScriptContext& context);
CommandOutcome commandGoto(ScriptContext& context);
CommandOutcome commandGosub(ScriptContext& context);
CommandOutcome commandReturn(ScriptContext& context);
CommandOutcome commandMouseClickEventEx(ScriptContext& context);
CommandOutcome commandMouseClickWait(ScriptContext& context);
CommandOutcome commandSelectEx(ScriptContext& context);

// Pictures and display objects.
CommandOutcome commandCreateImage(ScriptContext& context);
CommandOutcome commandLoadImage(ScriptContext& context);
CommandOutcome commandFillClr(ScriptContext& context);
CommandOutcome commandClr(ScriptContext& context);
CommandOutcome commandTransFill(ScriptContext& context);
CommandOutcome commandPaint(ScriptContext& context);
CommandOutcome commandMonoFill(ScriptContext& context);
CommandOutcome commandBlt(ScriptContext& context);
CommandOutcome commandAlphaBlt(ScriptContext& context);
CommandOutcome commandTransFade(ScriptContext& context);
CommandOutcome commandWipe(ScriptContext& context);
CommandOutcome commandEffect(ScriptContext& context);

// Message text.
CommandOutcome commandLoadTextf(ScriptContext& context);
CommandOutcome commandPrintTextf(ScriptContext& context);
CommandOutcome commandCreateTextf(ScriptContext& context);
CommandOutcome commandLocatef(ScriptContext& context);
CommandOutcome commandSetMessageLength(ScriptContext& context);
CommandOutcome commandSetDefaultColor(ScriptContext& context);

// Sound and saving: they keep their state here and play nothing until those
// subsystems take them over.
CommandOutcome commandOpenPlayMciCdda(ScriptContext& context);
CommandOutcome commandStopMciCdda(ScriptContext& context);
CommandOutcome commandPlayWave(ScriptContext& context);
CommandOutcome commandSystemLoad(ScriptContext& context);
CommandOutcome commandStopSave(ScriptContext& context);
CommandOutcome commandResumeSave(ScriptContext& context);

}  // namespace zeku
