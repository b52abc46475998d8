// The JBP1 decoder proper: checks the stream's layout, builds the lookup
// tables, decodes every DC value, then decodes, transforms and converts one
// macroblock at a time straight into the caller's pixels.
#include "common/image/jbp1_decoder.h"

#include <cstring>
#include <memory>
#include <new>

#include "common/bytes/byte_buffer.h"
#include "common/image/jbp1_bit_reader.h"
#include "common/image/jbp1_decoder_kernels.h"
#include "common/image/jbp1_decoder_tables.h"
#include "common/image/jbp1_format.h"

namespace zeku {

namespace {

constexpr int kBlocksPerMacroblock = 6;
constexpr size_t kTableBytes = 64;

// Zigzag positions run past 63 when a run overshoots the block (and end of
// block adds 64); those land in a spare slot 64 that the transform never
// reads, with a zero table entry.
constexpr int kPositions = 128;
constexpr int kSpareSlot = 64;

// Where the parts of a stream lie, once they are known to fit the data.
struct Layout {
    Jbp1Header header;
    Jbp1Geometry geometry;
    uint32_t dcCounts[kJbp1DcSymbols];
    uint32_t acCounts[kJbp1AcSymbols];
    size_t countsOffset = 0;
    const uint8_t* lumaTable = nullptr;
    const uint8_t* chromaTable = nullptr;
    size_t dcOffset = 0;
    size_t acOffset = 0;
};

Parsed<void> readLayout(const uint8_t* stream, size_t length, size_t pixelCapacity,
                        Layout& layout) {
    if (!readJbp1Header(stream, length, layout.header))
        return ParseError("not a JBP1 stream", 0, ParseErrorKind::kWrongFormat);
    const Jbp1Header& h = layout.header;
    if (h.headerLength < kJbp1HeaderLength) return ParseError("header length below 44", 4);
    // Decoding with made-up tables would only produce a wrong picture.
    if ((h.flags & kJbp1TablesPresent) == 0)
        return ParseError("stream has no quantisation tables", 8);
    if (!jbp1ReadGeometry(stream, length, layout.geometry))
        return ParseError("picture has no pixels", 16);
    const size_t needed = static_cast<size_t>(layout.geometry.paddedWidth) *
                          static_cast<size_t>(layout.geometry.paddedHeight);
    if (pixelCapacity < needed) return ParseError("pixel buffer too small", 16);

    size_t pos = h.headerLength;
    layout.countsOffset = pos;
    if (pos > length || length - pos < 4 * kJbp1DcSymbols)
        return ParseError("DC counts cut short", length);
    for (int i = 0; i < kJbp1DcSymbols; ++i)
        layout.dcCounts[i] = loadLe32(stream + pos + 4 * i);
    pos += 4 * kJbp1DcSymbols;
    const size_t packed = unpackJbp1AcCounts(stream + pos, length - pos, layout.acCounts);
    if (packed == 0) return ParseError("AC counts damaged or cut short", pos);
    pos += packed;
    if (pos > length || length - pos < 2 * kTableBytes)
        return ParseError("quantisation tables cut short", length);
    layout.lumaTable = stream + pos;
    layout.chromaTable = stream + pos + kTableBytes;
    pos += 2 * kTableBytes;
    layout.dcOffset = pos;
    if (h.dcLength > length - pos) return ParseError("DC stream longer than the data", 28);
    pos += h.dcLength;
    layout.acOffset = pos;
    if (h.acLength > length - pos) return ParseError("AC stream longer than the data", 32);
    return {};
}

// The tables are large for the stack (the player's threads have small
// ones), so they live in one heap block per decode.
struct Tables {
    Jbp1Tree dcTree;
    Jbp1Tree acTree;
    Jbp1SymbolTable dcSymbols;
    Jbp1SymbolTable acSymbols;
    Jbp1AcFastTable acFast;
    // Natural index and table entries by zigzag position.
    uint8_t natural[kPositions];
    int32_t lumaQuant[kPositions];
    int32_t chromaQuant[kPositions];

    void setPositions(const uint8_t* lumaTable, const uint8_t* chromaTable) {
        for (int p = 0; p < kPositions; ++p) {
            natural[p] = p < 64 ? kJbp1ZigzagToNatural[p] : kSpareSlot;
            lumaQuant[p] = p < 64 ? lumaTable[natural[p]] : 0;
            chromaQuant[p] = p < 64 ? chromaTable[natural[p]] : 0;
        }
    }
};

inline int32_t valueFromExtra(uint32_t extra, unsigned category) {
    if (category == 0) return 0;
    const int32_t e = static_cast<int32_t>(extra);
    return extra >> (category - 1) ? e : e - (1 << category) + 1;
}

// A symbol the fast table does not cover: long codes and long extra bits.
// Kept out of line and given its own copy of the reader, so that the hot
// loop's reader never has its address taken and stays in registers. Leaves
// the reader full, as the fast path finds it.
__attribute__((noinline)) uint32_t slowAcStep(Jbp1BitReader& reader, const Tables& t) {
    const int symbol = t.acSymbols.decode(reader);
    if (reader.count < 16) reader.refill();
    const unsigned size = (symbol >> 4) == 15 ? 0 : symbol & 15;
    const uint32_t step = jbp1AcStep(symbol, reader.take(size));
    reader.refill();
    return step;
}

// One AC symbol: places its coefficient and returns the next position.
// Needs at least 11 bits in the reader, and leaves at least 45.
inline unsigned acSymbol(Jbp1BitReader& reader, const Tables& t, const int32_t* quant,
                         int32_t* coefficients, unsigned position, uint32_t& any) {
    uint32_t step = t.acFast.lookup(reader);
    if (step != 0) {
        reader.skip(step & 0xFF);
    } else {
        Jbp1BitReader copy = reader;
        step = slowAcStep(copy, t);
        reader = copy;
    }
    position += (step >> 8) & 0xFF;
    const int32_t value = static_cast<int32_t>(step) >> 16;
    any |= static_cast<uint32_t>(value);
    coefficients[t.natural[position]] = value * quant[position];
    return position + 1;
}

// Decodes one block's AC symbols into `coefficients` (natural order,
// multiplied by the table entries). Returns the OR of the coefficient
// values, zero when the block holds only its DC value. A refill leaves 56
// bits or more and a fast symbol takes at most 11, so two symbols share
// one refill, which keeps every other refill off the loop's critical path.
inline uint32_t decodeAcBlock(Jbp1BitReader& reader, const Tables& t, const int32_t* quant,
                              int32_t* coefficients) {
    uint32_t any = 0;
    unsigned position = 1;
    do {
        reader.refill();
        position = acSymbol(reader, t, quant, coefficients, position, any);
        if (position >= 64) break;
        position = acSymbol(reader, t, quant, coefficients, position, any);
    } while (position < 64);
    return any;
}

Parsed<void> decodeDcValues(const Layout& layout, const Tables& t, const uint8_t* reversed,
                            int16_t* values, size_t count) {
    Jbp1BitReader reader;
    reader.start(reversed, layout.header.dcLength);
    // The running value only matters modulo 2^16, the size it is stored in.
    uint16_t running = 0;
    for (size_t i = 0; i < count; ++i) {
        reader.refill();
        const unsigned category = static_cast<unsigned>(t.dcSymbols.decode(reader));
        if (reader.count < 16) reader.refill();
        running = static_cast<uint16_t>(running + valueFromExtra(reader.take(category), category));
        values[i] = static_cast<int16_t>(running);
        if (reader.overran())
            return ParseError("DC stream ends early", layout.dcOffset + layout.header.dcLength);
    }
    return {};
}

}  // namespace

bool jbp1ReadGeometry(const uint8_t* stream, size_t length, Jbp1Geometry& geometry) {
    Jbp1Header header;
    if (!readJbp1Header(stream, length, header)) return false;
    if (header.width == 0 || header.height == 0) return false;
    geometry.width = header.width;
    geometry.height = header.height;
    geometry.paddedWidth = (header.width + 15) & ~15;
    geometry.paddedHeight = (header.height + 15) & ~15;
    return true;
}

Parsed<void> jbp1DecodeWith(const Jbp1Kernels& kernels, const uint8_t* stream, size_t length,
                            uint16_t* pixels, size_t pixelCapacity) {
    Layout layout;
    Parsed<void> checked = readLayout(stream, length, pixelCapacity, layout);
    if (!checked) return checked;
    const Jbp1Header& h = layout.header;
    const Jbp1Geometry& g = layout.geometry;

    std::unique_ptr<Tables> tables(new (std::nothrow) Tables);
    if (!tables) return ParseError("out of memory", 0);
    Tables& t = *tables;
    buildJbp1Tree(layout.dcCounts, kJbp1DcSymbols, t.dcTree);
    buildJbp1Tree(layout.acCounts, kJbp1AcSymbols, t.acTree);
    if (!t.dcSymbols.build(t.dcTree, kJbp1DcLookupBits) ||
        !t.acSymbols.build(t.acTree, kJbp1AcLookupBits))
        return ParseError("Huffman tree malformed", layout.countsOffset);
    t.acFast.build(t.acSymbols);
    t.setPositions(layout.lumaTable, layout.chromaTable);

    // Both bit streams, bit-reversed, each followed by the reader's slack.
    const size_t dcCopy = h.dcLength + kJbp1BitReaderSlack;
    const size_t acCopy = h.acLength + kJbp1BitReaderSlack;
    std::unique_ptr<uint8_t[]> reversed(new (std::nothrow) uint8_t[dcCopy + acCopy]);
    if (!reversed) return ParseError("out of memory", 0);
    reverseBitsInBytes(stream + layout.dcOffset, h.dcLength, reversed.get());
    std::memset(reversed.get() + h.dcLength, 0, kJbp1BitReaderSlack);
    uint8_t* acBytes = reversed.get() + dcCopy;
    reverseBitsInBytes(stream + layout.acOffset, h.acLength, acBytes);
    std::memset(acBytes + h.acLength, 0, kJbp1BitReaderSlack);

    const int across = g.paddedWidth / 16;
    const int down = g.paddedHeight / 16;
    const size_t blockCount = static_cast<size_t>(across) * down * kBlocksPerMacroblock;
    std::unique_ptr<int16_t[]> dcValues(new (std::nothrow) int16_t[blockCount]);
    if (!dcValues) return ParseError("out of memory", 0);
    Parsed<void> dc = decodeDcValues(layout, t, reversed.get(), dcValues.get(), blockCount);
    if (!dc) return dc;

    Jbp1BitReader reader;
    reader.start(acBytes, h.acLength);
    alignas(32) int32_t coefficients[kSpareSlot + 1] = {};
    alignas(32) int16_t samples[kBlocksPerMacroblock * 64];
    const size_t stride = static_cast<size_t>(g.paddedWidth);
    size_t block = 0;
    for (int my = 0; my < down; ++my) {
        uint16_t* row = pixels + static_cast<size_t>(my) * 16 * stride;
        for (int mx = 0; mx < across; ++mx) {
            for (int b = 0; b < kBlocksPerMacroblock; ++b, ++block) {
                const int32_t* quant = b < 4 ? t.lumaQuant : t.chromaQuant;
                coefficients[0] = dcValues[block] * quant[0];
                const uint32_t any = decodeAcBlock(reader, t, quant, coefficients);
                if (reader.overran())
                    return ParseError("AC stream ends early", layout.acOffset + h.acLength);
                int16_t* out = samples + 64 * b;
                if (any == 0) {
                    // Only the DC value: both passes carry it through unchanged
                    // (kept to 16 bits by the column pass), then the final shift.
                    const int16_t flat =
                        static_cast<int16_t>(static_cast<int16_t>(coefficients[0]) >> 3);
                    for (int i = 0; i < 64; ++i)
                        out[i] = flat;
                    coefficients[0] = 0;
                } else {
                    kernels.idct(coefficients, out);
                }
            }
            kernels.colour(samples, row + static_cast<size_t>(mx) * 16, stride);
        }
    }
    return {};
}

}  // namespace zeku
