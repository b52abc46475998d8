// LZSS decoder writing straight into the caller's buffer. The output is its own dictionary: a
// reference to window position p is a copy from a fixed distance back, and the window's zero
// preset is whatever lies before the start of the output. No ring buffer, no copy through one.
#include <bit>
#include <cstring>

#include "common/lzss/lzss.h"

// ZEKU_LZSS_PORTABLE leaves out the SSSE3 path, to test the portable one on an x86 machine.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(ZEKU_LZSS_PORTABLE)
#include <immintrin.h>
#define ZEKU_LZSS_SSSE3 1
#endif

namespace zeku {
namespace {

constexpr size_t kWindowMask = kLzssWindowSize - 1;
// Whole groups take the fast path while a group of eight two-byte references fits in the source
// and eight 17-byte copies fit in the destination: no bounds checks inside a group.
constexpr size_t kGroupMaxIn = 1 + 8 * 2;
constexpr size_t kGroupMaxOut = 8 * kLzssMaxMatch;

// Output index `written` lands on window position (2031 + written) mod 2048, so position p was
// last written this many bytes back (1 to 2048; 2048 when p is the slot about to be written).
inline size_t referenceDistance(size_t written, unsigned position) {
    return ((written + kLzssFirstWritePosition - 1 - position) & kWindowMask) + 1;
}

inline unsigned referencePosition(unsigned b0, unsigned b1) {
    return b0 | ((b1 & 0xF0) << 4);
}
inline size_t referenceLength(unsigned b1) {
    return (b1 & 0x0F) + 2;
}

// Byte-wise copy of `length` bytes from `distance` back, reading zeros before the output start.
void copyReference(uint8_t* dest, size_t written, size_t distance, size_t length) {
    size_t i = 0;
    if (distance > written) {
        i = distance - written < length ? distance - written : length;
        for (size_t k = 0; k < i; ++k)
            dest[written + k] = 0;
    }
    for (; i < length; ++i)
        dest[written + i] = dest[written + i - distance];
}

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void store64(uint8_t* p, uint64_t v) {
    std::memcpy(p, &v, sizeof v);
}

// A reference that overlaps its own output (distance < length, so at most 16): a run with a
// period of `distance` bytes. Writes 17 bytes whatever the length; the extra ones are scratch.
inline void copyRun(uint8_t* out, ptrdiff_t distance) {
    ptrdiff_t period = distance;
    if (distance < 8) {
        uint64_t pattern;
        switch (distance) {
            case 1:
                pattern = out[-1] * 0x0101010101010101ull;
                break;
            case 2: {
                uint16_t v;
                std::memcpy(&v, out - 2, 2);
                pattern = v * 0x0001000100010001ull;
                break;
            }
            case 4: {
                uint32_t v;
                std::memcpy(&v, out - 4, 4);
                pattern = v * 0x0000000100000001ull;
                break;
            }
            default:
                for (ptrdiff_t k = 0; k < 8; ++k)
                    out[k] = out[k - distance];
                pattern = load64(out);
                break;
        }
        store64(out, pattern);
        // The smallest multiple of the period that is at least 8 keeps the run going with
        // eight-byte copies that do not overlap their source.
        static constexpr uint8_t kStride[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        period = kStride[distance];
    } else {
        store64(out, load64(out - distance));
    }
    store64(out + 8, load64(out + 8 - period));
    out[16] = out[16 - period];
}

// Output beyond the capacity means the stream and its recorded size disagree: damage.
ParseError overflowAt(const uint8_t* src, const uint8_t* item) {
    return ParseError("stream holds more bytes than the destination",
                      static_cast<uint64_t>(item - src));
}

// Where the fast paths stopped: always at a group boundary.
struct Cursor {
    uint8_t* out;
    const uint8_t* in;
};

// Whole groups with no bounds checks, one branch per item. Runs on any CPU.
Cursor decodeGroupsPortable(uint8_t* dest, Cursor at, const uint8_t* inEnd, uint8_t* outEnd) {
    uint8_t* out = at.out;
    const uint8_t* in = at.in;
    while (static_cast<size_t>(inEnd - in) >= kGroupMaxIn &&
           static_cast<size_t>(outEnd - out) >= kGroupMaxOut) {
        unsigned flags = *in++;
        if (flags == 0xFF) {
            std::memcpy(out, in, 8);
            in += 8;
            out += 8;
            continue;
        }
        for (int item = 0; item < 8; ++item, flags >>= 1) {
            if (flags & 1) {
                *out++ = *in++;
                continue;
            }
            const unsigned b0 = in[0];
            const unsigned b1 = in[1];
            in += 2;
            const size_t length = referenceLength(b1);
            const size_t written = static_cast<size_t>(out - dest);
            const size_t distance = referenceDistance(written, referencePosition(b0, b1));
            const ptrdiff_t back = static_cast<ptrdiff_t>(distance);
            if (distance > written) {
                copyReference(dest, written, distance, length);
            } else if (distance >= length) {
                // Sixteen bytes through a register, so a source that overlaps the scratch
                // bytes past `length` is still read before it is written.
                uint8_t chunk[16];
                std::memcpy(chunk, out - back, 16);
                std::memcpy(out, chunk, 16);
                out[16] = out[16 - back];
            } else {
                copyRun(out, back);
            }
            out += length;
        }
    }
    return {out, in};
}

#if ZEKU_LZSS_SSSE3
// Byte shuffles that repeat the first d bytes of a 16-byte load, in row d - 1 for d = 1 to 16:
// any reference, run or not, becomes one load, one shuffle and one store. Row 15 copies as is.
struct alignas(16) RepeatMasks {
    uint8_t rows[16][16];
    constexpr RepeatMasks() : rows() {
        for (int d = 1; d <= 16; ++d) {
            for (int k = 0; k < 16; ++k)
                rows[d - 1][k] = static_cast<uint8_t>(k % d);
        }
    }
};
constexpr RepeatMasks kRepeatMasks;

// One group on the fast path. The literals between two references are copied together, 16
// bytes at a time, so the only data-dependent branch is the loop over the group's references.
// A reference is one load, one shuffle (which repeats the period of a run) and one store.
// Until 2048 bytes are out a reference may reach the zero preset before the output start.
template <bool kNearStart>
__attribute__((target("ssse3"), always_inline)) inline void decodeGroupSsse3(uint8_t* dest,
                                                                             uintptr_t bias,
                                                                             uint8_t*& out,
                                                                             const uint8_t*& in) {
    const unsigned flags = *in++;
    unsigned references = ~flags & 0xFF;
    unsigned item = 0;
    while (references != 0) {
        const unsigned next = static_cast<unsigned>(std::countr_zero(references));
        references &= references - 1;
        const unsigned literals = next - item;
        item = next + 1;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
        out += literals;
        in += literals;

        const unsigned word = in[0] | in[1] << 8;
        in += 2;
        const size_t length = ((word >> 8) & 0x0F) + 2;
        // Distance - 1, from referenceDistance with the output start folded into `bias`.
        const size_t back =
            (reinterpret_cast<uintptr_t>(out) + bias - (word & 0xFF) - ((word >> 4) & 0xF00)) &
            kWindowMask;
        if (kNearStart && back >= static_cast<size_t>(out - dest)) {
            copyReference(dest, static_cast<size_t>(out - dest), back + 1, length);
            out += length;
            continue;
        }
        const uint8_t* from = out - back - 1;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i mask = _mm_load_si128(
            reinterpret_cast<const __m128i*>(kRepeatMasks.rows[back < 15 ? back : 15]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(bytes, mask));
        // The 17th byte: from[16] is out[16 - d], already final when d <= 16.
        out[16] = from[16];
        out += length;
    }
    const unsigned literals = 8 - item;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    out += literals;
    in += literals;
}

// The literal copies read and write 16 bytes whatever their count, so a group needs 16 bytes
// of slack past it in both buffers (a group of eight 17-byte references still ends with one).
__attribute__((target("ssse3"))) Cursor decodeGroupsSsse3(uint8_t* dest, Cursor at,
                                                          const uint8_t* inEnd, uint8_t* outEnd) {
    uint8_t* out = at.out;
    const uint8_t* in = at.in;
    auto room = [&] {
        return static_cast<size_t>(inEnd - in) >= kGroupMaxIn + 16 &&
               static_cast<size_t>(outEnd - out) >= kGroupMaxOut + 16;
    };
    const uintptr_t bias = kLzssFirstWritePosition - 1 - reinterpret_cast<uintptr_t>(dest);
    while (static_cast<size_t>(out - dest) < kLzssWindowSize && room()) {
        decodeGroupSsse3<true>(dest, bias, out, in);
    }
    while (room())
        decodeGroupSsse3<false>(dest, bias, out, in);
    return {out, in};
}
#endif

}  // namespace

Parsed<size_t> lzssDecode(uint8_t* dest, size_t destCapacity, const uint8_t* src,
                          size_t srcLength) {
    Cursor at{dest, src};
    const uint8_t* const inEnd = src + srcLength;
#if ZEKU_LZSS_SSSE3
    if (__builtin_cpu_supports("ssse3")) {
        at = decodeGroupsSsse3(dest, at, inEnd, dest + destCapacity);
    }
#endif
    at = decodeGroupsPortable(dest, at, inEnd, dest + destCapacity);
    const uint8_t* in = at.in;

    // The last groups, item by item with every bound checked.
    size_t written = static_cast<size_t>(at.out - dest);
    unsigned flags = 0;
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (in == inEnd) break;
            flags = *in++ | 0xFF00u;
        }
        if (flags & 1) {
            if (in == inEnd) break;
            if (written == destCapacity) return overflowAt(src, in);
            dest[written++] = *in++;
            continue;
        }
        if (inEnd - in < 2) break;
        const unsigned b0 = in[0];
        const unsigned b1 = in[1];
        in += 2;
        const size_t length = referenceLength(b1);
        const size_t room = destCapacity - written;
        const size_t distance = referenceDistance(written, referencePosition(b0, b1));
        copyReference(dest, written, distance, length < room ? length : room);
        if (length > room) return overflowAt(src, in - 2);
        written += length;
    }
    return written;
}

}  // namespace zeku
