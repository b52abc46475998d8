// Bit reversal of whole byte runs, done once per stream so that the
// decoder's reader can work most-significant-bit first.
#include "common/image/jbp1_bit_reader.h"

namespace zeku {

void reverseBitsInBytes(const uint8_t* in, size_t length, uint8_t* out) {
    // Eight bytes at a time with mask-and-shift swaps: halves, pairs, bits.
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t v;
        std::memcpy(&v, in + i, sizeof v);
        v = ((v >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((v & 0x0F0F0F0F0F0F0F0Full) << 4);
        v = ((v >> 2) & 0x3333333333333333ull) | ((v & 0x3333333333333333ull) << 2);
        v = ((v >> 1) & 0x5555555555555555ull) | ((v & 0x5555555555555555ull) << 1);
        std::memcpy(out + i, &v, sizeof v);
    }
    for (; i < length; ++i) {
        uint32_t b = in[i];
        b = ((b >> 4) & 0x0Fu) | ((b & 0x0Fu) << 4);
        b = ((b >> 2) & 0x33u) | ((b & 0x33u) << 2);
        b = ((b >> 1) & 0x55u) | ((b & 0x55u) << 1);
        out[i] = static_cast<uint8_t>(b);
    }
}

}  // namespace zeku
