// Ripped CD tracks: which names are which track (and which are refused
// rather than guessed), and one track file to MP3, with every way a file
// can be bad reported by file and cause.
#include "converter/pipeline/cd_tracks.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>

#include "platform/api/audio_file_reader.h"
#include "tests/converter/coded_test_sounds.h"
#include "tests/converter/mp3_test_decoder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;

TEST(TrackNames, NumbersAreFoundOrRefusedButNeverGuessed) {
    struct Case {
        const char* name;
        TrackNameKind kind;
        int number;
    };
    const Case cases[] = {
        // The word "track" marks the number, in any case, with or without
        // separators, wherever it stands.
        {"track02.wav", TrackNameKind::kTrack, 2},
        {"Track 02.flac", TrackNameKind::kTrack, 2},
        {"TRACK_7.OGG", TrackNameKind::kTrack, 7},
        {"Kumoine CD - Track #12.oga", TrackNameKind::kTrack, 12},
        {"Disc 1 Track 03.wav", TrackNameKind::kTrack, 3},
        {"track 4 (track 4 remaster).flac", TrackNameKind::kTrack, 4},
        // A leading number, whatever follows, digits included.
        {"02 - Title.ogg", TrackNameKind::kTrack, 2},
        {"05.flac", TrackNameKind::kTrack, 5},
        {"  09_Ending theme 2.wav", TrackNameKind::kTrack, 9},
        {"1.wav", TrackNameKind::kTrack, 1},
        // The only number, closing the name.
        {"Kumoine - 05.flac", TrackNameKind::kTrack, 5},
        {"ost_11.wav", TrackNameKind::kTrack, 11},
        // Numbers that could be something else are not guessed.
        {"1-02 Title.flac", TrackNameKind::kAmbiguous, 0},
        {"01 02.wav", TrackNameKind::kAmbiguous, 0},
        {"track 2 track 3.wav", TrackNameKind::kAmbiguous, 0},
        {"Vol 2 - 05.ogg", TrackNameKind::kAmbiguous, 0},
        {"Kumoine Vol2.flac", TrackNameKind::kNoNumber, 0},
        {"Opening.wav", TrackNameKind::kNoNumber, 0},
        {"tracklist.wav", TrackNameKind::kNoNumber, 0},
        // Not a CD track number.
        {"track00.wav", TrackNameKind::kOutOfRange, 0},
        {"track100.flac", TrackNameKind::kOutOfRange, 0},
        {"2023 live.ogg", TrackNameKind::kOutOfRange, 0},
        {"track99999999999999999999.wav", TrackNameKind::kOutOfRange, 0},
        // Not audio, or hidden: ignored without a word.
        {"track02.mp3", TrackNameKind::kNotAudio, 0},
        {"cover.jpg", TrackNameKind::kNotAudio, 0},
        {"track02.cue", TrackNameKind::kNotAudio, 0},
        {"._track02.wav", TrackNameKind::kNotAudio, 0},
        {"track02", TrackNameKind::kNotAudio, 0},
        {"", TrackNameKind::kNotAudio, 0},
    };
    for (const Case& c : cases) {
        const TrackName parsed = parseTrackName(c.name);
        EXPECT_EQ(parsed.kind, c.kind) << c.name << ": " << parsed.problem;
        EXPECT_EQ(parsed.number, c.number) << c.name;
        const bool problem = c.kind != TrackNameKind::kTrack && c.kind != TrackNameKind::kNotAudio;
        EXPECT_EQ(!parsed.problem.empty(), problem) << c.name;
    }
}

TEST(TrackNames, PlanKeepsOneFilePerNumberAndReportsTheRest) {
    const TrackPlan plan =
        planTracks({"track03.wav", "01 - Opening.flac", "cover.jpg", "Track 2.ogg",
                    "02 - Theme.flac", "1-04 x.wav", "notes.wav", "track05.flac"});
    ASSERT_EQ(plan.tracks.size(), 3u);
    EXPECT_EQ(plan.tracks[0].number, 1);
    EXPECT_EQ(plan.tracks[0].fileName, "01 - Opening.flac");
    EXPECT_EQ(plan.tracks[1].number, 3);
    EXPECT_EQ(plan.tracks[2].number, 5);

    // Track 2 is claimed twice: neither is taken, both are named.
    ASSERT_EQ(plan.warnings.size(), 3u);
    auto mentions = [&](const char* text) {
        for (const std::string& warning : plan.warnings)
            if (warning.find(text) != std::string::npos) return warning;
        return std::string();
    };
    const std::string duplicate = mentions("Track 2.ogg");
    EXPECT_NE(duplicate.find("02 - Theme.flac"), std::string::npos) << duplicate;
    EXPECT_NE(duplicate.find("track 2"), std::string::npos) << duplicate;
    EXPECT_NE(mentions("1-04 x.wav"), "");
    EXPECT_NE(mentions("notes.wav"), "");

    EXPECT_EQ(trackOutputName(1), "track_01.mp3");
    EXPECT_EQ(trackOutputName(42), "track_42.mp3");
}

class TrackFiles : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encoder_.open("")) << encoder_.openError();
        flac_ = test_support::writeCodedSound(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100,
                                              test_support::toneFrames(2, 44100, 44100, 440, 0.5));
        ASSERT_GT(flac_.size(), 100u);
    }

    bool convert(const std::string& source, std::string& error) {
        return convertTrackFile(source, temp_.file("track_01.mp3"), WaveSettings{}, encoder_,
                                hostAudioFileReader(), error);
    }

    Mp3EncoderLibrary encoder_;
    std::vector<uint8_t> flac_;
    TempFolder temp_{"zeku-tracks"};
};

TEST_F(TrackFiles, AGoodTrackBecomesAnMp3OfTheChosenFormat) {
    test_support::writeBytes(temp_.file("01.flac"), flac_);
    std::string error;
    ASSERT_TRUE(convert(temp_.file("01.flac"), error)) << error;
    const test_support::DecodedMp3 decoded =
        test_support::decodeMp3(test_support::readBytes(temp_.file("track_01.mp3")));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.rateHz, 22050);
    EXPECT_EQ(decoded.channels, 2);
    EXPECT_NEAR(static_cast<double>(decoded.frames()), 22050, 1152);
    EXPECT_GT(test_support::toneSnrDb(decoded.samples, 2, 1, 22050, 440, 2000, 16000), 20);
}

TEST_F(TrackFiles, BadFilesAreReportedWithTheirCauseAndWriteNothing) {
    std::vector<uint8_t> cut(flac_.begin(), flac_.begin() + flac_.size() / 2);
    // STREAMINFO's 36-bit sample count, all ones: about 68 billion frames.
    std::vector<uint8_t> huge = flac_;
    huge[21] |= 0x0F;
    for (size_t i = 22; i < 26; ++i)
        huge[i] = 0xFF;
    std::vector<uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<uint8_t>(i * 131 + 7);
    // A WAV whose data chunk claims twice what the file holds.
    std::vector<uint8_t> shortWave =
        test_support::writeCodedSound(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100,
                                      test_support::toneFrames(2, 44100, 4410, 440, 0.5));
    ASSERT_EQ(shortWave.size(), 44u + 4410 * 4);
    shortWave.resize(44 + 4410 * 2);

    struct Case {
        const char* file;
        std::vector<uint8_t> bytes;
        const char* cause;
    };
    const Case cases[] = {
        {"cut.flac", cut, "ends after"},
        {"huge.flac", huge, "claims 68719476735 frames"},
        {"garbage.ogg", garbage, "not a sound file"},
        {"empty.flac", {}, "empty"},
        {"short.wav", shortWave, "cut short"},
    };
    for (const Case& c : cases) {
        test_support::writeBytes(temp_.file(c.file), c.bytes);
        std::string error;
        EXPECT_FALSE(convert(temp_.file(c.file), error)) << c.file;
        EXPECT_NE(error.find(c.cause), std::string::npos) << c.file << ": " << error;
    }
    // Refused by its size before a byte is read (the file is sparse).
    test_support::writeBytes(temp_.file("vast.wav"), {});
    std::filesystem::resize_file(temp_.file("vast.wav"), kMaxTrackFileBytes + 1);
    std::string vast;
    EXPECT_FALSE(convert(temp_.file("vast.wav"), vast));
    EXPECT_NE(vast.find("more than a track file may have"), std::string::npos) << vast;

    std::filesystem::create_directories(temp_.file("folder.wav"));
    for (const char* unreadable : {"folder.wav", "missing.flac"}) {
        std::string error;
        EXPECT_FALSE(convert(temp_.file(unreadable), error));
        EXPECT_FALSE(error.empty()) << unreadable;
    }
    EXPECT_FALSE(std::filesystem::exists(temp_.file("track_01.mp3")));
}

}  // namespace
}  // namespace zeku
