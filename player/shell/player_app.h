// The player's single application object: the top class level. It owns the
// game context, and adds the shutdown, the full repaint, the menu commands
// and the per-frame step.
#pragma once

#include <memory>
#include <string>

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
    int framesDone() const { return frameNumber_; }
    const FrameClock& frameClock() const { return frameClock_; }

  private:
    // The levels below hold a reference to the context, so it is made
    // before them and handed over here.
    PlayerApp(const BuildConstants& build, PlatformServices& platform,
              std::unique_ptr<GameContext> game, FrameObserver* observer);

    void presentWholeScreen();
    void presentChanges();
    void idleSleep();
    void countFrame();

    std::unique_ptr<GameContext> ownedGame_;
    FrameObserver* observer_;
    FrameClock frameClock_;
    int frameNumber_ = 0;
};

}  // namespace zeku
