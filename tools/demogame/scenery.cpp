// Hills, clouds and cloud layers for the backgrounds.
#include "tools/demogame/scenery.h"

#include <cmath>

namespace zeku::demo {

float Ridge::heightAt(float x) const {
    return base + amplitude1 * std::sin(x / wavelength1 + phase1) +
           amplitude2 * std::sin(x / wavelength2 + phase2);
}

void fillBelowRidge(Canvas& canvas, const Ridge& ridge,
                    const std::function<Colour(int x, int y)>& shade) {
    for (int x = 0; x < canvas.width(); ++x) {
        const float top = ridge.heightAt(static_cast<float>(x) + 0.5f);
        const int first = std::max(0, static_cast<int>(std::floor(top)));
        for (int y = first; y < canvas.height(); ++y) {
            // The part of pixel row [y, y + 1) that lies below the ridge.
            const float coverage = std::clamp(static_cast<float>(y) + 1.0f - top, 0.0f, 1.0f);
            canvas.blend(x, y, shade(x, y), coverage);
        }
    }
}

void drawPuffyCloud(Canvas& canvas, Random& random, float x, float y, float size, Colour light,
                    Colour shadow) {
    struct Puff {
        float x, y, r;
    };
    Puff puffs[7];
    const int count = 4 + random.below(4);
    for (int i = 0; i < count; ++i) {
        const float spread = (static_cast<float>(i) / static_cast<float>(count - 1) - 0.5f) * 2.0f;
        puffs[i].x = x + spread * size * random.range(0.9f, 1.2f);
        puffs[i].r = size * random.range(0.45f, 0.7f) * (1.0f - 0.35f * std::fabs(spread));
        puffs[i].y = y - puffs[i].r * random.range(0.2f, 0.5f);
    }
    for (int i = 0; i < count; ++i) {
        canvas.fillEllipse(puffs[i].x + 3, puffs[i].y + puffs[i].r * 0.25f + 4, puffs[i].r,
                           puffs[i].r * 0.8f, shadow, 0.5f, 3.0f);
    }
    for (int i = 0; i < count; ++i) {
        canvas.fillEllipse(puffs[i].x, puffs[i].y, puffs[i].r, puffs[i].r * 0.8f, light, 1.0f,
                           1.5f);
    }
    // A flat base ties the puffs into one cloud.
    canvas.fillEllipse(x, y + size * 0.1f, size * 1.35f, size * 0.28f, light, 1.0f, 1.5f);
}

void drawNoiseClouds(Canvas& canvas, const NoiseField& noise, int top, int bottom, float cellX,
                     float cellY, float offsetX, float threshold, Colour colour, float opacity) {
    top = std::max(top, 0);
    bottom = std::min(bottom, canvas.height());
    for (int y = top; y < bottom; ++y) {
        const float fade = 1.0f - static_cast<float>(y - top) / static_cast<float>(bottom - top);
        for (int x = 0; x < canvas.width(); ++x) {
            const float n = noise.sample(static_cast<float>(x) / cellX + offsetX,
                                         static_cast<float>(y) / cellY);
            const float amount = smoothStep(threshold, threshold + 0.18f, n) * fade;
            if (amount > 0.0f) {
                // Thicker parts of the cloud are a little darker underneath.
                const Colour c = mix(colour, scaled(colour, 0.9f), smoothStep(0.7f, 0.9f, n));
                canvas.blend(x, y, c, amount * opacity);
            }
        }
    }
}

}  // namespace zeku::demo
