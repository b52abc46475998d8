// The decoder tests' stream writer: differences and symbols, trees from the
// counts, codes packed into little-endian words from the low bit up.
#include "tests/common/image/jbp1_decoder_test_streams.h"

#include <cstring>

namespace zeku::test {

namespace {

class BitWriter {
  public:
    // `count` bits of `value`, most significant first.
    void put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            if (bit_ % 8 == 0) bytes_.push_back(0);
            bytes_.back() = static_cast<uint8_t>(bytes_.back() | ((value >> i) & 1) << (bit_ % 8));
            ++bit_;
        }
    }
    // Completes the last 32-bit word with zero bits.
    std::vector<uint8_t> finish() {
        while (bytes_.size() % 4 != 0)
            bytes_.push_back(0);
        return bytes_;
    }

  private:
    std::vector<uint8_t> bytes_;
    size_t bit_ = 0;
};

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool carriesValue(uint8_t symbol) {
    return (symbol >> 4) != 15 && (symbol & 15) != 0;
}

}  // namespace

void appendBlockSymbols(const CoefficientBlock& block, std::vector<AcItem>& items) {
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = block[kJbp1ZigzagToNatural[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run >= 30) {
            items.push_back({0xFF, 0});
            run -= 30;
        }
        if (run >= 15) {
            items.push_back({static_cast<uint8_t>(0xF0 | (run - 15)), 0});
            run = 0;
        }
        items.push_back({static_cast<uint8_t>(run << 4 | jbp1SizeCategory(value)), value});
        run = 0;
    }
    if (run > 0) items.push_back({0x00, 0});
}

Jbp1TestStream streamFromBlocks(int width, int height, const std::vector<CoefficientBlock>& blocks,
                                const uint8_t* table) {
    Jbp1TestStream s;
    s.width = width;
    s.height = height;
    for (int i = 0; i < 64; ++i)
        s.lumaTable[i] = s.chromaTable[i] = table ? table[i] : 1;
    for (const CoefficientBlock& block : blocks) {
        s.dcValues.push_back(block[0]);
        appendBlockSymbols(block, s.acItems);
    }
    return s;
}

std::vector<uint8_t> writeJbp1TestStream(const Jbp1TestStream& s) {
    uint32_t dcCounts[kJbp1DcSymbols] = {};
    uint32_t acCounts[kJbp1AcSymbols] = {};
    std::vector<int> differences;
    int previous = 0;
    for (int value : s.dcValues) {
        differences.push_back(value - previous);
        previous = value;
        const int category = jbp1SizeCategory(differences.back());
        if (category < kJbp1DcSymbols) ++dcCounts[category];
    }
    for (const AcItem& item : s.acItems)
        ++acCounts[item.symbol];
    if (s.dcCounts) std::memcpy(dcCounts, s.dcCounts, sizeof dcCounts);
    if (s.acCounts) std::memcpy(acCounts, s.acCounts, sizeof acCounts);

    Jbp1Tree dcTree, acTree;
    buildJbp1Tree(dcCounts, kJbp1DcSymbols, dcTree);
    buildJbp1Tree(acCounts, kJbp1AcSymbols, acTree);
    Jbp1Code dcCodes[kJbp1DcSymbols], acCodes[kJbp1AcSymbols];
    jbp1CodesFromTree(dcTree, dcCodes);
    jbp1CodesFromTree(acTree, acCodes);

    BitWriter dc;
    for (int difference : differences) {
        const int category = jbp1SizeCategory(difference);
        if (category >= kJbp1DcSymbols || dcCodes[category].length == 0) return {};
        dc.put(dcCodes[category].bits, dcCodes[category].length);
        dc.put(jbp1ExtraBits(difference, category), category);
    }
    BitWriter ac;
    for (const AcItem& item : s.acItems) {
        const Jbp1Code code = acCodes[item.symbol];
        if (code.length == 0) return {};
        ac.put(code.bits, code.length);
        if (carriesValue(item.symbol))
            ac.put(jbp1ExtraBits(item.value, item.symbol & 15), item.symbol & 15);
    }
    const std::vector<uint8_t> dcBytes = dc.finish();
    const std::vector<uint8_t> acBytes = ac.finish();

    Jbp1Header header;
    header.flags = s.flags;
    header.quality = 90;
    header.width = static_cast<uint16_t>(s.width);
    header.height = static_cast<uint16_t>(s.height);
    header.dcLength = static_cast<uint32_t>(dcBytes.size());
    header.acLength = static_cast<uint32_t>(acBytes.size());
    std::vector<uint8_t> out(kJbp1HeaderLength);
    writeJbp1Header(header, out.data());
    for (uint32_t count : dcCounts)
        put32(out, count);
    uint8_t packed[kJbp1PackedAcCountsMax];
    const size_t packedLength = packJbp1AcCounts(acCounts, packed);
    out.insert(out.end(), packed, packed + ((packedLength + 3) & ~size_t{3}));
    out.insert(out.end(), s.lumaTable, s.lumaTable + 64);
    out.insert(out.end(), s.chromaTable, s.chromaTable + 64);
    out.insert(out.end(), dcBytes.begin(), dcBytes.end());
    out.insert(out.end(), acBytes.begin(), acBytes.end());
    return out;
}

Jbp1TestLayout jbp1TestLayout(const std::vector<uint8_t>& stream) {
    Jbp1Header header;
    readJbp1Header(stream.data(), stream.size(), header);
    uint32_t counts[kJbp1AcSymbols];
    const size_t countsStart = header.headerLength + 4 * kJbp1DcSymbols;
    const size_t packed =
        unpackJbp1AcCounts(stream.data() + countsStart, stream.size() - countsStart, counts);
    Jbp1TestLayout layout;
    layout.dcOffset = countsStart + packed + 128;
    layout.acOffset = layout.dcOffset + header.dcLength;
    layout.end = layout.acOffset + header.acLength;
    return layout;
}

}  // namespace zeku::test
