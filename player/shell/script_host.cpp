// The script engine's frame work: the start script, the interpreter step and
// the close request it may raise, and the display objects' frame.
#include "player/shell/script_host.h"

#include "player/graphics/message_drawing.h"
#include "player/script/interpreter.h"
#include "player/shell/game_saves.h"
#include "player/shell/start_problem.h"

namespace zeku {

ScriptHost::ScriptHost(const BuildConstants& build, PlatformServices& platform, GameContext& game)
    : GameWindow(build, platform, game) {}

bool ScriptHost::enterStartScript() {
    game_.nowMs = platform_.clock.nowMs();
    loadSystemPicture(game_);
    ScriptContext context = makeScriptContext(game_);
    if (restartScript(context) == 1) return true;
    reportStartProblem();
    return false;
}

void ScriptHost::reportStartProblem() {
    const std::string cause = describeStartProblem(game_.packReader, game_.paths.scriptPackage);
    if (cause.empty()) return;
    if (platform_.notices != nullptr) {
        platform_.notices->notice(game_.paths.scriptPackage + ": " + cause);
    }
    // The cause is ASCII, so it reads the same inside the Shift-JIS title.
    platform_.window.setTitle(std::string(build_.title) + " - " + build_.packageName() + ": " +
                              cause);
}

void ScriptHost::runScriptStep() {
    ScriptContext context = makeScriptContext(game_);
    stepScript(context);
    if (game_.script.saveRequest != SaveRequest::None) {
        const LocalDateTime now =
            platform_.device != nullptr ? platform_.device->localTime() : LocalDateTime{};
        carryOutSaveRequest(game_, now);
    }
    if (game_.script.closeRequested && !closePosted_) {
        closePosted_ = true;
        platform_.window.postMessage(Message{kWmClose, 0, 0});
    }
}

void ScriptHost::drawFrame() {
    GameContext& g = game_;
    prepareDisplayFrame(g.objects, g.displayList, g.updateList, g.graphics, g.nowMs);
    redrawDirty(g.screen, g.displayList, g.images, g.graphics, g.updateList);
    drawWindows(g.messageWindows, g.updateList, g.screen, g.glyphCache, messageTextStyle(g));
}

}  // namespace zeku
