// The open menu's input. The pointer acts only when it does something (moves,
// presses, holds or lets go), so a pointer resting outside the panel never
// undoes what the keys highlighted.
#include "player/system/system_menu.h"

namespace zeku {

bool SystemMenu::openMenu(const MenuPanelHost& host) {
    if (open_) return false;
    resetCursor(cursor_);
    pointerKnown_ = false;
    panel_.open(host, tree_, cursor_);
    open_ = true;
    return true;
}

void SystemMenu::close() {
    if (!open_) return;
    panel_.close();
    open_ = false;
    resetCursor(cursor_);
}

uint32_t SystemMenu::menuInput(InputState& input) {
    const int x = input.pointerX, y = input.pointerY;
    return menuInputAt(input, MenuHit{panel_.contains(x, y), panel_.entryAt(x, y)});
}

uint32_t SystemMenu::menuInputAt(InputState& input, MenuHit hit) {
    if (!open_) return 0;
    const bool moved =
        pointerKnown_ && (input.pointerX != pointerX_ || input.pointerY != pointerY_);
    pointerKnown_ = true;
    pointerX_ = input.pointerX;
    pointerY_ = input.pointerY;
    const bool pressed = input.clickEdge == 1;
    const bool released = input.releaseEdge == 1;
    if (pressed) input.clickEdge = 2;
    if (released) input.releaseEdge = 2;

    uint32_t chosen = 0;
    if ((moved || pressed || released || input.buttonHeld) && pointerPass(hit, released, chosen))
        return chosen;
    keyPass(input.keys, chosen);
    return chosen;
}

bool SystemMenu::pointerPass(MenuHit hit, bool released, uint32_t& chosen) {
    if (!hit.inside) {
        setHighlight(-1);
        if (!released) return false;
        close();
        return true;
    }
    const std::vector<MenuEntry>& entries = tree_.level(cursor_.currentLevel()).entries;
    if (hit.entry < 0 || hit.entry >= static_cast<int>(entries.size()) ||
        !entries[static_cast<size_t>(hit.entry)].selectable()) {
        setHighlight(-1);
        return false;
    }
    setHighlight(hit.entry);
    if (!released) return false;
    const MenuEntry& entry = entries[static_cast<size_t>(hit.entry)];
    if (entry.kind == MenuEntryKind::Popup) {
        enter();
        return false;
    }
    return choose(&entry, chosen);
}

bool SystemMenu::keyPass(PressCounters& keys, uint32_t& chosen) {
    // Every fresh press is taken at once, so none reaches the game after
    // the menu closes, then they act in a fixed order.
    auto take = [&keys](KeyRole role) {
        if (keys[role] != 1) return false;
        keys[role] = 2;
        return true;
    };
    const bool up = take(KeyRole::Up), down = take(KeyRole::Down);
    const bool right = take(KeyRole::Right), left = take(KeyRole::Left);
    const bool a = take(KeyRole::A), b = take(KeyRole::B), c = take(KeyRole::C);

    if (up) moveBy(true);
    if (down) moveBy(false);
    if (right) {
        const MenuEntry* entry = highlightedEntry(tree_, cursor_);
        if (entry != nullptr && entry->kind == MenuEntryKind::Popup) {
            enter();
        } else if (choose(entry, chosen)) {
            return true;
        }
    }
    if (left && back()) return true;
    if (a && back()) return true;
    if (c && choose(highlightedEntry(tree_, cursor_), chosen)) return true;
    if (b) {
        close();
        return true;
    }
    return false;
}

void SystemMenu::setHighlight(int entry) {
    if (entry == cursor_.highlighted) return;
    const int previous = cursor_.highlighted;
    cursor_.highlighted = entry;
    panel_.highlightChanged(tree_, cursor_, previous);
}

void SystemMenu::moveBy(bool up) {
    const int previous = cursor_.highlighted;
    if (moveHighlight(tree_, cursor_, up)) panel_.highlightChanged(tree_, cursor_, previous);
}

void SystemMenu::enter() {
    if (enterLevel(tree_, cursor_)) panel_.levelChanged(tree_, cursor_);
}

bool SystemMenu::back() {
    if (leaveLevel(cursor_)) {
        panel_.levelChanged(tree_, cursor_);
        return false;
    }
    close();
    return true;
}

bool SystemMenu::choose(const MenuEntry* entry, uint32_t& chosen) {
    if (entry == nullptr || entry->kind != MenuEntryKind::Command || !entry->enabled())
        return false;
    chosen = entry->id;
    close();
    return true;
}

}  // namespace zeku
