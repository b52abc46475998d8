// Commands whose subsystem (saving) is not in the player yet: they keep the
// state a saved game records and otherwise do nothing.
#include "player/script/command_handlers.h"

namespace zeku {

CommandOutcome commandSystemLoad(ScriptContext&) {
    return CommandOutcome::Advance;
}

CommandOutcome commandStopSave(ScriptContext& context) {
    context.engine.savingEnabled = false;
    return CommandOutcome::Advance;
}

CommandOutcome commandResumeSave(ScriptContext& context) {
    context.engine.savingEnabled = true;
    return CommandOutcome::Advance;
}

}  // namespace zeku
