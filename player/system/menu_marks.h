// The menu's check marks and enable bits as the settings and the script's
// save permission say: one radio mark per group, a mark on each toggle that
// is on, and the save popup enabled only while saving is allowed.
#pragma once

#include "player/system/menu_tree.h"
#include "player/system/system_settings.h"

namespace zeku {

// A volume's place among the menu steps 100, 90 .. 10; -1 for a value
// between or outside them, which then checks no step.
int volumeStepIndex(int32_t volume);

// Every radio group and toggle from `settings`.
void markSettings(MenuTree& tree, const SystemSettings& settings);

// The save popup follows the script's permission; loading stays possible.
void markSavePermission(MenuTree& tree, bool savingAllowed);

// Both: after the settings are read and after each menu command.
void markMenu(MenuTree& tree, const SystemSettings& settings, bool savingAllowed);

}  // namespace zeku
