// The player's start-up, message loop and orderly shutdown for one run.
#pragma once

#include <string>
#include <vector>

#include "player/script/command_tracer.h"
#include "player/shell/build_constants.h"
#include "player/shell/platform_services.h"

namespace zeku {

struct PlayerRunOptions {
    std::string programFolder;  // base of "data/" and "zeku.cfg", ending in "/"
    FrameObserver* observer = nullptr;
    CommandTracer* tracer = nullptr;  // told of every command the script runs
    // Where the MP3 overlay may lie, tried in order (a bare name is searched
    // the host's way). None found: MP3 sounds and music stay silent.
    std::vector<std::string> overlayCandidates = {};
};

// A start-up failure is reported once (message box) and ends the run with
// this code, so scripts and tests can tell it from a normal quit.
inline constexpr int kStartupFailedExitCode = 1;

// Returns the quit code, or kStartupFailedExitCode. The caller has already
// made sure this is the only running instance.
int runPlayer(const BuildConstants& build, PlatformServices& platform,
              const PlayerRunOptions& options);

}  // namespace zeku
