// The portable JBP1 inverse transform, also the model the vector versions
// are checked against.
#include "common/image/jbp1_idct.h"
#include "common/image/jbp1_idct_pass.h"

#include <cstring>

namespace zeku {

namespace {

// One 8-point pass over x[0], x[stride], ... x[7 * stride].
inline void idct8(const int32_t* x, int stride, int32_t* out) {
    const int32_t in[8] = {x[0],          x[stride],     x[2 * stride], x[3 * stride],
                           x[4 * stride], x[5 * stride], x[6 * stride], x[7 * stride]};
    jbp1IdctPass<int32_t, uint32_t>(in, out);
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
