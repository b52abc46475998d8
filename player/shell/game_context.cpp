// Setting up the game context, and the one place the interpreter's view of
// it is put together.
#include "player/shell/game_context.h"

#include <algorithm>
#include <memory>

#include "player/graphics/image_loader.h"
#include "player/shell/font_list.h"

namespace zeku {

GameContext::GameContext(const BuildConstants& build, const std::string& programFolder,
                         const GXKeyList& defaultKeys, GlyphRenderer* glyphs)
    : screenWidth(build.screenWidth),
      screenHeight(build.screenHeight),
      paths(makePathTable(programFolder, build.packageName())),
      keyMap(makeKeyMap(defaultKeys)),
      padMap(makePadMap(keyMap)),
      glyphCache(glyphs) {
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
        .windows = game.messageWindows,
        .messages = game.messages,
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

TextStyle messageTextStyle(const GameContext& game) {
    TextStyle style;
    style.face = game.messageFont.empty() ? std::string_view(kFallbackFontName)
                                          : std::string_view(game.messageFont);
    style.weight = game.screenWidth < 640 ? 400 : 900;
    style.antiAlias = std::clamp(game.settings.transMode + 1, 1, 4);
    style.shadow = game.settings.messageShadow != 0;
    return style;
}

void loadSystemPicture(GameContext& game) {
    auto image = std::make_unique<Image>();
    if (loadSystemImage(&game.packReader, game.paths.imagePackage.c_str(), game.screenWidth,
                        game.screenHeight, *image)) {
        game.images.systemImage = std::move(image);
    }
}

}  // namespace zeku
