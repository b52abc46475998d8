// The mixer's inner step: a slot's samples scaled by its volume and added
// to the output buffer with saturation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zeku {

// out[i] = saturate(out[i] + in[i] × volume / 100), the product truncated
// toward zero; volume 100 and above adds the samples unscaled.
void mixSamples(int16_t* out, const int16_t* in, size_t count, int32_t volume);

// The plain saturating add of two buffers, the yardstick of the mixer.
void addSaturating(int16_t* out, const int16_t* in, size_t count);

}  // namespace zeku
