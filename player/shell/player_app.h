// The player's single application object: the top class level. It adds the
// shutdown, the full repaint, the menu commands and the per-frame step.
#pragma once

#include "player/graphics/update_list.h"
#include "player/shell/frame_clock.h"
#include "player/shell/script_host.h"

namespace zeku {

class PlayerApp : public ScriptHost {
  public:
    PlayerApp(const BuildConstants& build, PlatformServices& platform,
              const std::string& programFolder, FrameObserver* observer);

    intptr_t handleMessage(const Message& message) override;

    // One idle pass of the message loop: 1 when a normal pass ran, 0 when the
    // system menu took it.
    int frameStep();
    // Runs the message loop until the quit message; returns its code.
    int runMessageLoop();

    void startFrameClock();
    // Loads the start script; the player runs on (with an empty screen)
    // when it is missing.
    bool enterStartScript();
    uint32_t currentTimeMs() const { return nowMs_; }
    int framesDone() const { return frameNumber_; }
    const FrameClock& frameClock() const { return frameClock_; }
    UpdateList& updateList() { return updateList_; }
    // The shake belongs to the script; this sets it as a #Wipe would.
    void setShake(int x, int y) {
        shakeX_ = script_.shake.offsetX = x;
        shakeY_ = script_.shake.offsetY = y;
    }

  private:
    void presentWholeScreen();
    void presentChanges();
    void idleSleep();

    FrameObserver* observer_;
    FrameClock frameClock_;
    UpdateList updateList_;
    uint32_t nowMs_ = 0;
    int frameNumber_ = 0;
};

}  // namespace zeku
