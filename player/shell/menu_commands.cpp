// The command table. Settings commands are rows (a range of identifiers, the
// setting it sets, and what must follow at once); the rest are actions on
// the game: saving, loading, the title, the choice rewind and quitting.
#include "player/shell/menu_commands.h"

#include <string>

#include "player/shell/game_saves.h"
#include "player/system/menu_ids.h"
#include "player/system/menu_marks.h"

namespace zeku {
namespace {

namespace id = menu_id;

// What a settings change needs beyond the stored value.
enum class FollowUp { None, Redraw, TrackVolume, ClearArms, Font, Music };

// Identifiers first .. first + count - 1 set `field` to the entry's index,
// or, for the volume steps, to 100 .. 10.
struct RadioCommand {
    uint32_t first;
    int count;
    int32_t SystemSettings::*field;
    bool volume;
    FollowUp followUp;
};

constexpr RadioCommand kRadios[] = {
    {id::kAntiAliasFirst, 4, &SystemSettings::transMode, false, FollowUp::Redraw},
    {id::kSpeedFirst, 3, &SystemSettings::messageSpeed, false, FollowUp::None},
    {id::kMusicVolumeFirst, id::kVolumeSteps, &SystemSettings::musicVolume, true, FollowUp::None},
    {id::kMasterVolumeFirst, id::kVolumeSteps, &SystemSettings::masterVolume, true,
     FollowUp::TrackVolume},
    {id::kCursorModeFirst, 5, &SystemSettings::cursorMode, false, FollowUp::ClearArms},
    {id::kCentreActionFirst, 6, &SystemSettings::keyCenterAction, false, FollowUp::None},
    {id::kFontFirst, 15, &SystemSettings::fontIndex, false, FollowUp::Font},
    {id::kEffectVolumeFirst, id::kVolumeSteps, &SystemSettings::seVolume, true, FollowUp::None},
    {id::kDisplayFreeFirst, 3, &SystemSettings::displayFreeMode, false, FollowUp::None},
    {id::kAutoBaseFirst, 10, &SystemSettings::messageAutoBase, false, FollowUp::None},
    {id::kAutoOneFirst, 10, &SystemSettings::messageAutoOne, false, FollowUp::None},
};

// Identifiers that switch a setting between 0 and 1.
struct ToggleCommand {
    uint32_t id;
    int32_t SystemSettings::*field;
    FollowUp followUp;
};

constexpr ToggleCommand kToggles[] = {
    {id::kReadSkipStop, &SystemSettings::readSkip, FollowUp::None},
    {id::kEffectsPlay, &SystemSettings::sePlay, FollowUp::None},
    {id::kMusicPlay, &SystemSettings::pcm, FollowUp::Music},
    {id::kShadowText, &SystemSettings::messageShadow, FollowUp::Redraw},
    {id::kSkipLock, &SystemSettings::lockSkip, FollowUp::None},
    {id::kDoublePress, &SystemSettings::doublePress, FollowUp::None},
    {id::kAutoAdvance, &SystemSettings::messageAuto, FollowUp::None},
};

void redrawScreen(GameContext& game) {
    redrawAllWindows(game.messageWindows, game.updateList, game.screenWidth, game.screenHeight);
}

void switchMusic(GameContext& game) {
    const bool on = game.settings.pcm != 0;
    game.cdda.setEnabled(game.sound, on);
    // Playing again clears the remembered name before taking the new one.
    const std::string track = game.cdda.trackName();
    if (!on || track.empty()) return;
    game.cdda.play(track.c_str(), game.paths.musicFolder.c_str(), musicTrackVolume(game.settings),
                   1, game.nowMs);
}

void followUp(GameContext& game, FollowUp what) {
    switch (what) {
        case FollowUp::None:
            break;
        case FollowUp::Redraw:
            redrawScreen(game);
            break;
        case FollowUp::TrackVolume:
            game.cdda.setVolume(musicTrackVolume(game.settings));
            break;
        case FollowUp::ClearArms: {
            PressCounters& keys = game.input.keys;
            keys.armUp = keys.armDown = keys.armLeft = keys.armRight = false;
            break;
        }
        case FollowUp::Font: {
            const auto index = static_cast<size_t>(game.settings.fontIndex);
            if (index < game.fontList.size() && !game.fontList[index].empty()) {
                game.messageFont = game.fontList[index];
                redrawScreen(game);  // the text already shown takes the new face too
            }
            break;
        }
        case FollowUp::Music:
            switchMusic(game);
            break;
    }
}

bool settingCommand(GameContext& game, uint32_t identifier) {
    for (const RadioCommand& r : kRadios) {
        if (identifier < r.first || identifier >= r.first + static_cast<uint32_t>(r.count))
            continue;
        const auto index = static_cast<int32_t>(identifier - r.first);
        game.settings.*r.field = r.volume ? 100 - 10 * index : index;
        followUp(game, r.followUp);
        return true;
    }
    for (const ToggleCommand& t : kToggles) {
        if (identifier != t.id) continue;
        int32_t& value = game.settings.*t.field;
        value = value != 0 ? 0 : 1;
        followUp(game, t.followUp);
        return true;
    }
    return false;
}

void actionCommand(GameContext& game, uint32_t identifier, HostWindow& window,
                   DeviceStatus* device) {
    const auto slot = [identifier](uint32_t first) { return static_cast<int>(identifier - first); };
    if (identifier >= id::kLoadFirst && identifier < id::kLoadFirst + id::kSlotCount) {
        loadGame(game, slot(id::kLoadFirst));
    } else if (identifier >= id::kSaveFirst && identifier < id::kSaveFirst + id::kSlotCount) {
        saveGame(game, slot(id::kSaveFirst),
                 device != nullptr ? device->localTime() : LocalDateTime{});
    } else if (identifier == id::kReturnToTitle) {
        returnToTitle(game);
    } else if (identifier == id::kRewindChoice) {
        rewindChoice(game);
    } else if (identifier == id::kQuit) {
        game.cdda.stop();
        game.sound.stopAll();
        window.postMessage(Message{kWmClose, 0, 0});
    }
}

}  // namespace

int32_t musicTrackVolume(const SystemSettings& settings) {
    return settings.musicVolume * settings.masterVolume / 100;
}

void runMenuCommand(GameContext& game, uint32_t identifier, HostWindow& window,
                    DeviceStatus* device) {
    if (!settingCommand(game, identifier)) actionCommand(game, identifier, window, device);
    markMenu(game.menu.tree(), game.settings, game.script.savingEnabled);
}

}  // namespace zeku
