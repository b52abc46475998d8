// The system menu's contents as built once at start-up: every popup,
// command and separator in order, with the texts and identifiers the menu
// has always carried, and the font entries from the font list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "player/system/menu_tree.h"

namespace zeku {

// Font entries the menu offers at most, and the bytes a font name keeps.
inline constexpr int kMenuFontLimit = 15;
inline constexpr size_t kMenuFontTextBytes = 24;

// Clears `tree` and builds the whole menu. Font entries come from
// `fontList` in order, at most kMenuFontLimit.
void buildSystemMenu(MenuTree& tree, const std::vector<std::string>& fontList);

// A font name as its entry shows it: cut to kMenuFontTextBytes bytes, one
// more when the last kept byte starts a double-byte character.
std::string menuFontText(std::string_view name);

}  // namespace zeku
