// Window frame, buttons and the system image.
#include "tools/demogame/ui_pictures.h"

#include <cmath>

namespace zeku::demo {
namespace {

// A rounded frame line `lineWidth` wide around [left, right) x [top, bottom).
void frameRing(Canvas& canvas, float left, float top, float right, float bottom, float radius,
               float lineWidth, Colour colour, float opacity, float softness) {
    canvas.fillShape(
        left - lineWidth - softness, top - lineWidth - softness, right + lineWidth + softness,
        bottom + lineWidth + softness,
        [&](float x, float y) {
            return std::fabs(roundRectDistance(x, y, left, top, right, bottom, radius)) -
                   lineWidth * 0.5f;
        },
        colour, opacity, softness);
}

void frameAround(Canvas& canvas, float left, float top, float width, float height) {
    const float l = left - kWindowFrameX - 3;
    const float t = top - kWindowFrameY - 3;
    const float r = left + width - kWindowFrameX + 3;
    const float b = top + height - kWindowFrameY + 3;
    frameRing(canvas, l, t, r, b, 10, 7, {0.55f, 0.75f, 1.0f}, 0.45f, 4.0f);
    frameRing(canvas, l, t, r, b, 10, 3, {1, 1, 1}, 1.0f, 1.0f);
}

}  // namespace

Canvas drawWindowFrame() {
    Canvas canvas(kWindowFrameWidth, kWindowFrameHeight);
    frameAround(canvas, 39, 387, 211, 40);
    frameAround(canvas, 39, 431, 722, 136);
    // A little cloud resting on the message frame's top right corner.
    const Colour white = {1, 1, 1};
    const Colour shade = {0.78f, 0.86f, 0.98f};
    const float x = 690;
    const float y = 52;
    canvas.fillEllipse(x + 2, y + 5, 34, 14, shade, 1.0f, 2.0f);
    canvas.fillEllipse(x - 18, y, 16, 12, white, 1.0f, 1.2f);
    canvas.fillEllipse(x + 2, y - 6, 20, 16, white, 1.0f, 1.2f);
    canvas.fillEllipse(x + 22, y, 15, 11, white, 1.0f, 1.2f);
    canvas.fillEllipse(x + 2, y + 3, 32, 10, white, 1.0f, 1.2f);
    return canvas;
}

Canvas drawButton(ButtonSymbol symbol) {
    Canvas canvas(kButtonWidth, kButtonHeight);
    const float w = kButtonWidth;
    const float h = kButtonHeight;
    // Body: a vertical gradient clipped to a rounded rectangle.
    for (int y = 0; y < kButtonHeight; ++y) {
        const Colour c = mix({0.62f, 0.80f, 1.0f}, {0.25f, 0.45f, 0.85f},
                             static_cast<float>(y) / static_cast<float>(kButtonHeight - 1));
        for (int x = 0; x < kButtonWidth; ++x) {
            const float d = roundRectDistance(x + 0.5f, y + 0.5f, 4, 4, w - 4, h - 4, 18);
            canvas.blend(x, y, c, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
    }
    frameRing(canvas, 5, 5, w - 5, h - 5, 17, 3, {1, 1, 1}, 1.0f, 1.0f);
    canvas.fillEllipse(w / 2, 18, 56, 9, {1, 1, 1}, 0.3f, 5.0f);

    const Colour white = {1, 1, 1};
    const float cx = w / 2;
    const float cy = h / 2 + 2;
    if (symbol == ButtonSymbol::kMoon) {
        canvas.fillShape(
            cx - 22, cy - 22, cx + 22, cy + 22,
            [&](float x, float y) {
                return std::max(ellipseDistance(x, y, cx, cy, 20, 20),
                                -ellipseDistance(x, y, cx + 10, cy - 7, 17, 17));
            },
            white);
    } else {
        // A circle arrow: three quarters of a ring and a head at its open end.
        canvas.fillShape(
            cx - 24, cy - 24, cx + 24, cy + 24,
            [&](float x, float y) {
                const float ring = std::fabs(ellipseDistance(x, y, cx, cy, 17, 17)) - 3.5f;
                const bool gap = x > cx && y < cy;
                return gap ? std::max(ring, 4.0f) : ring;
            },
            white);
        canvas.fillShape(
            cx, cy - 30, cx + 20, cy - 4,
            [&](float x, float y) {
                // The triangle (cx, cy - 27), (cx, cy - 8), (cx + 14, cy - 17.5) as the
                // largest distance to its three sides.
                const float left = cx - x;
                const float upper = ((x - cx) * 9.5f - (y - (cy - 27)) * 14.0f) / 16.9f;
                const float lower = ((x - cx) * 9.5f + (y - (cy - 8)) * 14.0f) / 16.9f;
                return std::max(left, std::max(upper, lower));
            },
            white);
    }
    return canvas;
}

Canvas drawSystemImage() {
    Canvas canvas(kSystemImageWidth, kSystemImageHeight);
    canvas.fill({0.16f, 0.17f, 0.22f});
    // The icon is drawn twice over black cells: in colour at kWaitIconX and
    // as coverage at kWaitMaskX, where it is turned into the mask below.
    canvas.fillRect(kWaitIconX, 0, kWaitMaskX + kWaitIconSide, kWaitIconSide, {0, 0, 0});
    const auto icon = [](float x, float y) {
        // A rounded triangle pointing down, centred in the 28-pixel wide
        // part of the cell that the blinking frame shows.
        const float cx = 16.0f;
        const float top = 9.0f;
        const float bottom = 25.0f;
        const float half = 10.0f;
        const float up = top - y;
        const float slope = std::sqrt(half * half + (bottom - top) * (bottom - top));
        const float leftSide = ((cx - half - x) * (bottom - top) + (y - top) * half) / slope;
        const float rightSide = ((x - cx - half) * (bottom - top) + (y - top) * half) / slope;
        return std::max(up, std::max(leftSide, rightSide)) + 1.5f;
    };
    for (int cell = 0; cell < 2; ++cell) {
        const float cellX = cell == 0 ? kWaitIconX : kWaitMaskX;
        canvas.fillShape(
            cellX, 0, cellX + kWaitIconSide, kWaitIconSide,
            [&](float x, float y) { return icon(x - cellX, y); },
            cell == 0 ? Colour{1.0f, 0.95f, 0.55f} : Colour{1, 1, 1});
    }
    // Coverage becomes the mask: white (no icon) turns black and back.
    for (int y = 0; y < kWaitIconSide; ++y) {
        for (int x = kWaitMaskX; x < kWaitMaskX + kWaitIconSide; ++x) {
            const Colour c = canvas.colourAt(x, y);
            canvas.blend(x, y, {1.0f - c.r, 1.0f - c.g, 1.0f - c.b}, 1.0f);
        }
    }
    return canvas;
}

}  // namespace zeku::demo
