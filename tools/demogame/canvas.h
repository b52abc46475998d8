// A floating-point drawing surface with anti-aliased shapes given by signed
// distance, enough to paint the demo game's scenes and mascot in code.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace zeku::demo {

struct Colour {
    float r = 0, g = 0, b = 0;  // 0..1
};

inline Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scaled(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
// 0xRRGGBB
inline Colour rgb(uint32_t value) {
    return {static_cast<float>(value >> 16 & 0xFF) / 255.0f,
            static_cast<float>(value >> 8 & 0xFF) / 255.0f,
            static_cast<float>(value & 0xFF) / 255.0f};
}

// Signed distances in pixels: negative inside, positive outside.
float ellipseDistance(float x, float y, float cx, float cy, float rx, float ry, float angle = 0);
float roundRectDistance(float x, float y, float left, float top, float right, float bottom,
                        float radius);
float segmentDistance(float x, float y, float ax, float ay, float bx, float by);

class Canvas {
  public:
    // A transparent canvas; fill() makes it opaque.
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    void fill(Colour colour);
    // Source-over of `colour` at `opacity` (0..1) on one pixel.
    void blend(int x, int y, Colour colour, float opacity) {
        if (opacity <= 0.0f || x < 0 || y < 0 || x >= width_ || y >= height_) return;
        if (opacity > 1.0f) opacity = 1.0f;
        float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
        const float keep = 1.0f - opacity;
        p[0] = colour.r * opacity + p[0] * keep;
        p[1] = colour.g * opacity + p[1] * keep;
        p[2] = colour.b * opacity + p[2] * keep;
        p[3] = opacity + p[3] * keep;
    }
    // Straight (not premultiplied) colour and opacity of a pixel.
    Colour colourAt(int x, int y) const;
    float opacityAt(int x, int y) const {
        return pixels_[(static_cast<size_t>(y) * width_ + x) * 4 + 3];
    }

    // Fills the shape whose signed distance `distance(x, y)` gives, over the
    // pixel box [left, right) x [top, bottom). The edge is anti-aliased over
    // `softness` pixels (1 for a crisp edge, more for a blurred one).
    template <class Distance>
    void fillShape(float left, float top, float right, float bottom, Distance distance,
                   Colour colour, float opacity = 1.0f, float softness = 1.0f) {
        const int x0 = std::max(0, static_cast<int>(std::floor(left - softness)));
        const int y0 = std::max(0, static_cast<int>(std::floor(top - softness)));
        const int x1 = std::min(width_, static_cast<int>(std::ceil(right + softness)) + 1);
        const int y1 = std::min(height_, static_cast<int>(std::ceil(bottom + softness)) + 1);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const float d =
                    distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
                const float coverage = std::clamp(0.5f - d / softness, 0.0f, 1.0f);
                if (coverage > 0.0f) blend(x, y, colour, coverage * opacity);
            }
        }
    }

    void fillEllipse(float cx, float cy, float rx, float ry, Colour colour, float opacity = 1.0f,
                     float softness = 1.0f, float angle = 0.0f);
    void fillRect(float left, float top, float right, float bottom, Colour colour,
                  float opacity = 1.0f, float radius = 0.0f);
    // A line of the given width with round ends.
    void strokeLine(float ax, float ay, float bx, float by, float lineWidth, Colour colour,
                    float opacity = 1.0f);
    // Each row from `top` to `bottom` gets the colour between `upper` and `lower`.
    void verticalGradient(int top, int bottom, Colour upper, Colour lower);

    // 8-bit RGB rows, top-down; every pixel is taken as opaque.
    std::vector<uint8_t> toRgb() const;
    // 8-bit RGBA rows, top-down. Fully transparent pixels take `hiddenColour`
    // so that scaling, which averages colour and alpha apart, blends edges
    // toward it rather than toward black. With `alphaMeansTransparency` the
    // fourth byte is 255 - opacity.
    std::vector<uint8_t> toRgba(Colour hiddenColour, bool alphaMeansTransparency) const;

  private:
    int width_;
    int height_;
    std::vector<float> pixels_;  // premultiplied r, g, b, opacity
};

inline uint8_t toByte(float value) {
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

}  // namespace zeku::demo
