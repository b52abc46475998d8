// Display back ends in memory, for headless runs and tests: the window back
// end's emulation (bottom-up DIB plus what the window shows) and a device
// panel of any orientation whose frame buffer is what it shows.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/api/display_back_end.h"

namespace zeku {

// The sigmarion3 arrangement: a bottom-up RGB565 DIB of the client size, and
// a separate "window" that changes only where a rectangle is shown.
class MemoryGdiDisplay final : public DisplayBackEnd {
  public:
    bool open(int clientWidth, int clientHeight) override;
    void close() override;
    bool openInput() override { return true; }
    void closeInput() override {}
    GXKeyList defaultKeys() const override;
    GXDisplayProperties properties() const override;
    DeviceTraits traits() const override { return {true, true}; }
    uint8_t* beginDraw() override;
    void showRect(const ScreenRect* rect) override;
    void endDraw() override;
    bool captureShown(int width, int height, std::vector<uint16_t>& out) const override;

    int width() const { return width_; }
    int height() const { return height_; }
    // The window's pixel at client (x, y), as last shown.
    uint16_t windowPixel(int x, int y) const {
        return window_[static_cast<size_t>(y) * width_ + x];
    }
    // Every rectangle shown so far (whole-window shows as the full rectangle).
    const std::vector<ScreenRect>& shownRects() const { return shown_; }
    void forgetShownRects() { shown_.clear(); }

  private:
    void copyToWindow(const ScreenRect& rect);

    int width_ = 0;
    int height_ = 0;
    std::vector<uint16_t> dib_;     // bottom-up rows
    std::vector<uint16_t> window_;  // top-down rows
    std::vector<ScreenRect> shown_;
    bool drawing_ = false;
    bool shownAlready_ = false;
};

// A device's raw frame buffer: xPixels by yPixels, top-down, writes visible at
// once. Taller than wide it is a portrait panel and the present turns the game.
class MemoryPanelDisplay final : public DisplayBackEnd {
  public:
    MemoryPanelDisplay(int xPixels, int yPixels);

    bool open(int clientWidth, int clientHeight) override;
    void close() override;
    bool openInput() override { return true; }
    void closeInput() override {}
    GXKeyList defaultKeys() const override;
    GXDisplayProperties properties() const override;
    DeviceTraits traits() const override;
    uint8_t* beginDraw() override;
    void showRect(const ScreenRect*) override {}
    void endDraw() override {}
    bool captureShown(int width, int height, std::vector<uint16_t>& out) const override;

    int xPixels() const { return xPixels_; }
    int yPixels() const { return yPixels_; }
    uint16_t devicePixel(int x, int y) const {
        return frame_[static_cast<size_t>(y) * xPixels_ + x];
    }

  private:
    size_t originOffset() const;

    int xPixels_;
    int yPixels_;
    std::vector<uint16_t> frame_;
};

}  // namespace zeku
