// Whole conversion runs on small games built by the tests: what the package
// holds for each kind of file, its layout, and the failure rules.
#include "converter/pipeline/pack_writer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>

#include "common/image/rbp_file.h"
#include "common/lzss/lzss.h"
#include "common/pack/pack_format.h"
#include "common/text/sjis.h"
#include "platform/api/audio_file_reader.h"
#include "platform/api/png_encoder.h"
#include "tests/converter/coded_test_sounds.h"
#include "tests/converter/mp3_test_decoder.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/bmp_writer.h"
#include "tools/demogame/demo_game.h"
#include "tools/demogame/wav_writer.h"

namespace zeku {
namespace {

using test_support::readBytes;
using test_support::TempFolder;
using test_support::writeBytes;

constexpr uint8_t kKey = 0x3C;

std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> png24(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<uint8_t>(i * 7 + i / 97);
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_TRUE(encodePngRgb(width, height, rgb.data(), out, error)) << error;
    return out;
}

std::vector<uint8_t> png32(int width, int height, uint8_t alpha) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 0x80);
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = alpha;
    std::vector<uint8_t> out;
    std::string error;
    EXPECT_TRUE(encodePngRgba(width, height, rgba.data(), out, error)) << error;
    return out;
}

std::vector<uint8_t> bmp24(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0x40);
    return demo::encodeBmp24(width, height, rgb.data());
}

std::vector<uint8_t> tone(uint32_t rateHz, uint16_t channels, double seconds) {
    const size_t frames = static_cast<size_t>(rateHz * seconds);
    std::vector<int16_t> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            samples[i * channels + c] =
                static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / rateHz));
    return demo::encodeWav({rateHz, channels, 16}, samples.data(), frames);
}

struct Package {
    std::vector<uint8_t> bytes;
    PackHeader header;
    std::vector<PackEntry> entries;

    const PackEntry* find(const std::string& name) const {
        for (const PackEntry& entry : entries)
            if (packEntryName(entry) == name) return &entry;
        return nullptr;
    }
    std::vector<uint8_t> stored(const PackEntry& entry) const {
        const size_t start = packDirectoryEnd(header.entryCount) + entry.dataOffset;
        return {bytes.begin() + start, bytes.begin() + start + entry.storedSize};
    }
    std::vector<uint8_t> unpacked(const PackEntry& entry) const {
        std::vector<uint8_t> data = stored(entry);
        if (entry.method == kPackStored) return data;
        std::vector<uint8_t> out(entry.unpackedSize);
        const Parsed<size_t> result = lzssDecode(out.data(), out.size(), data.data(), data.size());
        EXPECT_TRUE(result.ok() && *result == out.size());
        return out;
    }
};

Package readPackage(const std::string& path) {
    Package package;
    package.bytes = readBytes(path);
    EXPECT_TRUE(readPackHeader(package.bytes.data(), package.bytes.size(), package.header));
    for (uint32_t i = 0; i < package.header.entryCount; ++i) {
        PackEntry entry;
        EXPECT_TRUE(readPackEntry(package.bytes.data(), package.bytes.size(), i, entry));
        package.entries.push_back(entry);
    }
    return package;
}

class PackWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(encoder_.open("")) << encoder_.openError();
        game_.first = {
            {"./script.txt", bytesOf("_Start\r\n#BreakApp\r\n")},
            {"./bg/sky.png", png24(800, 600)},
            {"./st/girl.png", png32(300, 500, 0)},
            {"./bg/room.bmp", bmp24(800, 600)},
            {"./se/CHIME.WAV", tone(22050, 1, 0.3)},
            {"./se/fake.wav", bytesOf("not a wave file at all")},
            {"./readme", bytesOf("no extension here")},
            {"./empty.txt", {}},
            {"./bg/thin.png", png24(30, 200)},
        };
        game_.second = {{"./SCRIPT.TXT", bytesOf("_Start\r\n#Wait(10)\r\n#BreakApp\r\n")}};
    }

    std::string writeGame() {
        std::string error;
        const std::string folder = temp_.file("game");
        EXPECT_TRUE(demo::writeSourceGame(folder, game_, kKey, error)) << error;
        return folder;
    }

    PackWriterSettings settings(const std::string& folder, int scale = 40, int quality = 0,
                                int jobs = 1) {
        PackWriterSettings s;
        s.gameFolder = folder;
        s.outputBase = temp_.file("out");
        s.scalePercent = scale;
        s.qualityItem = quality;
        s.encoder = &encoder_;
        s.jobs = jobs;
        return s;
    }

    Mp3EncoderLibrary encoder_;
    demo::DemoGame game_;
    TempFolder temp_{"zeku-packwriter"};
};

TEST_F(PackWriterTest, EveryKindOfFileIsStoredAsThePackageExpects) {
    const std::string folder = writeGame();
    PackProgress progress;
    const PackWriterReport report = runPackWriter(settings(folder), progress);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_TRUE(progress.done.load());
    EXPECT_EQ(report.key, kKey);  // found without being told
    EXPECT_EQ(report.packagePath, temp_.file("out") + "/data/pack.mlz");
    EXPECT_EQ(progress.entriesDone.load(), 9);
    EXPECT_EQ(progress.entryCount.load(), 9);

    const Package package = readPackage(report.packagePath);
    EXPECT_EQ(package.header.fileSize, package.bytes.size());
    EXPECT_EQ(report.bytesOut, package.bytes.size());
    ASSERT_EQ(package.entries.size(), 9u);

    // The second archive's file comes first, under its own spelling.
    EXPECT_EQ(packEntryName(package.entries[0]), "./SCRIPT.TXT");
    EXPECT_EQ(package.unpacked(package.entries[0]), game_.second[0].bytes);
    EXPECT_EQ(package.entries[0].method, kPackLzss);
    EXPECT_EQ(package.find("./script.txt"), nullptr);

    // Data back to back in directory order.
    uint32_t offset = 0;
    for (const PackEntry& entry : package.entries) {
        EXPECT_EQ(entry.dataOffset, offset) << packEntryName(entry);
        offset += entry.storedSize;
    }
    EXPECT_EQ(packDirectoryEnd(package.header.entryCount) + offset, package.bytes.size());

    struct Expected {
        const char* name;
        int width, height;
        uint32_t type;
    };
    for (const Expected& picture : {Expected{"./bg/sky.rbp", 320, 240, kRbpRaw},
                                    Expected{"./st/girl.rbp", 120, 200, kRbpRawWithAlpha},
                                    Expected{"./bg/room.rbp", 320, 240, kRbpRaw},
                                    Expected{"./bg/thin.rbp", 12, 80, kRbpRaw}}) {
        const PackEntry* entry = package.find(picture.name);
        ASSERT_NE(entry, nullptr) << picture.name;
        EXPECT_EQ(entry->method, kPackLzss);
        const std::vector<uint8_t> rbp = package.unpacked(*entry);
        RbpFile file;
        ASSERT_TRUE(parseRbpFile(rbp.data(), rbp.size(), file).ok()) << picture.name;
        EXPECT_EQ(file.header.width, static_cast<uint32_t>(picture.width));
        EXPECT_EQ(file.header.height, static_cast<uint32_t>(picture.height));
        EXPECT_EQ(file.header.type, picture.type);
    }

    const PackEntry* chime = package.find("./se/CHIME.mp3");
    ASSERT_NE(chime, nullptr);
    EXPECT_EQ(chime->method, kPackStored);
    EXPECT_EQ(chime->storedSize, chime->unpackedSize);
    const test_support::DecodedMp3 decoded = test_support::decodeMp3(package.stored(*chime));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.rateHz, 22050);
    EXPECT_EQ(decoded.channels, 2);  // stereo is the default

    // Not a wave file: kept as it was, under its own name, and reported.
    const PackEntry* fake = package.find("./se/fake.wav");
    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(package.unpacked(*fake), bytesOf("not a wave file at all"));
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("./se/fake.wav"), std::string::npos);

    const PackEntry* readme = package.find("./readme");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->method, kPackLzss);
    EXPECT_EQ(package.unpacked(*readme), bytesOf("no extension here"));

    const PackEntry* empty = package.find("./empty.txt");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->unpackedSize, 0u);
    EXPECT_EQ(empty->storedSize, 0u);
}

// The demo game end to end: every source file is in the package under its
// converted name, pictures at the scaled size, sounds at the chosen format,
// scripts and messages byte for byte.
TEST_F(PackWriterTest, TheDemoGameConvertsCompletely) {
    game_ = demo::buildDemoGame(demo::DemoGameOptions{});
    const std::string folder = temp_.file("game");
    std::string error;
    ASSERT_TRUE(demo::writeSourceGame(folder, game_, demo::kDemoGameKey, error)) << error;
    PackWriterSettings s = settings(folder, 80, 2, 2);
    s.wave = WaveSettings{7, true, false};  // 44.1 kHz mono at 64 kbit/s
    PackProgress progress;
    const PackWriterReport report = runPackWriter(s, progress);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_TRUE(report.warnings.empty());
    const Package package = readPackage(report.packagePath);

    size_t sources = 0;
    for (const auto* files : {&game_.second, &game_.first}) {
        for (const demo::DemoFile& file : *files) {
            ++sources;
            if (files == &game_.first && std::count_if(game_.second.begin(), game_.second.end(),
                                                       [&](const demo::DemoFile& other) {
                                                           return textEquals(other.name, file.name);
                                                       }) > 0) {
                --sources;  // replaced by the second archive's file
                continue;
            }
            const EntryTreatment treatment = entryTreatmentFor(file.name);
            const PackEntry* entry = package.find(packageNameFor(file.name, treatment));
            ASSERT_NE(entry, nullptr) << file.name;
            if (treatment == EntryTreatment::kWave) {
                EXPECT_EQ(entry->method, kPackStored);
                const test_support::DecodedMp3 mp3 =
                    test_support::decodeMp3(package.stored(*entry));
                ASSERT_TRUE(mp3.ok) << file.name << ": " << mp3.error;
                EXPECT_EQ(mp3.rateHz, 44100) << file.name;
                EXPECT_EQ(mp3.channels, 1) << file.name;
                EXPECT_EQ(test_support::scanMp3Frames(package.stored(*entry)).maxKbps, 64);
            } else if (treatment == EntryTreatment::kOther) {
                EXPECT_EQ(package.unpacked(*entry), file.bytes) << file.name;
            } else {
                const std::vector<uint8_t> rbp = package.unpacked(*entry);
                RbpFile picture;
                ASSERT_TRUE(parseRbpFile(rbp.data(), rbp.size(), picture).ok()) << file.name;
                EXPECT_EQ(picture.header.width, picture.header.sourceWidth * 80u / 100)
                    << file.name;
                EXPECT_EQ(picture.header.height, picture.header.sourceHeight * 80u / 100)
                    << file.name;
            }
        }
    }
    EXPECT_EQ(package.entries.size(), sources);
}

TEST_F(PackWriterTest, ThreadCountDoesNotChangeThePackage) {
    const std::string folder = writeGame();
    PackProgress one, three;
    PackWriterSettings single = settings(folder, 40, 2, 1);
    ASSERT_TRUE(runPackWriter(single, one).ok);
    const std::vector<uint8_t> first = readBytes(packagePathFor(single.outputBase, 40));
    PackWriterSettings several = settings(folder, 40, 2, 3);
    several.outputBase = temp_.file("out3");
    ASSERT_TRUE(runPackWriter(several, three).ok);
    EXPECT_EQ(readBytes(packagePathFor(several.outputBase, 40)), first);
}

TEST_F(PackWriterTest, LargeScreenGoesToItsOwnFileAtEightyPercent) {
    const std::string folder = writeGame();
    PackProgress progress;
    const PackWriterReport report = runPackWriter(settings(folder, 80, 3), progress);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.packagePath, temp_.file("out") + "/data/pack_v.mlz");
    const Package package = readPackage(report.packagePath);
    const std::vector<uint8_t> sky = package.unpacked(*package.find("./bg/sky.rbp"));
    RbpFile file;
    ASSERT_TRUE(parseRbpFile(sky.data(), sky.size(), file).ok());
    EXPECT_EQ(file.header.width, 640u);
    EXPECT_EQ(file.header.height, 480u);
    EXPECT_EQ(file.header.sourceWidth, 800);
    EXPECT_EQ(file.header.type, kRbpJbp1);
    // 24 x 160 is too small for JBP1 even at a JBP1 quality.
    const std::vector<uint8_t> thin = package.unpacked(*package.find("./bg/thin.rbp"));
    ASSERT_TRUE(parseRbpFile(thin.data(), thin.size(), file).ok());
    EXPECT_EQ(file.header.type, kRbpRaw);
    EXPECT_EQ(file.header.width, 24u);
}

TEST_F(PackWriterTest, FailedOrCancelledRunKeepsThePreviousPackage) {
    const std::string folder = writeGame();
    const std::string packagePath = temp_.file("out") + "/data/pack.mlz";
    writeBytes(packagePath, bytesOf("the previous package"));

    PackProgress cancelled;
    cancelled.cancelRequested.store(true);
    PackWriterReport report = runPackWriter(settings(folder), cancelled);
    EXPECT_FALSE(report.ok);
    EXPECT_TRUE(cancelled.done.load());
    EXPECT_EQ(readBytes(packagePath), bytesOf("the previous package"));

    std::filesystem::remove(folder + "/Lump.cpn");
    PackProgress missing;
    report = runPackWriter(settings(folder), missing);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(report.error.empty());
    EXPECT_TRUE(missing.done.load());
    EXPECT_EQ(readBytes(packagePath), bytesOf("the previous package"));
    for (const auto& file : std::filesystem::directory_iterator(temp_.file("out") + "/data"))
        EXPECT_EQ(file.path().filename(), "pack.mlz");  // no temporary file left
}

TEST_F(PackWriterTest, AFailedWriteSaysWhyAndLeavesNoFileBehind) {
    const std::string folder = writeGame();
    PackWriterReport report;
    {
        const test_support::FileSizeLimit limit(1024);  // past the directory, within the data
        PackProgress progress;
        report = runPackWriter(settings(folder), progress);
    }
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.error, "cannot write " + report.packagePath + ": " + std::strerror(EFBIG));
    EXPECT_TRUE(std::filesystem::is_empty(temp_.file("out") + "/data"));
}

TEST_F(PackWriterTest, NamesTooLongForTheDirectoryAreLeftOutAndReported) {
    const std::string longName = "./" + std::string(58, 'n') + ".png";  // 64 bytes as ".rbp"
    game_.first = {{longName, png24(40, 40)}, {"./script.txt", bytesOf("_Start\r\n")}};
    game_.second.clear();
    const std::string folder = writeGame();
    PackProgress progress;
    const PackWriterReport report = runPackWriter(settings(folder), progress);
    ASSERT_TRUE(report.ok) << report.error;
    const Package package = readPackage(report.packagePath);
    ASSERT_EQ(package.entries.size(), 1u);
    EXPECT_EQ(packEntryName(package.entries[0]), "./script.txt");
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("63 bytes"), std::string::npos);
}

TEST_F(PackWriterTest, SourcesThatBecomeOneNameKeepTheFirstAndReportTheRest) {
    game_.first = {{"./bg/full.png", png24(100, 50)},
                   {"./bg/full.bmp", bmp24(60, 40)},
                   {"./BG/FULL.RBP", bytesOf("a picture file already")},
                   {"./se/ding.mp3", bytesOf("ID3 an MP3 already")},
                   {"./se/DING.wav", tone(22050, 1, 0.1)}};
    game_.second.clear();
    const std::string folder = writeGame();
    PackProgress progress;
    const PackWriterReport report = runPackWriter(settings(folder), progress);
    ASSERT_TRUE(report.ok) << report.error;
    const Package package = readPackage(report.packagePath);
    ASSERT_EQ(package.entries.size(), 2u);
    EXPECT_EQ(progress.entryCount.load(), 2);

    // The first source of each name is the one the player reads.
    EXPECT_EQ(packEntryName(package.entries[0]), "./bg/full.rbp");
    const std::vector<uint8_t> rbp = package.unpacked(package.entries[0]);
    RbpFile picture;
    ASSERT_TRUE(parseRbpFile(rbp.data(), rbp.size(), picture).ok());
    EXPECT_EQ(picture.header.sourceWidth, 100);
    EXPECT_EQ(packEntryName(package.entries[1]), "./se/ding.mp3");
    EXPECT_EQ(package.unpacked(package.entries[1]), bytesOf("ID3 an MP3 already"));

    ASSERT_EQ(report.warnings.size(), 3u);
    const char* skipped[] = {
        "./bg/full.bmp: its package name ./bg/full.rbp is taken by ./bg/full.png",
        "./BG/FULL.RBP: its package name ./BG/FULL.RBP is taken by ./bg/full.png",
        "./se/DING.wav: its package name ./se/DING.mp3 is taken by ./se/ding.mp3"};
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(report.warnings[i].rfind(skipped[i], 0), 0u) << report.warnings[i];
}

TEST_F(PackWriterTest, ARunWhoseDoneFlagIsSetDoesNothing) {
    const std::string folder = writeGame();
    PackProgress progress;
    progress.done.store(true);
    const PackWriterReport report = runPackWriter(settings(folder), progress);
    EXPECT_FALSE(report.ok);
    EXPECT_FALSE(std::filesystem::exists(temp_.file("out") + "/data/pack.mlz"));
}

// The game's ripped CD tracks go beside the package as the player names
// them, on the same threads and progress as the entries; a coded game sound
// is decoded into the package; bad or ambiguous track files are reported
// one by one and cost neither the package nor the other tracks.
TEST_F(PackWriterTest, CdTracksAndCodedSoundsConvertBesideThePackage) {
    using test_support::toneFrames;
    using test_support::writeCodedSound;
    game_.first.push_back(
        {"./se/voice.wav", writeCodedSound(SF_FORMAT_WAV | SF_FORMAT_ULAW, 1, 11025,
                                           toneFrames(1, 11025, 11025, 440, 0.5))});
    const std::string folder = writeGame();
    const std::string tracks = temp_.file("cd");
    const std::vector<uint8_t> flac = writeCodedSound(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100,
                                                      toneFrames(2, 44100, 66150, 440, 0.5));
    writeBytes(tracks + "/01 - Opening.flac", flac);
    writeBytes(tracks + "/Track 02.wav", writeCodedSound(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050,
                                                         toneFrames(1, 22050, 22050, 660, 0.5)));
    writeBytes(tracks + "/track03.flac", {flac.begin(), flac.begin() + flac.size() / 3});
    writeBytes(tracks + "/04 Night.ogg", writeCodedSound(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 44100,
                                                         toneFrames(2, 44100, 44100, 440, 0.5)));
    writeBytes(tracks + "/07.ogg", bytesOf("OggS but nothing after it"));
    writeBytes(tracks + "/05 a.flac", flac);
    writeBytes(tracks + "/track05.wav", flac);
    writeBytes(tracks + "/notes.wav", flac);
    writeBytes(tracks + "/cover.jpg", bytesOf("a picture"));
    writeBytes(tracks + "/disc2/track06.wav", flac);

    PackWriterSettings s = settings(folder, 40, 0, 2);
    s.audioReader = &hostAudioFileReader();
    s.tracksFolder = tracks;
    PackProgress progress;
    const PackWriterReport report = runPackWriter(s, progress);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.entries, 10);
    EXPECT_EQ(report.tracks, 3);
    // Tracks 1, 2, 3, 4 and 7 were attempted; track 5 was never guessed.
    EXPECT_EQ(progress.entryCount.load(), 15);
    EXPECT_EQ(progress.entriesDone.load(), 15);

    const Package package = readPackage(report.packagePath);
    const PackEntry* voice = package.find("./se/voice.mp3");
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->method, kPackStored);
    const test_support::DecodedMp3 voiceSound = test_support::decodeMp3(package.stored(*voice));
    ASSERT_TRUE(voiceSound.ok) << voiceSound.error;
    EXPECT_NEAR(test_support::zeroCrossingHz(voiceSound.samples, 2, 0, 2000, 20000, 22050), 440, 5);

    struct Track {
        const char* name;
        double seconds;
        double hz;
    };
    for (const Track& track : {Track{"track_01.mp3", 1.5, 440}, Track{"track_02.mp3", 1.0, 660},
                               Track{"track_04.mp3", 1.0, 440}}) {
        const test_support::DecodedMp3 sound =
            test_support::decodeMp3(readBytes(temp_.file("out") + "/data/" + track.name));
        ASSERT_TRUE(sound.ok) << track.name << ": " << sound.error;
        EXPECT_EQ(sound.rateHz, 22050) << track.name;
        EXPECT_EQ(sound.channels, 2) << track.name;
        EXPECT_NEAR(static_cast<double>(sound.frames()), track.seconds * 22050, 1152) << track.name;
        EXPECT_NEAR(test_support::zeroCrossingHz(sound.samples, 2, 1, 2000, 20000, 22050), track.hz,
                    5)
            << track.name;
    }
    std::set<std::string> written;
    for (const auto& file : std::filesystem::directory_iterator(temp_.file("out") + "/data"))
        written.insert(file.path().filename().string());
    EXPECT_EQ(written,
              (std::set<std::string>{"pack.mlz", "track_01.mp3", "track_02.mp3", "track_04.mp3"}));

    std::string warnings;
    for (const std::string& warning : report.warnings)
        warnings += warning + "\n";
    for (const char* reported : {"track03.flac: ends after", "07.ogg: not a sound file",
                                 "05 a.flac, track05.wav: all claim track 5",
                                 "notes.wav: no track number", "./se/fake.wav"}) {
        EXPECT_NE(warnings.find(reported), std::string::npos) << reported << " in\n" << warnings;
    }
    EXPECT_EQ(report.warnings.size(), 5u) << warnings;

    // A cancelled run converts no track either.
    s.outputBase = temp_.file("out3");
    PackProgress cancelled;
    cancelled.cancelRequested.store(true);
    EXPECT_FALSE(runPackWriter(s, cancelled).ok);
    EXPECT_FALSE(std::filesystem::exists(s.outputBase + "/data/track_01.mp3"));

    // A tracks folder that is not there stops the run before any package.
    s.tracksFolder = temp_.file("no-cd");
    s.outputBase = temp_.file("out2");
    PackProgress again;
    const PackWriterReport missing = runPackWriter(s, again);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error.rfind(s.tracksFolder + ": ", 0), 0u) << missing.error;
    EXPECT_FALSE(std::filesystem::exists(packagePathFor(s.outputBase, 40)));
}

}  // namespace
}  // namespace zeku
