// The application level: shutdown on WM_DESTROY, the full repaint, and the
// frame step that advances the game once per 16 ms tick.
#include "player/shell/player_app.h"

#include "player/shell/game_saves.h"
#include "player/shell/input_latch.h"
#include "player/shell/menu_commands.h"
#include "player/shell/screen_present.h"
#include "player/system/settings_store.h"

namespace zeku {

PlayerApp::PlayerApp(const BuildConstants& build, PlatformServices& platform,
                     const std::string& programFolder, FrameObserver* observer)
    : PlayerApp(build, platform,
                std::make_unique<GameContext>(build, programFolder, platform.display.defaultKeys(),
                                              platform.glyphs),
                observer) {}

PlayerApp::PlayerApp(const BuildConstants& build, PlatformServices& platform,
                     std::unique_ptr<GameContext> game, FrameObserver* observer)
    : ScriptHost(build, platform, *game), ownedGame_(std::move(game)), observer_(observer) {}

intptr_t PlayerApp::handleMessage(const Message& message) {
    switch (message.code) {
        case kWmDestroy:
            // Every way out of the player (menu, script, window close) passes
            // here, so this is where what must outlive the run is kept: the
            // global variables and read marks, then the settings.
            writePersistent(game_);
            storeSettings(game_.settingsFile, game_.paths.settingsFile, game_.settings,
                          game_.fontList);
            postQuit(0);
            return 0;
        case kWmPaint:
            presentWholeScreen();
            return 0;
        case kWmClose:
            destroyWindow();
            return 0;
        case kWmCommand:
            runMenuCommand(game_, static_cast<uint32_t>(message.wParam & 0xFFFF), platform_.window,
                           platform_.device);
            return 0;
        default:
            return ScriptHost::handleMessage(message);
    }
}

void PlayerApp::startFrameClock() {
    zeku::startFrameClock(frameClock_, platform_.clock.nowMs(), 16);
}

void PlayerApp::presentWholeScreen() {
    if (!game_.screen.hasPixels()) return;
    DisplayBackEnd& display = platform_.display;
    uint8_t* base = display.beginDraw();
    presentScreen(game_.screen, base, game_.displayProperties, nullptr, 0, 0, nullptr);
    display.endDraw();
}

void PlayerApp::presentChanges() {
    const ScreenSurface& screen = game_.screen;
    const GXDisplayProperties& props = game_.displayProperties;
    const ShakeState& shake = game_.shake;
    const bool shaken = shake.shaken();
    if (!shaken && game_.updateList.empty()) return;  // nothing changed: leave the device alone
    DisplayBackEnd& display = platform_.display;
    // The window back end shows each rectangle as it goes; a panel shows writes at once.
    DisplayBackEnd* showOn = build_.pocketPc ? nullptr : &display;
    uint8_t* base = display.beginDraw();
    if (shaken) {
        const ScreenRect whole{0, 0, screen.width(), screen.height()};
        presentScreen(screen, base, props, &whole, shake.offsetX, shake.offsetY, showOn);
    } else {
        for (const ScreenRect& rect : game_.updateList.rects()) {
            presentScreen(screen, base, props, &rect, rect.left, rect.top, showOn);
        }
    }
    display.endDraw();
}

void PlayerApp::idleSleep() {
    // Input is latched only at a tick, so sleeping until the next one loses
    // nothing and keeps an idle player from waking a thousand times a second.
    uint32_t ms = msUntilNextTick(frameClock_, platform_.clock.nowMs());
    if (ms == 0) ms = 1;
    if (ms > frameClock_.intervalMs) ms = frameClock_.intervalMs;
    platform_.clock.sleepMs(ms);
}

int PlayerApp::frameStep() {
    GameContext& game = game_;
    game.nowMs = platform_.clock.nowMs();
    if (game.menu.isOpen()) {
        latchInput(game.input, game.settings);
        if (const uint32_t chosen = game.menu.menuInput(game.input); chosen != 0) {
            platform_.window.postMessage(Message{kWmCommand, chosen, 0});
        }
        platform_.clock.sleepMs(1);
        // The game stands still, but observers still count the frame ticks
        // the menu takes, so a watched run's time goes on.
        if (pollFrameClock(frameClock_, platform_.clock.nowMs())) countFrame();
        return 0;
    }
    if (!pollFrameClock(frameClock_, game.nowMs)) {
        idleSleep();
        return 1;
    }
    latchInput(game.input, game.settings);

    if (game.sound.playingPositionMs(1) < 0) game.sound.stop(1);
    runScriptStep();
    if (game.script.errorWord != 0) {
        destroyWindow();
    } else {
        drawFrame();
        presentChanges();
    }
    game.updateList.clear();

    countFrame();
    if (build_.sleepAfterTick) platform_.clock.sleepMs(1);
    return 1;
}

void PlayerApp::countFrame() {
    ++frameNumber_;
    if (observer_ != nullptr) observer_->frameDone(frameNumber_);
}

int PlayerApp::runMessageLoop() {
    if (observer_ != nullptr) observer_->started();
    Message message;
    for (;;) {
        if (platform_.window.peekMessage(message)) {
            if (message.code == kWmQuit) return static_cast<int>(message.wParam);
            dispatch(message);
            continue;
        }
        if (platform_.instance != nullptr && platform_.instance->raiseRequested()) {
            platform_.window.bringToFront();
        }
        frameStep();
    }
}

}  // namespace zeku
