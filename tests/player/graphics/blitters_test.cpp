// The pixel primitives against the per-channel formulas written out plainly:
// fast paths for alpha 0 and 255, the tabulated paths of large areas, and
// saturation and level edges. Every test also checks the bytes around the
// area are left alone.
#include "player/graphics/blitters.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "player/graphics/image.h"
#include "player/graphics/pixel_format.h"

namespace zeku {
namespace {

constexpr int kScreenW = 40;
constexpr int kScreenH = 24;

// A screen whose bytes run through every value 0..255 on each channel.
std::vector<uint8_t> rampScreen() {
    std::vector<uint8_t> s(kScreenW * kScreenH * 3);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<uint8_t>(i * 37 + i / 251);
    return s;
}

uint32_t referenceLevel(uint32_t x, int level) {
    if (level <= 256) return x * level / 256;
    return (level - 256) * 255 / 256 + x * (512 - level) / 256;
}

using ByteRule = std::function<uint32_t(int channel, uint32_t d, uint32_t c)>;

// Runs `draw` on a w × h area at (3, 2) and compares every byte with `rule`
// (inside the area) or the original (outside).
void expectRule(int w, int h, uint32_t colour, const std::function<void(uint8_t*)>& draw,
                const ByteRule& rule) {
    std::vector<uint8_t> before = rampScreen();
    std::vector<uint8_t> after = before;
    draw(after.data() + (2 * kScreenW + 3) * 3);
    const uint32_t c[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            const bool inside = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
            for (int ch = 0; ch < 3; ++ch) {
                const size_t i = (static_cast<size_t>(y) * kScreenW + x) * 3 + ch;
                const uint32_t want = inside ? rule(ch, before[i], c[ch]) : before[i];
                ASSERT_EQ(after[i], want) << "x=" << x << " y=" << y << " ch=" << ch;
            }
        }
    }
}

// Small areas compute each byte; large ones go through tables. Both must agree
// with the formula.
const int kSizes[][2] = {{5, 3}, {30, 20}};

TEST(Blitters, LevelTransferEdges) {
    for (uint32_t x = 0; x < 256; ++x) {
        EXPECT_EQ(applyLevel(x, 256), x);
        EXPECT_EQ(applyLevel(x, 0), 0u);
        EXPECT_EQ(applyLevel(x, 512), 255u);
        EXPECT_EQ(applyLevel(x, 300), referenceLevel(x, 300));
    }
    EXPECT_EQ(applyLevel(0, 384), 127u);
    EXPECT_EQ(applyLevel(255, 384), 254u);
}

TEST(Blitters, FillPrimitivesFollowTheirFormulas) {
    const uint32_t colour = 0xC0805F;
    for (const auto& size : kSizes) {
        const int w = size[0], h = size[1];
        expectRule(
            w, h, colour, [&](uint8_t* p) { fillRect(p, kScreenW, w, h, colour); },
            [](int, uint32_t, uint32_t c) { return c; });
        for (int a : {0, 1, 77, 255}) {
            expectRule(
                w, h, colour, [&](uint8_t* p) { fillBlend(p, kScreenW, w, h, colour, a); },
                [&](int, uint32_t d, uint32_t c) {
                    return ((a * c) / 256 + (d * (256 - a)) / 256) & 0xFF;
                });
            for (int level : {0, 100, 384, 512}) {
                expectRule(
                    w, h, colour,
                    [&](uint8_t* p) { fillBlendLevel(p, kScreenW, w, h, colour, a, level); },
                    [&](int, uint32_t d, uint32_t c) {
                        return referenceLevel(((a * c) / 256 + (d * (256 - a)) / 256) & 0xFF,
                                              level);
                    });
            }
        }
        for (int level : {0, 1, 255, 257, 384, 512}) {
            expectRule(
                w, h, colour, [&](uint8_t* p) { fillLevel(p, kScreenW, w, h, colour, level); },
                [&](int, uint32_t, uint32_t c) { return referenceLevel(c, level); });
        }
    }
}

TEST(Blitters, AddPrimitivesSaturateAt255) {
    // 0xFF on red saturates almost everywhere; 0x01 blue only at 255.
    const uint32_t colour = 0xFF4001;
    auto sat = [](uint32_t v) { return v > 255 ? 255u : v; };
    for (const auto& size : kSizes) {
        const int w = size[0], h = size[1];
        expectRule(
            w, h, colour, [&](uint8_t* p) { addRect(p, kScreenW, w, h, colour); },
            [&](int, uint32_t d, uint32_t c) { return sat(d + c); });
        for (int a : {0, 128, 255}) {
            expectRule(
                w, h, colour, [&](uint8_t* p) { addScaled(p, kScreenW, w, h, colour, a); },
                [&](int, uint32_t d, uint32_t c) { return sat(d + (a * c) / 256); });
        }
        for (int level : {0, 128, 384}) {
            expectRule(
                w, h, colour, [&](uint8_t* p) { addLevel(p, kScreenW, w, h, colour, level); },
                [&](int, uint32_t d, uint32_t c) { return referenceLevel(sat(d + c), level); });
            expectRule(
                w, h, colour,
                [&](uint8_t* p) { addScaledLevel(p, kScreenW, w, h, colour, 200, level); },
                [&](int, uint32_t d, uint32_t c) {
                    return referenceLevel(sat(d + (200 * c) / 256), level);
                });
        }
    }
}

// A 4 × 2 picture row with alpha 0, 255 and two partial values per row.
Image samplePicture() {
    Image image;
    EXPECT_TRUE(createImage(image, 4, 2));
    const uint16_t colours[4] = {0xFFFF, 0xF81F, 0x07E0, 0x1234};
    const uint8_t alphas[4] = {0, 255, 128, 3};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            store565(image.pixel(x, y), colours[x]);
            image.pixel(x, y)[2] = alphas[(x + y) % 4];
        }
    return image;
}

uint32_t expanded(uint16_t c, int ch) {
    return ch == 0 ? (c & 0x1F) << 3 : ch == 1 ? ((c >> 5) & 0x3F) << 2 : (c >> 11) << 3;
}

TEST(Blitters, ImageBlitsTakeAlphaFastPathsAndGeneralFormula) {
    const Image image = samplePicture();
    auto sourceAt = [&](int x, int y) { return image.pixel(x, y); };
    // Plain blit: alpha 0 untouched, 255 exact shifted channels, else the mix.
    {
        std::vector<uint8_t> before = rampScreen(), after = before;
        uint8_t* origin = after.data() + (2 * kScreenW + 3) * 3;
        blitImage(origin, kScreenW, 4, 2, image.pixel(0, 0), image.stride);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                for (int ch = 0; ch < 3; ++ch) {
                    const size_t i = ((2 + y) * kScreenW + 3 + x) * 3 + ch;
                    const uint32_t a = sourceAt(x, y)[2];
                    const uint32_t s = expanded(load565(sourceAt(x, y)), ch);
                    const uint32_t want = a == 0     ? before[i]
                                          : a == 255 ? s
                                                     : (s * a + before[i] * (256 - a)) / 256;
                    EXPECT_EQ(after[i], want) << x << "," << y << " ch " << ch;
                }
    }
    // Faded: weight P for opaque pixels, P × a >> 8 otherwise; alpha 0 skipped.
    for (int p : {0, 1, 128, 255}) {
        std::vector<uint8_t> before = rampScreen(), after = before;
        blitImageFaded(after.data() + (2 * kScreenW + 3) * 3, kScreenW, 4, 2, image.pixel(0, 0),
                       image.stride, p);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                for (int ch = 0; ch < 3; ++ch) {
                    const size_t i = ((2 + y) * kScreenW + 3 + x) * 3 + ch;
                    const uint32_t a = sourceAt(x, y)[2];
                    const uint32_t g = a == 255 ? p : (p * a) / 256;
                    const uint32_t s = expanded(load565(sourceAt(x, y)), ch);
                    const uint32_t want =
                        a == 0 ? before[i] : (s * g + before[i] * (256 - g)) / 256;
                    EXPECT_EQ(after[i], want) << "P " << p << " at " << x << "," << y;
                }
        // Nothing outside the 4 × 2 area moved.
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) {
                if (!(x >= 3 && x < 7 && y >= 2 && y < 4)) {
                    ASSERT_EQ(after[(y * kScreenW + x) * 3], before[(y * kScreenW + x) * 3]);
                }
            }
    }
}

TEST(Blitters, OpaqueWhiteExpandsWithLowBitsZero) {
    Image image;
    ASSERT_TRUE(createImage(image, 1, 1));
    store565(image.pixel(0, 0), 0xFFFF);
    image.pixel(0, 0)[2] = 255;
    uint8_t screen[3] = {1, 2, 3};
    drawImageEntry(image, screen, 1, 0, 0, ScreenRect{0, 0, 1, 1}, 256);
    EXPECT_EQ(screen[0], 0xF8);
    EXPECT_EQ(screen[1], 0xFC);
    EXPECT_EQ(screen[2], 0xF8);
}

TEST(Blitters, RectEntriesPickThePrimitiveByAlphaAndLevel) {
    const uint32_t colour = 0x204080;
    const ScreenRect size{0, 0, 2, 2};
    struct Case {
        int alpha, level;
        std::function<void(uint8_t*)> direct;
    };
    const Case fills[] = {
        {256, 256, [&](uint8_t* p) { fillRect(p, kScreenW, 2, 2, colour); }},
        {100, 256, [&](uint8_t* p) { fillBlend(p, kScreenW, 2, 2, colour, 100); }},
        {256, 100, [&](uint8_t* p) { fillLevel(p, kScreenW, 2, 2, colour, 100); }},
        {100, 400, [&](uint8_t* p) { fillBlendLevel(p, kScreenW, 2, 2, colour, 100, 400); }},
    };
    for (const Case& c : fills) {
        std::vector<uint8_t> viaEntry = rampScreen(), viaPrimitive = viaEntry;
        drawRectEntry(colour, viaEntry.data(), kScreenW, 5, 6, size, c.alpha, c.level);
        c.direct(viaPrimitive.data() + (6 * kScreenW + 5) * 3);
        EXPECT_EQ(viaEntry, viaPrimitive) << c.alpha << "/" << c.level;
    }
    const Case adds[] = {
        {256, 256, [&](uint8_t* p) { addRect(p, kScreenW, 2, 2, colour); }},
        {100, 256, [&](uint8_t* p) { addScaled(p, kScreenW, 2, 2, colour, 100); }},
        {256, 100, [&](uint8_t* p) { addLevel(p, kScreenW, 2, 2, colour, 100); }},
        {100, 400, [&](uint8_t* p) { addScaledLevel(p, kScreenW, 2, 2, colour, 100, 400); }},
    };
    for (const Case& c : adds) {
        std::vector<uint8_t> viaEntry = rampScreen(), viaPrimitive = viaEntry;
        addRectEntry(colour, viaEntry.data(), kScreenW, 5, 6, size, c.alpha, c.level);
        c.direct(viaPrimitive.data() + (6 * kScreenW + 5) * 3);
        EXPECT_EQ(viaEntry, viaPrimitive) << c.alpha << "/" << c.level;
    }
}

TEST(Blitters, FillScreenRectIgnoresEmptyAndInvertedRects) {
    std::vector<uint8_t> before = rampScreen(), after = before;
    fillScreenRect(after.data(), kScreenW, ScreenRect{5, 5, 5, 9}, 0xFFFFFF);
    fillScreenRect(after.data(), kScreenW, ScreenRect{6, 5, 2, 9}, 0xFFFFFF);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace zeku
