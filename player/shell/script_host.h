// The third class level: the script engine's state.
#pragma once

#include "player/script/script_engine.h"
#include "player/shell/game_window.h"

namespace zeku {

class ScriptHost : public GameWindow {
  public:
    using GameWindow::GameWindow;

    ScriptEngine& script() { return script_; }

  protected:
    ScriptEngine script_;
};

}  // namespace zeku
