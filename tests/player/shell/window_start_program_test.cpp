// The windowed player programs where no window can be shown: start-up must
// fail at once, saying so with SDL's reason, rather than run unseen.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// "ウィンドウの作成に失敗しました。" as the terminal shows it.
constexpr const char* kWindowFailedUtf8 =
    "\xE3\x82\xA6\xE3\x82\xA3\xE3\x83\xB3\xE3\x83\x89\xE3\x82\xA6\xE3\x81\xAE\xE4\xBD\x9C\xE6"
    "\x88\x90\xE3\x81\xAB\xE5\xA4\xB1\xE6\x95\x97\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81"
    "\x9F\xE3\x80\x82";

struct Outcome {
    int code = -1;  // -1 when the program did not exit by itself
    std::string errors;
};

// Runs `program` with the display variables replaced by `display`, in a
// folder of its own (data, settings and instance lock), for at most 20 s.
Outcome runWith(const std::string& display, const char* program, const std::string& args) {
    zeku::test_support::TempFolder dir("zeku-window-start");
    const fs::path err = dir.path() / "err.txt";
    // Leak checking is off as in the other windowed runs: SDL unloads X11
    // helper libraries at exit.
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + display +
        " XDG_RUNTIME_DIR=" + dir.path().string() +
        " SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 timeout -k 5 20 " + program +
        " --root " + dir.path().string() + " " + args + " 2>" + err.string();
    Outcome outcome;
    const int status = std::system(command.c_str());
    // timeout's own code 124 (or 137 after the kill) means it never ended.
    if (WIFEXITED(status) && WEXITSTATUS(status) < 124) outcome.code = WEXITSTATUS(status);
    std::ifstream in(err);
    std::ostringstream text;
    text << in.rdbuf();
    outcome.errors = text.str();
    return outcome;
}

class WindowStart : public testing::TestWithParam<const char*> {};

TEST_P(WindowStart, WithoutADisplayItFailsWithAMessageInsteadOfRunningUnseen) {
    // Where a graphics card is present SDL could open the console itself.
    if (fs::exists("/dev/dri")) GTEST_SKIP() << "a console display may be reachable";
    const Outcome outcome = runWith("", GetParam(), "");
    EXPECT_EQ(outcome.code, 1) << outcome.errors;
    EXPECT_NE(outcome.errors.find(kWindowFailedUtf8), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("SDL_VIDEODRIVER=offscreen"), std::string::npos)
        << outcome.errors;
    // Asked for on purpose, the offscreen driver is taken.
    EXPECT_EQ(runWith("SDL_VIDEODRIVER=offscreen", GetParam(), "--frames 5").code, 0);
}

TEST_P(WindowStart, SdlsReasonFollowsTheMessage) {
    const Outcome outcome = runWith("SDL_VIDEODRIVER=nosuchdriver", GetParam(), "");
    EXPECT_EQ(outcome.code, 1) << outcome.errors;
    const size_t message = outcome.errors.find(kWindowFailedUtf8);
    ASSERT_NE(message, std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("nosuchdriver", message), std::string::npos) << outcome.errors;
}

INSTANTIATE_TEST_SUITE_P(Builds, WindowStart, testing::Values(ZEKU_PLAYER_HPC, ZEKU_PLAYER_PPC),
                         [](const auto& info) { return info.index == 0 ? "HPC" : "PPC"; });

}  // namespace
