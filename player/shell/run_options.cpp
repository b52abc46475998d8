// Command-line parsing. Numbers are checked whole so "--frames 12x" is refused
// rather than read as 12.
#include "player/shell/run_options.h"

#include <charconv>
#include <string_view>

namespace zeku {
namespace {

bool parseCount(std::string_view text, int& out) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0 &&
           out <= kMaxFrameNumber;
}

}  // namespace

bool parseRunOptions(int argc, const char* const* argv, RunOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view& out) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string_view v;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--portrait") {
            options.portrait = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--fullscreen") {
            options.windowMode = WindowMode::FullScreen;
        } else if (arg == "--window") {
            options.windowMode = WindowMode::Windowed;
        } else if (arg == "--scale") {
            if (!value(v)) return false;
            if (v == "fit") {
                options.scale = kScaleFit;
            } else if (!parseCount(v, options.scale) || options.scale < 1 ||
                       options.scale > kMaxScale) {
                error = "--scale takes a whole number from 1 to " + std::to_string(kMaxScale) +
                        " or \"fit\", not \"" + std::string(v) + "\"";
                return false;
            }
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--frames") {
            if (!value(v)) return false;
            if (!parseCount(v, options.frames)) {
                error = "--frames takes a whole number up to " + std::to_string(kMaxFrameNumber) +
                        ", not \"" + std::string(v) + "\"";
                return false;
            }
        } else if (arg == "--root") {
            if (!value(v)) return false;
            options.root = std::string(v);
        } else if (arg == "--audio-out") {
            if (!value(v)) return false;
            options.audioOutPath = std::string(v);
        } else if (arg == "--input") {
            if (!value(v)) return false;
            options.inputPath = std::string(v);
        } else if (arg == "--screenshot") {
            if (!value(v)) return false;
            const size_t colon = v.find(':');
            ScreenshotRequest shot;
            if (colon == std::string_view::npos || !parseCount(v.substr(0, colon), shot.frame) ||
                shot.frame == 0 || colon + 1 == v.size()) {
                error = "--screenshot takes FRAME:FILE.png (frames count from 1), not \"" +
                        std::string(v) + "\"";
                return false;
            }
            shot.path = std::string(v.substr(colon + 1));
            options.screenshots.push_back(shot);
        } else {
            error = "unknown option \"" + std::string(arg) + "\" (try --help)";
            return false;
        }
    }
    // The window options would be silently lost on a run that has no window.
    if (options.headless && (options.windowMode != WindowMode::AsBuilt || options.scale != 0)) {
        error = "--fullscreen, --window and --scale need a window, not --headless";
        return false;
    }
    return true;
}

bool checkRunOptions(const RunOptions& options, bool inputCloses, std::string& error) {
    if (options.portrait && !options.headless) {
        error = "--portrait needs --headless";
        return false;
    }
    if (options.headless && options.frames == 0 && !inputCloses) {
        error = "--headless needs --frames N (or an input file that closes the run)";
        return false;
    }
    return true;
}

std::string runOptionsUsage(const char* programName) {
    return std::string("usage: ") + programName +
           " [options]\n"
           "A normal start needs no options: the player uses data/ beside the program.\n"
           "  --headless           run without a window, on a virtual clock (16 ms per frame)\n"
           "  --frames N           stop after N frames through the normal shutdown\n"
           "                       (a headless run needs it, or an input file that closes)\n"
           "  --root DIR           use DIR in place of the program folder\n"
           "  --input FILE         scripted input (see README)\n"
           "  --screenshot F:FILE  write the screen as shown after frame F as PNG "
           "(repeatable)\n"
           "  --portrait           headless: present on a portrait panel (turned picture)\n"
           "  --fullscreen         start in full screen (F11 or Alt+Enter switches, Escape "
           "leaves it)\n"
           "  --window             start in a window\n"
           "  --scale N|fit        window size: N times the screen (1-16), or the largest "
           "whole\n"
           "                       multiple that fits the desktop\n"
           "  --trace              print each script command as it first runs (stderr)\n"
           "  --audio-out FILE     write everything the mixer produced as a WAV file\n"
           "                       (22050 Hz, 16-bit, stereo)\n"
           "  --help               this text\n";
}

}  // namespace zeku
