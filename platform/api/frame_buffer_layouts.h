// Frame-buffer descriptions shared by every back end: the window emulation's
// bottom-up DIB, a raw device panel of either orientation, and the default keys.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/display_back_end.h"

namespace zeku {

// The window emulation: a bottom-up W x H DIB described as a portrait view
// whose origin is the DIB's last pixel, so the present's turn lands upright.
inline GXDisplayProperties gdiEmulationProperties(int width, int height) {
    GXDisplayProperties p;
    p.cxWidth = static_cast<uint32_t>(height);
    p.cyHeight = static_cast<uint32_t>(width);
    p.cbxPitch = -2 * width;
    p.cbyPitch = -2;
    p.cBPP = 16;
    p.ffFormat = kGxFormatDirect565;
    return p;
}

// What a display driver tells about its raw frame buffer.
struct RawFrameBuffer {
    uint32_t format = kGxFormatDirect565;
    int32_t bitsPerPixel = 16;
    int32_t xStride = 0;  // bytes between horizontally adjacent panel pixels
    int32_t yStride = 0;  // bytes between vertically adjacent panel pixels
    int32_t xPixels = 0;
    int32_t yPixels = 0;
};

// The portrait view of a raw frame buffer: its properties, and where its
// pixel (0, 0) lies as a byte offset from the frame's start.
struct PanelView {
    GXDisplayProperties properties;
    ptrdiff_t drawOffset = 0;
    bool landscape = false;
};

inline PanelView panelViewOf(const RawFrameBuffer& raw) {
    PanelView view;
    GXDisplayProperties& p = view.properties;
    if (raw.xPixels <= raw.yPixels) {
        p.cxWidth = static_cast<uint32_t>(raw.xPixels);
        p.cyHeight = static_cast<uint32_t>(raw.yPixels);
        p.cbxPitch = raw.xStride;
        p.cbyPitch = raw.yStride;
    } else {
        // The portrait view of a landscape panel starts at the panel's top
        // right pixel and walks down its rows and leftwards along them.
        p.cxWidth = static_cast<uint32_t>(raw.yPixels);
        p.cyHeight = static_cast<uint32_t>(raw.xPixels);
        p.cbxPitch = raw.yStride;
        p.cbyPitch = -raw.xStride;
        view.drawOffset = static_cast<ptrdiff_t>(raw.xPixels - 1) * raw.xStride;
        view.landscape = true;
    }
    p.cBPP = raw.bitsPerPixel;
    p.ffFormat = raw.format;
    return view;
}

// A top-down 16-bit panel with no row padding.
inline RawFrameBuffer packedPanel(int xPixels, int yPixels) {
    RawFrameBuffer raw;
    raw.xStride = 2;
    raw.yStride = 2 * xPixels;
    raw.xPixels = xPixels;
    raw.yPixels = yPixels;
    return raw;
}

// The keyboard's keys: cursor keys, Z (A), X (B), C (C). A device panel adds
// Enter as its action button (START); the window has none.
inline GXKeyList defaultKeyList(bool withStartKey) {
    GXKeyList keys;
    keys.vkUp.vkCode = 38;
    keys.vkDown.vkCode = 40;
    keys.vkLeft.vkCode = 37;
    keys.vkRight.vkCode = 39;
    keys.vkA.vkCode = 90;
    keys.vkB.vkCode = 88;
    keys.vkC.vkCode = 67;
    keys.vkStart.vkCode = withStartKey ? 13 : 0;
    return keys;
}

}  // namespace zeku
