// Scripted input through the whole chain: hot areas highlighted by cursor
// keys, chosen by a tap or the decide key, and the script following the
// chosen area; and the script closing the player itself.
#include <gtest/gtest.h>

#include <string>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr Rgb kSky{0xB7, 0x67, 0x2F};
constexpr Rgb kNight{0x1F, 0x27, 0x57};
constexpr Rgb kDawn{0xEF, 0x9B, 0x6F};
// The highlight colours the two areas add; the first one saturates red on
// the sky.
constexpr Rgb kFirstLight{96, 32, 16};
constexpr Rgb kSecondLight{16, 64, 128};

class InputRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e"};
    std::string root() const { return folder_.path().string(); }
};

Rgb added(Rgb base, Rgb light) {
    auto sum = [](int a, int b) { return uint8_t(a + b > 255 ? 255 : a + b); };
    return shown(
        Rgb{sum(base.red, light.red), sum(base.green, light.green), sum(base.blue, light.blue)});
}

TEST_P(InputRun, HotAreasAreHighlightedByKeysAndFollowTheChosenArea) {
    const std::string areas =
        "#MouseClickEventEX()\n"
        "{\n"
        "0,0,400,300,\"_Night\",\"./script.txt\",0,0,0,RGB(96,32,16)\n"
        "400,300,800,600,\"_Dawn\",\"./script.txt\",0,0,0,RGB(16,64,128)\n"
        "}\n";
    // The night picture's name is Shift-JIS ("夜").
    const std::string nightName = "./bg/\x96\xE9.png";
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#Paint()\n" +
        areas +
        "|_Night:\n"
        "#LoadImage(3,\"" +
        nightName +
        "\")\n"
        "#Paint()\n" +
        areas +
        "|_Dawn:\n"
        "#LoadImage(3,\"./bg/dawn.png\")\n"
        "#Paint()\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    game.addFile(nightName, pngFlat(800, 600, kNight));
    game.addFile("./bg/dawn.png", pngFlat(800, 600, kDawn));
    ASSERT_TRUE(game.install(screen(), root()));

    const int w = screen().width;
    const int h = screen().height;
    const std::string input =
        "10 key 0x28\n"  // down: the first area
        "20 key 0x28\n"  // down: the second area
        "30 tap " +
        std::to_string(w / 8) + " " + std::to_string(h / 8) +
        "\n"              // a tap chooses the first area
        "40 key 0x26\n"   // up from none: the last area
        "50 key 0x43\n";  // C decides
    const PlayerRun run = runPlayer(screen(), root(), 60, {12, 22, 35, 42, 55}, input);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), 5u);

    const Rgb sky = shown(kSky);
    const Rgb night = shown(kNight);
    Picture firstLit(w, h, sky);
    firstLit.fill(0, 0, w / 2, h / 2, added(sky, kFirstLight));
    EXPECT_TRUE(samePicture(firstLit, run.shots.at(12))) << "first area highlighted";

    Picture secondLit(w, h, sky);
    secondLit.fill(w / 2, h / 2, w, h, added(sky, kSecondLight));
    EXPECT_TRUE(samePicture(secondLit, run.shots.at(22))) << "second area highlighted";

    EXPECT_TRUE(samePicture(Picture(w, h, night), run.shots.at(35))) << "after the tap";

    Picture nightLit(w, h, night);
    nightLit.fill(w / 2, h / 2, w, h, added(night, kSecondLight));
    EXPECT_TRUE(samePicture(nightLit, run.shots.at(42))) << "up from no selection";

    EXPECT_TRUE(samePicture(Picture(w, h, shown(kDawn)), run.shots.at(55))) << "after C";
}

TEST_P(InputRun, BreakAppEndsThePlayerBeforeItsFrames) {
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#CreateImage(0,0,800,600)\n"
        "#LoadImage(3,\"./bg/sky.png\")\n"
        "#Paint()\n"
        "#Wait(100)\n"
        "#BreakApp()\n"
        "#Wait(60000)\n"
        "#END()\n");
    game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
    ASSERT_TRUE(game.install(screen(), root()));

    const PlayerRun run = runPlayer(screen(), root(), 600, {3, 100});
    ASSERT_EQ(run.shots.count(3), 1u);
    EXPECT_TRUE(
        samePicture(Picture(screen().width, screen().height, shown(kSky)), run.shots.at(3)));
    EXPECT_EQ(run.shots.count(100), 0u) << "the player was still running at frame 100";
    // The screenshot it never reached makes the run a failure that says so.
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("100.png not written: the run ended after frame 10"),
              std::string::npos)
        << run.errors;
}

INSTANTIATE_TEST_SUITE_P(Screens, InputRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace zeku::e2e
