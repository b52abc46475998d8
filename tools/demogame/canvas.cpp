// The drawing surface: distance functions, simple shapes and conversion to
// 8-bit rows.
#include "tools/demogame/canvas.h"

namespace zeku::demo {

float ellipseDistance(float x, float y, float cx, float cy, float rx, float ry, float angle) {
    float dx = x - cx;
    float dy = y - cy;
    if (angle != 0.0f) {
        const float c = std::cos(angle);
        const float s = std::sin(angle);
        const float rotatedX = dx * c + dy * s;
        dy = -dx * s + dy * c;
        dx = rotatedX;
    }
    const float u = dx / rx;
    const float v = dy / ry;
    const float q = std::sqrt(u * u + v * v);
    // First-order distance: (q - 1) over the gradient's length. Exact on
    // circles, close enough on ellipses for a one-pixel edge.
    const float gradient = std::sqrt(u * u / (rx * rx) + v * v / (ry * ry));
    if (q < 1e-4f || gradient < 1e-9f) return -std::min(rx, ry);
    return (q - 1.0f) * q / gradient;
}

float roundRectDistance(float x, float y, float left, float top, float right, float bottom,
                        float radius) {
    const float cx = (left + right) * 0.5f;
    const float cy = (top + bottom) * 0.5f;
    const float hx = (right - left) * 0.5f - radius;
    const float hy = (bottom - top) * 0.5f - radius;
    const float qx = std::fabs(x - cx) - hx;
    const float qy = std::fabs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float segmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    const float px = x - ax;
    const float py = y - ay;
    const float vx = bx - ax;
    const float vy = by - ay;
    const float length2 = vx * vx + vy * vy;
    const float t = length2 > 0.0f ? std::clamp((px * vx + py * vy) / length2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - vx * t, py - vy * t);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Canvas::fill(Colour colour) {
    for (size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = colour.r;
        pixels_[i + 1] = colour.g;
        pixels_[i + 2] = colour.b;
        pixels_[i + 3] = 1.0f;
    }
}

Colour Canvas::colourAt(int x, int y) const {
    const float* p = &pixels_[(static_cast<size_t>(y) * width_ + x) * 4];
    if (p[3] <= 0.0f) return {};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3]};
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, Colour colour, float opacity,
                         float softness, float angle) {
    const float reach = std::max(rx, ry);
    fillShape(
        cx - reach, cy - reach, cx + reach, cy + reach,
        [&](float x, float y) { return ellipseDistance(x, y, cx, cy, rx, ry, angle); }, colour,
        opacity, softness);
}

void Canvas::fillRect(float left, float top, float right, float bottom, Colour colour,
                      float opacity, float radius) {
    fillShape(
        left, top, right, bottom,
        [&](float x, float y) { return roundRectDistance(x, y, left, top, right, bottom, radius); },
        colour, opacity);
}

void Canvas::strokeLine(float ax, float ay, float bx, float by, float lineWidth, Colour colour,
                        float opacity) {
    const float half = lineWidth * 0.5f;
    fillShape(
        std::min(ax, bx) - half, std::min(ay, by) - half, std::max(ax, bx) + half,
        std::max(ay, by) + half,
        [&](float x, float y) { return segmentDistance(x, y, ax, ay, bx, by) - half; }, colour,
        opacity);
}

void Canvas::verticalGradient(int top, int bottom, Colour upper, Colour lower) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    const float span = static_cast<float>(std::max(bottom - top - 1, 1));
    for (int y = top; y < bottom; ++y) {
        const Colour c = mix(upper, lower, static_cast<float>(y - top) / span);
        for (int x = 0; x < width_; ++x)
            blend(x, y, c, 1.0f);
    }
}

std::vector<uint8_t> Canvas::toRgb() const {
    std::vector<uint8_t> out(static_cast<size_t>(width_) * height_ * 3);
    for (size_t i = 0, o = 0; i < pixels_.size(); i += 4, o += 3) {
        out[o] = toByte(pixels_[i]);
        out[o + 1] = toByte(pixels_[i + 1]);
        out[o + 2] = toByte(pixels_[i + 2]);
    }
    return out;
}

std::vector<uint8_t> Canvas::toRgba(Colour hiddenColour, bool alphaMeansTransparency) const {
    std::vector<uint8_t> out(static_cast<size_t>(width_) * height_ * 4);
    for (size_t i = 0; i < pixels_.size(); i += 4) {
        const uint8_t opacity = toByte(pixels_[i + 3]);
        Colour c = hiddenColour;
        if (opacity > 0)
            c = {pixels_[i] / pixels_[i + 3], pixels_[i + 1] / pixels_[i + 3],
                 pixels_[i + 2] / pixels_[i + 3]};
        out[i] = toByte(c.r);
        out[i + 1] = toByte(c.g);
        out[i + 2] = toByte(c.b);
        out[i + 3] = alphaMeansTransparency ? static_cast<uint8_t>(255 - opacity) : opacity;
    }
    return out;
}

}  // namespace zeku::demo
