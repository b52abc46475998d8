// The second class level: the key and stylus messages. It reaches the game's
// working state (input, keys, settings, menu, the display's pointer map)
// through the game context, which the application object owns.
#pragma once

#include <string>
#include <vector>

#include "player/shell/game_context.h"
#include "player/shell/window_base.h"

namespace zeku {

class GameWindow : public WindowBase {
  public:
    GameWindow(const BuildConstants& build, PlatformServices& platform, GameContext& game);

    intptr_t handleMessage(const Message& message) override;

    GameContext& game() { return game_; }
    const GameContext& game() const { return game_; }

    // Takes the opened display's description for the present and the stylus.
    void attachDisplay(const GXDisplayProperties& props, const DeviceTraits& traits);
    // Opens the system menu over the game, its save entries as the script
    // allows; true when it opened now.
    bool openSystemMenu();
    // What the menu panel draws with: this window's display and services.
    MenuPanelHost menuPanelHost() const;
    // The message fonts the menu offers, from the installed families, the
    // `preferred` ones (from the settings file) first.
    void buildFonts(const std::vector<std::string>& preferred);

  protected:
    // Maps a pointer message's client point into game coordinates and keeps it.
    void storePointer(intptr_t lParam);

    GameContext& game_;
};

}  // namespace zeku
