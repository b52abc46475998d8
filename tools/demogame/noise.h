// Tileable fractal value noise: the texture of clouds, grass, wood and
// wallpaper. One field is computed once and sampled at any scale and offset,
// which keeps hundreds of large-game pictures cheap to draw.
#pragma once

#include <cstdint>
#include <vector>

namespace zeku::demo {

class NoiseField {
  public:
    // Octaves of value noise summed and stretched to 0..1. The same seed
    // gives the same field.
    explicit NoiseField(uint64_t seed, int octaves = 5);

    // Bilinear sample at (x, y), measured in features: the coarsest octave
    // changes about once per unit, so sample(x / 40, y / 40) has blobs some
    // 40 pixels wide with finer detail on top. The field repeats every
    // kPeriod units in both directions.
    float sample(float x, float y) const;

    static constexpr int kPeriod = 8;

  private:
    static constexpr int kCellsPerUnit = 64;
    static constexpr int kSize = kPeriod * kCellsPerUnit;
    std::vector<float> cells_;
};

}  // namespace zeku::demo
