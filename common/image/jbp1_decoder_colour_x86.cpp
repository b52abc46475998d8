// SSE2 and AVX2 versions of the JBP1 colour conversion. They work on 16-bit
// lanes yet give the portable version's results for every sample value.
#include "common/image/jbp1_decoder_colour.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

#define ZEKU_SSE2 inline __attribute__((target("sse2"), always_inline))
#define ZEKU_AVX2 inline __attribute__((target("avx2"), always_inline))

namespace zeku {

namespace {

// The colour differences of eight chroma samples, exactly as the 32-bit
// formulas give them, wrap-around included. Each constant is split into a
// multiple of 65536, whose product only adds a multiple of the sample to
// the top half, and a 16-bit rest:
//   91881 = 65536 + 26345, 116129 = 2 × 65536 - 14943, 46801 = 65536 - 18735.
// The rest's product fits 32 bits, so its top half (mulhi, or a madd for
// the two-term green sum) is exact, and adding the sample multiple in
// wrapping 16-bit arithmetic is the 32-bit wrap seen from the top half.
struct ColourDifferences {
    __m128i red, green, blue;
};

ZEKU_SSE2 ColourDifferences colourDifferences(__m128i cb, __m128i cr) {
    ColourDifferences d;
    d.red = _mm_add_epi16(cr, _mm_mulhi_epi16(cr, _mm_set1_epi16(26345)));
    d.blue = _mm_add_epi16(_mm_add_epi16(cb, cb), _mm_mulhi_epi16(cb, _mm_set1_epi16(-14943)));
    const __m128i pairFactors = _mm_set1_epi32(22553 | static_cast<int32_t>(0xB6D10000u));
    const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi16(cb, cr), pairFactors);
    const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi16(cb, cr), pairFactors);
    const __m128i top = _mm_packs_epi32(_mm_srai_epi32(low, 16), _mm_srai_epi32(high, 16));
    d.green = _mm_add_epi16(top, cr);
    return d;
}

// clamp(v + 128) to 0..255, where v is y + d or y - d taken with saturation.
// That is exact after the clamp: y ± d only saturates when the true value is
// far outside -128..127 on the same side.
ZEKU_SSE2 __m128i channel(__m128i v) {
    v = _mm_adds_epi16(v, _mm_set1_epi16(128));
    return _mm_min_epi16(_mm_max_epi16(v, _mm_setzero_si128()), _mm_set1_epi16(255));
}

ZEKU_SSE2 __m128i pack565(__m128i r, __m128i g, __m128i b) {
    const __m128i red = _mm_slli_epi16(_mm_and_si128(r, _mm_set1_epi16(0xF8)), 8);
    const __m128i green = _mm_slli_epi16(_mm_and_si128(g, _mm_set1_epi16(0xFC)), 3);
    return _mm_or_si128(_mm_or_si128(red, green), _mm_srli_epi16(b, 3));
}

ZEKU_AVX2 __m256i channel(__m256i v) {
    v = _mm256_adds_epi16(v, _mm256_set1_epi16(128));
    return _mm256_min_epi16(_mm256_max_epi16(v, _mm256_setzero_si256()), _mm256_set1_epi16(255));
}

ZEKU_AVX2 __m256i pack565(__m256i r, __m256i g, __m256i b) {
    const __m256i red = _mm256_slli_epi16(_mm256_and_si256(r, _mm256_set1_epi16(0xF8)), 8);
    const __m256i green = _mm256_slli_epi16(_mm256_and_si256(g, _mm256_set1_epi16(0xFC)), 3);
    return _mm256_or_si256(_mm256_or_si256(red, green), _mm256_srli_epi16(b, 3));
}

// Eight chroma values doubled into sixteen, one per pixel of a row.
ZEKU_AVX2 __m256i doubled(__m128i v) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_unpacklo_epi16(v, v)),
                                   _mm_unpackhi_epi16(v, v), 1);
}

}  // namespace

__attribute__((target("sse2"))) void jbp1ColourSse2(const int16_t* blocks, uint16_t* pixels,
                                                    size_t stride) {
    for (int cy = 0; cy < 8; ++cy) {
        const __m128i cb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 256 + 8 * cy));
        const __m128i cr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 320 + 8 * cy));
        const ColourDifferences d = colourDifferences(cb, cr);
        const __m128i drLeft = _mm_unpacklo_epi16(d.red, d.red);
        const __m128i drRight = _mm_unpackhi_epi16(d.red, d.red);
        const __m128i dgLeft = _mm_unpacklo_epi16(d.green, d.green);
        const __m128i dgRight = _mm_unpackhi_epi16(d.green, d.green);
        const __m128i dbLeft = _mm_unpacklo_epi16(d.blue, d.blue);
        const __m128i dbRight = _mm_unpackhi_epi16(d.blue, d.blue);
        for (int dy = 0; dy < 2; ++dy) {
            const int py = 2 * cy + dy;
            const int16_t* left = blocks + (py >> 3) * 128 + (py & 7) * 8;
            const __m128i yl = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left));
            const __m128i yr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left + 64));
            uint16_t* row = pixels + static_cast<size_t>(py) * stride;
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(row),
                pack565(channel(_mm_adds_epi16(yl, drLeft)), channel(_mm_subs_epi16(yl, dgLeft)),
                        channel(_mm_adds_epi16(yl, dbLeft))));
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(row + 8),
                pack565(channel(_mm_adds_epi16(yr, drRight)), channel(_mm_subs_epi16(yr, dgRight)),
                        channel(_mm_adds_epi16(yr, dbRight))));
        }
    }
}

__attribute__((target("avx2"))) void jbp1ColourAvx2(const int16_t* blocks, uint16_t* pixels,
                                                    size_t stride) {
    for (int cy = 0; cy < 8; ++cy) {
        const __m128i cb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 256 + 8 * cy));
        const __m128i cr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 320 + 8 * cy));
        const ColourDifferences d = colourDifferences(cb, cr);
        const __m256i dr = doubled(d.red);
        const __m256i dg = doubled(d.green);
        const __m256i db = doubled(d.blue);
        for (int dy = 0; dy < 2; ++dy) {
            const int py = 2 * cy + dy;
            const int16_t* left = blocks + (py >> 3) * 128 + (py & 7) * 8;
            const __m256i y = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(left))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(left + 64)), 1);
            _mm256_storeu_si256(
                reinterpret_cast<__m256i*>(pixels + static_cast<size_t>(py) * stride),
                pack565(channel(_mm256_adds_epi16(y, dr)), channel(_mm256_subs_epi16(y, dg)),
                        channel(_mm256_adds_epi16(y, db))));
        }
    }
}

}  // namespace zeku

#endif
