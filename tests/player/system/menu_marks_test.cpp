// Check marks from settings: one mark per radio group on the entry equal to
// the setting, none for a value between the entries, toggles when on, and
// the save popup following the script's permission.
#include "player/system/menu_marks.h"

#include <gtest/gtest.h>

#include "player/system/menu_build.h"
#include "player/system/menu_ids.h"

namespace zeku {
namespace {

namespace id = menu_id;

// The checked identifiers among first .. first + count - 1.
std::vector<uint32_t> checkedIn(const MenuTree& tree, uint32_t first, int count) {
    std::vector<uint32_t> out;
    for (int i = 0; i < count; ++i) {
        const MenuEntry* e = tree.entry(first + static_cast<uint32_t>(i));
        if (e != nullptr && e->checked()) out.push_back(first + static_cast<uint32_t>(i));
    }
    return out;
}

TEST(MenuMarks, EachRadioGroupChecksTheEntryOfItsSettingOrNone) {
    struct Case {
        const char* what;
        int32_t SystemSettings::*field;
        int32_t value;
        uint32_t first;
        int count;
        std::vector<uint32_t> checked;
    } cases[] = {
        {"master 100", &SystemSettings::masterVolume, 100, id::kMasterVolumeFirst, 10, {40126}},
        {"master 10", &SystemSettings::masterVolume, 10, id::kMasterVolumeFirst, 10, {40135}},
        {"music 55", &SystemSettings::musicVolume, 55, id::kMusicVolumeFirst, 10, {}},
        {"music 70", &SystemSettings::musicVolume, 70, id::kMusicVolumeFirst, 10, {40068}},
        {"effects 0", &SystemSettings::seVolume, 0, id::kEffectVolumeFirst, 10, {}},
        {"effects 50", &SystemSettings::seVolume, 50, id::kEffectVolumeFirst, 10, {40190}},
        {"centre 5", &SystemSettings::keyCenterAction, 5, id::kCentreActionFirst, 6, {40168}},
        {"centre 6", &SystemSettings::keyCenterAction, 6, id::kCentreActionFirst, 6, {}},
        {"cursor 4", &SystemSettings::cursorMode, 4, id::kCursorModeFirst, 5, {40140}},
        {"manners 2", &SystemSettings::displayFreeMode, 2, id::kDisplayFreeFirst, 3, {40197}},
        {"font 1", &SystemSettings::fontIndex, 1, id::kFontFirst, 15, {40170}},
        {"font 9 of 3", &SystemSettings::fontIndex, 9, id::kFontFirst, 15, {}},
        {"anti-alias 3", &SystemSettings::transMode, 3, id::kAntiAliasFirst, 4, {40044}},
        {"speed -1", &SystemSettings::messageSpeed, -1, id::kSpeedFirst, 3, {}},
        {"speed 0", &SystemSettings::messageSpeed, 0, id::kSpeedFirst, 3, {40046}},
        {"auto base 9", &SystemSettings::messageAutoBase, 9, id::kAutoBaseFirst, 10, {40225}},
        {"auto one 0", &SystemSettings::messageAutoOne, 0, id::kAutoOneFirst, 10, {40226}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuTree tree;
        buildSystemMenu(tree, {"A", "B", "C"});
        // Marks left from an earlier value must go.
        SystemSettings before;
        before.*c.field = c.field == &SystemSettings::fontIndex ? 2 : 1;
        markSettings(tree, before);
        SystemSettings settings;
        settings.*c.field = c.value;
        markSettings(tree, settings);
        EXPECT_EQ(checkedIn(tree, c.first, c.count), c.checked);
    }
}

TEST(MenuMarks, TogglesAreCheckedWhenOn) {
    const struct {
        int32_t SystemSettings::*field;
        uint32_t id;
    } toggles[] = {
        {&SystemSettings::pcm, id::kMusicPlay},
        {&SystemSettings::sePlay, id::kEffectsPlay},
        {&SystemSettings::doublePress, id::kDoublePress},
        {&SystemSettings::messageShadow, id::kShadowText},
        {&SystemSettings::messageAuto, id::kAutoAdvance},
        {&SystemSettings::readSkip, id::kReadSkipStop},
        {&SystemSettings::lockSkip, id::kSkipLock},
    };
    MenuTree tree;
    buildSystemMenu(tree, {});
    for (const auto& t : toggles) {
        SCOPED_TRACE(t.id);
        for (int32_t value :
             {2, 0, 1}) {  // any non-zero value is on, as the settings file writes 2
            SystemSettings settings;
            settings.*t.field = value;
            markSettings(tree, settings);
            EXPECT_EQ(tree.entry(t.id)->checked(), value != 0);
        }
    }
}

TEST(MenuMarks, TheSavePopupFollowsThePermissionAndLoadingStaysOpen) {
    MenuTree tree;
    buildSystemMenu(tree, {});
    for (bool allowed : {false, true, false}) {
        markMenu(tree, SystemSettings{}, allowed);
        EXPECT_EQ(tree.entry(id::kSavePopup)->enabled(), allowed);
        EXPECT_TRUE(tree.entry(id::kLoadPopup)->enabled());
        // The slots inside keep their own bits; only the popup closes.
        EXPECT_TRUE(tree.entry(id::kSaveFirst)->enabled());
    }
}

TEST(MenuMarks, VolumeStepsAreTheTensFromTenToAHundred) {
    const struct {
        int32_t volume;
        int index;
    } cases[] = {{100, 0}, {90, 1}, {10, 9}, {55, -1}, {0, -1}, {5, -1}, {110, -1}, {-10, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(volumeStepIndex(c.volume), c.index) << c.volume;
}

}  // namespace
}  // namespace zeku
