// Okumura's binary-tree LZSS encoder with the package's parameters. The tree walk, the tie rules
// and the stale look-ahead bytes at the end of the input all shape the output, so they are kept
// exactly; the speed comes from comparing eight bytes at a time, loading both children ahead
// of each comparison, and a descent without data-dependent branches.
#include "common/lzss/lzss.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zeku {
namespace {

// Eight bytes as a big-endian number: comparing two of them orders the strings as bytes do.
inline uint64_t loadBe64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
    return v;
}

}  // namespace

// Both children of node p, left in the low half. One 32-bit load where the byte order allows:
// the walk's next step waits on this value, and assembling it from two halves adds to that wait.
inline uint32_t LzssEncoder::loadChildren(int p) const {
    if constexpr (std::endian::native == std::endian::little) {
        uint32_t both;
        std::memcpy(&both, child_[p], sizeof both);
        return both;
    } else {
        return static_cast<uint32_t>(child_[p][0]) | static_cast<uint32_t>(child_[p][1]) << 16;
    }
}

// Hangs the string at r into the tree and leaves its longest earlier match in matchPosition_ /
// matchLength_; key0 and key1 hold bytes 1 to 8 and 9 to 16 of the string as big-endian
// numbers. A node with a full 17-byte match is replaced by r, keeping the newest copy.
// The walk is where the encoder spends its time and its outcomes (direction, best match) are
// unpredictable, so it is written as plain arithmetic where it can be: the compiler turns
// conditional expressions into branches.
__attribute__((always_inline)) inline void LzssEncoder::insertNode(int r, uint64_t key0,
                                                                   uint64_t key1) {
    child_[r][0] = child_[r][1] = kNil;
    int p = kWindow + 1 + text_[r];
    int next = child_[p][1];  // roots only have right children
    if (next == kNil) {
        child_[p][1] = static_cast<uint16_t>(r);
        parent_[r] = static_cast<uint16_t>(p);
        matchLength_ = 0;
        return;
    }
    // The node about to be compared, already loaded: the start of its string and its children.
    uint64_t node0 = loadBe64(text_ + next + 1);
    uint32_t children = loadChildren(next);
    // Match length in the high half, position in the low half.
    uint32_t best = 0;
    for (;;) {
        p = next;
        // Load both children before knowing which way to go: the step down then costs a
        // selection instead of a load after the comparison. A missing child reads node kNil.
        const int left = static_cast<int>(children & 0xFFFF);
        const int right = static_cast<int>(children >> 16);
        const uint64_t left0 = loadBe64(text_ + left + 1);
        const uint32_t leftChildren = loadChildren(left);
        const uint64_t right0 = loadBe64(text_ + right + 1);
        const uint32_t rightChildren = loadChildren(right);

        // Bytes equal from the first on (the first byte is the root's), 17 for a full match.
        // Equal strings go right, like a positive difference of the first unequal bytes.
        const uint64_t diff0 = key0 ^ node0;
        unsigned i = 1 + (static_cast<unsigned>(__builtin_clzll(diff0 | 1)) >> 3);
        unsigned dir = key0 > node0;
        if (diff0 == 0) {  // rare: the first nine bytes match
            const uint64_t node1 = loadBe64(text_ + p + 9);
            const uint64_t diff1 = key1 ^ node1;
            i = 9 + (static_cast<unsigned>(__builtin_clzll(diff1 | 1)) >> 3) + (diff1 == 0);
            dir = key1 >= node1;
        }
        const uint32_t candidate = i << 16 | static_cast<uint32_t>(p);
        uint32_t better = 0u - static_cast<uint32_t>(i > best >> 16);
        // Keeps the selection arithmetic: as a branch it would be mispredicted all the time.
        __asm__("" : "+r"(better));
        best ^= (best ^ candidate) & better;
        if (i >= kMaxMatch) break;

        const uint64_t pick = 0 - static_cast<uint64_t>(dir);
        next = left ^ ((left ^ right) & static_cast<int>(pick));
        if (next == kNil) {
            child_[p][dir] = static_cast<uint16_t>(r);
            parent_[r] = static_cast<uint16_t>(p);
            matchLength_ = static_cast<int>(best >> 16);
            matchPosition_ = static_cast<int>(best & 0xFFFF);
            return;
        }
        node0 = left0 ^ ((left0 ^ right0) & pick);
        children = leftChildren ^ ((leftChildren ^ rightChildren) & static_cast<uint32_t>(pick));
    }
    matchLength_ = static_cast<int>(best >> 16);
    matchPosition_ = static_cast<int>(best & 0xFFFF);
    // r takes p's place and p leaves the tree.
    const int up = parent_[p];
    parent_[r] = static_cast<uint16_t>(up);
    child_[r][0] = child_[p][0];
    child_[r][1] = child_[p][1];
    parent_[child_[p][0]] = static_cast<uint16_t>(r);
    parent_[child_[p][1]] = static_cast<uint16_t>(r);
    child_[up][child_[up][1] == p ? 1 : 0] = static_cast<uint16_t>(r);
    parent_[p] = kNil;
}

// Standard deletion: a node with two children is replaced by its in-order predecessor, one with
// a single child by that child.
inline void LzssEncoder::deleteNode(int p) {
    if (parent_[p] == kNil) return;
    const int left = child_[p][0];
    const int right = child_[p][1];
    // With at most one child, the one that is there (or none): a branch less to mispredict.
    int q = left ^ right ^ kNil;
    if (left != kNil && right != kNil) {
        q = left;
        if (child_[q][1] != kNil) {
            do {
                q = child_[q][1];
            } while (child_[q][1] != kNil);
            const int qUp = parent_[q];
            child_[qUp][1] = child_[q][0];
            parent_[child_[q][0]] = static_cast<uint16_t>(qUp);
            child_[q][0] = static_cast<uint16_t>(left);
            parent_[left] = static_cast<uint16_t>(q);
        }
        child_[q][1] = static_cast<uint16_t>(right);
        parent_[right] = static_cast<uint16_t>(q);
    }
    const int up = parent_[p];
    parent_[q] = static_cast<uint16_t>(up);
    child_[up][child_[up][1] == p ? 1 : 0] = static_cast<uint16_t>(q);
    parent_[p] = kNil;
}

ptrdiff_t LzssEncoder::encode(uint8_t* dest, size_t destCapacity, const uint8_t* src,
                              size_t srcLength) {
    if (srcLength == 0) return -1;
    // Everything zero, not only the preset: short inputs compare against the untouched tail of
    // the look-ahead and the mirror, and that decides the tree shape.
    std::memset(text_, 0, sizeof text_);
    std::fill(&parent_[0], &parent_[kNodes], static_cast<uint16_t>(kNil));
    for (int c = 0; c < 256; ++c)
        child_[kWindow + 1 + c][1] = kNil;
    // The walk loads the children of kNil along with real ones (and then ignores them).
    child_[kNil][0] = child_[kNil][1] = kNil;

    const uint8_t* in = src;
    const uint8_t* const inEnd = src + srcLength;
    int s = 0;
    int r = kWindow - kMaxMatch;
    int len = static_cast<int>(std::min(srcLength, kLzssMaxMatch));
    std::memcpy(text_ + r, in, static_cast<size_t>(len));
    in += len;
    for (int i = 1; i <= kMaxMatch; ++i) {
        insertNode(r - i, loadBe64(text_ + r - i + 1), loadBe64(text_ + r - i + 9));
    }
    // The string at r, kept in registers as it slides: reading it back from the window right
    // after storing its newest byte would stall on the store.
    uint64_t key0 = loadBe64(text_ + r + 1);
    uint64_t key1 = loadBe64(text_ + r + 9);
    insertNode(r, key0, key1);

    uint8_t code[1 + 2 * 8];
    code[0] = 0;
    size_t codeLength = 1;
    unsigned mask = 1;
    size_t written = 0;
    do {
        if (matchLength_ > len) matchLength_ = len;
        if (matchLength_ <= 1) {
            matchLength_ = 1;
            code[0] |= static_cast<uint8_t>(mask);
            code[codeLength++] = text_[r];
        } else {
            code[codeLength++] = static_cast<uint8_t>(matchPosition_);
            code[codeLength++] =
                static_cast<uint8_t>(((matchPosition_ >> 4) & 0xF0) | (matchLength_ - 2));
        }
        if (mask == 0x80) {
            if (destCapacity - written < codeLength) return -1;
            std::memcpy(dest + written, code, codeLength);
            written += codeLength;
            code[0] = 0;
            codeLength = 1;
            mask = 1;
        } else {
            mask <<= 1;
        }

        // Each step retires the oldest string, takes one input byte into its slot (s, the byte
        // just past the look-ahead) and inserts the string that now starts at r.
        const int last = matchLength_;
        int i = 0;
        for (; i < last && in != inEnd; ++i) {
            deleteNode(s);
            const uint8_t c = *in++;
            text_[s] = c;
            if (s < kMaxMatch - 1) text_[s + kWindow] = c;
            key0 = (key0 << 8) | (key1 >> 56);
            key1 = (key1 << 8) | c;
            s = (s + 1) & (kWindow - 1);
            r = (r + 1) & (kWindow - 1);
            insertNode(r, key0, key1);
        }
        // Past the end of the input the window keeps its old bytes; the strings still go in.
        for (; i < last; ++i) {
            deleteNode(s);
            key0 = (key0 << 8) | (key1 >> 56);
            key1 = (key1 << 8) | text_[s];
            s = (s + 1) & (kWindow - 1);
            r = (r + 1) & (kWindow - 1);
            if (--len != 0) insertNode(r, key0, key1);
        }
    } while (len > 0);

    if (codeLength > 1) {
        if (destCapacity - written < codeLength) return -1;
        std::memcpy(dest + written, code, codeLength);
        written += codeLength;
    }
    return static_cast<ptrdiff_t>(written);
}

ptrdiff_t lzssEncode(uint8_t* dest, size_t destCapacity, const uint8_t* src, size_t srcLength) {
    LzssEncoder encoder;
    return encoder.encode(dest, destCapacity, src, srcLength);
}

}  // namespace zeku
