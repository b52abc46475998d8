// The present's hot loop. The common placements (the window back end and a
// landscape panel) store a game row as one ascending run of 16-bit pixels,
// which gets its own loop; a portrait panel walks a device column instead.
#include "player/shell/screen_present.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZEKU_PRESENT_SSSE3 1
#endif

namespace zeku {
namespace {

inline void store565(uint8_t* at, uint16_t value) {
    std::memcpy(at, &value, 2);
}

#if ZEKU_PRESENT_SSSE3
// Sixteen pixels per step: byte shuffles split 48 interleaved bytes into
// blue, green and red lanes, which are packed in 16-bit arithmetic.
// Returns how many pixels it converted (a multiple of 16).
__attribute__((target("ssse3"))) int convertRunSsse3(const uint8_t* source, int count,
                                                     uint8_t* dest) {
    const __m128i blueA = _mm_setr_epi8(0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i blueB =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14, -1, -1, -1, -1, -1);
    const __m128i blueC =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, 4, 7, 10, 13);
    const __m128i greenA =
        _mm_setr_epi8(1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i greenB =
        _mm_setr_epi8(-1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1);
    const __m128i greenC =
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14);
    const __m128i redA = _mm_setr_epi8(2, 5, 8, 11, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i redB = _mm_setr_epi8(-1, -1, -1, -1, -1, 1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1);
    const __m128i redC = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15);
    const __m128i zero = _mm_setzero_si128();
    const __m128i redMask = _mm_set1_epi16(0xF8);
    const __m128i greenMask = _mm_set1_epi16(0xFC);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const uint8_t* p = source + i * 3;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        const __m128i blue =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, blueA), _mm_shuffle_epi8(b, blueB)),
                         _mm_shuffle_epi8(c, blueC));
        const __m128i green =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, greenA), _mm_shuffle_epi8(b, greenB)),
                         _mm_shuffle_epi8(c, greenC));
        const __m128i red =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, redA), _mm_shuffle_epi8(b, redB)),
                         _mm_shuffle_epi8(c, redC));
        for (int half = 0; half < 2; ++half) {
            const __m128i b16 =
                half == 0 ? _mm_unpacklo_epi8(blue, zero) : _mm_unpackhi_epi8(blue, zero);
            const __m128i g16 =
                half == 0 ? _mm_unpacklo_epi8(green, zero) : _mm_unpackhi_epi8(green, zero);
            const __m128i r16 =
                half == 0 ? _mm_unpacklo_epi8(red, zero) : _mm_unpackhi_epi8(red, zero);
            const __m128i packed =
                _mm_or_si128(_mm_or_si128(_mm_slli_epi16(_mm_and_si128(r16, redMask), 8),
                                          _mm_slli_epi16(_mm_and_si128(g16, greenMask), 3)),
                             _mm_srli_epi16(b16, 3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i * 2 + half * 16), packed);
        }
    }
    return i;
}

const bool kHasSsse3 = __builtin_cpu_supports("ssse3");
#endif

// Converts `count` surface pixels starting at `source` into a run whose
// consecutive pixels are `step` bytes apart.
void convertRun(const uint8_t* source, int count, uint8_t* dest, ptrdiff_t step) {
    if (step == 2) {
        int i = 0;
#if ZEKU_PRESENT_SSSE3
        if (kHasSsse3) i = convertRunSsse3(source, count, dest);
#endif
        for (; i < count; ++i) {
            const uint8_t* p = source + i * 3;
            store565(dest + i * 2, packRgb565(p[0], p[1], p[2]));
        }
        return;
    }
    for (int i = 0; i < count; ++i, dest += step) {
        const uint8_t* p = source + i * 3;
        store565(dest, packRgb565(p[0], p[1], p[2]));
    }
}

void blackRun(int count, uint8_t* dest, ptrdiff_t step) {
    if (step == 2) {
        std::memset(dest, 0, static_cast<size_t>(count) * 2);
        return;
    }
    for (int i = 0; i < count; ++i, dest += step)
        store565(dest, 0);
}

}  // namespace

void presentScreen(const ScreenSurface& surface, uint8_t* base, const GXDisplayProperties& props,
                   const ScreenRect* rect, int sourceX, int sourceY, DisplayBackEnd* showOn) {
    if (base == nullptr || !surface.hasPixels()) return;
    const int width = surface.width();
    const int height = surface.height();
    ScreenRect area{0, 0, width, height};
    if (rect != nullptr) {
        area.left = std::max(rect->left, 0);
        area.top = std::max(rect->top, 0);
        area.right = std::min(rect->right, width);
        area.bottom = std::min(rect->bottom, height);
    } else {
        sourceX = 0;
        sourceY = 0;
    }
    if (area.left >= area.right || area.top >= area.bottom) return;
    if (rect != nullptr) {
        // Keep the source point aligned with the clipped corner.
        sourceX += area.left - rect->left;
        sourceY += area.top - rect->top;
    }

    const ptrdiff_t xStep = -static_cast<ptrdiff_t>(props.cbyPitch);  // one game column right
    const ptrdiff_t yStep = props.cbxPitch;                           // one game row down
    const int count = area.right - area.left;
    uint8_t* rowStart =
        base + static_cast<ptrdiff_t>(props.cbyPitch) * (width - 1 - area.left) + yStep * area.top;
    for (int y = area.top; y < area.bottom; ++y, rowStart += yStep) {
        const int sy = sourceY + (y - area.top);
        if (sy < 0 || sy >= height) {
            blackRun(count, rowStart, xStep);
            continue;
        }
        // Columns whose source lies left of, inside, and right of the surface.
        const int leftBlack = std::clamp(-sourceX, 0, count);
        const int inside = std::clamp(width - sourceX, 0, count) - leftBlack;
        uint8_t* dest = rowStart;
        if (leftBlack > 0) blackRun(leftBlack, dest, xStep);
        dest += xStep * leftBlack;
        if (inside > 0) convertRun(surface.pixel(sourceX + leftBlack, sy), inside, dest, xStep);
        dest += xStep * std::max(inside, 0);
        const int rightBlack = count - leftBlack - std::max(inside, 0);
        if (rightBlack > 0) blackRun(rightBlack, dest, xStep);
    }
    if (showOn != nullptr && rect != nullptr) showOn->showRect(&area);
}

}  // namespace zeku
