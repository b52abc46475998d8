// Watches a player run for tests and tools: delivers scripted input before
// the frames it names, writes requested screenshots, and ends the run after
// a set number of frames through the normal shutdown.
#pragma once

#include <string>
#include <vector>

#include "platform/api/display_back_end.h"
#include "platform/api/host_window.h"
#include "player/shell/platform_services.h"
#include "player/shell/run_options.h"
#include "player/shell/scripted_input.h"

namespace zeku {

class HeadlessDriver final : public FrameObserver {
  public:
    HeadlessDriver(HostWindow& window, const DisplayBackEnd& display, int screenWidth,
                   int screenHeight, const RunOptions& options, std::vector<TimedMessage> input);

    void started() override;
    void frameDone(int frame) override;

    // False when a screenshot could not be written (already reported on stderr).
    bool ok() const { return ok_; }
    const std::vector<std::string>& written() const { return written_; }
    // The frames the run got through, and the screenshots whose frame it
    // never reached (a frame beyond --frames, or a run closed early).
    int framesRun() const { return framesRun_; }
    std::vector<ScreenshotRequest> missed() const;

  private:
    void deliverUpTo(int frame);
    void takeScreenshot(const std::string& path);

    HostWindow& window_;
    const DisplayBackEnd& display_;
    int width_;
    int height_;
    int frameLimit_;
    std::vector<ScreenshotRequest> screenshots_;
    std::vector<TimedMessage> input_;
    size_t nextInput_ = 0;
    bool closeSent_ = false;
    int framesRun_ = 0;
    bool ok_ = true;
    std::vector<std::string> written_;
};

}  // namespace zeku
