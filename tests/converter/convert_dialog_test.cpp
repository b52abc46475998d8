// The dialog's rules without a window: defaults, the start checks in their
// order, the job's life and the progress line; and convZeku on a terminal.
#include "converter/app/convert_dialog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "converter/app/dialog_texts.h"
#include "converter/app/progress_bar.h"
#include "platform/api/text_codec.h"
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

}  // namespace
}  // namespace zeku
