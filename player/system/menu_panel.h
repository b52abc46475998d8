// The open menu drawn as a panel in the screen's top-left corner, straight
// onto the display: the status line, the path of opened levels, the entries
// with their marks, the highlight band and the highlighted slot's thumbnail.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/device_status.h"
#include "platform/api/display_back_end.h"
#include "platform/api/glyph_renderer.h"
#include "player/system/menu_cursor.h"
#include "player/system/menu_tree.h"

namespace zeku {

// What the panel draws with and reads its status facts from.
struct MenuPanelHost {
    DisplayBackEnd* display = nullptr;
    GXDisplayProperties properties;
    int screenWidth = 0;
    int screenHeight = 0;
    DeviceStatus* device = nullptr;  // null: the status facts read zero
    std::string storageFolder;       // whose free space the status line shows
    std::string overlayDescription;  // the MP3 decoder in use; empty: not shown
    int outputRateHz = 22050;
    GlyphRenderer* glyphs = nullptr;  // null: the panel's text is blank
};

class MenuPanel {
  public:
    MenuPanel();
    ~MenuPanel();
    MenuPanel(const MenuPanel&) = delete;
    MenuPanel& operator=(const MenuPanel&) = delete;

    // Captures the game picture from the frame buffer, draws the panel for
    // the cursor (normally at the top level without highlight) and shows it.
    void open(const MenuPanelHost& host, const MenuTree& tree, const MenuCursor& cursor);
    // After the cursor entered or left a level: the picture under the panel
    // comes back, the panel is drawn anew and the whole screen shown.
    void levelChanged(const MenuTree& tree, const MenuCursor& cursor);
    // After the highlight moved from `previous` (-1 none) to the cursor's.
    void highlightChanged(const MenuTree& tree, const MenuCursor& cursor, int previous);
    // Puts the game picture back on the display.
    void close();

    bool isOpen() const { return open_; }
    // Game coordinates: inside the panel at all, and the entry row there
    // (-1 outside every entry row).
    bool contains(int x, int y) const;
    int entryAt(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    struct State;
    bool open_ = false;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<State> state_;
};

}  // namespace zeku
