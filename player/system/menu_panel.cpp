// Placeholder until the panel drawing lands: tracks only whether it is open.
#include "player/system/menu_panel.h"

namespace zeku {

struct MenuPanel::State {};

MenuPanel::MenuPanel() = default;
MenuPanel::~MenuPanel() = default;

void MenuPanel::open(const MenuPanelHost&, const MenuTree&, const MenuCursor&) {
    open_ = true;
}
void MenuPanel::levelChanged(const MenuTree&, const MenuCursor&) {}
void MenuPanel::highlightChanged(const MenuTree&, const MenuCursor&, int) {}
void MenuPanel::close() {
    open_ = false;
}
bool MenuPanel::contains(int, int) const {
    return false;
}
int MenuPanel::entryAt(int, int) const {
    return -1;
}

}  // namespace zeku
