// Pictures through the whole chain: PNG in the source game, converter at
// raw quality, player headless, screenshot. Colours are chosen high in
// their RGB565 step so that any rounding instead of truncation, or widening
// that copies high bits down, shows up as a wrong pixel.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr Rgb kSky{0xB7, 0x67, 0x2F};
constexpr Rgb kCoat{0x3E, 0xDB, 0x9E};
constexpr Rgb kGlass{0xF6, 0x2B, 0x77};

class PictureRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e"};
    std::string root() const { return folder_.path().string(); }
};

TEST_P(PictureRun, RawBackgroundFillsTheScreenWithItsConvertedColour) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#Paint()\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    ASSERT_TRUE(game.install(screen(), root()));

    const PlayerRun run = runPlayer(screen(), root(), 10, {10});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.count(10), 1u);
    EXPECT_TRUE(
        samePicture(Picture(screen().width, screen().height, shown(kSky)), run.shots.at(10)));
}

// A 200 × 200 character: an opaque left half, a clear band and a
// half-transparent band. The game's alpha means transparency.
std::vector<uint8_t> characterPng() {
    return pngRgba(200, 200, [](int x, int) -> uint32_t {
        auto pack = [](Rgb c, uint8_t alpha) {
            return uint32_t(c.red) << 24 | uint32_t(c.green) << 16 | uint32_t(c.blue) << 8 | alpha;
        };
        if (x < 100) return pack(kCoat, 0);
        if (x < 150) return pack(Rgb{0xFF, 0x00, 0xFF}, 255);  // would show if drawn
        return pack(kGlass, 155);  // stored opacity 100, read back as 103
    });
}

TEST_P(PictureRun, CharacterWithAlphaIsBlendedOverTheBackground) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(2,\"./st/chara.png\")\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#AlphaBlt(3,200,100,2)\n"
        "#Paint()\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    game.addFile("./st/chara.png", characterPng());
    ASSERT_TRUE(game.install(screen(), root()));

    const PlayerRun run = runPlayer(screen(), root(), 10, {10});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.count(10), 1u);

    const int percent = screen().scalePercent;
    auto side = [&](int source) { return source * percent / 100; };
    const int left = toScreenX(screen(), 200);
    const int top = toScreenY(screen(), 100);
    const int bottom = top + side(200);
    const Rgb sky = shown(kSky);
    const Rgb glass = shown(kGlass);
    constexpr int kOpacity = 103;
    auto mix = [&](uint8_t s, uint8_t d) {
        return uint8_t((s * kOpacity + d * (256 - kOpacity)) >> 8);
    };
    const Rgb blended =
        shown(Rgb{mix(glass.red, sky.red), mix(glass.green, sky.green), mix(glass.blue, sky.blue)});
    Picture expected(screen().width, screen().height, sky);
    expected.fill(left, top, left + side(100), bottom, shown(kCoat));
    expected.fill(left + side(150), top, left + side(200), bottom, blended);
    EXPECT_TRUE(samePicture(expected, run.shots.at(10)));
}

// Four quarters, so a shake along either axis moves a visible edge.
constexpr Rgb kQuarters[4] = {
    {0xB7, 0x67, 0x2F}, {0x2F, 0xB7, 0x67}, {0x67, 0x2F, 0xB7}, {0xEF, 0xEB, 0x17}};

Picture quarters(const Screen& screen) {
    Picture picture(screen.width, screen.height, Rgb{});
    const int midX = toScreenX(screen, 400);
    const int midY = toScreenY(screen, 300);
    picture.fill(0, 0, midX, midY, shown(kQuarters[0]));
    picture.fill(midX, 0, screen.width, midY, shown(kQuarters[1]));
    picture.fill(0, midY, midX, screen.height, shown(kQuarters[2]));
    picture.fill(midX, midY, screen.width, screen.height, shown(kQuarters[3]));
    return picture;
}

// The screen as presented with its source moved by (dx, dy); black where
// the source lies outside the picture.
Picture shifted(const Picture& picture, int dx, int dy) {
    Picture out(picture.width, picture.height, Rgb{});
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int sx = x + dx;
            const int sy = y + dy;
            if (sx >= 0 && sy >= 0 && sx < picture.width && sy < picture.height)
                out.at(x, y) = picture.at(sx, sy);
        }
    }
    return out;
}

TEST_P(PictureRun, ShakeMovesTheWholePictureAndEndsWhereItStarted) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/quarters.png\")\n"
        "#Paint()\n"
        "#Wait(100)\n"
        "#Wipe(20,0,4,7)\n"
        "#Wipe(30,1,3,7)\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/quarters.png", pngRgba(800, 600, [](int x, int y) -> uint32_t {
                     const Rgb c = kQuarters[(x < 400 ? 0 : 1) + (y < 300 ? 0 : 2)];
                     return uint32_t(c.red) << 24 | uint32_t(c.green) << 16 | uint32_t(c.blue) << 8;
                 }));
    ASSERT_TRUE(game.install(screen(), root()));

    constexpr int kFirstShot = 4;
    constexpr int kLastShot = 44;
    std::vector<int> frames;
    for (int f = kFirstShot; f <= kLastShot; ++f)
        frames.push_back(f);
    const PlayerRun run = runPlayer(screen(), root(), kLastShot, frames);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), frames.size());

    // Every screenshot is the picture at one of the five offsets; the runs
    // of equal offsets must follow the two shakes' reversals.
    const Picture normal = quarters(screen());
    const int ax = toScreenX(screen(), 20);
    const int ay = toScreenY(screen(), 30);
    const std::vector<std::pair<int, int>> offsets = {{0, 0}, {ax, 0}, {-ax, 0}, {0, ay}, {0, -ay}};
    std::vector<std::pair<std::pair<int, int>, int>> runs;  // offset, frames
    for (int f : frames) {
        const Picture& shot = run.shots.at(f);
        const std::pair<int, int>* match = nullptr;
        for (const auto& offset : offsets) {
            if (samePicture(shifted(normal, offset.first, offset.second), shot)) match = &offset;
        }
        ASSERT_NE(match, nullptr) << "frame " << f << " shows no expected offset";
        if (runs.empty() || runs.back().first != *match)
            runs.push_back({*match, 1});
        else
            ++runs.back().second;
    }
    const std::vector<std::pair<int, int>> order = {{0, 0}, {ax, 0}, {-ax, 0}, {ax, 0}, {-ax, 0},
                                                    {0, 0}, {0, ay}, {0, -ay}, {0, ay}, {0, 0}};
    ASSERT_EQ(runs.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(runs[i].first, order[i]) << "run " << i;
        // A reversal comes with the first frame more than 50 ms after the
        // last one: four frames of 16 ms.
        if (i != 0 && i != 5 && i + 1 != order.size()) {
            EXPECT_EQ(runs[i].second, 4) << "run " << i;
        }
    }
    EXPECT_EQ(runs[5].second, 1);  // the frame between the two shakes
}

INSTANTIATE_TEST_SUITE_P(Screens, PictureRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace zeku::e2e
