// SdlGdiDisplay: the windowed build's display, a bottom-up RGB565 "DIB" whose
// shown rectangles are copied into a texture and presented once per frame.
#include "platform/sdl/sdl_display.h"

#include <cstddef>

namespace zeku {

bool SdlGdiDisplay::open(int clientWidth, int clientHeight) {
    close();
    // The device's smallest screen: a shorter client area still gets a full
    // quarter-VGA buffer.
    if (clientHeight < 240) {
        clientWidth = 320;
        clientHeight = 240;
    }
    if (clientWidth <= 0) return false;
    if (!screen_.open(clientWidth, clientHeight)) return false;
    width_ = clientWidth;
    height_ = clientHeight;
    dib_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    return true;
}

void SdlGdiDisplay::close() {
    screen_.close();
    dib_ = std::vector<uint16_t>();
    width_ = height_ = 0;
    drawing_ = shownAlready_ = false;
}

GXKeyList SdlGdiDisplay::defaultKeys() const {
    GXKeyList keys;
    keys.vkUp.vkCode = 38;
    keys.vkDown.vkCode = 40;
    keys.vkLeft.vkCode = 37;
    keys.vkRight.vkCode = 39;
    keys.vkA.vkCode = 90;  // Z
    keys.vkB.vkCode = 88;  // X
    keys.vkC.vkCode = 67;  // C
    keys.vkStart.vkCode = 0;
    return keys;
}

GXDisplayProperties SdlGdiDisplay::properties() const {
    // Walking the portrait view's x steps up one DIB row and its y steps one
    // pixel left, which puts the present's turned picture back upright.
    GXDisplayProperties properties;
    properties.cxWidth = static_cast<uint32_t>(height_);
    properties.cyHeight = static_cast<uint32_t>(width_);
    properties.cbxPitch = -2 * width_;
    properties.cbyPitch = -2;
    properties.cBPP = 16;
    properties.ffFormat = kGxFormatDirect565;
    return properties;
}

uint8_t* SdlGdiDisplay::beginDraw() {
    if (dib_.empty()) return nullptr;
    drawing_ = true;
    shownAlready_ = false;
    return reinterpret_cast<uint8_t*>(dib_.data() + (dib_.size() - 1));
}

void SdlGdiDisplay::showRect(const ScreenRect* rect) {
    if (dib_.empty()) return;
    shownAlready_ = true;
    upload(rect);
    // GDI shows at once; inside a frame the present waits for endDraw so the
    // host sees one present per frame.
    if (!drawing_) screen_.presentIfChanged();
}

void SdlGdiDisplay::endDraw() {
    if (dib_.empty()) return;
    if (!shownAlready_) upload(nullptr);
    drawing_ = false;
    screen_.presentIfChanged();
}

void SdlGdiDisplay::upload(const ScreenRect* rect) {
    ScreenRect whole{0, 0, width_, height_};
    const uint16_t* topRow = dib_.data() + static_cast<ptrdiff_t>(height_ - 1) * width_;
    screen_.upload(rect != nullptr ? *rect : whole, topRow, -static_cast<ptrdiff_t>(width_));
}

}  // namespace zeku
