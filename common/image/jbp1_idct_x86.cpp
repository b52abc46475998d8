// SSE2, SSE4.1 and AVX2 versions of the JBP1 inverse transform. Both keep the
// products in 32-bit lanes (low half of the product, then an arithmetic
// shift), so they give the portable version's results for every input.
#include "common/image/jbp1_idct.h"
#include "common/image/jbp1_idct_pass.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define ZEKU_SSE2 inline __attribute__((target("sse2"), always_inline))
#define ZEKU_AVX2 inline __attribute__((target("avx2"), always_inline))

namespace zeku {

namespace {

// Lane types for the eight-point pass, which takes on the instruction set of
// the kernel it is inlined into.
typedef int32_t I32x4 __attribute__((vector_size(16)));
typedef uint32_t U32x4 __attribute__((vector_size(16)));
typedef int32_t I32x8 __attribute__((vector_size(32)));
typedef uint32_t U32x8 __attribute__((vector_size(32)));

// ---- SSE2: four lanes per vector, the block in left and right halves.

// Low 16 bits of two 4-lane vectors as eight 16-bit values.
ZEKU_SSE2 __m128i truncatePack(__m128i low, __m128i high) {
    low = _mm_srai_epi32(_mm_slli_epi32(low, 16), 16);
    high = _mm_srai_epi32(_mm_slli_epi32(high, 16), 16);
    return _mm_packs_epi32(low, high);  // in range now, so nothing saturates
}

ZEKU_SSE2 void transpose8x16(__m128i* v) {
    const __m128i a0 = _mm_unpacklo_epi16(v[0], v[1]), a1 = _mm_unpackhi_epi16(v[0], v[1]);
    const __m128i a2 = _mm_unpacklo_epi16(v[2], v[3]), a3 = _mm_unpackhi_epi16(v[2], v[3]);
    const __m128i a4 = _mm_unpacklo_epi16(v[4], v[5]), a5 = _mm_unpackhi_epi16(v[4], v[5]);
    const __m128i a6 = _mm_unpacklo_epi16(v[6], v[7]), a7 = _mm_unpackhi_epi16(v[6], v[7]);
    const __m128i b0 = _mm_unpacklo_epi32(a0, a2), b1 = _mm_unpackhi_epi32(a0, a2);
    const __m128i b2 = _mm_unpacklo_epi32(a1, a3), b3 = _mm_unpackhi_epi32(a1, a3);
    const __m128i b4 = _mm_unpacklo_epi32(a4, a6), b5 = _mm_unpackhi_epi32(a4, a6);
    const __m128i b6 = _mm_unpacklo_epi32(a5, a7), b7 = _mm_unpackhi_epi32(a5, a7);
    v[0] = _mm_unpacklo_epi64(b0, b4);
    v[1] = _mm_unpackhi_epi64(b0, b4);
    v[2] = _mm_unpacklo_epi64(b1, b5);
    v[3] = _mm_unpackhi_epi64(b1, b5);
    v[4] = _mm_unpacklo_epi64(b2, b6);
    v[5] = _mm_unpackhi_epi64(b2, b6);
    v[6] = _mm_unpacklo_epi64(b3, b7);
    v[7] = _mm_unpackhi_epi64(b3, b7);
}

// ---- AVX2: eight lanes, one whole row or column per vector.

// `in[j]` holds element (i, j) of a matrix in lane i. Keeps the low 16 bits
// of every element and returns the transposed rows: out[k] holds row k of
// the transpose in its low half and row k + 4 in its high half.
ZEKU_AVX2 void transposeTruncate(const __m256i* in, __m256i* out) {
    const __m256i mask = _mm256_set1_epi32(0xFFFF);
    // Masked to 0..65535, so the unsigned pack keeps every value as it is.
    const __m256i p01 =
        _mm256_packus_epi32(_mm256_and_si256(in[0], mask), _mm256_and_si256(in[1], mask));
    const __m256i p23 =
        _mm256_packus_epi32(_mm256_and_si256(in[2], mask), _mm256_and_si256(in[3], mask));
    const __m256i p45 =
        _mm256_packus_epi32(_mm256_and_si256(in[4], mask), _mm256_and_si256(in[5], mask));
    const __m256i p67 =
        _mm256_packus_epi32(_mm256_and_si256(in[6], mask), _mm256_and_si256(in[7], mask));
    const __m256i a = _mm256_unpacklo_epi16(p01, p23), b = _mm256_unpackhi_epi16(p01, p23);
    const __m256i c = _mm256_unpacklo_epi16(p45, p67), d = _mm256_unpackhi_epi16(p45, p67);
    const __m256i e = _mm256_unpacklo_epi16(a, b), f = _mm256_unpackhi_epi16(a, b);
    const __m256i g = _mm256_unpacklo_epi16(c, d), h = _mm256_unpackhi_epi16(c, d);
    out[0] = _mm256_unpacklo_epi64(e, g);
    out[1] = _mm256_unpackhi_epi64(e, g);
    out[2] = _mm256_unpacklo_epi64(f, h);
    out[3] = _mm256_unpackhi_epi64(f, h);
}

// The four-lane transform. Its lane products compile to whatever the
// calling kernel's instruction set offers: two 32 × 32 → 64 multiplies and
// shuffles on SSE2, one multiply on SSE4.1.
ZEKU_SSE2 void idctFourLanes(int32_t* coefficients, int16_t* samples) {
    // Column pass on the left and right four columns; each row's results
    // become one vector of eight 16-bit values.
    I32x4 x[8], left[8], right[8];
    __m128i rows[8];
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        x[r] = (I32x4)_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 8 * r));
    jbp1IdctPass<I32x4, U32x4>(x, left);
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        x[r] = (I32x4)_mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 8 * r + 4));
    jbp1IdctPass<I32x4, U32x4>(x, right);
#pragma GCC unroll 16
    for (int i = 0; i < 64; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(coefficients + i), _mm_setzero_si128());
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        rows[r] = truncatePack((__m128i)left[r], (__m128i)right[r]);

    // Row pass on the intermediate's columns: lanes are rows 0-3, then 4-7.
    transpose8x16(rows);
    I32x4 top[8], bottom[8];
#pragma GCC unroll 8
    for (int c = 0; c < 8; ++c)
        x[c] = (I32x4)_mm_srai_epi32(_mm_unpacklo_epi16(rows[c], rows[c]), 16);
    jbp1IdctPass<I32x4, U32x4>(x, top);
#pragma GCC unroll 8
    for (int c = 0; c < 8; ++c)
        x[c] = (I32x4)_mm_srai_epi32(_mm_unpackhi_epi16(rows[c], rows[c]), 16);
    jbp1IdctPass<I32x4, U32x4>(x, bottom);
    __m128i columns[8];
#pragma GCC unroll 8
    for (int c = 0; c < 8; ++c)
        columns[c] = truncatePack((__m128i)(top[c] >> 3), (__m128i)(bottom[c] >> 3));
    transpose8x16(columns);
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(samples + 8 * r), columns[r]);
}

}  // namespace

__attribute__((target("sse2"))) void jbp1IdctSse2(int32_t* coefficients, int16_t* samples) {
    idctFourLanes(coefficients, samples);
}

__attribute__((target("sse4.1"))) void jbp1IdctSse41(int32_t* coefficients, int16_t* samples) {
    idctFourLanes(coefficients, samples);
}

__attribute__((target("avx2"))) void jbp1IdctAvx2(int32_t* coefficients, int16_t* samples) {
    // Column pass: vector r is coefficient row r, lane j its column j, so
    // all eight columns are transformed at once.
    I32x8 x[8], out[8];
    __m256i pairs[4];
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        x[r] = (I32x8)_mm256_loadu_si256(reinterpret_cast<const __m256i*>(coefficients + 8 * r));
    jbp1IdctPass<I32x8, U32x8>(x, out);
#pragma GCC unroll 8
    for (int r = 0; r < 8; ++r)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(coefficients + 8 * r),
                            _mm256_setzero_si256());

    // The intermediate's columns, kept as 16-bit values and widened again.
    transposeTruncate(reinterpret_cast<const __m256i*>(out), pairs);
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
        x[k] = (I32x8)_mm256_cvtepi16_epi32(_mm256_castsi256_si128(pairs[k]));
        x[k + 4] = (I32x8)_mm256_cvtepi16_epi32(_mm256_extracti128_si256(pairs[k], 1));
    }

    // Row pass: lane r is row r; the outputs are the block's columns.
    jbp1IdctPass<I32x8, U32x8>(x, out);
#pragma GCC unroll 8
    for (int c = 0; c < 8; ++c)
        out[c] = out[c] >> 3;
    transposeTruncate(reinterpret_cast<const __m256i*>(out), pairs);
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(samples + 8 * k),
                         _mm256_castsi256_si128(pairs[k]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(samples + 8 * (k + 4)),
                         _mm256_extracti128_si256(pairs[k], 1));
    }
}

}  // namespace zeku

#endif
