// The menu tree's storage and lookups.
#include "player/system/menu_tree.h"

#include <utility>

namespace zeku {

MenuTree::MenuTree() {
    clear();
}

void MenuTree::clear() {
    levels_.clear();
    levels_.emplace_back();
}

int MenuTree::add(int level, MenuEntry entry) {
    if (level < 0 || level >= levelCount()) return -1;
    std::vector<MenuEntry>& entries = levels_[static_cast<size_t>(level)].entries;
    if (static_cast<int>(entries.size()) >= kMenuLevelCapacity) return -1;
    entries.push_back(std::move(entry));
    return static_cast<int>(entries.size()) - 1;
}

int MenuTree::addCommand(int level, uint32_t id, std::string_view text) {
    MenuEntry entry;
    entry.id = id;
    entry.text = std::string(text);
    return add(level, std::move(entry));
}

int MenuTree::addSeparator(int level) {
    MenuEntry entry;
    entry.kind = MenuEntryKind::Separator;
    return add(level, std::move(entry));
}

int MenuTree::addPopup(int level, uint32_t id, std::string_view text, int* childLevel) {
    MenuEntry entry;
    entry.kind = MenuEntryKind::Popup;
    entry.id = id;
    entry.text = std::string(text);
    entry.childLevel = levelCount();
    const int index = add(level, std::move(entry));
    if (index < 0) return -1;
    MenuLevel child;
    child.parentLevel = level;
    child.parentEntry = index;
    levels_.push_back(std::move(child));
    if (childLevel != nullptr) *childLevel = levelCount() - 1;
    return index;
}

MenuLocation MenuTree::find(uint32_t id) const {
    // An explicit stack keeps the order depth-first without recursion.
    struct Cursor {
        int level;
        int entry;
    };
    std::vector<Cursor> stack{{0, 0}};
    while (!stack.empty()) {
        Cursor& top = stack.back();
        const MenuLevel& lv = level(top.level);
        if (top.entry >= static_cast<int>(lv.entries.size())) {
            stack.pop_back();
            continue;
        }
        const int index = top.entry++;
        const MenuEntry& e = lv.entries[static_cast<size_t>(index)];
        if (e.kind != MenuEntryKind::Separator && e.id == id) return {top.level, index};
        if (e.childLevel > 0 && e.childLevel < levelCount()) stack.push_back({e.childLevel, 0});
    }
    return {};
}

MenuEntry* MenuTree::entry(uint32_t id) {
    const MenuLocation where = find(id);
    return where ? &at(where) : nullptr;
}

const MenuEntry* MenuTree::entry(uint32_t id) const {
    const MenuLocation where = find(id);
    return where ? &level(where.level).entries[static_cast<size_t>(where.entry)] : nullptr;
}

namespace {

void setFlag(uint32_t& flags, uint32_t bit, bool on) {
    flags = on ? (flags | bit) : (flags & ~bit);
}

}  // namespace

bool MenuTree::setChecked(uint32_t id, bool on) {
    MenuEntry* e = entry(id);
    if (e != nullptr) setFlag(e->flags, kMenuChecked, on);
    return e != nullptr;
}

bool MenuTree::setEnabled(uint32_t id, bool on) {
    MenuEntry* e = entry(id);
    if (e != nullptr) setFlag(e->flags, kMenuEnabled, on);
    return e != nullptr;
}

bool MenuTree::setText(uint32_t id, std::string_view text) {
    MenuEntry* e = entry(id);
    if (e != nullptr) e->text = std::string(text);
    return e != nullptr;
}

bool MenuTree::setThumbnail(uint32_t id, MenuThumbnail thumbnail) {
    MenuEntry* e = entry(id);
    if (e == nullptr) return false;
    setFlag(e->flags, kMenuHasThumbnail, !thumbnail.empty());
    e->thumbnail = thumbnail.empty() ? MenuThumbnail{} : std::move(thumbnail);
    return true;
}

void MenuTree::checkRadio(uint32_t firstId, int count, int selected) {
    for (int i = 0; i < count; ++i) {
        setChecked(firstId + static_cast<uint32_t>(i), i == selected);
    }
}

}  // namespace zeku
