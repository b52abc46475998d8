// #Wipe's column and band effects through the whole chain: screenshots at
// chosen virtual times must equal the pieces predicted from the effect's
// arithmetic, in both directions, and the skip key ends the effect in the
// frame it is pressed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr Rgb kOld{0xB7, 0x67, 0x2F};
constexpr Rgb kNew{0x3E, 0xDB, 0x9E};
// Frame 1 shows the old background; the wipe starts in frame 2, and each
// frame is one 16 ms tick of the virtual clock.
constexpr int kWipeFrame = 2;
constexpr int kFrameMs = 16;
constexpr int kWipeMs = 750;

struct WipeCase {
    int kind;
    int direction;
};

class EffectRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e"};
    std::string root() const { return folder_.path().string(); }

    bool install(const WipeCase& c) {
        TinyGame game;
        game.setScript(
            "|_Start:\n"
            "#CreateImage(0,0,800,600)\n"
            "#LoadImage(3,\"./bg/old.png\")\n"
            "#Paint()\n"
            "#LoadImage(5,\"./bg/new.png\")\n"
            "#Wipe(5," +
            std::to_string(c.direction) + ",0," + std::to_string(c.kind) +
            ")\n"
            "#Wait(60000)\n"
            "#END()\n");
        game.addFile("./bg/old.png", pngFlat(800, 600, kOld));
        game.addFile("./bg/new.png", pngFlat(800, 600, kNew));
        return game.install(screen(), root());
    }
};

// The screen `elapsedMs` into the wipe: 40 columns (kind 5) or bands
// (kind 6) of screen width / 40 pixels, each revealing one pixel per unit
// of progress from its start, in order or backwards.
Picture predictedWipe(const Screen& s, const WipeCase& c, int elapsedMs) {
    Picture picture(s.width, s.height, shown(kOld));
    const bool bands = c.kind == 6;
    const bool backward = c.direction < 0;
    const int band = s.width / 40;
    const int length = bands ? s.height : s.width;
    const int count = (length + band - 1) / band;
    const int units = count - 1 + band;
    const int v = std::min(elapsedMs, kWipeMs) * units / kWipeMs;
    for (int k = 0; k < count; ++k) {
        const int start = backward ? count - 1 - k : k;
        const int r = elapsedMs >= kWipeMs ? band : std::clamp(v - start, 0, band);
        // Forward shows the head of each band, backward its tail.
        const int from = backward ? k * band + band - r : k * band;
        if (bands)
            picture.fill(0, from, s.width, from + r, shown(kNew));
        else
            picture.fill(from, 0, from + r, s.height, shown(kNew));
    }
    return picture;
}

TEST_P(EffectRun, WipeKindsFiveAndSixShowThePredictedPiecesBothWays) {
    const std::vector<int> frames = {kWipeFrame, kWipeFrame + 10, kWipeFrame + 25, kWipeFrame + 44,
                                     kWipeFrame + 50};
    for (const WipeCase c : {WipeCase{5, 1}, WipeCase{5, -1}, WipeCase{6, 0}, WipeCase{6, -3}}) {
        ASSERT_TRUE(install(c));
        const PlayerRun run = runPlayer(screen(), root(), kWipeFrame + 50, frames);
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        for (int frame : frames) {
            ASSERT_EQ(run.shots.count(frame), 1u) << frame;
            const int elapsed = (frame - kWipeFrame) * kFrameMs;
            EXPECT_TRUE(samePicture(predictedWipe(screen(), c, elapsed), run.shots.at(frame)))
                << "kind " << c.kind << ", direction " << c.direction << ", " << elapsed << " ms";
        }
    }
}

TEST_P(EffectRun, SkipKeyEndsTheWipeInTheFrameItIsPressed) {
    const WipeCase c{5, 1};
    ASSERT_TRUE(install(c));
    const int pressed = kWipeFrame + 12;
    const std::string input = std::to_string(pressed) + " key 0x25\n";  // left: skip
    const PlayerRun run =
        runPlayer(screen(), root(), pressed + 2, {pressed - 1, pressed, pressed + 2}, input);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), 3u);
    EXPECT_TRUE(samePicture(predictedWipe(screen(), c, (pressed - 1 - kWipeFrame) * kFrameMs),
                            run.shots.at(pressed - 1)));
    const Picture done(screen().width, screen().height, shown(kNew));
    EXPECT_TRUE(samePicture(done, run.shots.at(pressed))) << "the frame of the press";
    EXPECT_TRUE(samePicture(done, run.shots.at(pressed + 2)));
}

INSTANTIATE_TEST_SUITE_P(Screens, EffectRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace zeku::e2e
