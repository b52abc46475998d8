// Commands whose subsystems (message text, sound, music, saving) are not in
// the player yet: they read their arguments, keep the state a saved game
// records, and otherwise show or play nothing and finish at once.
#include "common/text/sjis.h"
#include "player/script/command_handlers.h"

namespace zeku {

CommandOutcome commandLoadTextf(ScriptContext& context) {
    const std::string_view name = textArgument(context, 1);
    char* stored = context.engine.messageFileName;
    const size_t length = name.size() < kMessageFileNameBytes ? name.size() : 0;
    for (size_t i = 0; i < length; ++i)
        stored[i] = name[i];
    stored[length] = 0;
    return CommandOutcome::Advance;
}

CommandOutcome commandPrintTextf(ScriptContext& context) {
    const int32_t first = numberArgument(context, 1);
    if (first == 0 && optionalArgumentsGiven(context)) numberArgument(context, 2);
    return CommandOutcome::AdvanceYield;
}

CommandOutcome commandCreateTextf(ScriptContext& context) {
    numberArgument(context, 1);
    numberArgument(context, 2);
    return CommandOutcome::Advance;
}

CommandOutcome commandLocatef(ScriptContext& context) {
    const int32_t window = numberArgument(context, 1);
    const int32_t x = numberArgument(context, 2);
    const int32_t y = numberArgument(context, 3);
    if (window == 0 || window == 1) {
        auto& settings = context.engine.textSettings;
        settings[static_cast<size_t>(2 + 2 * window)] = x;
        settings[static_cast<size_t>(3 + 2 * window)] = y;
    }
    return CommandOutcome::Advance;
}

CommandOutcome commandSetMessageLength(ScriptContext& context) {
    context.engine.parameter(1) = numberArgument(context, 1);
    context.engine.parameter(2) = numberArgument(context, 2);
    return CommandOutcome::Advance;
}

CommandOutcome commandSetDefaultColor(ScriptContext& context) {
    const int32_t index = numberArgument(context, 1);
    const int32_t value = numberArgument(context, 2);
    if (index >= 0 && index < kTextSettingCount)
        context.engine.textSettings[static_cast<size_t>(index)] = value;
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
