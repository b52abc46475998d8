// The popup system menu as the shell sees it: open, run one pass, carry out
// a command. Its item tree is reachable for the slot list and the marks.
#pragma once

#include "player/system/menu_tree.h"

namespace zeku {

class SystemMenu {
  public:
    bool isOpen() const { return open_; }
    // Opens the menu unless it is open already; true when it opened now.
    bool openMenu() { return false; }
    void close() { open_ = false; }

    MenuTree& tree() { return tree_; }
    const MenuTree& tree() const { return tree_; }

  private:
    bool open_ = false;
    MenuTree tree_;
};

}  // namespace zeku
