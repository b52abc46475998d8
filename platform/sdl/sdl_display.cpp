// SdlGdiDisplay: the windowed build's display, a bottom-up RGB565 "DIB" whose
// shown rectangles are copied into a texture and presented once per frame.
#include "platform/sdl/sdl_display.h"

#include <algorithm>
#include <cstddef>

#include "platform/api/frame_buffer_layouts.h"

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
    shown_.assign(dib_.size(), 0);
    return true;
}

void SdlGdiDisplay::close() {
    screen_.close();
    dib_ = std::vector<uint16_t>();
    shown_ = std::vector<uint16_t>();
    width_ = height_ = 0;
    drawing_ = shownAlready_ = false;
}

GXKeyList SdlGdiDisplay::defaultKeys() const {
    return defaultKeyList(false);
}

GXDisplayProperties SdlGdiDisplay::properties() const {
    return gdiEmulationProperties(width_, height_);
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
    const ScreenRect whole{0, 0, width_, height_};
    const ScreenRect r = clipRect(rect != nullptr ? *rect : whole, width_, height_);
    const uint16_t* topRow = dib_.data() + static_cast<ptrdiff_t>(height_ - 1) * width_;
    screen_.upload(r, topRow, -static_cast<ptrdiff_t>(width_));
    // Keep what the window shows, top-down, for screenshots.
    for (int y = r.top; y < r.bottom; ++y) {
        const uint16_t* from = topRow - static_cast<ptrdiff_t>(y) * width_;
        std::copy(from + r.left, from + r.right,
                  shown_.data() + static_cast<size_t>(y) * width_ + r.left);
    }
}

bool SdlGdiDisplay::captureShown(int width, int height, std::vector<uint16_t>& out) const {
    if (width != width_ || height != height_ || shown_.empty()) return false;
    out = shown_;
    return true;
}

}  // namespace zeku
