// The real font through the cache onto the screen: k = 1 keeps FreeType's
// pixels exactly, k = 4 smooths the same shape, and a drawn line of text
// shows the colour on full coverage and the black shadow beside it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/font/freetype_glyph_renderer.h"
#include "player/graphics/glyph_cache.h"
#include "player/graphics/glyph_drawing.h"
#include "player/graphics/message_font.h"

namespace zeku {
namespace {

constexpr int kSize = 22;  // the message size on the 640-pixel screen
const uint16_t kCodes[] = {0x82A0, 0x8ABF, 'A', 0x8142};  // あ 漢 A 。

TEST(MessageGlyphs, SupersamplingKeepsTheShapeAndDrawingShowsColourAndShadow) {
    FreeTypeGlyphRenderer renderer;
    GlyphCache cache(&renderer);
    ScreenSurface screen;
    ASSERT_TRUE(screen.create(160, 40));
    std::fill(screen.pixels(), screen.pixels() + 160 * 40 * 3, uint8_t{0x80});
    const uint32_t colour = 0x20C0F0;  // screen bytes F0 C0 20

    int left = 2;
    for (uint16_t code : kCodes) {
        SCOPED_TRACE(code);
        std::vector<uint8_t> direct(kSize * kSize);
        ASSERT_TRUE(renderer.render(kDefaultFontFace, 400, code, kSize, direct.data()));
        const uint8_t* sharp = cache.coverage(kDefaultFontFace, 400, code, kSize, 1);
        ASSERT_EQ(std::vector<uint8_t>(sharp, sharp + kSize * kSize), direct);

        const uint8_t* smooth = cache.coverage(kDefaultFontFace, 400, code, kSize, 4);
        int sharpInk = 0, partial = 0;
        long smoothInk = 0;
        for (int i = 0; i < kSize * kSize; ++i) {
            sharpInk += sharp[i] == 255;
            smoothInk += smooth[i];
            partial += smooth[i] != 0 && smooth[i] != 255;
        }
        // The same amount of ink within a third, spread over soft edges.
        EXPECT_NEAR(static_cast<double>(smoothInk) / 255, sharpInk, sharpInk / 3.0 + 2);
        EXPECT_GT(partial, 0);

        drawGlyph(screen, sharp, kSize, left, 4, colour, true);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const uint8_t* p = screen.pixel(left + x, 4 + y);
                if (sharp[y * kSize + x] == 255) {
                    ASSERT_EQ((p[0] << 16) | (p[1] << 8) | p[2], 0xF0C020) << x << "," << y;
                } else if (x > 0 && y > 0 && sharp[(y - 1) * kSize + x - 1] == 255) {
                    ASSERT_EQ((p[0] << 16) | (p[1] << 8) | p[2], 0) << x << "," << y;  // shadow
                }
            }
        }
        left += code < 0x100 ? kSize / 2 : kSize;
    }
    // Drawing the line again costs no rendering.
    const size_t rendered = cache.rasterisations();
    for (uint16_t code : kCodes)
        cache.coverage(kDefaultFontFace, 400, code, kSize, 4);
    EXPECT_EQ(cache.rasterisations(), rendered);
    EXPECT_EQ(rendered, 2 * std::size(kCodes));
}

}  // namespace
}  // namespace zeku
