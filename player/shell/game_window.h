// The second class level: the game's working state (input, keys, screen
// surface, sound, menu, paths, settings) and the key and stylus messages.
#pragma once

#include <string>
#include <vector>

#include "player/graphics/screen_surface.h"
#include "player/shell/input_state.h"
#include "player/shell/path_table.h"
#include "player/shell/pointer_map.h"
#include "player/shell/window_base.h"
#include "player/sound/sound_engine.h"
#include "player/system/key_map.h"
#include "player/system/system_menu.h"
#include "player/system/system_settings.h"

namespace zeku {

class GameWindow : public WindowBase {
  public:
    GameWindow(const BuildConstants& build, PlatformServices& platform,
               const std::string& programFolder);

    intptr_t handleMessage(const Message& message) override;

    InputState& input() { return input_; }
    const KeyMap& keyMap() const { return keyMap_; }
    SystemSettings& settings() { return settings_; }
    ScreenSurface& screen() { return screen_; }
    const PathTable& paths() const { return paths_; }
    SystemMenu& menu() { return menu_; }

    // Takes the opened display's description for the present and the stylus.
    void attachDisplay(const GXDisplayProperties& props, const DeviceTraits& traits);
    const GXDisplayProperties& displayProperties() const { return displayProps_; }
    const PointerMap& pointerMap() const { return pointerMap_; }

    // The message fonts the menu offers, from the installed families.
    void buildFonts();
    const std::vector<std::string>& fontList() const { return fontList_; }

  protected:
    // Maps a pointer message's client point into game coordinates and keeps it.
    void storePointer(intptr_t lParam);

    KeyMap keyMap_;
    InputState input_;
    ScreenSurface screen_;
    GXDisplayProperties displayProps_;
    PointerMap pointerMap_;
    SoundEngine sound_;
    SystemMenu menu_;
    SystemSettings settings_;
    int shakeX_ = 0;
    int shakeY_ = 0;
    int masterVolume_ = 100;
    int effectVolume_ = 100;
    int musicVolume_ = 100;
    PathTable paths_;
    std::vector<std::string> fontList_;
};

}  // namespace zeku
