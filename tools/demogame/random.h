// The generator's own seeded random numbers (SplitMix64): the same seed gives
// the same game on every run and every host, unlike rand().
#pragma once

#include <cstdint>

namespace zeku::demo {

class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1) with 24 bits, exact in float.
    float unit() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }
    float range(float low, float high) { return low + (high - low) * unit(); }
    // Uniform in [0, count); count > 0.
    int below(int count) { return static_cast<int>((next() >> 33) % static_cast<uint64_t>(count)); }

  private:
    uint64_t state_;
};

// A seed for item `index` of family `family`, so each picture of the large
// game has its own stream that does not depend on how many came before.
inline uint64_t seedFor(uint32_t family, uint32_t index) {
    return (static_cast<uint64_t>(family) << 32 | index) * 0xD6E8FEB86659FD93ull + 0x5851F42Dull;
}

}  // namespace zeku::demo
