// The script engine's frame work: the start script, the interpreter step and
// the close request it may raise, and the display objects' frame.
#include "player/shell/script_host.h"

#include "player/script/interpreter.h"

namespace zeku {

ScriptHost::ScriptHost(const BuildConstants& build, PlatformServices& platform, GameContext& game)
    : GameWindow(build, platform, game) {}

bool ScriptHost::enterStartScript() {
    game_.nowMs = platform_.clock.nowMs();
    ScriptContext context = makeScriptContext(game_);
    return restartScript(context) == 1;
}

void ScriptHost::runScriptStep() {
    ScriptContext context = makeScriptContext(game_);
    stepScript(context);
    if (game_.script.closeRequested && !closePosted_) {
        closePosted_ = true;
        platform_.window.postMessage(Message{kWmClose, 0, 0});
    }
}

void ScriptHost::drawFrame() {
    GameContext& g = game_;
    displayFrame(g.objects, g.displayList, g.updateList, g.screen, g.images, g.graphics, g.nowMs);
}

}  // namespace zeku
