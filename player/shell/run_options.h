// Command-line options of the player. A normal start takes none; the rest
// serve headless runs, tests and tools.
#pragma once

#include <string>
#include <vector>

namespace zeku {

// Frame numbers on the command line and in input files stay below this (about
// 18 days of game time), so frame + 1 can never overflow.
inline constexpr int kMaxFrameNumber = 100000000;

// Whether the window starts in full screen: as the build does (the Pocket PC
// build full screen, the other in a window), or as the user chose.
enum class WindowMode { AsBuilt, FullScreen, Windowed };

// --scale fit: the largest whole multiple that fits the desktop.
inline constexpr int kScaleFit = -1;
inline constexpr int kMaxScale = 16;

struct ScreenshotRequest {
    int frame = 0;
    std::string path;
};

struct RunOptions {
    bool headless = false;  // memory back end and virtual clock
    bool portrait = false;  // present on a portrait panel
    int frames = 0;         // stop after this many frames (0: run until closed)
    std::string root;       // stands in for the program folder
    std::string inputPath;  // scripted input
    std::vector<ScreenshotRequest> screenshots;
    bool trace = false;        // print each script command as it first runs
    std::string audioOutPath;  // --audio-out: everything mixed, as a WAV file
    bool help = false;
    // The window on a desktop.
    WindowMode windowMode = WindowMode::AsBuilt;  // --fullscreen / --window
    int scale = 0;  // --scale: 0 not given, kScaleFit, or 1..kMaxScale
};

// False with `error` set (one line) on a bad command line.
bool parseRunOptions(int argc, const char* const* argv, RunOptions& options, std::string& error);

// Checks the options that only make sense together, once the input file is
// read: --portrait needs --headless, and a headless run must end, by
// --frames or by a close in the input file (nothing else can close it).
// False with `error` set (one line).
bool checkRunOptions(const RunOptions& options, bool inputCloses, std::string& error);

// The usage text, UTF-8, ending in a newline.
std::string runOptionsUsage(const char* programName);

}  // namespace zeku
