// JBP1 encoding: turning quantised JPEG blocks into DC and AC symbols,
// counting them, and writing the header, counts, tables and both bit streams.
#include "common/image/jbp1_encoder.h"

#include <utility>

#include "common/image/jbp1_format.h"

namespace zeku {

namespace {

constexpr int kMaxCategory = 15;
constexpr uint8_t kEndOfBlock = 0x00;
constexpr uint8_t kLongestZeroRun = 0xFF;  // 30 zeros, nothing else
constexpr int kZerosInLongestRun = 30;
constexpr int kShortestZeroRunSymbol = 15;  // 0xF0 stands for 15 zeros

uint32_t reverseBits(uint32_t v, int length) {
    v = ((v >> 1) & 0x55555555u) | ((v & 0x55555555u) << 1);
    v = ((v >> 2) & 0x33333333u) | ((v & 0x33333333u) << 2);
    v = ((v >> 4) & 0x0F0F0F0Fu) | ((v & 0x0F0F0F0Fu) << 4);
    v = ((v >> 8) & 0x00FF00FFu) | ((v & 0x00FF00FFu) << 8);
    v = (v >> 16) | (v << 16);
    return v >> (32 - length);
}

// Packs bits into 32-bit little-endian words from bit 0 up. Values are
// given most significant bit first, so they are mirrored on the way in.
class BitWriter {
  public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void put(uint32_t bits, int length) {
        if (length == 0) return;
        pending_ |= static_cast<uint64_t>(reverseBits(bits, length)) << pendingLength_;
        pendingLength_ += length;
        while (pendingLength_ >= 32) {
            emitWord(static_cast<uint32_t>(pending_));
            pending_ >>= 32;
            pendingLength_ -= 32;
        }
    }

    // Completes the last word with zero bits.
    void finish() {
        if (pendingLength_ > 0) emitWord(static_cast<uint32_t>(pending_));
        pending_ = 0;
        pendingLength_ = 0;
    }

  private:
    void emitWord(uint32_t word) {
        for (int i = 0; i < 4; ++i)
            out_.push_back(static_cast<uint8_t>(word >> (8 * i)));
    }

    std::vector<uint8_t>& out_;
    uint64_t pending_ = 0;
    int pendingLength_ = 0;
};

// A value and its category as a symbol-plus-extra-bits pair; false when
// the value needs more than 15 bits.
bool categorise(int value, int& category, uint16_t& extra) {
    category = jbp1SizeCategory(value);
    if (category > kMaxCategory) return false;
    extra = static_cast<uint16_t>(jbp1ExtraBits(value, category));
    return true;
}

void append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool codesFor(const uint32_t* counts, int symbolCount, Jbp1Code* codes) {
    Jbp1Tree tree;
    buildJbp1Tree(counts, symbolCount, tree);
    return jbp1CodesFromTree(tree, codes);
}

}  // namespace

bool appendJbp1AcSymbols(const int16_t* block, std::vector<Jbp1Symbol>& symbols) {
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        const int value = block[kJbp1ZigzagToNatural[k]];
        if (value == 0) {
            ++run;
            continue;
        }
        while (run > kZerosInLongestRun) {
            symbols.push_back({kLongestZeroRun, 0, 0});
            run -= kZerosInLongestRun;
        }
        if (run >= kShortestZeroRunSymbol) {
            symbols.push_back({static_cast<uint8_t>(0xF0 | (run - kShortestZeroRunSymbol)), 0, 0});
            run = 0;
        }
        int category;
        uint16_t extra;
        if (!categorise(value, category, extra)) return false;
        symbols.push_back(
            {static_cast<uint8_t>(run << 4 | category), static_cast<uint8_t>(category), extra});
        run = 0;
    }
    // Trailing zeros are never spelled out: the end-of-block symbol covers them.
    if (run > 0) symbols.push_back({kEndOfBlock, 0, 0});
    return true;
}

bool jbp1EncodeCoefficients(const JpegCoefficients& coefficients, int quality,
                            std::vector<uint8_t>& stream) {
    const size_t blockCount = coefficients.blocks.size() / 64;
    if (coefficients.width <= 0 || coefficients.height <= 0 || coefficients.width > 0xFFFF ||
        coefficients.height > 0xFFFF || quality < 0)
        return false;
    if (coefficients.blocks.size() % 64 != 0 ||
        coefficients.macroblocksAcross != (coefficients.width + 15) / 16 ||
        coefficients.macroblocksDown != (coefficients.height + 15) / 16 ||
        blockCount != static_cast<size_t>(coefficients.macroblocksAcross) *
                          coefficients.macroblocksDown * kJpegBlocksPerMacroblock)
        return false;

    // DC values form one chain across all components.
    std::vector<Jbp1Symbol> dcSymbols;
    dcSymbols.reserve(blockCount);
    std::vector<Jbp1Symbol> acSymbols;
    acSymbols.reserve(blockCount * 8);
    int previousDc = 0;
    for (size_t b = 0; b < blockCount; ++b) {
        const int16_t* block = coefficients.blocks.data() + b * 64;
        int category;
        uint16_t extra;
        if (!categorise(block[0] - previousDc, category, extra)) return false;
        dcSymbols.push_back(
            {static_cast<uint8_t>(category), static_cast<uint8_t>(category), extra});
        previousDc = block[0];
        if (!appendJbp1AcSymbols(block, acSymbols)) return false;
    }

    uint32_t dcCounts[kJbp1DcSymbols] = {};
    uint32_t acCounts[kJbp1AcSymbols] = {};
    for (const Jbp1Symbol& s : dcSymbols)
        ++dcCounts[s.symbol];
    for (const Jbp1Symbol& s : acSymbols)
        ++acCounts[s.symbol];
    Jbp1Code dcCodes[kJbp1DcSymbols];
    Jbp1Code acCodes[kJbp1AcSymbols];
    if (!codesFor(dcCounts, kJbp1DcSymbols, dcCodes)) return false;
    if (!codesFor(acCounts, kJbp1AcSymbols, acCodes)) return false;

    stream.assign(kJbp1HeaderLength, 0);
    for (uint32_t count : dcCounts)
        append32(stream, count);
    uint8_t packed[kJbp1PackedAcCountsMax];
    const size_t packedLength = packJbp1AcCounts(acCounts, packed);
    stream.insert(stream.end(), packed, packed + (packedLength + 3) / 4 * 4);
    stream.insert(stream.end(), coefficients.lumaTable, coefficients.lumaTable + 64);
    stream.insert(stream.end(), coefficients.chromaTable, coefficients.chromaTable + 64);

    BitWriter writer(stream);
    const size_t dcStart = stream.size();
    for (const Jbp1Symbol& s : dcSymbols) {
        writer.put(dcCodes[s.symbol].bits, dcCodes[s.symbol].length);
        writer.put(s.extraBits, s.extraLength);
    }
    writer.finish();
    const size_t acStart = stream.size();
    for (const Jbp1Symbol& s : acSymbols) {
        writer.put(acCodes[s.symbol].bits, acCodes[s.symbol].length);
        writer.put(s.extraBits, s.extraLength);
    }
    writer.finish();
    if (stream.size() - dcStart > 0xFFFFFFFFu) return false;

    Jbp1Header header;
    header.quality = static_cast<uint32_t>(quality);
    header.width = static_cast<uint16_t>(coefficients.width);
    header.height = static_cast<uint16_t>(coefficients.height);
    header.dcLength = static_cast<uint32_t>(acStart - dcStart);
    header.acLength = static_cast<uint32_t>(stream.size() - acStart);
    writeJbp1Header(header, stream.data());
    return true;
}

bool jbp1Encode(const uint8_t* bgr, int width, int height, size_t stride, int quality,
                std::vector<uint8_t>& stream, std::vector<uint8_t>* intermediateJpeg) {
    if (quality < 1 || quality > 100) return false;
    std::vector<uint8_t> jpeg;
    if (!compressBgrToJpeg(bgr, width, height, stride, quality, jpeg)) return false;
    JpegCoefficients coefficients;
    if (!readJpegCoefficients(jpeg.data(), jpeg.size(), coefficients)) return false;
    if (!jbp1EncodeCoefficients(coefficients, quality, stream)) return false;
    if (intermediateJpeg != nullptr) *intermediateJpeg = std::move(jpeg);
    return true;
}

}  // namespace zeku
