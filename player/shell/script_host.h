// The third class level: the script engine and the graphics state its
// commands work on (image slots, display objects, the package reader).
#pragma once

#include <cstdint>

#include "player/data/pack_reader.h"
#include "player/graphics/compositor.h"
#include "player/graphics/display_list.h"
#include "player/graphics/display_objects.h"
#include "player/graphics/image_slots.h"
#include "player/graphics/update_list.h"
#include "player/script/script_engine.h"
#include "player/shell/game_window.h"

namespace zeku {

struct ScriptContext;

class ScriptHost : public GameWindow {
  public:
    ScriptHost(const BuildConstants& build, PlatformServices& platform,
               const std::string& programFolder);

    ScriptEngine& script() { return script_; }
    ImageSlots& images() { return images_; }
    DisplayObjects& displayObjects() { return objects_; }

    // Enters "./script.txt" at "_Start". A missing package or script leaves
    // the engine idle, and the player shows its empty screen.
    bool enterStartScript(UpdateList& dirty, uint32_t nowMs);
    // One interpreter step; a #BreakApp posts the close message once, and the
    // shake the script set goes to the present.
    void runScriptStep(UpdateList& dirty, uint32_t nowMs);
    // Steps and collects the display objects and redraws what changed.
    void drawFrame(UpdateList& dirty, uint32_t nowMs);

  protected:
    ScriptEngine script_;
    ImageSlots images_;
    DisplayObjects objects_;
    DisplayList displayList_;
    GraphicsState graphics_;
    PackReader packReader_;
    bool closePosted_ = false;

  private:
    ScriptContext makeContext(UpdateList& dirty, uint32_t nowMs);
};

}  // namespace zeku
