// The run driver. Screenshots show what the device shows (RGB565), widened
// to 8 bits per channel by repeating the high bits, so white stays 255.
#include "platform/main/headless_driver.h"

#include <cstdio>

#include "platform/api/png_file.h"

namespace zeku {

HeadlessDriver::HeadlessDriver(HostWindow& window, const DisplayBackEnd& display, int screenWidth,
                               int screenHeight, const RunOptions& options,
                               std::vector<TimedMessage> input)
    : window_(window),
      display_(display),
      width_(screenWidth),
      height_(screenHeight),
      frameLimit_(options.frames),
      screenshots_(options.screenshots),
      input_(std::move(input)) {}

void HeadlessDriver::deliverUpTo(int frame) {
    while (nextInput_ < input_.size() && input_[nextInput_].frame <= frame) {
        window_.postMessage(input_[nextInput_].message);
        ++nextInput_;
    }
}

void HeadlessDriver::started() {
    deliverUpTo(1);
}

void HeadlessDriver::frameDone(int frame) {
    framesRun_ = frame;
    for (const ScreenshotRequest& shot : screenshots_) {
        if (shot.frame == frame) takeScreenshot(shot.path);
    }
    if (frameLimit_ > 0 && frame >= frameLimit_) {
        if (!closeSent_) window_.postMessage(Message{kWmClose, 0, 0});
        closeSent_ = true;
        return;
    }
    deliverUpTo(frame + 1);
}

std::vector<ScreenshotRequest> HeadlessDriver::missed() const {
    std::vector<ScreenshotRequest> out;
    for (const ScreenshotRequest& shot : screenshots_) {
        if (shot.frame > framesRun_) out.push_back(shot);
    }
    return out;
}

void HeadlessDriver::takeScreenshot(const std::string& path) {
    std::vector<uint16_t> shown;
    if (!display_.captureShown(width_, height_, shown)) {
        std::fprintf(stderr, "screenshot %s: this display cannot be captured\n", path.c_str());
        ok_ = false;
        return;
    }
    std::vector<uint8_t> rgb(shown.size() * 3);
    for (size_t i = 0; i < shown.size(); ++i) {
        const uint16_t v = shown[i];
        const unsigned r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
        rgb[i * 3 + 0] = static_cast<uint8_t>((r << 3) | (r >> 2));
        rgb[i * 3 + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
        rgb[i * 3 + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
    std::string error;
    if (!writePngRgb(path, width_, height_, rgb.data(), error)) {
        std::fprintf(stderr, "screenshot %s: %s\n", path.c_str(), error.c_str());
        ok_ = false;
        return;
    }
    written_.push_back(path);
}

}  // namespace zeku
