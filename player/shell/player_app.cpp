// The application level: shutdown on WM_DESTROY, the full repaint, and the
// frame step that advances the game once per 16 ms tick.
#include "player/shell/player_app.h"

#include "player/shell/screen_present.h"

namespace zeku {

PlayerApp::PlayerApp(const BuildConstants& build, PlatformServices& platform,
                     const std::string& programFolder, FrameObserver* observer)
    : ScriptHost(build, platform, programFolder), observer_(observer) {
    updateList_.setClip(build.screenWidth, build.screenHeight);
}

intptr_t PlayerApp::handleMessage(const Message& message) {
    switch (message.code) {
        case kWmDestroy:
            // Global variables, read marks and settings are written here, so
            // every way out of the player (menu, script, window close) keeps them.
            postQuit(0);
            return 0;
        case kWmPaint:
            presentWholeScreen();
            return 0;
        case kWmClose:
            destroyWindow();
            return 0;
        case kWmCommand:
            return 0;
        default:
            return ScriptHost::handleMessage(message);
    }
}

bool PlayerApp::enterStartScript() {
    return ScriptHost::enterStartScript(updateList_, platform_.clock.nowMs());
}

void PlayerApp::startFrameClock() {
    zeku::startFrameClock(frameClock_, platform_.clock.nowMs(), 16);
}

void PlayerApp::presentWholeScreen() {
    if (!screen_.hasPixels()) return;
    DisplayBackEnd& display = platform_.display;
    uint8_t* base = display.beginDraw();
    presentScreen(screen_, base, displayProps_, nullptr, 0, 0, nullptr);
    display.endDraw();
}

void PlayerApp::presentChanges() {
    const bool shaken = shakeX_ != 0 || shakeY_ != 0;
    if (!shaken && updateList_.empty()) return;  // nothing changed: leave the device alone
    DisplayBackEnd& display = platform_.display;
    // The window back end shows each rectangle as it goes; a panel shows writes at once.
    DisplayBackEnd* showOn = build_.pocketPc ? nullptr : &display;
    uint8_t* base = display.beginDraw();
    if (shaken) {
        const ScreenRect whole{0, 0, screen_.width(), screen_.height()};
        presentScreen(screen_, base, displayProps_, &whole, shakeX_, shakeY_, showOn);
    } else {
        for (const ScreenRect& rect : updateList_.rects()) {
            presentScreen(screen_, base, displayProps_, &rect, rect.left, rect.top, showOn);
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
    nowMs_ = platform_.clock.nowMs();
    if (menu_.isOpen()) {
        latchInput(input_, settings_);
        platform_.clock.sleepMs(1);
        return 0;
    }
    if (!pollFrameClock(frameClock_, nowMs_)) {
        idleSleep();
        return 1;
    }
    latchInput(input_, settings_);

    if (sound_.playingPositionMs(1) < 0) sound_.stop(1);
    runScriptStep(updateList_, nowMs_);
    if (script_.errorWord != 0) {
        destroyWindow();
    } else {
        drawFrame(updateList_, nowMs_);
        presentChanges();
    }
    updateList_.clear();

    ++frameNumber_;
    if (observer_ != nullptr) observer_->frameDone(frameNumber_);
    if (build_.sleepAfterTick) platform_.clock.sleepMs(1);
    return 1;
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
