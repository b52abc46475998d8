// Setting up the game context, and the one place the interpreter's view of
// it is put together.
#include "player/shell/game_context.h"

namespace zeku {

GameContext::GameContext(const BuildConstants& build, const std::string& programFolder,
                         const GXKeyList& defaultKeys)
    : screenWidth(build.screenWidth),
      screenHeight(build.screenHeight),
      paths(makePathTable(programFolder, build.packageName())),
      keyMap(makeKeyMap(defaultKeys)) {
    screen.create(screenWidth, screenHeight);
    updateList.setClip(screenWidth, screenHeight);
    objects.screenWidth = screenWidth;
    objects.screenHeight = screenHeight;
}

ScriptContext makeScriptContext(GameContext& game) {
    return ScriptContext{
        .engine = game.script,
        .input = game.input,
        .settings = game.settings,
        .nowMs = game.nowMs,
        .images = game.images,
        .objects = game.objects,
        .updateList = game.updateList,
        .graphics = game.graphics,
        .shake = game.shake,
        .reader = game.packReader,
        .packagePath = game.paths.scriptPackage.c_str(),
        .screenWidth = game.screenWidth,
        .screenHeight = game.screenHeight,
        .sound = &game.sound,
        .cdda = &game.cdda,
        .soundPackagePath = game.paths.soundPackage.c_str(),
        .musicFolder = game.paths.musicFolder.c_str(),
    };
}

}  // namespace zeku
