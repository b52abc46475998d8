// Chooses the JBP1 decoder's kernels once, by what the processor supports.
#include "common/image/jbp1_decoder_kernels.h"

#include <initializer_list>

#include "common/image/jbp1_decoder_colour.h"
#include "common/image/jbp1_idct.h"

namespace zeku {

namespace {

constexpr Jbp1Kernels kPortable = {"portable", jbp1IdctScalar, jbp1ColourScalar};
#if defined(__x86_64__) || defined(__i386__)
constexpr Jbp1Kernels kSse2 = {"sse2", jbp1IdctSse2, jbp1ColourSse2};
constexpr Jbp1Kernels kSse41 = {"sse4.1", jbp1IdctSse41, jbp1ColourSse2};
constexpr Jbp1Kernels kAvx2 = {"avx2", jbp1IdctAvx2, jbp1ColourAvx2};
#endif

}  // namespace

const Jbp1Kernels* jbp1KernelsFor(Jbp1Isa isa) {
    switch (isa) {
        case Jbp1Isa::kPortable:
            return &kPortable;
#if defined(__x86_64__) || defined(__i386__)
        case Jbp1Isa::kSse2:
            return __builtin_cpu_supports("sse2") ? &kSse2 : nullptr;
        case Jbp1Isa::kSse41:
            return __builtin_cpu_supports("sse4.1") ? &kSse41 : nullptr;
        case Jbp1Isa::kAvx2:
            return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
#else
        default:
            return nullptr;
#endif
    }
    return nullptr;
}

const Jbp1Kernels& jbp1BestKernels() {
    static const Jbp1Kernels* const best = [] {
        for (Jbp1Isa isa : {Jbp1Isa::kAvx2, Jbp1Isa::kSse41, Jbp1Isa::kSse2})
            if (const Jbp1Kernels* k = jbp1KernelsFor(isa)) return k;
        return &kPortable;
    }();
    return *best;
}

Parsed<void> jbp1Decode(const uint8_t* stream, size_t length, uint16_t* pixels,
                        size_t pixelCapacity) {
    return jbp1DecodeWith(jbp1BestKernels(), stream, length, pixels, pixelCapacity);
}

}  // namespace zeku
