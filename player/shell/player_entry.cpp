// Start-up in its fixed order, then the loop, then shutdown in reverse order.
// A start-up failure is reported once in a message box and ends the run with
// kStartupFailedExitCode.
#include "player/shell/player_entry.h"

#include <memory>

#include "platform/api/file_system.h"
#include "player/shell/game_saves.h"
#include "player/shell/player_app.h"
#include "player/sound/mp3_overlay.h"
#include "player/system/menu_build.h"
#include "player/system/menu_marks.h"
#include "player/system/settings_store.h"

namespace zeku {
namespace {

constexpr char kErrorCaption[] = "Error";
constexpr char kWindowFailed[] =
    "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73"
    "\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42";  // ウィンドウの作成に失敗しました。
constexpr char kDisplayFailed[] =
    "GAPI\x83\x89\x83\x43\x83\x75\x83\x89\x83\x8A\x82\xCC\x83\x8D\x81\x5B\x83\x68\x82\xC9\x8E\xB8"
    "\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD";  // GAPIライブラリのロードに失敗しました

}  // namespace

int runPlayer(const BuildConstants& build, PlatformServices& platform,
              const PlayerRunOptions& options) {
    // The overlay outlives the game context, whose sound engine decodes
    // through it until it is destroyed.
    Mp3Overlay overlay;
    overlay.load(options.overlayCandidates.data(), options.overlayCandidates.size());
    auto app =
        std::make_unique<PlayerApp>(build, platform, options.programFolder, options.observer);
    if (!app->game().screen.hasPixels()) return kStartupFailedExitCode;
    app->game().script.tracer = options.tracer;

    if (!app->createWindow()) {
        platform.messageBoxes.show(kWindowFailed, kErrorCaption);
        return kStartupFailedExitCode;
    }
    DisplayBackEnd& display = platform.display;
    if (!display.open(platform.window.clientWidth(), platform.window.clientHeight())) {
        platform.messageBoxes.show(kDisplayFailed, kErrorCaption);
        return kStartupFailedExitCode;
    }
    display.openInput();
    app->attachDisplay(display.properties(), display.traits());

    platform.window.bringToFront();
    platform.window.show();
    app->dispatch(Message{kWmPaint, 0, 0});

    GameContext& game = app->game();
    // The settings come first: the music switch, the volumes and the fonts depend on them.
    const PathTable& paths = game.paths;
    game.settingsFile.open(paths.settingsFile, paths.settingsSeed);
    app->buildFonts(readPreferredFonts(game.settingsFile, paths.settingsFile));
    loadSettings(
        game.settingsFile, paths.settingsFile, game.fontList,
        SettingsTargets{game.settings, game.messageFont, game.heroNames, game.keyMap, game.padMap});
    if (paths.saveFolder != paths.musicFolder) {
        std::string error;  // without it, saving fails as it would on a full disk
        makeDirectories(paths.saveFolder, error);
    }
    game.sound.create(platform.audio, build.soundBufferBytes, &overlay);
    game.overlayDescription = overlay.description;
    game.cdda.setEnabled(game.sound, game.settings.pcm != 0);

    // The menu is built from the font list; its marks follow the settings
    // as read by then and the script's save permission.
    buildSystemMenu(game.menu.tree(), game.fontList);
    markMenu(game.menu.tree(), game.settings, game.script.savingEnabled);
    // After the settings and fonts, before the start script: the slot list,
    // saving held off until the script's #ResumeSave, the global data.
    startSaveData(game);
    app->startFrameClock();
    app->enterStartScript();
    const int code = app->runMessageLoop();

    display.closeInput();
    display.close();
    // A file that cannot be written is left as it was. Only the per-user
    // folder (the one with a shipped copy to start from) may be made here.
    game.settingsFile.flush(!paths.settingsSeed.empty());
    app.reset();
    return code;
}

}  // namespace zeku
