// zekudemo: writes the demo game's folder, the converter's test input.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/api/file_system.h"
#include "tools/demogame/demo_game.h"
#include "tools/demogame/music_tracks.h"
#include "tools/demogame/story.h"
#include "tools/demogame/wav_writer.h"

namespace {

const char kUsage[] =
    "usage: zekudemo --out DIR [--large] [--key 0xNN] [--entry SCRIPT]\n"
    "  The CD tracks are written as DIR/cd/trackNN.wav, as a CD ripper names them\n"
    "  (convZeku --tracks DIR/cd converts them).\n"
    "  --entry SCRIPT  play this UTF-8 script as ./script.txt instead of the story\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// A key from 1 to 255, decimal or with "0x"; 0 would leave the data plain.
bool parseKey(const std::string& text, uint8_t& key) {
    if (text.empty()) return false;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0' || value < 1 || value > 255) return false;
    key = static_cast<uint8_t>(value);
    return true;
}

// Puts the text of `path` (UTF-8) in place of the entry script.
bool replaceEntryScript(zeku::demo::DemoGame& game, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    const std::string stored = zeku::demo::toGameText(text);
    for (zeku::demo::DemoFile& entry : game.first) {
        if (entry.name == "./script.txt") entry.bytes.assign(stored.begin(), stored.end());
    }
    return true;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    const auto size = static_cast<uint32_t>(bytes.size());
    return zeku::writeFileRange(path.c_str(), bytes.data(), zeku::kFileStart, 0, size,
                                zeku::kWriteReplace) == size;
}

// The tracks as WAV files in `cdFolder`, named as a CD ripper names them;
// the converter's --tracks turns them into the player's music files.
bool writeMusic(const std::string& cdFolder, std::string& error) {
    for (const zeku::demo::DemoTrack& track : zeku::demo::buildDemoMusic()) {
        char number[8];
        std::snprintf(number, sizeof number, "%02d", track.number);
        const auto wav =
            zeku::demo::encodeWav(zeku::demo::WavFormat{zeku::demo::kMusicRateHz, 2, 16},
                                  track.samples.data(), track.samples.size() / 2);
        const std::string wavPath = cdFolder + "/track" + number + ".wav";
        if (!writeBytes(wavPath, wav)) {
            error = "cannot write " + wavPath;
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    zeku::demo::DemoGameOptions options;
    std::string folder;
    std::string entry;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (args[i] == "--large") {
            options.large = true;
        } else if (args[i] == "--out" && i + 1 < args.size() && folder.empty()) {
            folder = args[++i];
        } else if (args[i] == "--entry" && i + 1 < args.size() && entry.empty()) {
            entry = args[++i];
        } else if (args[i] == "--key" && i + 1 < args.size()) {
            if (!parseKey(args[++i], options.key)) return usage();
        } else {
            return usage();
        }
    }
    if (folder.empty()) return usage();

    const auto start = std::chrono::steady_clock::now();
    zeku::demo::DemoGame game = zeku::demo::buildDemoGame(options);
    if (!entry.empty() && !replaceEntryScript(game, entry)) {
        std::fprintf(stderr, "zekudemo: cannot read the entry script %s\n", entry.c_str());
        return 1;
    }
    std::string error;
    if (!zeku::demo::writeSourceGame(folder, game, options.key, error)) {
        std::fprintf(stderr, "zekudemo: %s\n", error.c_str());
        return 1;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder + "/cd", ignored);
    if (!writeMusic(folder + "/cd", error)) {
        std::fprintf(stderr, "zekudemo: music: %s\n", error.c_str());
        return 1;
    }
    size_t bytes = 0;
    for (const auto* archive : {&game.first, &game.second}) {
        for (const zeku::demo::DemoFile& file : *archive)
            bytes += file.bytes.size();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("zekudemo: %zu files, %zu bytes, key 0x%02X, written to %s in %.1f s\n",
                game.first.size() + game.second.size(), bytes, options.key, folder.c_str(),
                seconds);
    return 0;
}
