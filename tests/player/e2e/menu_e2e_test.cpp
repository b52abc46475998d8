// The menu in a headless run of the real player: B opens it, the keys walk
// to "基準音量" and choose "50%", which halves the playing track in the
// captured sound at once; a right click opens it again to choose "100%";
// "終了" then ends the run with exit code 0, long before its frame limit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "converter/pipeline/mp3_encoder.h"
#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr int kRate = 22050;

// Root mean square of the samples from `from` to `to` seconds.
double level(const std::vector<int16_t>& samples, double from, double to) {
    const size_t first = size_t(from * kRate) * 2;
    const size_t last = std::min(samples.size(), size_t(to * kRate) * 2);
    double sum = 0;
    for (size_t i = first; i < last; ++i)
        sum += double(samples[i]) * samples[i];
    return last > first ? std::sqrt(sum / double(last - first)) : 0;
}

TEST(MenuRun, KeysAndARightClickChooseTheMasterVolumeAndQuitEndsTheRun) {
    const Screen& screen = screenHpc();
    test_support::TempFolder folder("zeku-e2e");
    const std::string root = folder.path().string();
    TinyGame game;
    game.setScript(
        "|_Start:\n"
        "#OpenPlayMCICdda(3,3,1)\n"
        "#Wait(60000)\n"
        "#END()\n");
    ASSERT_TRUE(game.install(screen, root));
    Mp3EncoderLibrary lame;
    ASSERT_TRUE(lame.open("")) << lame.openError();
    std::vector<int16_t> tone;
    for (int i = 0; i < kRate / 2; ++i) {
        const auto v = int16_t(10000 * std::sin(2 * M_PI * 441 * i / kRate));
        tone.push_back(v);
        tone.push_back(v);
    }
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(lame.encode(reinterpret_cast<const uint8_t*>(tone.data()), tone.size() * 2,
                            Mp3EncodeSettings{kRate, 2, 128}, mp3, error))
        << error;
    std::ofstream(root + "/data/track_03.mp3", std::ios::binary)
        .write(reinterpret_cast<const char*>(mp3.data()), std::streamsize(mp3.size()));

    // Up from nothing wraps to "終了"; three more reach "設定" past the
    // separators; right opens it, down and right open "基準音量".
    const std::vector<std::string> toMaster = {"0x26", "0x26", "0x26", "0x26",
                                               "0x27", "0x28", "0x27"};
    std::string input = "100 key x\n";  // X plays B
    input += keyPresses(104, toMaster);
    input += keyPresses(132, {"0x28", "0x28", "0x28", "0x28", "0x28", "0x28", "c"});  // 50%
    input += "250 rtap\n";
    input += keyPresses(254, toMaster);
    input += keyPresses(282, {"0x28", "c"});  // 100%
    input += "380 key x\n";
    input += keyPresses(384, {"0x26", "c"});  // 終了

    const std::string wav = root + "/capture.wav";
    const PlayerRun run = runPlayer(screen, root, 5000, {}, input, "--audio-out " + wav);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<int16_t> samples;
    ASSERT_TRUE(readCaptureSamples(wav, samples));

    // The capture runs four buffers (0.56 s) behind the game. Choices at
    // frames 156 (2.5 s) and 286 (4.6 s), quit at frame 388 (6.2 s).
    const double loud = level(samples, 1.2, 2.6);
    const double half = level(samples, 3.5, 5.0);
    const double loudAgain = level(samples, 5.6, 6.6);
    ASSERT_GT(loud, 1000.0);
    EXPECT_NEAR(half / loud, 0.5, 0.05);
    EXPECT_NEAR(loudAgain / loud, 1.0, 0.1);
    // "終了" ended the run there, far before the 5000th frame.
    const double seconds = double(samples.size()) / 2 / kRate;
    EXPECT_GT(seconds, 6.2);
    EXPECT_LT(seconds, 7.5);
}

}  // namespace
}  // namespace zeku::e2e
