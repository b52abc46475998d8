// The popup system menu as the shell sees it: open, run one pass, carry out
// a command. The menu's contents arrive with the save and settings screens.
#pragma once

namespace zeku {

class SystemMenu {
  public:
    bool isOpen() const { return open_; }
    // Opens the menu unless it is open already; true when it opened now.
    bool openMenu() { return false; }
    void close() { open_ = false; }

  private:
    bool open_ = false;
};

}  // namespace zeku
