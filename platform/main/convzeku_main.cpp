// convZeku on a terminal: the dialog's settings from the command line, the
// start checks' messages on standard error, a progress bar while the run
// goes on, and a summary at the end. Started without arguments on a
// desktop, or with --window, it opens the converter's window instead.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "converter/app/command_line.h"
#include "converter/app/convert_dialog.h"
#include "converter/app/progress_bar.h"
#include "platform/api/text_codec.h"
#include "platform/gtk/convert_window.h"

namespace {

std::atomic<bool> interrupted{false};

void onInterrupt(int) {
    interrupted.store(true);
}

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
    return buffer.data();
}

bool displayPresent() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

std::string megabytes(uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zeku;
    ConvertOptions options;
    std::string error;
    if (!parseConvertOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "convZeku: %s\n%s", error.c_str(), kConvertUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kConvertUsage, stdout);
        return 0;
    }
    if (options.window || (argc == 1 && kConvertWindowBuilt && displayPresent())) {
        // Drives the window without a user (the window's tests and its picture).
        const char* script = std::getenv("CONVZEKU_WINDOW_SCRIPT");
        return runConvertWindow(options, currentDirectory(), script ? script : "");
    }
    if (options.gameFolder.empty()) {
        std::fprintf(stderr, "convZeku: no game folder (--game DIR)\n%s", kConvertUsage);
        return 2;
    }
    if (options.jobs == 0) options.jobs = static_cast<int>(std::thread::hardware_concurrency());

    ConvertDialog dialog;
    dialog.open(currentDirectory(), options.encoderPath);
    if (!applyConvertOptions(options, dialog, error)) {
        std::fprintf(stderr, "convZeku: %s\n", error.c_str());
        return 2;
    }
    std::printf("%s\n", sjisToUtf8(dialog.encoderLine()).c_str());
    const WaveSettings wave{dialog.bitrateIndex(), dialog.rateIndex() == 1, dialog.stereo()};
    const int tableKbps = mp3BitrateKbps(wave.bitrateIndex, wave.stereo);
    if (waveEncodingKbps(wave) != tableKbps) {
        std::printf("convZeku: MP3 has no %d kbit/s at %u Hz; sounds are encoded at %d kbit/s\n",
                    tableKbps, waveTargetRateHz(wave), waveEncodingKbps(wave));
    }

    // Every signal that ends a terminal session stops the run the same way,
    // so the package's temporary file is removed. The handlers are in place
    // before the worker thread can create that file.
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaction(signal, &action, nullptr);

    DialogMessage message;
    const auto started = std::chrono::steady_clock::now();
    switch (dialog.start(message)) {
        case StartOutcome::kNothing:
            return 2;
        case StartOutcome::kRefused:
            // The box's own words, then what they leave out: where and why.
            std::fprintf(stderr, "convZeku: %s: %s\n", sjisToUtf8(message.caption).c_str(),
                         sjisToUtf8(message.text).c_str());
            if (!message.detail.empty())
                std::fprintf(stderr, "convZeku: %s\n", message.detail.c_str());
            return 1;
        case StartOutcome::kStarted:
            break;
    }

    const bool terminal = isatty(STDERR_FILENO) != 0;
    PackWriterReport report;
    std::string line;
    for (;;) {
        if (interrupted.load()) dialog.cancel();
        if (dialog.tick(line, report)) break;
        if (terminal) {
            const PackProgress* progress = dialog.progress();
            std::fprintf(stderr, "\r\033[K%s",
                         renderProgressBar(sjisToUtf8(line), progress->entriesDone.load(),
                                           progress->entryCount.load(), 30)
                             .c_str());
            std::fflush(stderr);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (terminal) std::fputs("\r\033[K", stderr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    for (const std::string& warning : report.warnings)
        std::fprintf(stderr, "convZeku: warning: %s\n", warning.c_str());
    if (!report.ok) {
        std::fprintf(stderr, "convZeku: %s\n", report.error.c_str());
        return 1;
    }
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const std::string tracks =
        options.tracksFolder.empty() ? "" : ", " + std::to_string(report.tracks) + " CD tracks";
    std::printf("%s: %d entries%s, %s in, %s out, %.2f s, peak memory %ld MB (key 0x%02X)\n",
                report.packagePath.c_str(), report.entries, tracks.c_str(),
                megabytes(report.bytesIn).c_str(), megabytes(report.bytesOut).c_str(), seconds,
                usage.ru_maxrss / 1024, report.key);
    return 0;
}
