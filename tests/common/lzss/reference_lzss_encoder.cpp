// A straight transcription of Okumura's encoder with a 2048-byte window, 17-byte matches,
// threshold 1 and a zero preset; slow on purpose, nothing clever to get wrong.
#include "tests/common/lzss/reference_lzss_encoder.h"

#include <memory>

namespace zeku {
namespace {

constexpr int N = 2048;
constexpr int F = 17;
constexpr int kThreshold = 1;
constexpr int NIL = N;

struct Encoder {
    uint8_t textBuf[N + F - 1] = {};
    int matchPosition = 0;
    int matchLength = 0;
    int lson[N + 1] = {};
    int rson[N + 257] = {};
    int dad[N + 1] = {};

    void initTree() {
        for (int i = N + 1; i <= N + 256; i++)
            rson[i] = NIL;
        for (int i = 0; i < N; i++)
            dad[i] = NIL;
    }

    void insertNode(int r) {
        int cmp = 1;
        const uint8_t* key = &textBuf[r];
        int p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL) {
                    p = rson[p];
                } else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL) {
                    p = lson[p];
                } else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            int i;
            for (i = 1; i < F; i++) {
                if ((cmp = key[i] - textBuf[p + i]) != 0) break;
            }
            if (i > matchLength) {
                matchPosition = p;
                if ((matchLength = i) >= F) break;
            }
        }
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p) {
            rson[dad[p]] = r;
        } else {
            lson[dad[p]] = r;
        }
        dad[p] = NIL;
    }

    void deleteNode(int p) {
        int q;
        if (dad[p] == NIL) return;
        if (rson[p] == NIL) {
            q = lson[p];
        } else if (lson[p] == NIL) {
            q = rson[p];
        } else {
            q = lson[p];
            if (rson[q] != NIL) {
                do {
                    q = rson[q];
                } while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p) {
            rson[dad[p]] = q;
        } else {
            lson[dad[p]] = q;
        }
        dad[p] = NIL;
    }

    std::vector<uint8_t> encode(const std::vector<uint8_t>& data) {
        std::vector<uint8_t> out;
        size_t next = 0;
        auto getc = [&]() -> int { return next < data.size() ? data[next++] : -1; };

        initTree();
        uint8_t codeBuf[17];
        codeBuf[0] = 0;
        int codeBufPtr = 1;
        uint8_t mask = 1;
        int s = 0;
        int r = N - F;
        for (int i = s; i < r; i++)
            textBuf[i] = 0;
        int len;
        int c;
        for (len = 0; len < F && (c = getc()) != -1; len++)
            textBuf[r + len] = static_cast<uint8_t>(c);
        if (len == 0) return out;
        for (int i = 1; i <= F; i++)
            insertNode(r - i);
        insertNode(r);
        do {
            if (matchLength > len) matchLength = len;
            if (matchLength <= kThreshold) {
                matchLength = 1;
                codeBuf[0] |= mask;
                codeBuf[codeBufPtr++] = textBuf[r];
            } else {
                codeBuf[codeBufPtr++] = static_cast<uint8_t>(matchPosition);
                codeBuf[codeBufPtr++] = static_cast<uint8_t>(((matchPosition >> 4) & 0xf0) |
                                                             (matchLength - (kThreshold + 1)));
            }
            if ((mask = static_cast<uint8_t>(mask << 1)) == 0) {
                out.insert(out.end(), codeBuf, codeBuf + codeBufPtr);
                codeBuf[0] = 0;
                codeBufPtr = mask = 1;
            }
            const int lastMatchLength = matchLength;
            int i;
            for (i = 0; i < lastMatchLength && (c = getc()) != -1; i++) {
                deleteNode(s);
                textBuf[s] = static_cast<uint8_t>(c);
                if (s < F - 1) textBuf[s + N] = static_cast<uint8_t>(c);
                s = (s + 1) % N;
                r = (r + 1) % N;
                insertNode(r);
            }
            while (i++ < lastMatchLength) {
                deleteNode(s);
                s = (s + 1) % N;
                r = (r + 1) % N;
                if (--len) insertNode(r);
            }
        } while (len > 0);
        if (codeBufPtr > 1) out.insert(out.end(), codeBuf, codeBuf + codeBufPtr);
        return out;
    }
};

}  // namespace

std::vector<uint8_t> referenceLzssEncode(const std::vector<uint8_t>& data) {
    auto encoder = std::make_unique<Encoder>();
    return encoder->encode(data);
}

}  // namespace zeku
