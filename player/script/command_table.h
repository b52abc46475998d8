// The command table as data: each known command's name, the handler that
// runs it, how many arguments it takes and a line a trace prints. The
// interpreter, traces and tests share it.
#pragma once

#include <span>
#include <string_view>

#include "player/script/interpreter.h"

namespace zeku {

using CommandHandler = CommandOutcome (*)(ScriptContext& context);

struct CommandInfo {
    const char* name;  // with its "#", as scripts usually spell it
    CommandHandler handler;
    // The arguments a line gives. A maximum above the minimum is an optional
    // tail (a file, a reference slot, a loop flag, a longer form) that the
    // handler reads only when the line gives the maximum. A line with fewer
    // than the minimum still runs: the missing arguments read as empty.
    int minArguments;
    int maxArguments;
    const char* description;
};

std::span<const CommandInfo> commandTable();
// The entry whose name equals `name` with ASCII letters folded, or nullptr.
const CommandInfo* findCommand(std::string_view name);

}  // namespace zeku
