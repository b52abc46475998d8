// Where the user stands in the open menu: the chain of levels opened from
// the top and the highlighted entry of the current one. Pure navigation;
// the panel draws whatever this says.
#pragma once

#include <vector>

#include "player/system/menu_tree.h"

namespace zeku {

struct MenuCursor {
    std::vector<int> levels{0};  // tree level shown at each depth; [0] is the top
    std::vector<int> opened;     // entry opened at each depth below the current one
    int highlighted = -1;        // entry of the current level, -1 for none

    int depth() const { return static_cast<int>(levels.size()) - 1; }
    int currentLevel() const { return levels.back(); }
};

// Back to the top level with no highlight.
void resetCursor(MenuCursor& cursor);

// Highlights the previous (up) or next selectable entry, wrapping at the
// ends; without any selectable entry nothing changes. True when it moved.
bool moveHighlight(const MenuTree& tree, MenuCursor& cursor, bool up);

// Opens the highlighted popup one level down, with no highlight.
bool enterLevel(const MenuTree& tree, MenuCursor& cursor);

// Goes back one level and highlights the entry that had been opened; false
// at the top level.
bool leaveLevel(MenuCursor& cursor);

// The entry under the highlight, or null.
const MenuEntry* highlightedEntry(const MenuTree& tree, const MenuCursor& cursor);

}  // namespace zeku
