// The 24-bit working surface of screen size that every frame is drawn into:
// blue, green, red bytes per pixel, rows top-down and unpadded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

class ScreenSurface {
  public:
    // False (and no pixels) when the size is unusable or memory is short.
    bool create(int width, int height);

    bool hasPixels() const { return !pixels_.empty(); }
    int width() const { return width_; }
    int height() const { return height_; }
    static constexpr int bitDepth() { return 24; }
    int rowBytes() const { return width_ * 3; }
    uint8_t* pixels() { return pixels_.data(); }
    const uint8_t* pixels() const { return pixels_.data(); }
    uint8_t* pixel(int x, int y) {
        return pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
    }
    const uint8_t* pixel(int x, int y) const {
        return pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 3;
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace zeku
