// Menu navigation: highlight moves, entering and leaving levels.
#include "player/system/menu_cursor.h"

namespace zeku {

void resetCursor(MenuCursor& cursor) {
    cursor.levels.assign(1, 0);
    cursor.opened.clear();
    cursor.highlighted = -1;
}

bool moveHighlight(const MenuTree& tree, MenuCursor& cursor, bool up) {
    const std::vector<MenuEntry>& entries = tree.level(cursor.currentLevel()).entries;
    const int count = static_cast<int>(entries.size());
    if (count == 0) return false;
    int index = cursor.highlighted;
    for (int step = 0; step < count; ++step) {
        if (up) {
            index = index <= 0 ? count - 1 : index - 1;
        } else {
            index = index < 0 || index >= count - 1 ? 0 : index + 1;
        }
        if (entries[static_cast<size_t>(index)].selectable()) {
            const bool moved = index != cursor.highlighted;
            cursor.highlighted = index;
            return moved;
        }
    }
    return false;
}

bool enterLevel(const MenuTree& tree, MenuCursor& cursor) {
    const MenuEntry* entry = highlightedEntry(tree, cursor);
    if (entry == nullptr || entry->kind != MenuEntryKind::Popup || !entry->enabled()) return false;
    if (entry->childLevel <= 0 || entry->childLevel >= tree.levelCount()) return false;
    cursor.opened.push_back(cursor.highlighted);
    cursor.levels.push_back(entry->childLevel);
    cursor.highlighted = -1;
    return true;
}

bool leaveLevel(MenuCursor& cursor) {
    if (cursor.depth() == 0) return false;
    cursor.levels.pop_back();
    cursor.highlighted = cursor.opened.back();
    cursor.opened.pop_back();
    return true;
}

const MenuEntry* highlightedEntry(const MenuTree& tree, const MenuCursor& cursor) {
    const std::vector<MenuEntry>& entries = tree.level(cursor.currentLevel()).entries;
    if (cursor.highlighted < 0 || cursor.highlighted >= static_cast<int>(entries.size()))
        return nullptr;
    return &entries[static_cast<size_t>(cursor.highlighted)];
}

}  // namespace zeku
