// The third class level: the script engine's frame work inside the
// application (the start script, one interpreter step, the per-frame
// graphics). It handles no messages of its own.
#pragma once

#include "player/shell/game_window.h"

namespace zeku {

class ScriptHost : public GameWindow {
  public:
    ScriptHost(const BuildConstants& build, PlatformServices& platform, GameContext& game);

    // Enters "./script.txt" at "_Start". A missing package or script leaves
    // the engine idle, and the player shows its empty screen; what is
    // missing is said once, as a notice and in the window title.
    bool enterStartScript();
    // One interpreter step; a #BreakApp posts the close message once.
    void runScriptStep();
    // Steps and collects the display objects and redraws what changed.
    void drawFrame();

  private:
    void reportStartProblem();

    bool closePosted_ = false;
};

}  // namespace zeku
