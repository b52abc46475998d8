// The engine against a device the test plays buffer by buffer: what each
// mixing pass holds, the slot states and positions, loading from a folder
// and a package, and music from the mapped file.
#include "player/sound/sound_engine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/player/sound/sound_test_support.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using sound_test::ManualAudioDevice;

constexpr uint32_t kBuffer = 8192;  // the Pocket PC build's
constexpr size_t kBufferSamples = kBuffer / 2;

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class SoundEngineTest : public testing::Test {
  protected:
    void SetUp() override {
        engine_.create(&device_, kBuffer, &sound_test::builtOverlay());
        ASSERT_TRUE(device_.started);
        ASSERT_EQ(device_.queuedCount(), 4u);
        folder_ = folderHolder_.path().string() + "/";
    }
    // A stereo 22050 Hz effect of constant samples, in the test folder.
    void addConstant(const std::string& name, size_t frames, int16_t left, int16_t right) {
        std::vector<int16_t> samples;
        for (size_t i = 0; i < frames; ++i) {
            samples.push_back(left);
            samples.push_back(right);
        }
        writeFile(folder_ + name, sound_test::wavFile(22050, 2, samples));
    }

    ManualAudioDevice device_;
    SoundEngine engine_;
    test_support::TempFolder folderHolder_;
    std::string folder_;
};

TEST_F(SoundEngineTest, TheFourQueuedBuffersAreSilentAndEveryPassRequeues) {
    for (int i = 0; i < 6; ++i) {
        const auto mixed = device_.pass();
        EXPECT_EQ(std::count(mixed.begin(), mixed.end(), 0), long(kBufferSamples));
        EXPECT_EQ(device_.queuedCount(), 4u);
    }
    EXPECT_EQ(engine_.refillCount(), 6u);
}

TEST_F(SoundEngineTest, VolumeScalesTowardZeroAndTheSumSaturates) {
    addConstant("loud.wav", kBufferSamples, 30000, -30000);
    addConstant("odd.wav", kBufferSamples, 333, -333);
    const struct {
        int32_t volume;
        int16_t left;
    } cases[] = {{100, 333}, {150, 333}, {50, 166}, {3, 9}, {0, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(engine_.loadEffect(0, "odd.wav", folder_.c_str(), c.volume), 1);
        engine_.start(0, 0);
        const auto mixed = device_.pass();
        EXPECT_EQ(mixed[0], c.left) << c.volume;
        EXPECT_EQ(mixed[1], -c.left) << c.volume;
    }
    // Two full-scale sounds clip instead of wrapping.
    ASSERT_EQ(engine_.loadEffect(0, "loud.wav", folder_.c_str(), 100), 1);
    ASSERT_EQ(engine_.loadEffect(1, "loud.wav", folder_.c_str(), 100), 1);
    ASSERT_EQ(engine_.loadEffect(2, "odd.wav", folder_.c_str(), 100), 1);
    for (int i = 0; i < 3; ++i)
        engine_.start(i, 0);
    const auto clipped = device_.pass();
    EXPECT_EQ(clipped[0], 32767);
    EXPECT_EQ(clipped[1], -32768);
    EXPECT_EQ(clipped[kBufferSamples - 1], -32768);
}

TEST_F(SoundEngineTest, AShortEffectIsMixedOnceThenStoppedAndKeptUntilStop) {
    addConstant("short.wav", 100, 1000, 2000);
    ASSERT_EQ(engine_.loadEffect(1, "short.wav", folder_.c_str(), 100), 1);
    EXPECT_EQ(engine_.playingPositionMs(1), -1);  // loaded, not started
    engine_.start(1, 0);
    EXPECT_EQ(engine_.slot(1)->state.load(), SlotState::Playing);
    const auto first = device_.pass();
    EXPECT_EQ(first[0], 1000);
    EXPECT_EQ(first[199], 2000);
    EXPECT_EQ(first[200], 0);
    EXPECT_EQ(engine_.slot(1)->state.load(), SlotState::Playing);
    const auto second = device_.pass();
    EXPECT_EQ(second[0], 0);
    EXPECT_EQ(engine_.slot(1)->state.load(), SlotState::Stopped);
    EXPECT_EQ(engine_.playingPositionMs(1), -1);
    EXPECT_EQ(engine_.positionMs(1), 0);  // never became audible
    // Started again, a finished slot stops on the next pass without a sound.
    engine_.start(1, 0);
    EXPECT_EQ(device_.pass()[0], 0);
    EXPECT_EQ(engine_.slot(1)->state.load(), SlotState::Stopped);
    engine_.stop(1);
    EXPECT_EQ(engine_.slot(1), nullptr);
    EXPECT_EQ(engine_.positionMs(1), -1);
}

TEST_F(SoundEngineTest, PositionIsZeroUntilTheFourthPassThenCountsWhatThDevicePlayed) {
    addConstant("long.wav", 22050 * 2, 1, 1);
    ASSERT_EQ(engine_.loadEffect(5, "long.wav", folder_.c_str(), 100), 1);
    engine_.start(5, 0);
    for (int pass = 1; pass <= 3; ++pass) {
        device_.pass();
        EXPECT_EQ(engine_.positionMs(5), 0) << pass;
    }
    device_.pass();  // the fourth: the position is taken here
    EXPECT_EQ(engine_.positionMs(5), 0);
    device_.position += 88200 / 2;
    EXPECT_EQ(engine_.positionMs(5), 500);
    device_.position += 8820;
    EXPECT_EQ(engine_.playingPositionMs(5), 600);
    engine_.halt(5);
    EXPECT_EQ(engine_.playingPositionMs(5), -1);
    EXPECT_EQ(engine_.positionMs(5), 600);
}

TEST_F(SoundEngineTest, ALoopingSoundShorterThanTheBufferRepeatsWithinIt) {
    // 300 frames: 1200 bytes, far less than one 8192-byte pass.
    std::vector<int16_t> ramp;
    for (int i = 0; i < 300; ++i) {
        ramp.push_back(int16_t(i));
        ramp.push_back(int16_t(-i));
    }
    writeFile(folder_ + "ramp.wav", sound_test::wavFile(22050, 2, ramp));
    ASSERT_EQ(engine_.loadEffect(7, "ramp.wav", folder_.c_str(), 100), 1);
    engine_.start(7, 1);
    for (int pass = 0; pass < 3; ++pass) {
        const auto mixed = device_.pass();
        const size_t offset = (size_t(pass) * kBufferSamples) % ramp.size();
        for (size_t i = 0; i < kBufferSamples; ++i)
            ASSERT_EQ(mixed[i], ramp[(offset + i) % ramp.size()]) << pass << " " << i;
    }
}

TEST_F(SoundEngineTest, ALongLoopWrapsAtItsEnd) {
    addConstant("a.wav", kBufferSamples / 2 * 3 / 2, 7, 7);  // 1.5 passes
    ASSERT_EQ(engine_.loadEffect(0, "a.wav", folder_.c_str(), 100), 1);
    engine_.start(0, 1);
    for (int pass = 0; pass < 4; ++pass) {
        const auto mixed = device_.pass();
        EXPECT_EQ(std::count(mixed.begin(), mixed.end(), 7), long(kBufferSamples)) << pass;
    }
    EXPECT_EQ(engine_.slot(0)->state.load(), SlotState::Playing);
}

TEST_F(SoundEngineTest, LoadingIntoAPlayingSlotStopsItAndTheNewSoundWaitsForStart) {
    addConstant("one.wav", 22050, 100, 100);
    addConstant("two.wav", 22050, 200, 200);
    ASSERT_EQ(engine_.loadEffect(1, "one.wav", folder_.c_str(), 100), 1);
    engine_.start(1, 1);
    EXPECT_EQ(device_.pass()[0], 100);
    ASSERT_EQ(engine_.loadEffect(1, "two.wav", folder_.c_str(), 100), 1);
    EXPECT_EQ(engine_.slot(1)->state.load(), SlotState::Stopped);
    EXPECT_EQ(device_.pass()[0], 0);
    engine_.start(1, 0);
    EXPECT_EQ(device_.pass()[0], 200);
}

TEST_F(SoundEngineTest, RefusedLoadsLeaveTheSlotEmpty) {
    writeFile(folder_ + "low.wav", sound_test::wavFile(11025, 1, {1, 2, 3}));
    writeFile(folder_ + "8bit.wav", sound_test::wavFile(22050, 1, {1, 2, 3}, 8));
    writeFile(folder_ + "junk.wav", {'R', 'I', 'F', 'F', 1, 2});
    addConstant("ok.wav", 10, 1, 1);
    for (const char* name : {"low.wav", "8bit.wav", "junk.wav", "missing.wav"}) {
        ASSERT_EQ(engine_.loadEffect(4, "ok.wav", folder_.c_str(), 100), 1);
        EXPECT_EQ(engine_.loadEffect(4, name, folder_.c_str(), 100), 0) << name;
        EXPECT_EQ(engine_.slot(4), nullptr) << name;
    }
    const std::string longName(64, 'a');
    EXPECT_EQ(engine_.loadEffect(4, longName.c_str(), folder_.c_str(), 100), 0);
    EXPECT_EQ(engine_.loadEffect(64, "ok.wav", folder_.c_str(), 100), 0);
    EXPECT_EQ(engine_.loadEffect(-1, "ok.wav", folder_.c_str(), 100), 0);
}

TEST_F(SoundEngineTest, AMissingWavFallsBackToItsMp3FromAFolderOrAPackage) {
    const auto pcm = sound_test::sine(22050, 1, 440, 44100);
    const auto mp3 = sound_test::mp3File(pcm, 44100, 1, 64);
    writeFile(folder_ + "voice.mp3", mp3);
    ASSERT_EQ(engine_.loadEffect(2, "voice.wav", folder_.c_str(), 100), 1);
    // 44.1 kHz mono becomes the same byte count of 22.05 kHz stereo.
    const SoundSlot* slot = engine_.slot(2);
    ASSERT_NE(slot, nullptr);
    EXPECT_GE(slot->length, pcm.size() * 2);
    EXPECT_LE(slot->length, pcm.size() * 2 + 8 * 4608);

    const std::string package = folder_ + "pack.mlz";
    const auto bytes = test_support::buildPackage({{"./se/voice.mp3", mp3, false}});
    ASSERT_FALSE(bytes.empty());
    writeFile(package, bytes);
    ASSERT_EQ(engine_.loadEffect(3, "./se/voice.wav", package.c_str(), 100), 1);
    EXPECT_EQ(engine_.slot(3)->length, slot->length);
    EXPECT_EQ(engine_.loadEffect(3, "./se/none.wav", package.c_str(), 100), 0);
}

TEST_F(SoundEngineTest, MusicRefillsOnePassFromItsStreamAndLoopsOrFallsSilent) {
    // A one-second 44.1 kHz stereo track: each pass asks for two passes'
    // worth and halves it.
    const auto mp3 = sound_test::mp3File(sound_test::sine(44100, 2, 440, 44100), 44100, 2, 128);
    writeFile(folder_ + "track_03.mp3", mp3);
    for (int loop : {0, 1}) {
        ASSERT_EQ(engine_.playMusic("track_03.wav", folder_.c_str(), 80, loop), 1);
        EXPECT_EQ(engine_.slot(kMusicSlot)->volume.load(), 80);
        int audibleEarly = 0, audibleLate = 0;
        for (int pass = 0; pass < 22; ++pass) {
            const auto mixed = device_.pass();
            const bool audible =
                std::count(mixed.begin(), mixed.end(), 0) < long(kBufferSamples) / 2;
            if (audible && pass < 11) ++audibleEarly;
            if (audible && pass >= 15) ++audibleLate;
        }
        // A pass is 0.19 s of the track: it has ended by pass 15 (about
        // 13 passes with the encoder's delay), and a looping one is heard again.
        EXPECT_GE(audibleEarly, 9) << loop;
        EXPECT_EQ(audibleLate, loop ? 7 : 0) << loop;
        EXPECT_GE(engine_.playingPositionMs(kMusicSlot), 0);
    }
    engine_.setMusicVolume(150);  // out of range: the volume stays
    EXPECT_EQ(engine_.slot(kMusicSlot)->volume.load(), 80);
    engine_.stopMusic();
    EXPECT_EQ(engine_.positionMs(kMusicSlot), -1);
    EXPECT_EQ(engine_.playMusic("track_09.wav", folder_.c_str(), 80, 1), 0);
    EXPECT_EQ(engine_.slot(kMusicSlot), nullptr);
}

TEST_F(SoundEngineTest, AWavTrackPlaysFromItsCanonicalHeader) {
    writeFile(folder_ + "track_04.wav",
              sound_test::wavFile(22050, 1, std::vector<int16_t>(kBufferSamples, 321)));
    ASSERT_EQ(engine_.playMusic("track_04.wav", folder_.c_str(), 100, 0), 1);
    const auto mixed = device_.pass();
    EXPECT_EQ(mixed[0], 321);
    EXPECT_EQ(mixed[kBufferSamples - 1], 321);
}

TEST(SoundEngineWithoutDevice, EverythingLoadsNothingPlaysAndStopFreesAtOnce) {
    test_support::TempFolder folder;
    const std::string dir = folder.path().string() + "/";
    writeFile(dir + "a.wav", sound_test::wavFile(22050, 2, {5, 5, 5, 5}));
    ManualAudioDevice refusing;
    refusing.openResult = false;
    for (AudioDevice* device :
         {static_cast<AudioDevice*>(nullptr), static_cast<AudioDevice*>(&refusing)}) {
        SoundEngine engine;
        engine.create(device, kBuffer, nullptr);
        EXPECT_FALSE(engine.deviceRunning());
        ASSERT_EQ(engine.loadEffect(1, "a.wav", dir.c_str(), 100), 1);
        engine.start(1, 1);
        EXPECT_EQ(engine.playingPositionMs(1), -1);
        engine.stop(1);  // no mixer to wait for
        EXPECT_EQ(engine.slot(1), nullptr);
    }
}

}  // namespace
}  // namespace zeku
