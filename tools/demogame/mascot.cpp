// The mascot, layer by layer: cloud cushion, wings, body and head with one
// shared outline, face. Outlines are the same ellipse drawn a few pixels
// larger underneath the fill.
#include "tools/demogame/mascot.h"

#include <cmath>

#include "tools/demogame/random.h"

namespace zeku::demo {
namespace {

constexpr float kOutline = 4.5f;
constexpr float kCentreX = 150.0f;

void outlinedEllipse(Canvas& canvas, float cx, float cy, float rx, float ry, Colour fill,
                     Colour outline, float angle = 0.0f) {
    canvas.fillEllipse(cx, cy, rx + kOutline, ry + kOutline, outline, 1.0f, 1.0f, angle);
    canvas.fillEllipse(cx, cy, rx, ry, fill, 1.0f, 1.0f, angle);
}

// Half of an elliptic ring: the upper half when `upper`, as for a closed
// smiling eye, or the lower half for a sleepy one.
void eyeArc(Canvas& canvas, float cx, float cy, bool upper, Colour colour) {
    canvas.fillShape(
        cx - 16, cy - 16, cx + 16, cy + 16,
        [&](float x, float y) {
            const float ring = std::fabs(ellipseDistance(x, y, cx, cy, 12, 10)) - 2.6f;
            const float side = upper ? y - cy : cy - y;
            return std::max(ring, side);
        },
        colour);
}

void drawCloudCushion(Canvas& canvas) {
    const Colour shade = {0.80f, 0.86f, 0.97f};
    const Colour white = {1, 1, 1};
    const float puffs[][4] = {{78, 452, 58, 32},
                              {150, 440, 76, 42},
                              {222, 452, 58, 32},
                              {112, 470, 70, 26},
                              {188, 470, 70, 26}};
    for (const auto& p : puffs)
        canvas.fillEllipse(p[0], p[1] + 6, p[2] + 3, p[3] + 3, shade, 1.0f, 2.0f);
    for (const auto& p : puffs)
        canvas.fillEllipse(p[0], p[1], p[2], p[3], white, 1.0f, 1.5f);
}

void drawEyes(Canvas& canvas, Expression expression, float headX, const MascotStyle& style) {
    const float eyeY = 165;
    const float eyes[2] = {headX - 38, headX + 38};
    const Colour black = {0.12f, 0.08f, 0.06f};
    for (float eyeX : eyes) {
        switch (expression) {
            case Expression::kNormal:
                canvas.fillEllipse(eyeX, eyeY, 11, 15, black);
                canvas.fillEllipse(eyeX - 4, eyeY - 6, 4, 5, {1, 1, 1});
                break;
            case Expression::kSmile:
                eyeArc(canvas, eyeX, eyeY + 5, true, style.outline);
                break;
            case Expression::kSurprised:
                outlinedEllipse(canvas, eyeX, eyeY - 2, 14, 18, {1, 1, 1}, style.outline);
                canvas.fillEllipse(eyeX, eyeY, 7, 8, black);
                canvas.fillEllipse(eyeX - 2, eyeY - 3, 2.5f, 2.5f, {1, 1, 1});
                break;
            case Expression::kTeary:
                eyeArc(canvas, eyeX, eyeY - 2, false, style.outline);
                canvas.fillEllipse(eyeX + (eyeX < headX ? -14.0f : 14.0f), eyeY + 18, 5, 8,
                                   {0.55f, 0.80f, 1.0f}, 0.9f, 1.5f);
                break;
        }
    }
}

void drawBeak(Canvas& canvas, Expression expression, float headX, const MascotStyle& style) {
    const float beakY = 196;
    if (expression == Expression::kSurprised) {
        outlinedEllipse(canvas, headX, beakY + 14, 14, 12, {0.55f, 0.18f, 0.15f}, style.outline);
        outlinedEllipse(canvas, headX, beakY - 2, 20, 9, style.beak, style.outline);
        return;
    }
    outlinedEllipse(canvas, headX, beakY, 20, 11, style.beak, style.outline);
    // The line between the two halves of the beak.
    canvas.strokeLine(headX - 14, beakY + 1, headX + 14, beakY + 1, 2.5f, style.outline);
    if (expression == Expression::kSmile) {
        canvas.fillEllipse(headX, beakY + 10, 9, 5, {0.85f, 0.35f, 0.30f}, 1.0f, 1.0f);
    }
}

}  // namespace

MascotStyle randomMascotStyle(uint64_t seed) {
    Random random(seed);
    MascotStyle style;
    const Colour bodies[] = {rgb(0xFFD84A), rgb(0xFFE27A), rgb(0xFFC94D),
                             rgb(0xF7E06B), rgb(0xFFF3C4), rgb(0xB9E3FF)};
    style.body = bodies[random.below(6)];
    style.belly = mix(style.body, {1, 1, 1}, 0.55f);
    style.beak = mix(rgb(0xFF9A2E), rgb(0xFF7043), random.unit());
    style.cheek = mix(rgb(0xFF8A9A), rgb(0xFFA07A), random.unit());
    style.wingLift = random.range(-0.2f, 0.6f);
    style.lean = random.range(-12.0f, 12.0f);
    style.accessory = static_cast<MascotStyle::Accessory>(random.below(3));
    const Colour accessories[] = {rgb(0x3D8BD9), rgb(0xE0455A), rgb(0x4CAF50), rgb(0x8E6BD1)};
    style.accessoryColour = accessories[random.below(4)];
    return style;
}

Canvas drawMascot(Expression expression, const MascotStyle& style) {
    Canvas canvas(kMascotWidth, kMascotHeight);
    const float headX = kCentreX + style.lean;
    const Colour wing = scaled(style.body, 0.9f);

    drawCloudCushion(canvas);
    // Feet first: the body hides their upper half.
    outlinedEllipse(canvas, kCentreX - 34, 420, 20, 10, style.beak, style.outline);
    outlinedEllipse(canvas, kCentreX + 34, 420, 20, 10, style.beak, style.outline);
    // Wings behind the body, tilted up by the pose.
    outlinedEllipse(canvas, kCentreX - 98, 312 - 30 * style.wingLift, 28, 56, wing, style.outline,
                    0.55f + style.wingLift);
    outlinedEllipse(canvas, kCentreX + 98, 312 - 30 * style.wingLift, 28, 56, wing, style.outline,
                    -0.55f - style.wingLift);
    // The tuft on top of the head.
    for (int i = -1; i <= 1; ++i) {
        const float angle = 0.45f * static_cast<float>(i);
        outlinedEllipse(canvas, headX + 14.0f * i, 80 - 4.0f * (i == 0), 8, 22, style.body,
                        style.outline, angle);
    }
    // Body and head share one outline: both outlines go down before either fill.
    canvas.fillEllipse(kCentreX, 320, 108 + kOutline, 112 + kOutline, style.outline);
    canvas.fillEllipse(headX, 172, 96 + kOutline, 90 + kOutline, style.outline);
    canvas.fillEllipse(kCentreX, 320, 108, 112, style.body);
    canvas.fillEllipse(headX, 172, 96, 90, style.body);
    canvas.fillEllipse(kCentreX, 345, 70, 72, style.belly, 1.0f, 3.0f);
    // A soft light on the head.
    canvas.fillEllipse(headX - 35, 120, 35, 22, {1, 1, 1}, 0.35f, 10.0f);

    if (style.accessory == MascotStyle::kScarf) {
        canvas.fillShape(
            kCentreX - 100, 236, kCentreX + 100, 276,
            [&](float x, float y) {
                return std::max(std::fabs(y - 256 - 0.002f * (x - kCentreX) * (x - kCentreX)) - 11,
                                ellipseDistance(x, y, kCentreX, 320, 108, 112));
            },
            style.accessoryColour);
        outlinedEllipse(canvas, kCentreX + 55, 295, 14, 32, style.accessoryColour, style.outline,
                        -0.3f);
    } else if (style.accessory == MascotStyle::kLeaf) {
        outlinedEllipse(canvas, headX + 40, 92, 30, 12, style.accessoryColour, style.outline,
                        -0.5f);
        canvas.strokeLine(headX + 18, 104, headX + 62, 80, 2.0f,
                          scaled(style.accessoryColour, 0.6f));
    }

    canvas.fillEllipse(headX - 58, 200, 18, 11, style.cheek, 0.55f, 6.0f);
    canvas.fillEllipse(headX + 58, 200, 18, 11, style.cheek, 0.55f, 6.0f);
    drawEyes(canvas, expression, headX, style);
    drawBeak(canvas, expression, headX, style);
    return canvas;
}

}  // namespace zeku::demo
