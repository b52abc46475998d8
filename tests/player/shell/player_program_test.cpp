// The real player programs, run as a user or a script would run them:
// headless runs with screenshots, option errors, and (with a display) a
// real window and the single-instance rule.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <thread>

#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct TempDir {
    zeku::test_support::TempFolder folder{"zeku-program-test"};
    const fs::path& path = folder.path();
};

// Runs a shell command line; returns its exit code (-1 when it did not exit).
int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool pngSize(const fs::path& file, unsigned& width, unsigned& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return false;
    width = image.width;
    height = image.height;
    png_image_free(&image);
    return true;
}

struct Build {
    const char* program;
    unsigned width;
    unsigned height;
};

void PrintTo(const Build& build, std::ostream* out) {
    *out << build.width << "x" << build.height;
}

class HeadlessProgram : public testing::TestWithParam<Build> {};

TEST_P(HeadlessProgram, RunsItsFramesAndWritesScreenshotsOfTheLogicalScreen) {
    const Build build = GetParam();
    TempDir dir;
    for (const char* layout : {"", " --portrait"}) {
        const fs::path first = dir.path / "first.png";
        const fs::path last = dir.path / "last.png";
        const std::string command = std::string(build.program) + " --headless" + layout +
                                    " --frames 120 --root " + dir.path.string() +
                                    " --screenshot 1:" + first.string() +
                                    " --screenshot 120:" + last.string() + " 2>/dev/null";
        ASSERT_EQ(run(command), 0) << command;
        for (const fs::path& shot : {first, last}) {
            unsigned w = 0, h = 0;
            ASSERT_TRUE(pngSize(shot, w, h)) << shot;
            EXPECT_EQ(w, build.width);
            EXPECT_EQ(h, build.height);
            fs::remove(shot);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, HeadlessProgram,
                         testing::Values(Build{ZEKU_PLAYER_HPC, 320, 240},
                                         Build{ZEKU_PLAYER_PPC, 640, 480}),
                         [](const auto& info) { return info.index == 0 ? "HPC" : "PPC"; });

TEST(PlayerProgram, BadCommandLinesFailWithAMessage) {
    TempDir dir;
    const std::string err = (dir.path / "err.txt").string();
    EXPECT_EQ(run(std::string(ZEKU_PLAYER_HPC) + " --frames x 2>" + err), 2);
    std::ifstream in(err);
    std::string line;
    std::getline(in, line);
    EXPECT_NE(line.find("--frames"), std::string::npos) << line;
    EXPECT_EQ(run(std::string(ZEKU_PLAYER_HPC) + " --headless --input /nonexistent 2>/dev/null"),
              2);
    EXPECT_EQ(run(std::string(ZEKU_PLAYER_HPC) + " --help >/dev/null"), 0);
    // A screenshot that cannot be written is a failed run.
    EXPECT_EQ(run(std::string(ZEKU_PLAYER_HPC) +
                  " --headless --frames 2 --screenshot 1:/nonexistent/x.png 2>/dev/null"),
              1);
}

std::string textOf(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PlayerProgram, AHeadlessRunMustEndAndEveryScreenshotIsAccountedFor) {
    TempDir dir;
    const fs::path err = dir.path / "err.txt";
    const std::string player = std::string(ZEKU_PLAYER_HPC) + " --root " + dir.path.string();
    // Nothing could end it: refused before it starts.
    EXPECT_EQ(run(player + " --headless 2>" + err.string()), 2);
    EXPECT_NE(textOf(err).find("--frames"), std::string::npos) << textOf(err);
    EXPECT_EQ(run(player + " --headless --frames 0 2>/dev/null"), 2);
    // An input file that closes the run is an end.
    const fs::path input = dir.path / "input.txt";
    std::ofstream(input) << "3 close\n";
    EXPECT_EQ(run(player + " --headless --input " + input.string() + " 2>/dev/null"), 0);

    // A screenshot after the last frame is never taken: said, and a failed run.
    const fs::path shot = dir.path / "late.png";
    EXPECT_EQ(run(player + " --headless --frames 5 --screenshot 10:" + shot.string() + " 2>" +
                  err.string()),
              1);
    const std::string said = textOf(err);
    EXPECT_NE(said.find("10:" + shot.string() + " not written"), std::string::npos) << said;
    EXPECT_NE(said.find("frame 5"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(shot));
    // The folder has no package: said once, with its path.
    const std::string package = (dir.path / "data/pack.mlz").string() + ": missing";
    EXPECT_NE(said.find(package), std::string::npos) << said;
    EXPECT_EQ(said.find(package), said.rfind(package)) << said;
}

TEST(PlayerProgram, WindowedRunAndSingleInstance) {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
    TempDir dir;
    // A runtime folder of its own, so a player the user runs is not disturbed.
    // SDL unloads X11 helper libraries at exit, which leaves the leak checker
    // unable to tell their allocations from ours: the SDL unit tests check
    // our side with SDL kept loaded, so leak checking is off here.
    const std::string env = "XDG_RUNTIME_DIR=" + dir.path.string() +
                            " SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 ";
    const fs::path shot = dir.path / "window.png";
    // A short windowed run on the real clock: 30 frames, about half a second.
    ASSERT_EQ(run(env + ZEKU_PLAYER_HPC + " --frames 30 --root " + dir.path.string() +
                  " --screenshot 30:" + shot.string() + " 2>/dev/null"),
              0);
    unsigned w = 0, h = 0;
    ASSERT_TRUE(pngSize(shot, w, h));
    EXPECT_EQ(w, 320u);
    EXPECT_EQ(h, 240u);

    // While one runs (about 3 s), a second start raises it and leaves with 0.
    const std::string first = env + ZEKU_PLAYER_HPC + " --frames 180 --root " + dir.path.string();
    std::thread runner([&] { EXPECT_EQ(run(first + " 2>/dev/null"), 0); });
    const fs::path lock = dir.path;
    bool locked = false;
    for (int i = 0; i < 200 && !locked; ++i) {
        for (const auto& entry : fs::directory_iterator(lock)) {
            if (entry.path().extension() == ".sock") locked = true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(locked);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run(env + ZEKU_PLAYER_HPC + " 2>/dev/null"), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    runner.join();
}

}  // namespace
