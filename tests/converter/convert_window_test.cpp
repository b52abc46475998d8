// convZeku's window driven by its scripted run under a display (a virtual
// one in CI): the start, the progress line, the refusals as message boxes,
// cancel, and the picture of the window.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

#include "platform/api/png_encoder.h"
#include "platform/api/png_file.h"
#include "tests/support/temp_folder.h"
#include "tools/demogame/demo_game.h"

namespace zeku {
namespace {

using test_support::TempFolder;

bool displayPresent() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// convZeku with `arguments`, its window driven by `script` (`prefix` runs
// before it); standard output and error together. No accessibility bus or
// settings daemon is asked for: a test display has neither.
std::string runWindow(const std::string& script, const std::string& arguments, int& status,
                      const std::string& prefix = "") {
    const std::string command = "CONVZEKU_WINDOW_SCRIPT='" + script +
                                "' NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory " + prefix + " " +
                                CONVZEKU + " " + arguments + " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr)
        output += buffer;
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

std::vector<std::string> linesStartingWith(const std::string& output, const std::string& head) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(head, 0) == 0) lines.push_back(line.substr(head.size()));
    return lines;
}

// `count` large pictures coded as JBP1 on one thread: a run long enough to
// be seen in progress and cancelled.
std::string pictureGame(const TempFolder& temp, int count) {
    std::vector<uint8_t> rgb(size_t{800} * 600 * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<uint8_t>(i * 7 + i / 2400);
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_TRUE(encodePngRgb(800, 600, rgb.data(), png, error)) << error;
    demo::DemoGame game;
    for (int i = 0; i < count; ++i)
        game.first.push_back({"./bg/p" + std::to_string(i) + ".png", png});
    const std::string folder = temp.file("game" + std::to_string(count));
    EXPECT_TRUE(demo::writeSourceGame(folder, game, 0x11, error)) << error;
    return folder;
}

#define SKIP_WITHOUT_WINDOW()                                                    \
    do {                                                                         \
        if (!CONVZEKU_WINDOW) GTEST_SKIP() << "built without the window";        \
        if (!displayPresent()) GTEST_SKIP() << "no display to open a window on"; \
    } while (false)

TEST(ConvertWindow, ConvertsTheChosenFolderAndClearsTheProgressLine) {
    SKIP_WITHOUT_WINDOW();
    TempFolder temp("zeku-window");
    // Enough pictures that the run outlasts several timer ticks.
    const std::string game = pictureGame(temp, 100);
    const std::string out = temp.file("out");
    std::filesystem::create_directories(out);
    int status = 0;
    std::string error;
    const std::string output =
        runWindow("out=" + out + ";folder=" + game + "/;start;wait;shot=" + out + "/shot.png;quit",
                  "--window --quality 3 --jobs 1", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(linesStartingWith(output, "window: opened: "),
              std::vector<std::string>{"Torune[ver.3.21]"})
        << output;
    // The folder field drops the trailing "/".
    EXPECT_EQ(linesStartingWith(output, "window: folder: "), std::vector<std::string>{game});

    // Every progress line is the dialog's, counting up towards 100; the last
    // one clears the line.
    const std::vector<std::string> lines = linesStartingWith(output, "window: progress: ");
    ASSERT_GE(lines.size(), 2u) << output;
    const std::regex form("変換データ数：([0-9]+) / 100 \\(p[0-9]+\\.png\\)");
    int previous = 0;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, form)) << lines[i];
        const int done = std::stoi(match[1]);
        EXPECT_GE(done, previous) << output;
        previous = done;
    }
    EXPECT_EQ(lines.back(), "");
    EXPECT_NE(output.find("window: progress line: \"\", start enabled"), std::string::npos)
        << output;

    EXPECT_NE(output.find("window: message: convZeku: The package is written. | " + out +
                          "/data/pack.mlz\n100 entries, "),
              std::string::npos)
        << output;
    EXPECT_TRUE(std::filesystem::is_regular_file(out + "/data/pack.mlz")) << output;
    // The picture, taken after the run, shows the window: a blank one (the
    // window drawn before its new layout) has a single colour.
    PngPicture shot;
    ASSERT_TRUE(readPng(out + "/shot.png", shot, error)) << error << output;
    EXPECT_GT(shot.width, 300);
    EXPECT_GT(shot.height, 200);
    std::set<std::vector<uint8_t>> colours;
    for (size_t i = 0; i + 3 <= shot.pixels.size(); i += static_cast<size_t>(shot.channels))
        colours.insert({shot.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                        shot.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3)});
    EXPECT_GT(colours.size(), 8u) << output;
}

// The two refusals are message boxes with the dialog's texts, the encoder
// first; with no folder, start shows nothing. The menu opens the about box.
TEST(ConvertWindow, RefusalsAreMessageBoxesAndTheEncoderComesFirst) {
    SKIP_WITHOUT_WINDOW();
    TempFolder temp("zeku-window");
    const std::string empty = temp.file("empty");
    std::filesystem::create_directories(empty);
    struct Case {
        std::string arguments;
        std::string script;
        std::vector<std::string> messages;
    };
    const std::string missing = temp.file("missing.so");
    const Case cases[] = {
        {"--window --encoder " + missing,
         "start;folder=" + empty + ";start;quit",
         {"ＤＬＬ異常: << " + missing + " >>が見つかりませんでした。 | " + missing}},
        {"--window",
         "about;start;folder=" + empty + ";start;quit",
         {"convZekuのﾊﾞｰｼﾞｮﾝ情報: convZeku Version 3.00",
          "フォルダ異常: 『Kumoine』のフォルダを指定して下さい。 | " + empty +
              ": no kumo.exe in this folder"}},
    };
    for (const Case& c : cases) {
        int status = 0;
        const std::string output = runWindow(c.script, c.arguments, status);
        EXPECT_EQ(status, 0) << output;
        const std::vector<std::string> messages = linesStartingWith(output, "window: message: ");
        ASSERT_EQ(messages.size(), c.messages.size()) << output;
        for (size_t i = 0; i < messages.size(); ++i)
            EXPECT_EQ(messages[i].rfind(c.messages[i], 0), 0u) << messages[i];
        EXPECT_EQ(linesStartingWith(output, "window: start: nothing").size(), 1u) << output;
        EXPECT_TRUE(linesStartingWith(output, "window: started").empty()) << output;
    }
}

// Cancel, or closing the window while a run goes, stops the run and leaves
// no package and no temporary file.
TEST(ConvertWindow, CancelOrClosingLeavesNoPackage) {
    SKIP_WITHOUT_WINDOW();
    TempFolder temp("zeku-window");
    const std::string game = pictureGame(temp, 150);
    struct Case {
        const char* steps;
        bool cancelled;  // else the window closes with the run going
    };
    const Case cases[] = {{"start;cancel;wait;quit", true}, {"start;quit", false}};
    for (const Case& c : cases) {
        const std::string out = temp.file(std::string("out-") + (c.cancelled ? "cancel" : "close"));
        int status = 0;
        const std::string output = runWindow("out=" + out + ";folder=" + game + ";" + c.steps,
                                             "--window --quality 3 --jobs 1", status);
        EXPECT_EQ(status, 0) << output;
        if (c.cancelled) {
            EXPECT_NE(output.find("window: cancel\n"), std::string::npos) << output;
            EXPECT_NE(output.find("window: failed: the conversion was interrupted"),
                      std::string::npos)
                << output;
            EXPECT_NE(output.find("window: progress line: \"\", start enabled"), std::string::npos)
                << output;
        } else {
            EXPECT_NE(output.find("window: started"), std::string::npos) << output;
            EXPECT_EQ(output.find("window: finished"), std::string::npos) << output;
        }
        std::error_code ignored;
        EXPECT_TRUE(!std::filesystem::exists(out + "/data") ||
                    std::filesystem::is_empty(out + "/data", ignored))
            << output;
    }
}

// Without arguments on a desktop convZeku is the window; without a display,
// or with arguments, it is the terminal program.
TEST(ConvertWindow, OpensOnlyWithoutArgumentsOnADesktopOrWhenAsked) {
    int status = 0;
    std::string output;
    if (!CONVZEKU_WINDOW) {
        output = runWindow("quit", "--window", status);
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find("built without the window"), std::string::npos) << output;
        return;
    }
    SKIP_WITHOUT_WINDOW();
    output = runWindow("quit", "", status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("window: opened: "), std::string::npos) << output;

    output = runWindow("quit", "--jobs 1", status);
    EXPECT_EQ(status, 2) << output;
    EXPECT_NE(output.find("no game folder"), std::string::npos) << output;

    // Without a display: the terminal program, and --window cannot open.
    const std::pair<const char*, const char*> headless[] = {
        {"", "no game folder"}, {"--window", "cannot open the display for the window"}};
    for (const auto& [arguments, says] : headless) {
        output = runWindow("quit", arguments, status, "env -u DISPLAY -u WAYLAND_DISPLAY");
        EXPECT_EQ(status, 2) << output;
        EXPECT_NE(output.find(says), std::string::npos) << output;
        EXPECT_EQ(output.find("window: opened"), std::string::npos) << output;
    }
}

}  // namespace
}  // namespace zeku
