// A small JBP1 stream writer for the decoder tests: it turns chosen
// coefficient blocks, or symbol sequences no encoder would write, into
// streams, so each decoding rule can be pinned on its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "common/image/jbp1_format.h"

namespace zeku::test {

using CoefficientBlock = std::array<int16_t, 64>;  // natural order

// One AC symbol; `value` gives the extra bits of symbols that carry them.
struct AcItem {
    uint8_t symbol = 0;
    int value = 0;
};

struct Jbp1TestStream {
    int width = 16;
    int height = 16;
    uint8_t lumaTable[64] = {};
    uint8_t chromaTable[64] = {};
    std::vector<int> dcValues;    // per block in stream order, before differencing
    std::vector<AcItem> acItems;  // every block's symbols, one after the other
    // Counts stored in place of the true ones (every written symbol must
    // still get a code).
    const uint32_t* dcCounts = nullptr;
    const uint32_t* acCounts = nullptr;
    uint32_t flags = kJbp1Flags;
};

// The AC symbols of one block as the encoder forms them: runs of 30 as 0xFF,
// runs of 15..29 before a coefficient as 0xF0 | (run - 15), end of block
// only after trailing zeros.
void appendBlockSymbols(const CoefficientBlock& block, std::vector<AcItem>& items);

// A stream for `blocks` (six per macroblock, stream order) with the given
// tables; all table entries 1 when `table` is null.
Jbp1TestStream streamFromBlocks(int width, int height, const std::vector<CoefficientBlock>& blocks,
                                const uint8_t* table = nullptr);

// The complete stream; empty when some symbol has no usable code.
std::vector<uint8_t> writeJbp1TestStream(const Jbp1TestStream& stream);

// Where the parts of a written stream start.
struct Jbp1TestLayout {
    size_t dcOffset = 0;
    size_t acOffset = 0;
    size_t end = 0;
};
Jbp1TestLayout jbp1TestLayout(const std::vector<uint8_t>& stream);

}  // namespace zeku::test
