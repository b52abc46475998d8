// Pieces shared by the backgrounds: hills along a curve, puffy clouds and
// noise-textured cloud layers.
#pragma once

#include <functional>

#include "tools/demogame/canvas.h"
#include "tools/demogame/noise.h"
#include "tools/demogame/random.h"

namespace zeku::demo {

// A rolling ridge: base height plus two sine waves.
struct Ridge {
    float base = 450;
    float amplitude1 = 20, wavelength1 = 140, phase1 = 0;
    float amplitude2 = 10, wavelength2 = 60, phase2 = 0;
    float heightAt(float x) const;
};

// Fills everything below the ridge; `shade(x, y)` gives each pixel's colour.
void fillBelowRidge(Canvas& canvas, const Ridge& ridge,
                    const std::function<Colour(int x, int y)>& shade);

// A cloud of overlapping ellipses centred at (x, y), with a faint shadow
// underneath.
void drawPuffyCloud(Canvas& canvas, Random& random, float x, float y, float size, Colour light,
                    Colour shadow);

// Noise clouds over rows [top, bottom): where the noise rises above
// `threshold` the colour shows, fading out toward `bottom`.
void drawNoiseClouds(Canvas& canvas, const NoiseField& noise, int top, int bottom, float cellX,
                     float cellY, float offsetX, float threshold, Colour colour, float opacity);

inline float smoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace zeku::demo
