// The portable JBP1 inverse transform, also the model the vector versions
// are checked against.
#include "common/image/jbp1_idct.h"

#include <cstring>

namespace zeku {

namespace {

// (a × c) >> 16 with the product wrapped to 32 bits: what 32-bit arithmetic
// gives, without signed overflow.
inline int32_t mulShift(int32_t a, int32_t c) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(c)) >> 16;
}

// One 8-point pass over x[0], x[stride], ... x[7 * stride]. The sums stay
// far inside 32 bits: every product is back below 2^16 after its shift and
// the inputs are below 2^24.
inline void idct8(const int32_t* x, int stride, int32_t* out) {
    const int32_t x0 = x[0], x1 = x[stride], x2 = x[2 * stride], x3 = x[3 * stride];
    const int32_t x4 = x[4 * stride], x5 = x[5 * stride], x6 = x[6 * stride];
    const int32_t x7 = x[7 * stride];

    const int32_t z1 = mulShift(x2 + x6, 35467);
    const int32_t t3 = z1 + mulShift(x2, 50159);
    const int32_t t2 = z1 + mulShift(x6, -121094);
    const int32_t t0 = x0 + x4;
    const int32_t t1 = x0 - x4;
    const int32_t t10 = t0 + t3, t13 = t0 - t3, t11 = t1 + t2, t12 = t1 - t2;

    const int32_t z5 = mulShift(x1 + x3 + x5 + x7, 77062);
    const int32_t y1 = mulShift(x7 + x1, -58980);
    const int32_t y2 = mulShift(x5 + x3, -167963);
    const int32_t y3 = z5 + mulShift(x7 + x3, -128553);
    const int32_t y4 = z5 + mulShift(x5 + x1, -25570);
    const int32_t o0 = mulShift(x7, 19571) + y1 + y3;
    const int32_t o1 = mulShift(x5, 134553) + y2 + y4;
    const int32_t o2 = mulShift(x3, 201373) + y2 + y3;
    const int32_t o3 = mulShift(x1, 98390) + y1 + y4;

    out[0] = t10 + o3;
    out[1] = t11 + o2;
    out[2] = t12 + o1;
    out[3] = t13 + o0;
    out[4] = t13 - o0;
    out[5] = t12 - o1;
    out[6] = t11 - o2;
    out[7] = t10 - o3;
}

}  // namespace

void jbp1IdctScalar(int32_t* coefficients, int16_t* samples) {
    int32_t columns[64];  // column results, 16-bit values widened
    for (int c = 0; c < 8; ++c) {
        const int32_t* x = coefficients + c;
        int32_t out[8];
        if ((x[8] | x[16] | x[24] | x[32] | x[40] | x[48] | x[56]) == 0) {
            for (int r = 0; r < 8; ++r)
                out[r] = x[0];
        } else {
            idct8(x, 8, out);
        }
        for (int r = 0; r < 8; ++r)
            columns[r * 8 + c] = static_cast<int16_t>(out[r]);
    }
    for (int r = 0; r < 8; ++r) {
        int32_t out[8];
        idct8(columns + r * 8, 1, out);
        for (int c = 0; c < 8; ++c)
            samples[r * 8 + c] = static_cast<int16_t>(out[c] >> 3);
    }
    std::memset(coefficients, 0, 64 * sizeof coefficients[0]);
}

}  // namespace zeku
