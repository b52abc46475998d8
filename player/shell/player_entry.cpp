// Start-up in its fixed order, then the loop, then shutdown in reverse order.
// A start-up failure is reported once in a message box and ends the run with
// kStartupFailedExitCode.
#include "player/shell/player_entry.h"

#include <memory>

#include "player/shell/game_saves.h"
#include "player/shell/player_app.h"
#include "player/sound/mp3_overlay.h"

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
    game.sound.create(platform.audio, build.soundBufferBytes, &overlay);
    game.cdda.setEnabled(game.sound, game.settings.pcm != 0);

    app->buildFonts();
    // After the settings and fonts, before the start script: the slot list,
    // saving held off until the script's #ResumeSave, the global data.
    startSaveData(game);
    app->startFrameClock();
    app->enterStartScript();
    const int code = app->runMessageLoop();

    display.closeInput();
    display.close();
    app.reset();
    return code;
}

}  // namespace zeku
