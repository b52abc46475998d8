// Check marks from the settings. A value that matches no entry of its group
// leaves the whole group unchecked rather than guessing a neighbour.
#include "player/system/menu_marks.h"

#include "player/system/menu_build.h"
#include "player/system/menu_ids.h"

namespace zeku {

int volumeStepIndex(int32_t volume) {
    if (volume < 10 || volume > 100 || volume % 10 != 0) return -1;
    return (100 - volume) / 10;
}

void markSettings(MenuTree& tree, const SystemSettings& s) {
    namespace id = menu_id;
    struct Radio {
        uint32_t firstId;
        int count;
        int32_t selected;
    };
    const Radio radios[] = {
        {id::kMasterVolumeFirst, id::kVolumeSteps, volumeStepIndex(s.masterVolume)},
        {id::kMusicVolumeFirst, id::kVolumeSteps, volumeStepIndex(s.musicVolume)},
        {id::kEffectVolumeFirst, id::kVolumeSteps, volumeStepIndex(s.seVolume)},
        {id::kCentreActionFirst, 6, s.keyCenterAction},
        {id::kCursorModeFirst, 5, s.cursorMode},
        {id::kDisplayFreeFirst, 3, s.displayFreeMode},
        {id::kFontFirst, kMenuFontLimit, s.fontIndex},
        {id::kAntiAliasFirst, 4, s.transMode},
        {id::kSpeedFirst, 3, s.messageSpeed},
        {id::kAutoBaseFirst, 10, s.messageAutoBase},
        {id::kAutoOneFirst, 10, s.messageAutoOne},
    };
    for (const Radio& r : radios)
        tree.checkRadio(r.firstId, r.count, r.selected);

    struct Toggle {
        uint32_t id;
        int32_t value;
    };
    const Toggle toggles[] = {
        {id::kMusicPlay, s.pcm},           {id::kEffectsPlay, s.sePlay},
        {id::kDoublePress, s.doublePress}, {id::kShadowText, s.messageShadow},
        {id::kAutoAdvance, s.messageAuto}, {id::kReadSkipStop, s.readSkip},
        {id::kSkipLock, s.lockSkip},
    };
    for (const Toggle& t : toggles)
        tree.setChecked(t.id, t.value != 0);
}

void markSavePermission(MenuTree& tree, bool savingAllowed) {
    tree.setEnabled(menu_id::kLoadPopup, true);
    tree.setEnabled(menu_id::kSavePopup, savingAllowed);
}

void markMenu(MenuTree& tree, const SystemSettings& settings, bool savingAllowed) {
    markSettings(tree, settings);
    markSavePermission(tree, savingAllowed);
}

}  // namespace zeku
