// The two display back ends on SDL2: the windowed build's GDI emulation with
// its bottom-up DIB, and the full-screen build's raw landscape frame buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/display_back_end.h"
#include "platform/api/frame_buffer_layouts.h"
#include "platform/sdl/sdl_screen_texture.h"

namespace zeku {

class SdlWindow;

// Emulates GDI's DIB section: a bottom-up RGB565 buffer that the present
// writes through a portrait view, shown rectangle by rectangle.
class SdlGdiDisplay final : public DisplayBackEnd {
  public:
    explicit SdlGdiDisplay(SdlWindow& window) : screen_(window) {}

    bool open(int clientWidth, int clientHeight) override;
    void close() override;
    bool openInput() override { return true; }
    void closeInput() override {}
    GXKeyList defaultKeys() const override;
    GXDisplayProperties properties() const override;
    DeviceTraits traits() const override { return DeviceTraits{true, true}; }
    uint8_t* beginDraw() override;
    void showRect(const ScreenRect* rect) override;
    void endDraw() override;
    bool captureShown(int width, int height, std::vector<uint16_t>& out) const override;

  private:
    // Copies a rectangle, or the whole DIB when null, into the texture.
    void upload(const ScreenRect* rect);

    SdlScreenTexture screen_;
    std::vector<uint16_t> dib_;    // row 0 is the bottom screen row
    std::vector<uint16_t> shown_;  // what the window shows, top-down
    int width_ = 0;
    int height_ = 0;
    bool drawing_ = false;
    bool shownAlready_ = false;
};

// The device's raw frame buffer as a landscape panel of the window's logical
// size. Writes count as shown at once; each end of drawing shows the rows
// that changed since the last one.
class SdlPanelDisplay final : public DisplayBackEnd {
  public:
    explicit SdlPanelDisplay(SdlWindow& window) : screen_(window) {}

    bool open(int clientWidth, int clientHeight) override;
    void close() override;
    bool openInput() override { return true; }
    void closeInput() override {}
    GXKeyList defaultKeys() const override;
    GXDisplayProperties properties() const override { return view_.properties; }
    DeviceTraits traits() const override { return DeviceTraits{view_.landscape, true}; }
    uint8_t* beginDraw() override;
    void showRect(const ScreenRect* rect) override;
    void endDraw() override;
    bool captureShown(int width, int height, std::vector<uint16_t>& out) const override;

  private:
    SdlScreenTexture screen_;
    std::vector<uint16_t> frame_;  // the panel, top-down
    std::vector<uint16_t> shown_;  // what the texture holds
    int width_ = 0;
    int height_ = 0;
    PanelView view_;
    bool forced_ = false;  // showRect asked for a present whatever changed
};

}  // namespace zeku
