// The plain JBP1 decoder the tests compare the fast one against. It follows
// the format's description step by step and favours clarity over speed.
#include "tests/common/image/reference_jbp1_decoder.h"

#include "common/image/jbp1_format.h"

namespace zeku::test {

namespace {

uint32_t load32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// 32-bit arithmetic as a 32-bit machine does it: products wrap.
int32_t mul32(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Bits of little-endian 32-bit words, each word from its low bit up.
struct BitStream {
    const uint8_t* data;
    size_t length;  // bytes
    size_t bit = 0;

    bool readBit(int& value) {
        if (bit >= 8 * length) return false;
        const size_t word = bit / 32, inWord = bit % 32;
        const uint8_t byte = data[4 * word + inWord / 8];
        value = (byte >> (inWord % 8)) & 1;
        ++bit;
        return true;
    }
    // A number of `count` bits, most significant bit first.
    bool readNumber(int count, uint32_t& value) {
        value = 0;
        for (int i = 0; i < count; ++i) {
            int b;
            if (!readBit(b)) return false;
            value = value << 1 | static_cast<uint32_t>(b);
        }
        return true;
    }
    // Walks the tree from the root, one bit per level, to a symbol.
    bool readSymbol(const Jbp1Tree& tree, int& symbol) {
        int node = tree.root;
        while (node >= tree.symbolCount) {
            int b;
            if (!readBit(b)) return false;
            node = tree.child[node][b];
        }
        symbol = node;
        return true;
    }
};

void idct8(const int32_t* x, int32_t* out) {
    const int32_t z1 = mul32(x[2] + x[6], 35467) >> 16;
    const int32_t t3 = z1 + (mul32(x[2], 50159) >> 16);
    const int32_t t2 = z1 + (mul32(x[6], -121094) >> 16);
    const int32_t t0 = x[0] + x[4];
    const int32_t t1 = x[0] - x[4];
    const int32_t t10 = t0 + t3;
    const int32_t t13 = t0 - t3;
    const int32_t t11 = t1 + t2;
    const int32_t t12 = t1 - t2;
    const int32_t z5 = mul32(x[1] + x[3] + x[5] + x[7], 77062) >> 16;
    const int32_t y1 = mul32(x[7] + x[1], -58980) >> 16;
    const int32_t y2 = mul32(x[5] + x[3], -167963) >> 16;
    const int32_t y3 = z5 + (mul32(x[7] + x[3], -128553) >> 16);
    const int32_t y4 = z5 + (mul32(x[5] + x[1], -25570) >> 16);
    const int32_t o0 = (mul32(x[7], 19571) >> 16) + y1 + y3;
    const int32_t o1 = (mul32(x[5], 134553) >> 16) + y2 + y4;
    const int32_t o2 = (mul32(x[3], 201373) >> 16) + y2 + y3;
    const int32_t o3 = (mul32(x[1], 98390) >> 16) + y1 + y4;
    out[0] = t10 + o3;
    out[1] = t11 + o2;
    out[2] = t12 + o1;
    out[3] = t13 + o0;
    out[4] = t13 - o0;
    out[5] = t12 - o1;
    out[6] = t11 - o2;
    out[7] = t10 - o3;
}

int32_t clamp255(int32_t v) {
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

ParseError fail(const char* error, size_t offset) {
    return ParseError(error, offset);
}

}  // namespace

void referenceJbp1Idct(const int16_t* coefficients, const uint8_t* table, int16_t* samples) {
    int16_t columnResults[8][8];  // [row][column]
    for (int c = 0; c < 8; ++c) {
        int32_t x[8], out[8];
        for (int r = 0; r < 8; ++r)
            x[r] = coefficients[r * 8 + c] * table[r * 8 + c];
        if (x[1] == 0 && x[2] == 0 && x[3] == 0 && x[4] == 0 && x[5] == 0 && x[6] == 0 &&
            x[7] == 0) {
            for (int r = 0; r < 8; ++r)
                out[r] = x[0];
        } else {
            idct8(x, out);
        }
        for (int r = 0; r < 8; ++r)
            columnResults[r][c] = static_cast<int16_t>(out[r]);
    }
    for (int r = 0; r < 8; ++r) {
        int32_t x[8], out[8];
        for (int c = 0; c < 8; ++c)
            x[c] = columnResults[r][c];
        idct8(x, out);
        for (int c = 0; c < 8; ++c)
            samples[r * 8 + c] = static_cast<int16_t>(out[c] >> 3);
    }
}

void referenceJbp1Colour(const int16_t (*samples)[64], uint16_t* pixels, size_t stride) {
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            // The 2 × 2 group's chroma sample, no level shift.
            const int32_t cb = samples[4][(y / 2) * 8 + x / 2];
            const int32_t cr = samples[5][(y / 2) * 8 + x / 2];
            const int32_t dr = mul32(cr, 91881) >> 16;
            const int32_t dg = static_cast<int32_t>(static_cast<uint32_t>(mul32(cb, 22553)) +
                                                    static_cast<uint32_t>(mul32(cr, 46801))) >>
                               16;
            const int32_t db = mul32(cb, 116129) >> 16;
            const int32_t luma = samples[(y / 8) * 2 + x / 8][(y % 8) * 8 + x % 8];
            const int32_t level = luma + 128;
            const int32_t red = clamp255(level + dr);
            const int32_t green = clamp255(level - dg);
            const int32_t blue = clamp255(level + db);
            pixels[y * stride + x] =
                static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
        }
    }
}

Parsed<void> referenceJbp1Decode(const uint8_t* stream, size_t length,
                                 ReferenceJbp1Picture& picture) {
    // Header.
    Jbp1Header header;
    if (!readJbp1Header(stream, length, header))
        return ParseError("not a JBP1 stream", 0, ParseErrorKind::kWrongFormat);
    if (header.headerLength < 44) return fail("header length below 44", 4);
    if ((header.flags & (1u << 27)) == 0) return fail("stream has no quantisation tables", 8);
    if (header.width == 0 || header.height == 0) return fail("picture has no pixels", 16);
    const int paddedWidth = (header.width + 15) / 16 * 16;
    const int paddedHeight = (header.height + 15) / 16 * 16;

    // Counts and tables.
    size_t pos = header.headerLength;
    if (pos > length || length - pos < 64) return fail("DC counts cut short", length);
    uint32_t dcCounts[16], acCounts[256];
    for (int i = 0; i < 16; ++i)
        dcCounts[i] = load32(stream + pos + 4 * i);
    pos += 64;
    const size_t packed = unpackJbp1AcCounts(stream + pos, length - pos, acCounts);
    if (packed == 0) return fail("AC counts damaged or cut short", pos);
    pos += packed;
    if (pos > length || length - pos < 128) return fail("quantisation tables cut short", length);
    const uint8_t* lumaTable = stream + pos;
    const uint8_t* chromaTable = stream + pos + 64;
    pos += 128;
    const size_t dcOffset = pos;
    if (header.dcLength > length - pos) return fail("DC stream longer than the data", 28);
    const size_t acOffset = pos + header.dcLength;
    if (header.acLength > length - acOffset) return fail("AC stream longer than the data", 32);

    Jbp1Tree dcTree, acTree;
    buildJbp1Tree(dcCounts, 16, dcTree);
    buildJbp1Tree(acCounts, 256, acTree);

    // All DC values first.
    const int across = paddedWidth / 16, down = paddedHeight / 16;
    const size_t blockCount = static_cast<size_t>(across) * down * 6;
    std::vector<int16_t> dcValues(blockCount);
    BitStream dc{stream + dcOffset, header.dcLength};
    uint32_t running = 0;
    for (size_t i = 0; i < blockCount; ++i) {
        int category;
        uint32_t extra;
        if (!dc.readSymbol(dcTree, category) || !dc.readNumber(category, extra))
            return fail("DC stream ends early", dcOffset + header.dcLength);
        running += static_cast<uint32_t>(jbp1ValueFromExtraBits(extra, category));
        dcValues[i] = static_cast<int16_t>(running);
    }

    // Then each macroblock: AC symbols, transform, colour.
    picture.paddedWidth = paddedWidth;
    picture.paddedHeight = paddedHeight;
    picture.pixels.assign(static_cast<size_t>(paddedWidth) * paddedHeight, 0);
    BitStream ac{stream + acOffset, header.acLength};
    size_t blockIndex = 0;
    for (int my = 0; my < down; ++my) {
        for (int mx = 0; mx < across; ++mx) {
            int16_t samples[6][64];
            for (int b = 0; b < 6; ++b, ++blockIndex) {
                int16_t coefficients[64] = {};
                coefficients[0] = dcValues[blockIndex];
                int k = 1;
                while (k <= 63) {
                    int symbol;
                    if (!ac.readSymbol(acTree, symbol))
                        return fail("AC stream ends early", acOffset + header.acLength);
                    if (symbol == 0x00) break;
                    const int run = symbol >> 4, size = symbol & 15;
                    if (run == 15) {
                        k += 15 + size;
                        continue;
                    }
                    uint32_t extra;
                    if (!ac.readNumber(size, extra))
                        return fail("AC stream ends early", acOffset + header.acLength);
                    k += run;
                    if (k <= 63)
                        coefficients[kJbp1ZigzagToNatural[k]] =
                            static_cast<int16_t>(jbp1ValueFromExtraBits(extra, size));
                    k += 1;
                }
                referenceJbp1Idct(coefficients, b < 4 ? lumaTable : chromaTable, samples[b]);
            }
            referenceJbp1Colour(
                samples,
                picture.pixels.data() + static_cast<size_t>(my * 16) * paddedWidth + mx * 16,
                paddedWidth);
        }
    }
    return {};
}

}  // namespace zeku::test
