// Deterministic inputs that look like what the package holds (script text, 16-bit pictures)
// and the shapes that stress an LZSS coder (noise, long runs, repeats at the window's edge).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeku {

// Small fixed-seed generator, so the same bytes come out on every machine.
class SampleRandom {
  public:
    explicit SampleRandom(uint64_t seed) : state_(seed) {}
    uint64_t next();
    uint32_t below(uint32_t bound) { return static_cast<uint32_t>(next() % bound); }

  private:
    uint64_t state_;
};

// Script-like lines: Shift-JIS words, ASCII commands and labels, CR LF line ends.
std::vector<uint8_t> sampleText(size_t size, uint64_t seed);
// RGB565 pixels, little-endian, 320 wide: flat areas, gradients, and low-bit noise.
std::vector<uint8_t> samplePicture(size_t size, uint64_t seed);
std::vector<uint8_t> sampleNoise(size_t size, uint64_t seed);
// Runs of 1 to 3000 equal bytes, about half of them zero.
std::vector<uint8_t> sampleRuns(size_t size, uint64_t seed);
// Copies of earlier bytes from 2000 to 2060 bytes back, between short bursts of noise.
std::vector<uint8_t> sampleFarRepeats(size_t size, uint64_t seed);
// Chunks of all the kinds above, one after another.
std::vector<uint8_t> sampleMix(size_t size, uint64_t seed);

}  // namespace zeku
