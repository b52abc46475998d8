// The memory back ends. Both describe their frame buffer with the same
// portrait-view properties a device would, so the present runs unchanged.
#include "platform/headless/memory_display.h"

#include "platform/api/frame_buffer_layouts.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace zeku {
namespace {

// Reads game pixel (x, y) back through the present's address formula.
uint16_t readGamePixel(const uint8_t* base, const GXDisplayProperties& p, int width, int x, int y) {
    const uint8_t* at = base + static_cast<ptrdiff_t>(p.cbyPitch) * (width - 1 - x) +
                        static_cast<ptrdiff_t>(p.cbxPitch) * y;
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
}

}  // namespace

bool MemoryGdiDisplay::open(int clientWidth, int clientHeight) {
    width_ = clientWidth;
    height_ = clientHeight;
    if (height_ < 240 || width_ <= 0) {
        width_ = 320;
        height_ = 240;
    }
    dib_.assign(static_cast<size_t>(width_) * height_, 0);
    window_.assign(dib_.size(), 0);
    shown_.clear();
    return true;
}

void MemoryGdiDisplay::close() {
    dib_.clear();
    window_.clear();
}

GXKeyList MemoryGdiDisplay::defaultKeys() const {
    return defaultKeyList(false);
}

GXDisplayProperties MemoryGdiDisplay::properties() const {
    return gdiEmulationProperties(width_, height_);
}

uint8_t* MemoryGdiDisplay::beginDraw() {
    if (dib_.empty()) return nullptr;
    drawing_ = true;
    shownAlready_ = false;
    // The last pixel of the DIB's memory is the portrait view's origin.
    return reinterpret_cast<uint8_t*>(dib_.data() + dib_.size() - 1);
}

void MemoryGdiDisplay::copyToWindow(const ScreenRect& r) {
    const ScreenRect c = clipRect(r, width_, height_);
    if (c.left >= c.right || c.top >= c.bottom) return;
    for (int y = c.top; y < c.bottom; ++y) {
        const uint16_t* from = dib_.data() + static_cast<size_t>(height_ - 1 - y) * width_;
        uint16_t* to = window_.data() + static_cast<size_t>(y) * width_;
        std::copy(from + c.left, from + c.right, to + c.left);
    }
    shown_.push_back(c);
}

void MemoryGdiDisplay::showRect(const ScreenRect* rect) {
    if (dib_.empty()) return;
    shownAlready_ = true;
    copyToWindow(rect != nullptr ? *rect : ScreenRect{0, 0, width_, height_});
}

void MemoryGdiDisplay::endDraw() {
    if (!drawing_) return;
    drawing_ = false;
    if (!shownAlready_) copyToWindow(ScreenRect{0, 0, width_, height_});
}

bool MemoryGdiDisplay::captureShown(int width, int height, std::vector<uint16_t>& out) const {
    if (width != width_ || height != height_ || window_.empty()) return false;
    out = window_;
    return true;
}

MemoryPanelDisplay::MemoryPanelDisplay(int xPixels, int yPixels)
    : xPixels_(xPixels), yPixels_(yPixels) {}

bool MemoryPanelDisplay::open(int, int) {
    if (xPixels_ <= 0 || yPixels_ <= 0) return false;
    frame_.assign(static_cast<size_t>(xPixels_) * yPixels_, 0);
    return true;
}

void MemoryPanelDisplay::close() {
    frame_.clear();
}

GXKeyList MemoryPanelDisplay::defaultKeys() const {
    return defaultKeyList(true);
}

GXDisplayProperties MemoryPanelDisplay::properties() const {
    return panelViewOf(packedPanel(xPixels_, yPixels_)).properties;
}

DeviceTraits MemoryPanelDisplay::traits() const {
    DeviceTraits t;
    t.landscapeFrameBuffer = xPixels_ > yPixels_;
    t.vgaDevice = !(xPixels_ < 480 && yPixels_ < 480);
    return t;
}

size_t MemoryPanelDisplay::originOffset() const {
    return static_cast<size_t>(panelViewOf(packedPanel(xPixels_, yPixels_)).drawOffset);
}

uint8_t* MemoryPanelDisplay::beginDraw() {
    if (frame_.empty()) return nullptr;
    return reinterpret_cast<uint8_t*>(frame_.data()) + originOffset();
}

bool MemoryPanelDisplay::captureShown(int width, int height, std::vector<uint16_t>& out) const {
    if (frame_.empty() || static_cast<int64_t>(width) * height != xPixels_ * int64_t{yPixels_}) {
        return false;
    }
    const uint8_t* base = reinterpret_cast<const uint8_t*>(frame_.data()) + originOffset();
    const GXDisplayProperties p = properties();
    out.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out[static_cast<size_t>(y) * width + x] = readGamePixel(base, p, width, x, y);
        }
    }
    return true;
}

}  // namespace zeku
