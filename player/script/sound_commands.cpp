// The sound commands: effects in slot 1 (#PlayWave) and CD-track music
// (#OpenPlayMCICdda, #StopMCICdda). The game state keeps the music numbers
// a saved game records, whether or not any sound can play.
#include <string>

#include "player/script/command_handlers.h"

namespace zeku {
namespace {

constexpr int kVoiceSlot = 1;

}  // namespace

CommandOutcome commandOpenPlayMciCdda(ScriptContext& context) {
    const int32_t first = numberArgument(context, 1);
    const int32_t second = numberArgument(context, 2);
    const int32_t loop = numberArgument(context, 3);
    if (context.cdda != nullptr) {
        const SystemSettings& settings = context.settings;
        const int32_t volume = settings.musicVolume * settings.masterVolume / 100;
        context.cdda->play(trackFileName(first).c_str(), context.musicFolder, volume, loop,
                           context.nowMs);
    }
    context.engine.musicFirstTrack = first;
    context.engine.musicSecondTrack = second;
    context.engine.musicLoop = loop;
    return CommandOutcome::Advance;
}

CommandOutcome commandStopMciCdda(ScriptContext& context) {
    if (context.cdda != nullptr) context.cdda->stop();
    context.engine.musicFirstTrack = 0;
    return CommandOutcome::Advance;
}

CommandOutcome commandPlayWave(ScriptContext& context) {
    const SystemSettings& settings = context.settings;
    if (settings.sePlay == 0) return CommandOutcome::Advance;
    const std::string name(textArgument(context, 1));
    SoundEngine* sound = context.sound;
    if (sound != nullptr && sound->playingPositionMs(kVoiceSlot) >= 0 && !skipping(context.input) &&
        (takeKeyEdges(context.input) & kEdgeDecide) == 0) {
        return CommandOutcome::StayYield;
    }
    const int32_t loop = optionalArgumentsGiven(context) ? numberArgument(context, 2) : 0;
    if (sound == nullptr) return CommandOutcome::Advance;
    const int32_t volume = settings.seVolume * settings.masterVolume / 100;
    if (sound->loadEffect(kVoiceSlot, replaceExtension(name, ".mp3").c_str(),
                          context.soundPackagePath, volume) != 0) {
        sound->start(kVoiceSlot, loop);
    }
    return CommandOutcome::Advance;
}

}  // namespace zeku
