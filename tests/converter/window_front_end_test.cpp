// What the window front end adds around the dialog: its texts as the host
// sees them, the end-of-run summary, and the scripted-run steps.
#include <gtest/gtest.h>

#include <iterator>

#include "converter/app/command_line.h"
#include "converter/app/dialog_texts.h"
#include "converter/app/run_summary.h"
#include "converter/app/window_script.h"
#include "platform/api/text_codec.h"

namespace zeku {
namespace {

// Every control text, decoded, must be the dialog's own text byte for byte;
// a wrong escape in a Shift-JIS literal shows up here, not on a desktop.
TEST(WindowTexts, DecodeToTheDialogsOwnWords) {
    const std::pair<const char*, const char*> texts[] = {
        {kBrowseLabel, "参照(&F)"},
        {kFolderChooserTitle, "フォルダを選択して下さい。"},
        {kSoundGroupLabel, "効果音設定"},
        {kBitrateLabel, "BIT"},
        {kRateLabel, "RATE"},
        {kStereoLabel, "ｽﾃﾚｵ"},
        {kResolutionLabel, "解像度"},
        {kQualityLabel, "画質設定"},
        {kQualityItems[0], "最高画質"},
        {kQualityItems[1], "高画質(100)"},
        {kQualityItems[2], "標準(90)"},
        {kQualityItems[3], "低画質(80)"},
        {kStartLabel, "開始(&S)"},
        {kAboutMenuItem, "convZeku のﾊﾞｰｼﾞｮﾝ情報(&A)..."},
        {kAboutTitle, "convZekuのﾊﾞｰｼﾞｮﾝ情報"},
        {kEncoderMissingCaption, "ＤＬＬ異常"},
        {kFolderMessage, "『Kumoine』のフォルダを指定して下さい。"},
        {kFolderCaption, "フォルダ異常"},
    };
    for (const auto& [sjis, utf8] : texts)
        EXPECT_EQ(sjisToUtf8(sjis), utf8);
    EXPECT_EQ(std::size(kQualityItems), static_cast<size_t>(kQualityItemCount));
}

TEST(RunSummary, FiguresWarningsAndFailures) {
    PackWriterReport report;
    report.ok = true;
    report.packagePath = "/out/data/pack.mlz";
    report.entries = 12;
    report.bytesIn = 2500000;
    report.bytesOut = 1250000;
    report.key = 0x5A;
    EXPECT_EQ(runSummary(report, 1.5),
              "/out/data/pack.mlz\n12 entries, 2.50 MB in, 1.25 MB out, 1.50 s (key 0x5A)");

    report.tracks = 2;
    report.warnings = {"a.png: stored unconverted"};
    EXPECT_EQ(runSummary(report, 0),
              "/out/data/pack.mlz\n12 entries, 2 CD tracks, 2.50 MB in, 1.25 MB out, 0.00 s "
              "(key 0x5A)\n1 warning:\na.png: stored unconverted");

    // A long list is cut at the bound and the rest counted.
    report.ok = false;
    report.error = "the conversion was interrupted";
    report.warnings.clear();
    for (int i = 0; i < kSummaryWarningsShown + 3; ++i)
        report.warnings.push_back("w" + std::to_string(i));
    const std::string text = runSummary(report, 9);
    EXPECT_EQ(text.rfind("the conversion was interrupted\n13 warnings:\nw0\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nw9\n... and 3 more"), std::string::npos) << text;
    EXPECT_EQ(text.find("w10"), std::string::npos) << text;
}

TEST(WindowScript, StepsAndTheirRefusals) {
    std::vector<WindowStep> steps;
    std::string error;
    ASSERT_TRUE(parseWindowScript("folder=/g h;out=/o;;start;cancel;wait;about;shot=/s.png;quit",
                                  steps, error))
        << error;
    const WindowStepKind kinds[] = {WindowStepKind::kFolder, WindowStepKind::kOut,
                                    WindowStepKind::kStart,  WindowStepKind::kCancel,
                                    WindowStepKind::kWait,   WindowStepKind::kAbout,
                                    WindowStepKind::kShot,   WindowStepKind::kQuit};
    ASSERT_EQ(steps.size(), std::size(kinds));
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i].kind, kinds[i]) << i;
    EXPECT_EQ(steps[0].argument, "/g h");
    EXPECT_EQ(steps[6].argument, "/s.png");
    EXPECT_TRUE(parseWindowScript("", steps, error));
    EXPECT_TRUE(steps.empty());

    for (const char* bad : {"folder", "folder=", "start=1", "press", "quit;shot"}) {
        error.clear();
        EXPECT_FALSE(parseWindowScript(bad, steps, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(ConvertOptions, WindowKeepsTheOtherOptionsAsPresets) {
    ConvertOptions options;
    std::string error;
    ASSERT_TRUE(
        parseConvertOptions({"--screen", "640*480", "--window", "--game", "/g"}, options, error));
    EXPECT_TRUE(options.window);
    EXPECT_EQ(options.resolutionIndex, 1);
    EXPECT_EQ(options.gameFolder, "/g");
}

}  // namespace
}  // namespace zeku
