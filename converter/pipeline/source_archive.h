// The source game's archives: "Lump.cpn"/"Lump.dat" and the optional
// "Lump2.cpn"/"Lump2.dat", opened once per run and read entry by entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "converter/pipeline/source_index.h"

namespace zeku {

// Index files beyond this size are not archive indexes (8192 entries need
// about 1.2 MB); the limit keeps a wrong file from filling memory.
inline constexpr uint64_t kMaxSourceIndexBytes = 64u << 20;

// An opened game folder.
struct SourceGame {
    std::string folder;
    // The files found (their spelling may differ in case); the second pair's
    // paths are empty when those files are absent.
    std::string firstIndexPath, firstDataPath, secondIndexPath, secondDataPath;
    uint64_t firstDataSize = 0, secondDataSize = 0;
    uint8_t key = 0;                   // given or detected
    std::vector<SourceEntry> entries;  // the merged index, in its order
};

// Finds the archive files in `folder` (names without regard to ASCII case),
// detects the key unless one is given, and reads and merges both indexes.
// False with `error` (English, UTF-8) on any failure, including indexes
// that list no file at all; `game` is then left as it was.
bool openSourceGame(const std::string& folder, std::optional<uint8_t> key, SourceGame& game,
                    std::string& error);

// The unscrambled bytes of entry `i`. Safe from several threads at once on
// one game: every call opens its own handle. False with `error` when `i` is
// out of range or the bytes cannot be read in full.
bool readSourceEntry(const SourceGame& game, size_t i, std::vector<uint8_t>& bytes,
                     std::string& error);

}  // namespace zeku
