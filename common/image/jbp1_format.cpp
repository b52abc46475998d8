// The JBP1 pieces both the encoder and the decoder rely on: header fields,
// the count-driven Huffman tree, size categories, zigzag order, count packing.
#include "common/image/jbp1_format.h"

#include <cstring>

#include "common/bytes/byte_buffer.h"
#include "common/bytes/byte_reader.h"
#include "common/bytes/byte_writer.h"

namespace zeku {

namespace {

// Weights at or above this never join the tree.
constexpr uint64_t kUnfindableWeight = 2099999999;

constexpr size_t kAcCountBytes = 4 * kJbp1AcSymbols;

// Candidates for the next join, lightest first and, among equal weights,
// lowest index first: popping two gives exactly the pair that scanning all
// live nodes twice would find, in a fraction of the time (the decoder builds
// two trees per picture).
class NodeHeap {
  public:
    struct Node {
        uint64_t weight;
        int index;
    };
    int size() const { return size_; }
    void push(Node node) {
        int i = size_++;
        while (i > 0 && before(node, nodes_[(i - 1) / 2])) {
            nodes_[i] = nodes_[(i - 1) / 2];
            i = (i - 1) / 2;
        }
        nodes_[i] = node;
    }
    Node pop() {
        const Node top = nodes_[0];
        const Node last = nodes_[--size_];
        int i = 0;
        for (;;) {
            int c = 2 * i + 1;
            if (c >= size_) break;
            if (c + 1 < size_ && before(nodes_[c + 1], nodes_[c])) ++c;
            if (!before(nodes_[c], last)) break;
            nodes_[i] = nodes_[c];
            i = c;
        }
        nodes_[i] = last;
        return top;
    }

  private:
    static bool before(const Node& a, const Node& b) {
        return a.weight < b.weight || (a.weight == b.weight && a.index < b.index);
    }
    Node nodes_[2 * kJbp1AcSymbols];
    int size_ = 0;
};

uint32_t lowMask(int bits) {
    if (bits <= 0) return 0;
    if (bits >= 32) return 0xFFFFFFFFu;
    return (1u << bits) - 1;
}

}  // namespace

const uint8_t kJbp1ZigzagToNatural[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

bool readJbp1Header(const uint8_t* stream, size_t length, Jbp1Header& header) {
    Jbp1Header read;
    ByteReader reader(stream, length);
    syncJbp1Header(reader, read);
    if (!reader.ok()) return false;
    header = read;
    return true;
}

void writeJbp1Header(const Jbp1Header& header, uint8_t out[kJbp1HeaderLength]) {
    ByteWriter writer(out, kJbp1HeaderLength);
    syncJbp1Header(writer, header);
}

void buildJbp1Tree(const uint32_t* counts, int symbolCount, Jbp1Tree& tree) {
    // Out-of-range sizes give a tree without joins, which codes refuse.
    if (symbolCount < 0) symbolCount = 0;
    if (symbolCount > kJbp1AcSymbols) symbolCount = kJbp1AcSymbols;
    tree.symbolCount = symbolCount;
    tree.root = 0;
    std::memset(tree.child, 0, sizeof tree.child);

    // Sums are kept in 64 bits: they equal 32-bit sums for every count a
    // picture can produce, and hostile counts cannot wrap into small weights.
    // A node at or above the cap is never found, so it never joins.
    NodeHeap heap;
    for (int i = 0; i < symbolCount; ++i) {
        if (counts[i] < kUnfindableWeight) heap.push({counts[i], i});
    }
    int nodeCount = symbolCount;
    while (heap.size() >= 2) {
        const NodeHeap::Node first = heap.pop();
        const NodeHeap::Node second = heap.pop();
        tree.child[nodeCount][0] = static_cast<uint16_t>(first.index);
        tree.child[nodeCount][1] = static_cast<uint16_t>(second.index);
        tree.root = nodeCount;
        const uint64_t weight = first.weight + second.weight;
        if (weight < kUnfindableWeight) heap.push({weight, nodeCount});
        ++nodeCount;
    }
}

bool jbp1CodesFromTree(const Jbp1Tree& tree, Jbp1Code* codes) {
    const int symbols = tree.symbolCount;
    for (int i = 0; i < symbols; ++i)
        codes[i] = Jbp1Code{};
    if (symbols < 2 || symbols > kJbp1AcSymbols || tree.root < symbols) return false;

    // Depth-first walk with an explicit stack; a tree of 256 leaves has at
    // most 255 inner nodes, so the stack never holds more than 256 entries.
    struct Pending {
        int node;
        uint32_t bits;
        int length;
    };
    Pending stack[kJbp1AcSymbols + 1];
    int top = 0;
    stack[top++] = {tree.root, 0, 0};
    bool ok = true;
    while (top > 0) {
        const Pending p = stack[--top];
        if (p.node < symbols) {
            if (p.length > 32) {
                ok = false;
            } else {
                codes[p.node].bits = p.bits;
                codes[p.node].length = static_cast<uint8_t>(p.length);
            }
            continue;
        }
        for (int bit = 0; bit < 2; ++bit) {
            const uint32_t bits = p.length < 32 ? (p.bits << 1) | static_cast<uint32_t>(bit) : 0;
            stack[top++] = {tree.child[p.node][bit], bits, p.length + 1};
        }
    }
    // A symbol left out of the tree (only when weights hit the cap) has no
    // code at all, which makes the table as unusable as an overlong code.
    for (int i = 0; i < symbols; ++i)
        if (codes[i].length == 0) ok = false;
    return ok;
}

int jbp1SizeCategory(int value) {
    // Magnitude taken in unsigned arithmetic so INT_MIN cannot overflow.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    int category = 0;
    while (magnitude != 0) {
        ++category;
        magnitude >>= 1;
    }
    return category;
}

uint32_t jbp1ExtraBits(int value, int category) {
    // v - 1 for negatives is the one's complement of |v| in `category` bits.
    uint32_t bits = static_cast<uint32_t>(value);
    if (value < 0) bits -= 1;
    return bits & lowMask(category);
}

int jbp1ValueFromExtraBits(uint32_t extra, int category) {
    if (category <= 0) return 0;
    if (category > 31) category = 31;
    extra &= lowMask(category);
    const int64_t e = extra;
    if (e >= (int64_t{1} << (category - 1))) return static_cast<int>(e);
    return static_cast<int>(e - (int64_t{1} << category) + 1);
}

size_t packJbp1AcCounts(const uint32_t counts[kJbp1AcSymbols], uint8_t* out) {
    uint8_t raw[kAcCountBytes];
    for (int i = 0; i < kJbp1AcSymbols; ++i)
        storeLe32(raw + 4 * i, counts[i]);
    size_t written = 0;
    size_t i = 0;
    while (i < kAcCountBytes) {
        if (raw[i] != 0) {
            out[written++] = raw[i++];
            continue;
        }
        size_t run = 0;
        while (i < kAcCountBytes && raw[i] == 0 && run < 256) {
            ++run;
            ++i;
        }
        out[written++] = 0;
        out[written++] = static_cast<uint8_t>(run - 1);
    }
    for (size_t pad = written; pad % 4 != 0; ++pad)
        out[pad] = 0;
    return written;
}

size_t unpackJbp1AcCounts(const uint8_t* packed, size_t length, uint32_t counts[kJbp1AcSymbols]) {
    uint8_t raw[kAcCountBytes];
    size_t filled = 0;
    size_t read = 0;
    while (filled < kAcCountBytes) {
        if (read >= length) return 0;
        const uint8_t byte = packed[read++];
        if (byte != 0) {
            raw[filled++] = byte;
            continue;
        }
        if (read >= length) return 0;
        const size_t run = static_cast<size_t>(packed[read++]) + 1;
        if (run > kAcCountBytes - filled) return 0;
        std::memset(raw + filled, 0, run);
        filled += run;
    }
    for (int i = 0; i < kJbp1AcSymbols; ++i)
        counts[i] = loadLe32(raw + 4 * i);
    return (read + 3) & ~size_t{3};
}

}  // namespace zeku
