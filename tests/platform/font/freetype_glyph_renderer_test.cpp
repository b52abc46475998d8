// The real FreeType renderer with the installed Japanese gothic: glyphs are
// monochrome, placed inside the cell, bold inks more, unknown faces fall
// back with one notice, and nothing that is not a character draws.
#include "platform/font/freetype_glyph_renderer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

const std::string kMsGothic =
    "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
constexpr uint16_t kHiraganaA = 0x82A0;                      // あ
constexpr uint16_t kKanjiKan = 0x8ABF;                       // 漢

class RecordedNotices : public Notices {
  public:
    void notice(std::string_view line) override { lines.emplace_back(line); }
    std::vector<std::string> lines;
};

struct Ink {
    int count = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool monochrome = true;
};

Ink inkOf(const std::vector<uint8_t>& cell, int cellPx) {
    Ink ink;
    for (int y = 0; y < cellPx; ++y) {
        for (int x = 0; x < cellPx; ++x) {
            const uint8_t v = cell[static_cast<size_t>(y) * cellPx + x];
            if (v != 0 && v != 255) ink.monochrome = false;
            if (v == 0) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

struct Rendered {
    bool ok;
    std::vector<uint8_t> cell;
    Ink ink;
};

Rendered renderOne(FreeTypeGlyphRenderer& r, const std::string& face, int weight, uint16_t code,
                   int cellPx) {
    // Filled with a pattern so a renderer that leaves bytes alone is caught.
    std::vector<uint8_t> cell(static_cast<size_t>(cellPx) * cellPx, 0x5A);
    const bool ok = r.render(face, weight, code, cellPx, cell.data());
    const Ink ink = inkOf(cell, cellPx);
    return {ok, std::move(cell), ink};
}

TEST(FreeTypeGlyphRenderer, FullWidthCharactersAreMonochromeAndFillAPlausiblePartOfTheCell) {
    FreeTypeGlyphRenderer renderer;
    for (int cellPx : {12, 16, 24, 32, 96}) {
        for (uint16_t code : {kHiraganaA, kKanjiKan}) {
            SCOPED_TRACE(testing::Message() << "cell " << cellPx << " code " << std::hex << code);
            const Rendered r = renderOne(renderer, kMsGothic, 400, code, cellPx);
            ASSERT_TRUE(r.ok);
            EXPECT_TRUE(r.ink.monochrome);
            // Ink over 5..70 % of the square, spanning most of its width and
            // height, and not glued to the top row (the ascent has room).
            EXPECT_GT(r.ink.count, cellPx * cellPx / 20);
            EXPECT_LT(r.ink.count, cellPx * cellPx * 7 / 10);
            EXPECT_GE(r.ink.right - r.ink.left + 1, cellPx * 6 / 10);
            EXPECT_GE(r.ink.bottom - r.ink.top + 1, cellPx * 6 / 10);
            EXPECT_LT(r.ink.bottom, cellPx);
        }
    }
}

TEST(FreeTypeGlyphRenderer, SingleByteCharactersAreHalfWidthAndSitOnTheBaseline) {
    FreeTypeGlyphRenderer renderer;
    const int cellPx = 32;
    const Rendered a = renderOne(renderer, kMsGothic, 400, 'A', cellPx);
    const Rendered g = renderOne(renderer, kMsGothic, 400, 'g', cellPx);
    const Rendered kana = renderOne(renderer, kMsGothic, 400, 0xB1, cellPx);  // half-width ｱ
    for (const Rendered* r : {&a, &g, &kana}) {
        ASSERT_TRUE(r->ok);
        EXPECT_GT(r->ink.count, 0);
        EXPECT_LE(r->ink.right, cellPx / 2 + 1);
    }
    // "g" hangs below the baseline "A" stands on; "A" keeps clear of the cell bottom.
    EXPECT_GT(g.ink.bottom, a.ink.bottom);
    EXPECT_LT(a.ink.bottom, cellPx - 2);
}

TEST(FreeTypeGlyphRenderer, HeavyWeightsInkMoreThanNormal) {
    FreeTypeGlyphRenderer renderer;
    for (int cellPx : {12, 24, 64}) {
        for (uint16_t code : {kHiraganaA, kKanjiKan, static_cast<uint16_t>('M')}) {
            const Rendered normal = renderOne(renderer, kMsGothic, 400, code, cellPx);
            const Rendered heavy = renderOne(renderer, kMsGothic, 900, code, cellPx);
            const Rendered light = renderOne(renderer, kMsGothic, 100, code, cellPx);
            EXPECT_GT(heavy.ink.count, normal.ink.count) << cellPx << " " << code;
            EXPECT_EQ(light.cell, normal.cell);  // no light face is synthesised
        }
    }
}

TEST(FreeTypeGlyphRenderer, UnknownFacesFallBackToTheDefaultAndSaySoOnce) {
    RecordedNotices notices;
    FreeTypeGlyphRenderer renderer(&notices);
    const Rendered reference = renderOne(renderer, kMsGothic, 400, kHiraganaA, 24);
    EXPECT_TRUE(notices.lines.empty());
    // "MS Gothic" and the installed gothic's own name resolve without a word.
    renderOne(renderer, "MS Gothic", 400, kHiraganaA, 24);
    renderOne(renderer, "IPAGothic", 400, kHiraganaA, 24);
    EXPECT_TRUE(notices.lines.empty());

    for (int i = 0; i < 3; ++i) {
        const Rendered unknown = renderOne(renderer, "No Such Face 123", 400, kHiraganaA, 24);
        ASSERT_TRUE(unknown.ok);
        EXPECT_EQ(unknown.cell, reference.cell);
    }
    ASSERT_EQ(notices.lines.size(), 1u);
    EXPECT_NE(notices.lines[0].find("No Such Face 123"), std::string::npos);
    // A font without Japanese characters is no better than a missing one.
    renderOne(renderer, "DejaVu Sans", 400, kHiraganaA, 24);
    EXPECT_EQ(notices.lines.size(), 2u);
    EXPECT_EQ(renderer.fontFamilyFor("No Such Face 123"), renderer.fontFamilyFor(kMsGothic));
    EXPECT_FALSE(renderer.fontFamilyFor(kMsGothic).empty());
}

TEST(FreeTypeGlyphRenderer, ManyFaceNamesKeepWorkingPastTheRememberedOnes) {
    FreeTypeGlyphRenderer renderer;
    const Rendered reference = renderOne(renderer, kMsGothic, 400, kKanjiKan, 16);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 80; ++i) {
            const std::string face =
                i % 2 ? "Face " + std::to_string(i) : kMsGothic + std::to_string(i);
            const Rendered r = renderOne(renderer, face, 400, kKanjiKan, 16);
            ASSERT_TRUE(r.ok) << face;
            ASSERT_EQ(r.cell, reference.cell) << face;
        }
    }
}

TEST(FreeTypeGlyphRenderer, CodesThatAreNoCharacterDrawNothing) {
    FreeTypeGlyphRenderer renderer;
    const uint16_t bad[] = {
        0x0000, 0x000A, 0x001F, 0x007F, 0x0080, 0x00A0, 0x00FD, 0x00FF,  // controls, unused bytes
        0x0082, 0x00E0,                                                  // a lone lead byte
        0x8200, 0x823F, 0x82FD, 0x4142, 0xA0A0, 0xFDFD,                  // bad pairs
        0x8540,                                                          // unassigned
    };
    for (uint16_t code : bad) {
        const Rendered r = renderOne(renderer, kMsGothic, 400, code, 16);
        EXPECT_FALSE(r.ok) << std::hex << code;
        EXPECT_EQ(r.ink.count, 0) << std::hex << code;
    }
    // Spaces are characters with no ink.
    for (uint16_t code : {static_cast<uint16_t>(0x20), static_cast<uint16_t>(0x8140)}) {
        const Rendered r = renderOne(renderer, kMsGothic, 400, code, 16);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.ink.count, 0);
    }
    // Nowhere to draw, or a cell too tall to render.
    EXPECT_FALSE(renderer.render(kMsGothic, 400, kHiraganaA, 0, nullptr));
    EXPECT_FALSE(renderer.render(kMsGothic, 400, kHiraganaA, -5, nullptr));
    EXPECT_FALSE(renderOne(renderer, kMsGothic, 400, kHiraganaA, kMaxGlyphCellPx + 1).ok);
}

TEST(FreeTypeGlyphRenderer, EveryCellSizeFromOneToThreeHundredRendersInsideItsSquare) {
    FreeTypeGlyphRenderer renderer;
    int previousInk = 0;
    for (int cellPx = 1; cellPx <= 300; ++cellPx) {
        const Rendered r =
            renderOne(renderer, kMsGothic, cellPx % 2 ? 400 : 700, kKanjiKan, cellPx);
        ASSERT_TRUE(r.ok) << cellPx;
        ASSERT_TRUE(r.ink.monochrome) << cellPx;
        if (cellPx >= 8) {
            EXPECT_GT(r.ink.count, 0) << cellPx;
        }
        // Ink grows with the cell (allowing for bold on even sizes).
        if (cellPx >= 20 && cellPx % 2 == 1) {
            EXPECT_GT(r.ink.count, previousInk / 2) << cellPx;
            previousInk = r.ink.count;
        }
    }
}

TEST(FreeTypeGlyphRenderer, WithoutAnyFontNothingDrawsAndThatIsSaidOnce) {
    // A font configuration that names no font folder at all.
    test_support::TempFolder folder("zeku-nofont");
    const std::string conf = folder.file("fonts.conf");
    const std::string text = "<?xml version=\"1.0\"?><fontconfig><cachedir>" +
                             folder.file("cache") + "</cachedir></fontconfig>";
    test_support::writeBytes(conf, std::vector<uint8_t>(text.begin(), text.end()));
    const char* previous = getenv("FONTCONFIG_FILE");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("FONTCONFIG_FILE", conf.c_str(), 1);

    RecordedNotices notices;
    {
        FreeTypeGlyphRenderer renderer(&notices);
        for (const std::string& face : {kMsGothic, std::string("No Such Face"), kMsGothic}) {
            const Rendered r = renderOne(renderer, face, 400, kHiraganaA, 24);
            EXPECT_FALSE(r.ok);
            EXPECT_EQ(r.ink.count, 0);
        }
        EXPECT_EQ(renderer.fontFamilyFor(kMsGothic), "");
    }
    if (previous != nullptr) {
        setenv("FONTCONFIG_FILE", saved.c_str(), 1);
    } else {
        unsetenv("FONTCONFIG_FILE");
    }
    ASSERT_EQ(notices.lines.size(), 1u);
    EXPECT_NE(notices.lines[0].find("no outline font"), std::string::npos);
}

}  // namespace
}  // namespace zeku
