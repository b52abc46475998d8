// Tileable fractal value noise, built once per seed.
#include "tools/demogame/noise.h"

#include <algorithm>
#include <cmath>

#include "tools/demogame/random.h"

namespace zeku::demo {
namespace {

float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

NoiseField::NoiseField(uint64_t seed, int octaves) : cells_(kSize * kSize, 0.0f) {
    Random random(seed);
    float amplitude = 1.0f;
    // Octave k has a lattice of kPeriod << k points per side; each divides
    // kSize, so every octave wraps exactly at the field's edge.
    for (int octave = 0; octave < octaves; ++octave) {
        const int lattice = kPeriod << octave;
        if (lattice > kSize) break;
        std::vector<float> points(static_cast<size_t>(lattice * lattice));
        for (float& point : points)
            point = random.unit();
        const int cell = kSize / lattice;
        for (int y = 0; y < kSize; ++y) {
            const int y0 = y / cell;
            const int y1 = (y0 + 1) % lattice;
            const float ty = smooth(static_cast<float>(y % cell) / static_cast<float>(cell));
            for (int x = 0; x < kSize; ++x) {
                const int x0 = x / cell;
                const int x1 = (x0 + 1) % lattice;
                const float tx = smooth(static_cast<float>(x % cell) / static_cast<float>(cell));
                const float top = points[y0 * lattice + x0] +
                                  (points[y0 * lattice + x1] - points[y0 * lattice + x0]) * tx;
                const float bottom = points[y1 * lattice + x0] +
                                     (points[y1 * lattice + x1] - points[y1 * lattice + x0]) * tx;
                cells_[y * kSize + x] += (top + (bottom - top) * ty) * amplitude;
            }
        }
        amplitude *= 0.5f;
    }
    // Stretch to the full 0..1 range: summed octaves cluster around the
    // middle, and thresholds and textures want the whole span.
    float low = cells_[0];
    float high = cells_[0];
    for (float value : cells_) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    const float span = high - low > 1e-6f ? high - low : 1.0f;
    for (float& value : cells_)
        value = (value - low) / span;
}

float NoiseField::sample(float x, float y) const {
    x *= kCellsPerUnit;
    y *= kCellsPerUnit;
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = x - fx;
    const float ty = y - fy;
    // Wrap in integers: the mask keeps negative positions inside the field.
    const int x0 = static_cast<int>(static_cast<int64_t>(fx) & (kSize - 1));
    const int y0 = static_cast<int>(static_cast<int64_t>(fy) & (kSize - 1));
    const int x1 = (x0 + 1) & (kSize - 1);
    const int y1 = (y0 + 1) & (kSize - 1);
    const float top =
        cells_[y0 * kSize + x0] + (cells_[y0 * kSize + x1] - cells_[y0 * kSize + x0]) * tx;
    const float bottom =
        cells_[y1 * kSize + x0] + (cells_[y1 * kSize + x1] - cells_[y1 * kSize + x0]) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace zeku::demo
