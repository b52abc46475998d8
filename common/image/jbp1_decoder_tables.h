// Lookup tables that let the JBP1 decoder read a Huffman symbol (and, for
// the common short AC codes, its coefficient too) with one table access.
#pragma once

#include <cstdint>

#include "common/image/jbp1_bit_reader.h"
#include "common/image/jbp1_format.h"

namespace zeku {

inline constexpr unsigned kJbp1DcLookupBits = 9;
inline constexpr unsigned kJbp1AcLookupBits = 11;

// Symbols by the next `lookupBits` bits of the stream. Codes that are
// longer continue with a bit-by-bit walk from the node the table reached.
class Jbp1SymbolTable {
  public:
    // False when the tree is malformed (a child not made before its parent),
    // which the shared tree builder never produces.
    bool build(const Jbp1Tree& tree, unsigned lookupBits);

    // The next symbol; the reader must hold at least `lookupBits` bits.
    int decode(Jbp1BitReader& reader) const {
        const uint32_t entry = entries_[reader.peek(lookupBits_)];
        if (entry < kInner) {
            reader.skip(entry >> 16);
            return static_cast<int>(entry & 0xFFFF);
        }
        return walk(reader, static_cast<int>(entry & 0xFFFF));
    }

    // Entry layout: symbol in bits 0-15 and code length in bits 16-23, or
    // kInner plus the node reached after `lookupBits` bits.
    static constexpr uint32_t kInner = 1u << 24;
    uint32_t entry(uint32_t index) const { return entries_[index]; }
    unsigned lookupBits() const { return lookupBits_; }

  private:
    int walk(Jbp1BitReader& reader, int node) const;

    const Jbp1Tree* tree_ = nullptr;
    unsigned lookupBits_ = 0;
    uint32_t entries_[1u << kJbp1AcLookupBits] = {};
};

// For every 11-bit window whose AC symbol and extra bits both fit: the total
// bit count (bits 0-7), the zigzag distance to the coefficient (bits 8-15)
// and the coefficient (bits 16-31, signed). Runs of zeros become a zero
// coefficient at the end of the run and end of block a distance of 64, so
// one branch-free step serves every symbol. Zero marks a window that needs
// the symbol table.
class Jbp1AcFastTable {
  public:
    static constexpr uint32_t kEndOfBlockRun = 64;
    void build(const Jbp1SymbolTable& symbols);
    uint32_t lookup(const Jbp1BitReader& reader) const {
        return entries_[reader.peek(kJbp1AcLookupBits)];
    }

  private:
    uint32_t entries_[1u << kJbp1AcLookupBits] = {};
};

// The zigzag distance and coefficient of an AC symbol whose extra bits are
// `extra`, in the fast table's layout minus the bit count.
uint32_t jbp1AcStep(int symbol, uint32_t extra);

}  // namespace zeku
