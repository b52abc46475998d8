// Commands whose subsystems (sound, music, saving) are not in
// the player yet: they read their arguments, keep the state a saved game
// records, and otherwise show or play nothing and finish at once.
#include "common/text/sjis.h"
#include "player/script/command_handlers.h"

namespace zeku {

CommandOutcome commandOpenPlayMciCdda(ScriptContext& context) {
    context.engine.musicFirstTrack = numberArgument(context, 1);
    context.engine.musicSecondTrack = numberArgument(context, 2);
    context.engine.musicLoop = numberArgument(context, 3);
    return CommandOutcome::Advance;
}

CommandOutcome commandStopMciCdda(ScriptContext& context) {
    context.engine.musicFirstTrack = 0;
    return CommandOutcome::Advance;
}

CommandOutcome commandPlayWave(ScriptContext& context) {
    textArgument(context, 1);
    if (optionalArgumentsGiven(context)) numberArgument(context, 2);
    return CommandOutcome::Advance;
}

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
