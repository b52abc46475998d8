// The demo game: a small original visual novel made entirely by this code,
// laid out as the source game's folder (an executable's name, two scrambled
// archives with their index files), for the converter to convert and the
// player to play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeku::demo {

// The byte every stored file and index is XORed with.
inline constexpr uint8_t kDemoGameKey = 0xA7;

struct DemoFile {
    std::string name;  // Shift-JIS resource path as the scripts use it, e.g. "./bg/sora.png"
    std::vector<uint8_t> bytes;
};

struct DemoGameOptions {
    // Adds many more pictures and sounds to the first archive, for
    // conversion benchmarks. The story stays the same.
    bool large = false;
    // The key the archives are written with (writeSourceGame's argument);
    // the files themselves do not depend on it.
    uint8_t key = kDemoGameKey;
    int largeBackgrounds = 200;
    int largeCharacters = 200;
    int largeSounds = 24;
    // The converter stores 255 minus a PNG's alpha and the player treats
    // the stored value as opacity, so the game's PNGs carry transparency
    // (0 opaque, 255 clear) in their alpha channel. False writes ordinary
    // opacity instead.
    bool alphaMeansTransparency = true;
};

// The game's files by archive. The second archive replaces a few files of
// the first (same name, new content; one of them spelt with different ASCII
// case) and adds one that only it has.
struct DemoGame {
    std::vector<DemoFile> first;
    std::vector<DemoFile> second;
};

DemoGame buildDemoGame(const DemoGameOptions& options);

// Writes "kumo.exe" (a placeholder), "Lump.cpn" and "Lump.dat", and
// "Lump2.cpn" and "Lump2.dat" when `game.second` is not empty, into
// `folder` (created when missing). Index entries read
// "#name$offset*size+" after a short comment line; both index and data are
// XORed with `key`. False with `error` on failure, including names that the
// index cannot hold (empty, over 127 bytes, or containing "#", "$", "*",
// "+" or control characters).
bool writeSourceGame(const std::string& folder, const DemoGame& game, uint8_t key,
                     std::string& error);

}  // namespace zeku::demo
