// The dialog's rules without a window: defaults, the start checks in their
// order, the job's life and the progress line; and convZeku on a terminal.
#include "converter/app/convert_dialog.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "converter/app/dialog_texts.h"
#include "converter/app/progress_bar.h"
#include "platform/api/png_encoder.h"
#include "platform/api/text_codec.h"
#include "tests/converter/coded_test_sounds.h"
#include "tests/converter/mp3_test_decoder.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/demo_game.h"

namespace zeku {
namespace {

using test_support::TempFolder;

std::string smallGame(const TempFolder& temp) {
    demo::DemoGame game;
    game.first = {{"./script.txt", {'_', 'S', 't', 'a', 'r', 't', '\r', '\n'}},
                  {"./a.txt", std::vector<uint8_t>(5000, 'a')},
                  {"./b.txt", std::vector<uint8_t>(5000, 'b')}};
    std::string error;
    const std::string folder = temp.file("game");
    EXPECT_TRUE(demo::writeSourceGame(folder, game, 0x11, error)) << error;
    return folder;
}

PackWriterReport runToTheEnd(ConvertDialog& dialog, std::vector<std::string>& lines) {
    PackWriterReport report;
    std::string line;
    for (int i = 0; i < 6000; ++i) {
        if (dialog.tick(line, report)) {
            EXPECT_TRUE(line.empty());  // cleared when the run ends
            return report;
        }
        lines.push_back(line);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "the run did not end";
    return report;
}

TEST(ConvertDialog, OpensWithTheDefaultsAndTheEncoderLine) {
    ConvertDialog dialog;
    dialog.open("/somewhere/", "");
    EXPECT_EQ(dialog.outputBase(), "/somewhere");
    EXPECT_TRUE(dialog.gameFolder().empty());
    EXPECT_EQ(dialog.bitrateIndex(), 3);
    EXPECT_EQ(dialog.rateIndex(), 0);
    EXPECT_TRUE(dialog.stereo());
    EXPECT_EQ(dialog.resolutionIndex(), 0);
    EXPECT_EQ(dialog.qualityIndex(), 0);
    EXPECT_TRUE(dialog.encoderPresent());
    EXPECT_EQ(dialog.encoderLine().rfind("libmp3lame.so.0 : LAME", 0), 0u) << dialog.encoderLine();
    EXPECT_FALSE(dialog.selectBitrate(13));
    EXPECT_FALSE(dialog.selectQuality(-1));
    EXPECT_EQ(dialog.bitrateIndex(), 3);
    EXPECT_FALSE(dialog.setGameFolder(std::string(1024, 'x')));
    EXPECT_TRUE(dialog.setGameFolder(std::string(1023, 'x')));
}

TEST(ConvertDialog, StartChecksComeInTheirOrder) {
    TempFolder temp("zeku-dialog");
    DialogMessage message;

    ConvertDialog missingEncoder;
    missingEncoder.open(temp.path().string(), temp.file("no-such-encoder.so"));
    EXPECT_FALSE(missingEncoder.encoderPresent());
    // No folder: nothing happens, nothing is shown.
    EXPECT_EQ(missingEncoder.start(message), StartOutcome::kNothing);
    EXPECT_TRUE(message.text.empty());
    // A folder without "kumo.exe" still gets the encoder message first.
    missingEncoder.setGameFolder(temp.path().string());
    ASSERT_EQ(missingEncoder.start(message), StartOutcome::kRefused);
    EXPECT_EQ(message.text, "<< " + temp.file("no-such-encoder.so") + " " + kEncoderMissingTail);
    EXPECT_EQ(message.caption, kEncoderMissingCaption);
    EXPECT_EQ(sjisToUtf8(message.caption), "ＤＬＬ異常");

    ConvertDialog dialog;
    dialog.open(temp.path().string(), "");
    dialog.setGameFolder(temp.path().string());
    ASSERT_EQ(dialog.start(message), StartOutcome::kRefused);
    EXPECT_EQ(sjisToUtf8(message.text), "『Kumoine』のフォルダを指定して下さい。");
    EXPECT_EQ(sjisToUtf8(message.caption), "フォルダ異常");
    EXPECT_TRUE(dialog.startEnabled());
}

TEST(ConvertDialog, AJobRunsToTheEndWithItsProgressLine) {
    TempFolder temp("zeku-dialog");
    const std::string folder = smallGame(temp);
    // A folder copied from a disc may spell the program in capitals.
    std::filesystem::rename(folder + "/kumo.exe", folder + "/KUMO.EXE");

    ConvertDialog dialog;
    dialog.open(temp.file("out"), "");
    dialog.setGameFolder(folder + "/");
    EXPECT_EQ(dialog.gameFolder(), folder);
    dialog.selectResolution(1);
    DialogMessage message;
    ASSERT_EQ(dialog.start(message), StartOutcome::kStarted);
    EXPECT_FALSE(dialog.startEnabled());
    EXPECT_EQ(dialog.start(message), StartOutcome::kNothing);  // one job at a time

    std::vector<std::string> lines;
    const PackWriterReport report = runToTheEnd(dialog, lines);
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.packagePath, temp.file("out") + "/data/pack_v.mlz");
    EXPECT_TRUE(std::filesystem::exists(report.packagePath));
    EXPECT_TRUE(dialog.startEnabled());
    for (const std::string& line : lines) {
        const std::string text = sjisToUtf8(line);
        EXPECT_EQ(text.rfind("変換データ数：", 0), 0u) << text;
        // Before the worker has read the index the count is still 0.
        EXPECT_TRUE(text.find(" / 3 (") != std::string::npos ||
                    text.find("0 / 0 ()") != std::string::npos)
            << text;
    }
}

TEST(ConvertDialog, ProgressLineAndBar) {
    EXPECT_EQ(sjisToUtf8(progressLineFor(12, 345, "sky.png")), "変換データ数：12 / 345 (sky.png)");
    EXPECT_EQ(renderProgressBar("x", 1, 4, 8), "[##......]  25% x");
    EXPECT_EQ(renderProgressBar("x", 4, 4, 8), "[########] 100% x");
    EXPECT_EQ(renderProgressBar("x", 0, 0, 4), "[....]   0% x");
    EXPECT_EQ(renderProgressBar("x", 9, 4, 4), "[####] 100% x");
}

std::string runProgram(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    status = pclose(pipe);
    status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TEST(ConvZeku, ConvertsAndSummarisesOrSaysWhyNot) {
    TempFolder temp("zeku-convzeku");
    const std::string folder = smallGame(temp);
    int status = 0;
    std::string output = runProgram(std::string(CONVZEKU) + " --game " + folder + " --out " +
                                        temp.file("out") + " --screen 640*480 --jobs 2",
                                    status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("pack_v.mlz: 3 entries"), std::string::npos) << output;
    EXPECT_NE(output.find("(key 0x11)"), std::string::npos) << output;

    output = runProgram(
        std::string(CONVZEKU) + " --game " + folder + " --encoder " + temp.file("missing.so"),
        status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("ＤＬＬ異常"), std::string::npos) << output;
    EXPECT_NE(output.find("が見つかりませんでした。"), std::string::npos) << output;

    output = runProgram(std::string(CONVZEKU) + " --game " + temp.path().string(), status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("フォルダ異常"), std::string::npos) << output;

    output = runProgram(
        std::string(CONVZEKU) + " --game " + folder + " --key 0x12 --out " + temp.file("bad"),
        status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_FALSE(std::filesystem::exists(temp.file("bad") + "/data/pack.mlz"));

    runProgram(std::string(CONVZEKU) + " --quality 9", status);
    EXPECT_EQ(status, 2);
}

// --tracks: the tracks go beside the package, the summary counts them and
// a bad track file is a warning that names it, not a failed run.
TEST(ConvZeku, TracksAreConvertedCountedAndReported) {
    TempFolder temp("zeku-convzeku");
    const std::string folder = smallGame(temp);
    const std::vector<uint8_t> flac =
        test_support::writeCodedSound(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100,
                                      test_support::toneFrames(2, 44100, 22050, 440, 0.5));
    test_support::writeBytes(temp.file("cd/Track 01.flac"), flac);
    test_support::writeBytes(temp.file("cd/02 - Bad.flac"), {flac.begin(), flac.begin() + 200});
    int status = 0;
    const std::string output =
        runProgram(std::string(CONVZEKU) + " --game " + folder + " --out " + temp.file("out") +
                       " --mono --tracks " + temp.file("cd"),
                   status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("pack.mlz: 3 entries, 1 CD tracks,"), std::string::npos) << output;
    EXPECT_NE(output.find("warning: 02 - Bad.flac: "), std::string::npos) << output;
    const test_support::DecodedMp3 track =
        test_support::decodeMp3(test_support::readBytes(temp.file("out/data/track_01.mp3")));
    ASSERT_TRUE(track.ok) << track.error;
    EXPECT_EQ(track.channels, 1);
    EXPECT_FALSE(std::filesystem::exists(temp.file("out/data/track_02.mp3")));
}

TEST(ConvZeku, RefusalsSayWhereAndWhyAfterTheDialogsText) {
    TempFolder temp("zeku-convzeku");
    const std::string game = smallGame(temp);
    const std::string odd = temp.file("odd");
    std::filesystem::create_directories(odd + "/kumo.exe");
    const std::string folderBox = "フォルダ異常: 『Kumoine』のフォルダを指定して下さい。\n";
    const std::string encoderBox = "ＤＬＬ異常: << ";
    const std::string zlib = "libz.so.1";
    const std::string broken = temp.file("broken.so");
    test_support::writeBytes(broken, {'n', 'o', 't', ' ', 'E', 'L', 'F'});

    struct Case {
        std::string arguments;
        std::string box;  // the dialog's text, first
        std::string why;  // then the path and the cause
    };
    const Case cases[] = {
        {"--game " + temp.path().string(), folderBox,
         temp.path().string() + ": no kumo.exe in this folder"},
        {"--game " + temp.file("none"), folderBox,
         temp.file("none") + ": " + std::strerror(ENOENT)},
        {"--game " + odd, folderBox, odd + "/kumo.exe: a folder, not a file"},
        {"--game " + game + " --encoder " + zlib, encoderBox + zlib,
         zlib + ": found, but it is not a LAME library (no entry point lame_init)"},
        {"--game " + game + " --encoder " + broken, encoderBox + broken,
         broken + ": cannot be loaded: "},
    };
    for (const Case& c : cases) {
        int status = 0;
        const std::string output = runProgram(std::string(CONVZEKU) + " " + c.arguments, status);
        EXPECT_EQ(status, 1) << output;
        const size_t why = output.find("convZeku: " + c.why);
        EXPECT_NE(why, std::string::npos) << output;
        const size_t box = output.find("convZeku: " + c.box);
        EXPECT_NE(box, std::string::npos) << output;
        EXPECT_LT(box, why) << output;
    }
}

// A game whose conversion takes seconds: many large pictures coded as
// JBP1 on one thread.
std::string slowGame(const TempFolder& temp) {
    std::vector<uint8_t> rgb(size_t{800} * 600 * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<uint8_t>(i * 7 + i / 2400);
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_TRUE(encodePngRgb(800, 600, rgb.data(), png, error)) << error;
    demo::DemoGame game;
    for (int i = 0; i < 200; ++i)
        game.first.push_back({"./bg/p" + std::to_string(i) + ".png", png});
    const std::string folder = temp.file("slow");
    EXPECT_TRUE(demo::writeSourceGame(folder, game, 0x11, error)) << error;
    return folder;
}

// Starts convZeku, waits until its package's temporary file exists, sends
// `signal` and returns how the program ended (-1 if it ended on its own
// first or never started writing).
int interruptedExit(const std::string& game, const std::string& out, int signal) {
    const pid_t pid = fork();
    if (pid == 0) {
        // Without the fix SIGQUIT would dump core.
        const rlimit noCore = {0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(CONVZEKU, CONVZEKU, "--game", game.c_str(), "--out", out.c_str(), "--quality", "3",
              "--jobs", "1", static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::string temporary = out + "/data/pack.mlz.tmp-" + std::to_string(pid);
    int status = 0;
    for (int i = 0; i < 20000 && !std::filesystem::exists(temporary); ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, signal);
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(ConvZeku, EverySignalThatEndsASessionRemovesTheTemporaryPackage) {
    TempFolder temp("zeku-convzeku");
    const std::string game = slowGame(temp);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        const std::string out = temp.file("out" + std::to_string(signal));
        EXPECT_EQ(interruptedExit(game, out, signal), 1) << strsignal(signal);
        // Neither a package nor its temporary file is left.
        EXPECT_TRUE(std::filesystem::is_empty(out + "/data")) << strsignal(signal);
    }
}

}  // namespace
}  // namespace zeku
