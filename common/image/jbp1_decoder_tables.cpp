// Builds the decoder's symbol and fast AC lookup tables from a Huffman tree
// and walks the codes that are too long for them.
#include "common/image/jbp1_decoder_tables.h"

namespace zeku {

bool Jbp1SymbolTable::build(const Jbp1Tree& tree, unsigned lookupBits) {
    tree_ = &tree;
    lookupBits_ = lookupBits;
    const int symbols = tree.symbolCount;

    // Depth-first down to `lookupBits` levels; every node on the way is
    // either a symbol (filling all windows that start with its code) or,
    // at the last level, an inner node the walk continues from.
    struct Pending {
        int node;
        uint32_t code;
        unsigned length;
    };
    Pending stack[2 * kJbp1AcLookupBits + 2];
    int top = 0;
    stack[top++] = {tree.root, 0, 0};
    while (top > 0) {
        const Pending p = stack[--top];
        if (p.node < symbols || p.length == lookupBits) {
            const unsigned spare = lookupBits - p.length;
            const uint32_t value = p.node < symbols ? static_cast<uint32_t>(p.node) | p.length << 16
                                                    : kInner | static_cast<uint32_t>(p.node);
            for (uint32_t i = 0; i < (1u << spare); ++i)
                entries_[(p.code << spare) | i] = value;
            continue;
        }
        // Nodes are made after their children, so a walk always descends to
        // smaller numbers and ends; anything else is not a tree.
        for (int bit = 1; bit >= 0; --bit) {
            const int child = tree.child[p.node][bit];
            if (child >= p.node) return false;
            stack[top++] = {child, (p.code << 1) | static_cast<uint32_t>(bit), p.length + 1};
        }
    }
    return true;
}

int Jbp1SymbolTable::walk(Jbp1BitReader& reader, int node) const {
    reader.skip(lookupBits_);
    while (node >= tree_->symbolCount) {
        if (reader.count == 0) reader.refill();
        node = tree_->child[node][reader.take(1)];
    }
    return node;
}

uint32_t jbp1AcStep(int symbol, uint32_t extra) {
    if (symbol == 0) return Jbp1AcFastTable::kEndOfBlockRun << 8;
    const int run = symbol >> 4;
    const int size = symbol & 15;
    // 0xF0 | k skips 15 + k positions: a zero at the run's last position.
    if (run == 15) return static_cast<uint32_t>(14 + size) << 8;
    const int value = jbp1ValueFromExtraBits(extra, size);
    return static_cast<uint32_t>(run) << 8 | static_cast<uint32_t>(static_cast<uint16_t>(value))
                                                 << 16;
}

void Jbp1AcFastTable::build(const Jbp1SymbolTable& symbols) {
    constexpr unsigned kBits = kJbp1AcLookupBits;
    for (uint32_t i = 0; i < (1u << kBits); ++i) {
        const uint32_t entry = symbols.entry(i);
        entries_[i] = 0;
        if (entry >= Jbp1SymbolTable::kInner) continue;
        const int symbol = static_cast<int>(entry & 0xFFFF);
        const unsigned codeLength = entry >> 16;
        const unsigned size = (symbol >> 4) == 15 ? 0 : symbol & 15;
        const unsigned total = codeLength + size;
        if (total > kBits) continue;
        const uint32_t extra = (i >> (kBits - total)) & ((1u << size) - 1);
        // Never zero, even for a zero-bit code (a tree of one symbol): end of
        // block and zero runs have a run length, other symbols extra bits.
        entries_[i] = jbp1AcStep(symbol, extra) | total;
    }
}

}  // namespace zeku
