// The eight-point pass of the JBP1 inverse transform, written once with
// plain operators so that the portable transform (V = int32_t) and the
// vector ones (V = a compiler vector type) share the same arithmetic.
#pragma once

#include <cstdint>

namespace zeku {

// (a × c) >> 16 per lane (or for a plain int32_t): the product wraps in 32 bits (the low half of
// the product, taken unsigned), the shift is arithmetic. A macro rather than a function because a
// 256-bit value passed to a function outside an AVX context would change the calling convention.
#define ZEKU_MUL_SHIFT(a, c) ((V)((U)(a) * static_cast<uint32_t>(c)) >> 16)

// The sums cannot overflow: inputs are below 2^24 and every product is back
// below 2^16 after its shift.
template <typename V, typename U>
inline __attribute__((always_inline)) void jbp1IdctPass(const V* x, V* out) {
    const V z1 = ZEKU_MUL_SHIFT(x[2] + x[6], 35467);
    const V t3 = z1 + ZEKU_MUL_SHIFT(x[2], 50159);
    const V t2 = z1 + ZEKU_MUL_SHIFT(x[6], -121094);
    const V t0 = x[0] + x[4];
    const V t1 = x[0] - x[4];
    const V t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;

    const V s71 = x[7] + x[1], s53 = x[5] + x[3];
    const V z5 = ZEKU_MUL_SHIFT(s71 + s53, 77062);
    const V y1 = ZEKU_MUL_SHIFT(s71, -58980);
    const V y2 = ZEKU_MUL_SHIFT(s53, -167963);
    const V y3 = z5 + ZEKU_MUL_SHIFT(x[7] + x[3], -128553);
    const V y4 = z5 + ZEKU_MUL_SHIFT(x[5] + x[1], -25570);
    const V o0 = ZEKU_MUL_SHIFT(x[7], 19571) + y1 + y3;
    const V o1 = ZEKU_MUL_SHIFT(x[5], 134553) + y2 + y4;
    const V o2 = ZEKU_MUL_SHIFT(x[3], 201373) + y2 + y3;
    const V o3 = ZEKU_MUL_SHIFT(x[1], 98390) + y1 + y4;

    out[0] = t10 + o3;
    out[1] = t11 + o2;
    out[2] = t12 + o1;
    out[3] = t13 + o0;
    out[4] = t13 - o0;
    out[5] = t12 - o1;
    out[6] = t11 - o2;
    out[7] = t10 - o3;
}

#undef ZEKU_MUL_SHIFT

}  // namespace zeku
