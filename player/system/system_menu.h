// The popup system menu as the shell sees it: open it, run one pass of its
// input, close it. It owns the item tree, where the user stands in it and
// the panel that shows it; what a chosen command does is the shell's.
#pragma once

#include <cstdint>

#include "player/system/input_state.h"
#include "player/system/menu_cursor.h"
#include "player/system/menu_panel.h"
#include "player/system/menu_tree.h"

namespace zeku {

// Where the pointer stands over the open menu: inside the panel at all, and
// the entry of the current level under it (-1 none).
struct MenuHit {
    bool inside = false;
    int entry = -1;
};

class SystemMenu {
  public:
    bool isOpen() const { return open_; }
    // Shows the menu at its top level, unless it is open already; true when
    // it opened now. The caller brings the marks up to date first.
    bool openMenu(const MenuPanelHost& host);
    // One pass while the menu is open: pointer, then keys (each press used
    // is consumed). Returns the chosen command's identifier (the menu has
    // closed), or 0.
    uint32_t menuInput(InputState& input);
    // The same with the pointer's hit given rather than asked of the panel.
    uint32_t menuInputAt(InputState& input, MenuHit hit);
    // Puts the game picture back; nothing is chosen.
    void close();

    MenuTree& tree() { return tree_; }
    const MenuTree& tree() const { return tree_; }
    const MenuCursor& cursor() const { return cursor_; }

  private:
    // Each returns true when the menu closed; `chosen` gets a command.
    bool pointerPass(MenuHit hit, bool released, uint32_t& chosen);
    bool keyPass(PressCounters& keys, uint32_t& chosen);
    void setHighlight(int entry);
    void moveBy(bool up);
    void enter();
    bool back();  // true when it closed the menu at the top
    bool choose(const MenuEntry* entry, uint32_t& chosen);

    bool open_ = false;
    MenuTree tree_;
    MenuCursor cursor_;
    MenuPanel panel_;
    bool pointerKnown_ = false;  // the pointer's place is remembered from an earlier pass
    int pointerX_ = 0;
    int pointerY_ = 0;
};

}  // namespace zeku
