// SdlPanelDisplay: the full-screen build's display, a landscape panel the
// present writes straight into; each end of drawing shows the changed rows.
#include <cstring>

#include "platform/sdl/sdl_display.h"

namespace zeku {

bool SdlPanelDisplay::open(int clientWidth, int clientHeight) {
    close();
    if (clientWidth <= 0 || clientHeight <= 0) return false;
    if (!screen_.open(clientWidth, clientHeight)) return false;
    width_ = clientWidth;
    height_ = clientHeight;
    size_t pixels = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    frame_.assign(pixels, 0);
    shown_.assign(pixels, 0);
    view_ = panelViewOf(packedPanel(width_, height_));
    return true;
}

void SdlPanelDisplay::close() {
    screen_.close();
    frame_ = std::vector<uint16_t>();
    shown_ = std::vector<uint16_t>();
    width_ = height_ = 0;
    view_ = PanelView();
    forced_ = false;
}

GXKeyList SdlPanelDisplay::defaultKeys() const {
    return defaultKeyList(true);
}

uint8_t* SdlPanelDisplay::beginDraw() {
    if (frame_.empty()) return nullptr;
    return reinterpret_cast<uint8_t*>(frame_.data()) + view_.drawOffset;
}

void SdlPanelDisplay::showRect(const ScreenRect* rect) {
    // The panel needs no show; the call only asks that the next end of
    // drawing presents even if the pixels came out unchanged.
    (void)rect;
    if (!frame_.empty()) forced_ = true;
}

void SdlPanelDisplay::endDraw() {
    if (frame_.empty()) return;
    // Writes went straight into the panel, so the changed band is found by
    // comparing with what the texture holds; a row compare costs far less
    // than uploading and presenting an unchanged frame.
    size_t rowBytes = static_cast<size_t>(width_) * sizeof(uint16_t);
    int first = -1;
    int last = -1;
    for (int y = 0; y < height_; ++y) {
        size_t at = static_cast<size_t>(y) * static_cast<size_t>(width_);
        if (std::memcmp(frame_.data() + at, shown_.data() + at, rowBytes) != 0) {
            if (first < 0) first = y;
            last = y;
        }
    }
    if (first >= 0) {
        screen_.upload(ScreenRect{0, first, width_, last + 1}, frame_.data(), width_);
        size_t at = static_cast<size_t>(first) * static_cast<size_t>(width_);
        std::memcpy(shown_.data() + at, frame_.data() + at,
                    static_cast<size_t>(last + 1 - first) * rowBytes);
    }
    if (forced_) screen_.markChanged();
    forced_ = false;
    screen_.presentIfChanged();
}

bool SdlPanelDisplay::captureShown(int width, int height, std::vector<uint16_t>& out) const {
    // The panel is landscape and top-down: its rows are the game's rows.
    if (width != width_ || height != height_ || shown_.empty()) return false;
    out = shown_;
    return true;
}

}  // namespace zeku
