// Ring-buffer LZSS decoder, one byte at a time; window slots not yet written read as zero.
#include "tests/common/lzss/reference_lzss_decoder.h"

namespace zeku {

std::vector<uint8_t> referenceLzssDecode(const uint8_t* src, size_t srcLength) {
    constexpr unsigned N = 2048;
    uint8_t dictionary[N] = {};
    unsigned r = N - 17;
    unsigned flags = 0;
    size_t next = 0;
    std::vector<uint8_t> out;
    for (;;) {
        flags >>= 1;
        if ((flags & 0x100) == 0) {
            if (next == srcLength) break;
            flags = src[next++] | 0xFF00u;
        }
        if (flags & 1) {
            if (next == srcLength) break;
            const uint8_t c = src[next++];
            out.push_back(c);
            dictionary[r] = c;
            r = (r + 1) % N;
        } else {
            if (next == srcLength) break;
            const unsigned b0 = src[next++];
            if (next == srcLength) break;
            const unsigned b1 = src[next++];
            const unsigned position = b0 | ((b1 & 0xF0) << 4);
            const unsigned length = (b1 & 0x0F) + 2;
            for (unsigned k = 0; k < length; ++k) {
                const uint8_t c = dictionary[(position + k) % N];
                out.push_back(c);
                dictionary[r] = c;
                r = (r + 1) % N;
            }
        }
    }
    return out;
}

}  // namespace zeku
