// The JBP1 decoder's per-block kernels (inverse transform and colour
// conversion) for each instruction set, and the decode that runs on a
// chosen set. Used by the decoder itself and by tests and benchmarks that
// compare the versions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/image/jbp1_decoder.h"

namespace zeku {

enum class Jbp1Isa { kPortable, kSse2, kSse41, kAvx2 };

struct Jbp1Kernels {
    const char* name;
    void (*idct)(int32_t* coefficients, int16_t* samples);
    void (*colour)(const int16_t* blocks, uint16_t* pixels, size_t stride);
};

// The kernels for `isa`, or null when this processor (or build) lacks it.
const Jbp1Kernels* jbp1KernelsFor(Jbp1Isa isa);
// The fastest kernels this processor runs; jbp1Decode uses these.
const Jbp1Kernels& jbp1BestKernels();

Parsed<void> jbp1DecodeWith(const Jbp1Kernels& kernels, const uint8_t* stream, size_t length,
                            uint16_t* pixels, size_t pixelCapacity);

}  // namespace zeku
