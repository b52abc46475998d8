// The save data's layouts: slot file sizes and field places, and the
// thumbnail against a small reference model of the box average. What a
// load refuses is tested on a game (game_saves_test.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "player/system/save_slot_file.h"
#include "player/system/thumbnail_bmp.h"

namespace zeku {
namespace {

TEST(SaveSlotFile, SizesFollowTheScreen) {
    struct Case {
        int width, height;
        size_t file, thumbnailW, thumbnailH, thumbnailBytes;
    };
    for (const Case& c :
         {Case{320, 240, 175022, 80, 60, 9654}, Case{640, 480, 664622, 160, 120, 38454},
          Case{800, 600, 11768 + 960000 + 38454, 160, 120, 38454}}) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(saveSlotFileBytes(c.width, c.height), c.file);
        EXPECT_EQ(size_t(thumbnailWidth(c.width)), c.thumbnailW);
        EXPECT_EQ(size_t(thumbnailHeight(c.width)), c.thumbnailH);
        EXPECT_EQ(thumbnailBmpBytes(thumbnailWidth(c.width), thumbnailHeight(c.width)),
                  c.thumbnailBytes);
        EXPECT_EQ(thumbnailOffset(c.width, c.height), size_t(c.width) * c.height * 2 + 11768);
    }
}

SaveSlotHeader sampleHeader() {
    SaveSlotHeader h;
    std::strcpy(h.dateText, "2026-12-08 09:05:01 ");
    std::strcpy(h.scriptName, "./script.txt");
    std::strcpy(h.messageFileName, "./mes.txt");
    h.position = 0x1234;
    h.defaultColours = {0xFFFF00, 0xFFFFFF};
    h.locate = {40, 20, 40, 300};
    h.musicFirstTrack = 3;
    h.musicSecondTrack = 4;
    h.musicLoop = 1;
    h.numbers[0] = 0xA0A0A0A0;
    h.numbers[2047] = 0xFFFFFFFE;  // -2
    std::strcpy(h.strings[0], "a");
    std::strcpy(h.strings[25], "zz");
    return h;
}

TEST(SaveSlotFile, FieldsSitWhereTheFileKeepsThem) {
    std::vector<uint8_t> file(saveSlotFileBytes(320, 240), 0xEE);
    ASSERT_TRUE(writeSaveSlotHeader(sampleHeader(), file.data(), file.size()));
    struct Word {
        size_t offset;
        uint32_t value;
    };
    for (const Word& w :
         {Word{4, 11768}, Word{208, 0x1234}, Word{212, 0xFFFF00}, Word{216, 0xFFFFFF},
          Word{220, 40}, Word{224, 20}, Word{228, 40}, Word{232, 300}, Word{236, 3}, Word{240, 4},
          Word{244, 1}, Word{248, 0xA0A0A0A0}, Word{248 + 2047 * 4, 0xFFFFFFFE}}) {
        EXPECT_EQ(loadLe32(&file[w.offset]), w.value) << "at " << w.offset;
    }
    struct Text {
        size_t offset;
        const char* text;
    };
    for (const Text& t :
         {Text{0, "ZEKB"}, Text{8, "2026-12-08 09:05:01 "}, Text{80, "./script.txt"},
          Text{144, "./mes.txt"}, Text{8440, "a"}, Text{8440 + 25 * 128, "zz"}}) {
        EXPECT_EQ(std::memcmp(&file[t.offset], t.text, std::strlen(t.text)), 0) << t.offset;
    }
    // Unused bytes of the text fields are zero, and the header ends where the picture starts.
    EXPECT_EQ(file[8 + 20], 0);
    EXPECT_EQ(file[79], 0);
    EXPECT_EQ(file[11767], 0);
    EXPECT_EQ(file[11768], 0xEE);

    const Parsed<SaveSlotView> back = parseSaveSlot(file.data(), file.size(), 320, 240);
    ASSERT_TRUE(back) << back.error().reason();
    EXPECT_STREQ(back->header.scriptName, "./script.txt");
    EXPECT_EQ(back->header.locate, sampleHeader().locate);
    EXPECT_EQ(back->header.numbers, sampleHeader().numbers);
    EXPECT_STREQ(back->header.strings[25], "zz");
    EXPECT_EQ(back->picture, file.data() + 11768);
}

// The reference for sides that divide evenly: each output pixel is the
// plain average of its box of source pixels.
std::vector<uint16_t> referenceThumbnail(const std::vector<uint8_t>& bgr, int sw, int sh, int w,
                                         int h) {
    std::vector<uint16_t> out;
    const int boxW = sw / w, boxH = sh / h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned sum[3] = {}, n = 0;
            for (int sy = y * sh / h; sy < y * sh / h + boxH; ++sy)
                for (int sx = x * sw / w; sx < x * sw / w + boxW; ++sx, ++n)
                    for (int k = 0; k < 3; ++k)
                        sum[k] += bgr[(size_t(sy) * sw + sx) * 3 + size_t(k)];
            const unsigned b = n ? sum[0] / n : 0, g = n ? sum[1] / n : 0, r = n ? sum[2] / n : 0;
            out.push_back(uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3));
        }
    }
    return out;
}

TEST(ThumbnailBmp, BoxAverageAndTheFileRoundTrip) {
    struct Case {
        int sourceW, sourceH, w, h;
    };
    for (const Case& c : {Case{320, 240, 80, 60}, Case{640, 480, 160, 120}, Case{8, 6, 4, 3}}) {
        SCOPED_TRACE(c.sourceW);
        std::vector<uint8_t> bgr(size_t(c.sourceW) * c.sourceH * 3);
        for (size_t i = 0; i < bgr.size(); ++i)
            bgr[i] = uint8_t((i * 37) ^ (i >> 5));
        std::vector<uint8_t> file(thumbnailBmpBytes(c.w, c.h));
        ASSERT_TRUE(writeThumbnailBmp(bgr.data(), c.sourceW, c.sourceH, size_t(c.sourceW) * 3, c.w,
                                      c.h, file.data(), file.size()));
        // The header as any BMP reader expects it.
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(loadLe32(&file[2]), file.size());
        EXPECT_EQ(loadLe32(&file[10]), 54u);
        EXPECT_EQ(loadLe32(&file[14]), 40u);
        EXPECT_EQ(loadLe32(&file[18]), uint32_t(c.w));
        EXPECT_EQ(loadLe32(&file[22]), uint32_t(c.h));
        EXPECT_EQ(loadLe16(&file[26]), 1);
        EXPECT_EQ(loadLe16(&file[28]), 16);
        EXPECT_EQ(loadLe32(&file[34]), file.size() - 54);
        // Rows bottom-up: the file's first row is the picture's last.
        const std::vector<uint16_t> expected =
            referenceThumbnail(bgr, c.sourceW, c.sourceH, c.w, c.h);
        EXPECT_EQ(loadLe16(&file[54]), expected[size_t(c.h - 1) * size_t(c.w)]);
        const Parsed<MenuThumbnail> decoded = decodeThumbnailBmp(file.data(), file.size());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, c.w);
        EXPECT_EQ(decoded->height, c.h);
        EXPECT_EQ(decoded->pixels, expected);
    }
}

TEST(ThumbnailBmp, BoxesPastTheSourceAreBlackAndBadFilesAreRefused) {
    // 3 × 2 into 4 × 4: steps below one pixel give empty boxes.
    const std::vector<uint8_t> white(3 * 2 * 3, 0xFF);
    std::vector<uint8_t> file(thumbnailBmpBytes(4, 4));
    ASSERT_TRUE(writeThumbnailBmp(white.data(), 3, 2, 9, 4, 4, file.data(), file.size()));
    const Parsed<MenuThumbnail> decoded = decodeThumbnailBmp(file.data(), file.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, std::vector<uint16_t>(16, 0));
    EXPECT_FALSE(writeThumbnailBmp(white.data(), 3, 2, 9, 4, 4, file.data(), file.size() - 1));

    struct Case {
        const char* name;
        size_t at;
        uint8_t value;
        size_t size;
    };
    for (const Case& c :
         {Case{"24 bits", 28, 24, file.size()}, Case{"compressed", 30, 3, file.size()},
          Case{"no width", 18, 0, file.size()}, Case{"huge height", 24, 0x40, file.size()},
          Case{"pixels cut", 0, 'B', file.size() - 1}, Case{"header cut", 0, 'B', 53},
          Case{"not BM", 1, 'X', file.size()}}) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bad(file.begin(), file.begin() + ptrdiff_t(c.size));
        bad[c.at] = c.value;
        EXPECT_FALSE(decodeThumbnailBmp(bad.data(), bad.size()));
    }
}

}  // namespace
}  // namespace zeku
