// Sound through the whole chain: a converted game plays an effect and a
// looping CD track headless, and the captured WAV shows where each one is
// heard, the loop, the stop, and a missing track's silence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "converter/pipeline/mp3_encoder.h"
#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/wav_writer.h"

namespace zeku::e2e {
namespace {

constexpr int kRate = 22050;

std::vector<int16_t> tone(double seconds, double hz, int channels) {
    std::vector<int16_t> out;
    const int frames = int(seconds * kRate);
    for (int i = 0; i < frames; ++i) {
        const auto v = int16_t(10000 * std::sin(2 * M_PI * hz * i / kRate));
        for (int c = 0; c < channels; ++c)
            out.push_back(v);
    }
    return out;
}

// Frames of the capture (stereo) and whether any sample in [from, to) sounds.
struct Capture {
    std::vector<int16_t> samples;
    size_t frames() const { return samples.size() / 2; }
    bool audible(size_t from, size_t to) const {
        to = std::min(to, frames());
        for (size_t i = from * 2; i < to * 2; ++i)
            if (samples[i] != 0) return true;
        return false;
    }
    size_t firstAudible(size_t from) const {
        for (size_t i = from * 2; i < samples.size(); ++i)
            if (samples[i] != 0) return i / 2;
        return frames();
    }
    size_t lastAudible() const {
        for (size_t i = samples.size(); i > 0; --i)
            if (samples[i - 1] != 0) return (i - 1) / 2;
        return 0;
    }
};

TEST(SoundRun, EffectAndLoopingTrackAreCapturedWhereTheScriptPlaysThem) {
    const Screen& screen = screenHpc();
    test_support::TempFolder folder("zeku-e2e");
    const std::string root = folder.path().string();
    TinyGame game;
    // The effect at the first frame; the track after 0.5 s, stopped after
    // 2 s more; then a track that has no file.
    game.setScript(
        "|_Start:\n"
        "#PlayWave(\"./se/beep.wav\")\n"
        "#Wait(500)\n"
        "#OpenPlayMCICdda(3,3,1)\n"
        "#Wait(2000)\n"
        "#StopMCICdda()\n"
        "#Wait(600)\n"
        "#OpenPlayMCICdda(9,9,1)\n"
        "#Wait(60000)\n"
        "#END()\n");
    const auto beep = tone(0.2, 660, 1);
    game.addFile("./se/beep.wav",
                 demo::encodeWav(demo::WavFormat{22050, 1, 16}, beep.data(), beep.size()));
    ASSERT_TRUE(game.install(screen, root));

    // A 0.3-second track: a looping one must be heard long after that.
    Mp3EncoderLibrary lame;
    ASSERT_TRUE(lame.open("")) << lame.openError();
    const auto music = tone(0.3, 440, 2);
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(lame.encode(reinterpret_cast<const uint8_t*>(music.data()), music.size() * 2,
                            Mp3EncodeSettings{22050, 2, 64}, mp3, error))
        << error;
    std::ofstream(root + "/data/track_03.mp3", std::ios::binary)
        .write(reinterpret_cast<const char*>(mp3.data()), std::streamsize(mp3.size()));

    const std::string wav = root + "/capture.wav";
    const int frames = 300;  // 4.8 s of game time
    const PlayerRun run = runPlayer(screen, root, frames, {}, "", "--audio-out " + wav);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    Capture capture;
    ASSERT_TRUE(readCaptureSamples(wav, capture.samples));
    EXPECT_FALSE(std::filesystem::exists(wav + ".tmp"));

    // Buffers of 12288 bytes (3072 frames): the four queued at start are
    // silent, and the effect, started before the first buffer came back,
    // is in the first mixed one (after the MP3's leading silence).
    const size_t buffer = 3072;
    ASSERT_GT(capture.frames(), size_t(kRate) * 4);
    EXPECT_FALSE(capture.audible(0, 4 * buffer));
    const size_t effect = capture.firstAudible(0);
    EXPECT_GE(effect, 4 * buffer);
    EXPECT_LT(effect, 5 * buffer);
    // The effect lasts about 0.2 s; the music starts about 0.5 s after it.
    const size_t musicStart = capture.firstAudible(effect + size_t(0.3 * kRate));
    EXPECT_NEAR(double(musicStart - effect), 0.5 * kRate, 0.15 * kRate);
    // Looping: heard in every tenth of a second for 1.8 s, six times its length.
    for (size_t t = musicStart; t < musicStart + size_t(1.8 * kRate); t += kRate / 10)
        EXPECT_TRUE(capture.audible(t, t + kRate / 10)) << "at " << double(t) / kRate << " s";
    // #StopMCICdda after 2 s: silence from there on, the missing track too.
    const size_t last = capture.lastAudible();
    EXPECT_NEAR(double(last - musicStart), 2.0 * kRate, 0.3 * kRate);
    EXPECT_GT(capture.frames() - last, size_t(kRate));
}

}  // namespace
}  // namespace zeku::e2e
