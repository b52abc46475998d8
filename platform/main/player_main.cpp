// The player programs' entry. The same file builds ZekuPlayerHPC and
// ZekuPlayerPPC; ZEKU_BUILD_PPC picks the build's constants at compile time.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "overlay/mp3_overlay.h"
#include "platform/api/program_folder.h"
#include "platform/api/single_instance.h"
#include "platform/font/fontconfig_catalog.h"
#include "platform/font/freetype_glyph_renderer.h"
#include "platform/headless/audio_capture.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_device_status.h"
#include "platform/headless/headless_window.h"
#include "platform/headless/memory_display.h"
#include "platform/headless/stderr_message_box.h"
#include "platform/headless/virtual_clock.h"
#include "platform/main/headless_driver.h"
#include "platform/main/stderr_tracer.h"
#include "platform/posix/monotonic_clock.h"
#include "platform/posix/stderr_notices.h"
#include "platform/sdl/sdl_platform.h"
#include "player/shell/build_constants.h"
#include "player/shell/player_entry.h"
#include "player/shell/run_options.h"
#include "player/shell/scripted_input.h"

namespace {

#if ZEKU_BUILD_PPC
constexpr const zeku::BuildConstants& kBuild = zeku::kPocketPcBuild;
#else
constexpr const zeku::BuildConstants& kBuild = zeku::kSigmarionBuild;
#endif

bool readTextFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return !in.bad();
}

std::unique_ptr<zeku::DisplayBackEnd> makeHeadlessDisplay(const zeku::RunOptions& options) {
    const int w = kBuild.screenWidth, h = kBuild.screenHeight;
    if (options.portrait) return std::make_unique<zeku::MemoryPanelDisplay>(h, w);
    if (kBuild.pocketPc) return std::make_unique<zeku::MemoryPanelDisplay>(w, h);
    return std::make_unique<zeku::MemoryGdiDisplay>();
}

zeku::SdlWindowOptions desktopWindowOptions(const zeku::RunOptions& options) {
    zeku::SdlWindowOptions desktop;
    using Screen = zeku::SdlWindowOptions::Screen;
    switch (options.windowMode) {
        case zeku::WindowMode::AsBuilt:
            desktop.screen = Screen::AsBuilt;
            break;
        case zeku::WindowMode::FullScreen:
            desktop.screen = Screen::FullScreen;
            break;
        case zeku::WindowMode::Windowed:
            desktop.screen = Screen::Windowed;
            break;
    }
    if (options.scale == zeku::kScaleFit) {
        desktop.scale = zeku::kWindowScaleFit;
    } else if (options.scale > 0) {
        desktop.scale = options.scale;
    }
    return desktop;
}

}  // namespace

int main(int argc, char** argv) {
    zeku::RunOptions options;
    std::string error;
    if (!zeku::parseRunOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s\n", kBuild.programName, error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(zeku::runOptionsUsage(kBuild.programName).c_str(), stdout);
        return 0;
    }

    std::vector<zeku::TimedMessage> input;
    if (!options.inputPath.empty()) {
        std::string text;
        if (!readTextFile(options.inputPath, text)) {
            std::fprintf(stderr, "%s: cannot read input file %s\n", kBuild.programName,
                         options.inputPath.c_str());
            return 2;
        }
        if (!zeku::parseScriptedInput(text, input, error)) {
            std::fprintf(stderr, "%s: %s: %s\n", kBuild.programName, options.inputPath.c_str(),
                         error.c_str());
            return 2;
        }
    }
    if (!zeku::checkRunOptions(options, zeku::closesRun(input), error)) {
        std::fprintf(stderr, "%s: %s\n", kBuild.programName, error.c_str());
        return 2;
    }
    std::string folder = options.root.empty() ? zeku::programFolder() : options.root;
    if (folder.back() != '/') folder += '/';

    std::unique_ptr<zeku::HostWindow> window;
    std::unique_ptr<zeku::DisplayBackEnd> display;
    std::unique_ptr<zeku::MessageBoxes> boxes;
    std::unique_ptr<zeku::Clock> clock;
    std::unique_ptr<zeku::InstanceLock> instance;
    std::unique_ptr<zeku::Clock> virtualClock;
    std::unique_ptr<zeku::AudioDevice> audio;
    std::unique_ptr<zeku::DeviceStatus> device;
    if (options.headless) {
        // Headless runs are independent of any running player: no instance lock.
        window = std::make_unique<zeku::HeadlessWindow>();
        display = makeHeadlessDisplay(options);
        boxes = std::make_unique<zeku::StderrMessageBoxes>();
        // Sound plays by the virtual clock: every sleep pumps the device.
        virtualClock = std::make_unique<zeku::VirtualClock>();
        auto headlessAudio = std::make_unique<zeku::HeadlessAudioDevice>(*virtualClock);
        clock = std::make_unique<zeku::AudioPumpingClock>(*virtualClock, *headlessAudio);
        audio = std::move(headlessAudio);
        // A fixed date moved by the virtual clock: the same status line and
        // save dates on every run.
        device = std::make_unique<zeku::HeadlessDeviceStatus>(*virtualClock);
    } else {
        instance = zeku::acquireInstance(zeku::kWindowClassName, kBuild.title);
        if (!instance) return 0;  // the running player was asked to come to the front
        window = zeku::createSdlWindow(desktopWindowOptions(options));
        display = zeku::createSdlDisplay(*window, kBuild.pocketPc);
        boxes = zeku::createSdlMessageBoxes();
        clock = std::make_unique<zeku::MonotonicClock>();
        audio = zeku::createSdlAudio();
        device = zeku::createSdlDeviceStatus();
    }
    std::unique_ptr<zeku::CapturingAudioDevice> capture;
    if (!options.audioOutPath.empty())
        capture = std::make_unique<zeku::CapturingAudioDevice>(*audio);

    zeku::HeadlessDriver driver(*window, *display, kBuild.screenWidth, kBuild.screenHeight, options,
                                std::move(input));
    zeku::FontconfigCatalog fonts;
    zeku::StderrNotices notices(kBuild.programName);
    zeku::FreeTypeGlyphRenderer glyphs(&notices);
    zeku::PlatformServices services{*window,        *display, *clock,   *boxes,
                                    instance.get(), &fonts,   &notices, &glyphs};
    services.audio = capture ? static_cast<zeku::AudioDevice*>(capture.get()) : audio.get();
    services.device = device.get();
    zeku::PlayerRunOptions runOptions;
    runOptions.programFolder = folder;
    runOptions.observer = &driver;
    zeku::StderrTracer tracer;
    if (options.trace) runOptions.tracer = &tracer;
    // The overlay is looked for beside the program first.
    runOptions.overlayCandidates = {zeku::programFolder() + zeku::kOverlayFileName,
                                    zeku::kOverlayFileName};
    const int code = zeku::runPlayer(kBuild, services, runOptions);
    for (const std::string& path : driver.written()) {
        std::fprintf(stderr, "%s: screenshot written to %s\n", kBuild.programName, path.c_str());
    }
    bool audioWritten = true;
    if (capture) {
        audioWritten = zeku::writeCapturedWav(options.audioOutPath, capture->pcm(), error);
        if (!audioWritten)
            std::fprintf(stderr, "%s: --audio-out: %s\n", kBuild.programName, error.c_str());
    }
    const std::vector<zeku::ScreenshotRequest> missed = driver.missed();
    for (const zeku::ScreenshotRequest& shot : missed) {
        std::fprintf(stderr, "%s: screenshot %d:%s not written: the run ended after frame %d\n",
                     kBuild.programName, shot.frame, shot.path.c_str(), driver.framesRun());
    }
    if (code == 0 && (!driver.ok() || !missed.empty() || !audioWritten)) return 1;
    return code;
}
