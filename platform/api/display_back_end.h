// The GAPI-shaped display interface: frame-buffer description, default keys,
// and the open / begin-draw / show / end-draw cycle the present writes through.
#pragma once

#include <cstdint>
#include <vector>

#include "common/geometry/screen_rect.h"

namespace zeku {

// As GAPI defines it: a portrait view of the frame buffer. The pitches are
// signed byte distances between horizontally and vertically adjacent pixels.
struct GXDisplayProperties {
    uint32_t cxWidth = 0;
    uint32_t cyHeight = 0;
    int32_t cbxPitch = 0;
    int32_t cbyPitch = 0;
    int32_t cBPP = 0;
    uint32_t ffFormat = 0;
};

inline constexpr uint32_t kGxFormatDirect565 = 0x80;

struct GXKeyEntry {
    uint16_t vkCode = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// Eight entries in GAPI's order.
struct GXKeyList {
    GXKeyEntry vkUp, vkDown, vkLeft, vkRight, vkA, vkB, vkC, vkStart;
};

// What the back end knows about the device for the stylus mapping.
struct DeviceTraits {
    bool landscapeFrameBuffer = true;  // the frame buffer needs no quarter turn
    bool vgaDevice = true;             // the device reports VGA-sized coordinates
};

class DisplayBackEnd {
  public:
    virtual ~DisplayBackEnd() = default;

    // Opens the display for a window whose client area has the given size.
    virtual bool open(int clientWidth, int clientHeight) = 0;
    virtual void close() = 0;
    virtual bool openInput() = 0;
    virtual void closeInput() = 0;
    virtual GXKeyList defaultKeys() const = 0;
    virtual GXDisplayProperties properties() const = 0;
    virtual DeviceTraits traits() const = 0;

    // Returns the address of the portrait view's pixel (0, 0); pixel (x, y)
    // lies at that address + x * cbxPitch + y * cbyPitch. Null when closed.
    virtual uint8_t* beginDraw() = 0;
    // Shows one rectangle at once, or the whole screen when `rect` is null.
    virtual void showRect(const ScreenRect* rect) = 0;
    virtual void endDraw() = 0;

    // The picture the device shows now, turned back to game orientation
    // (width x height RGB565, rows top-down), for screenshots. False when the
    // back end cannot tell.
    virtual bool captureShown(int width, int height, std::vector<uint16_t>& out) const {
        (void)width;
        (void)height;
        (void)out;
        return false;
    }
};

}  // namespace zeku
