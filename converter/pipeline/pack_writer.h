// The body of a conversion run: reads the source game, converts every file
// and writes the package, entries in the source index's order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "converter/pipeline/entry_conversion.h"
#include "converter/pipeline/pack_progress.h"

namespace zeku {

struct PackWriterSettings {
    std::string gameFolder;
    std::string outputBase;      // the package goes to <outputBase>/data/
    std::optional<uint8_t> key;  // the archives' key; detected when absent
    int scalePercent = 40;       // 40: "pack.mlz", 80: "pack_v.mlz"
    int qualityItem = 0;
    WaveSettings wave;
    const Mp3EncoderLibrary* encoder = nullptr;
    const AudioFileReader* audioReader = nullptr;  // compressed sounds and tracks
    int jobs = 1;  // conversion threads; the package is the same for any
    // Ripped CD tracks to convert to "track_NN.mp3" beside the package;
    // empty: none. Needs audioReader.
    std::string tracksFolder;
};

struct PackWriterReport {
    bool ok = false;
    std::string error;  // English, UTF-8; set when !ok
    std::string packagePath;
    uint8_t key = 0;
    int entries = 0;                    // entries written
    int tracks = 0;                     // track files written
    uint64_t bytesIn = 0;               // source bytes read
    uint64_t bytesOut = 0;              // package size
    std::vector<std::string> warnings;  // one per file stored unconverted or skipped
};

// "<outputBase>/data/pack.mlz" for scale 40, "<outputBase>/data/pack_v.mlz" for 80.
std::string packagePathFor(const std::string& outputBase, int scalePercent);

// Runs a whole conversion. The package is written under a temporary name
// and renamed at the end, so a failed run leaves no package (and an older
// one in place). Tracks are converted on the same threads and counted in
// the same progress; each is written on its own, and one that cannot be
// converted is a warning, not a failed run. Sets progress.done as its last
// step, whatever the outcome.
PackWriterReport runPackWriter(const PackWriterSettings& settings, PackProgress& progress);

}  // namespace zeku
