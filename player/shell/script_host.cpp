// The script engine's frame work inside the application: the context its
// commands see, the start script, and the per-frame graphics.
#include "player/shell/script_host.h"

#include "player/script/interpreter.h"
#include "player/script/script_context.h"

namespace zeku {

ScriptHost::ScriptHost(const BuildConstants& build, PlatformServices& platform,
                       const std::string& programFolder)
    : GameWindow(build, platform, programFolder) {
    objects_.screenWidth = build.screenWidth;
    objects_.screenHeight = build.screenHeight;
}

ScriptContext ScriptHost::makeContext(UpdateList& dirty, uint32_t nowMs) {
    return ScriptContext{script_,
                         input_,
                         nowMs,
                         images_,
                         objects_,
                         dirty,
                         graphics_,
                         packReader_,
                         paths_.scriptPackage.c_str(),
                         build_.screenWidth,
                         build_.screenHeight};
}

bool ScriptHost::enterStartScript(UpdateList& dirty, uint32_t nowMs) {
    ScriptContext context = makeContext(dirty, nowMs);
    return restartScript(context) == 1;
}

void ScriptHost::runScriptStep(UpdateList& dirty, uint32_t nowMs) {
    ScriptContext context = makeContext(dirty, nowMs);
    stepScript(context);
    shakeX_ = script_.shake.offsetX;
    shakeY_ = script_.shake.offsetY;
    if (script_.closeRequested && !closePosted_) {
        closePosted_ = true;
        platform_.window.postMessage(Message{kWmClose, 0, 0});
    }
}

void ScriptHost::drawFrame(UpdateList& dirty, uint32_t nowMs) {
    displayFrame(objects_, displayList_, dirty, screen_, images_, graphics_, nowMs);
}

}  // namespace zeku
