// The command table as data: each known command's name, the handler that
// runs it and a line a trace prints. The interpreter, traces and tests share it.
#pragma once

#include <span>
#include <string_view>

#include "player/script/interpreter.h"

namespace zeku {

using CommandHandler = CommandOutcome (*)(ScriptContext& context);

struct CommandInfo {
    const char* name;  // with its "#", as scripts usually spell it
    CommandHandler handler;
    const char* description;
};

std::span<const CommandInfo> commandTable();
// The entry whose name equals `name` with ASCII letters folded, or nullptr.
const CommandInfo* findCommand(std::string_view name);

}  // namespace zeku
