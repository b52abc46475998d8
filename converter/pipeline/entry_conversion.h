// One source file turned into what the package stores for it: pictures
// become compressed ".rbp" files, sounds ".mp3" streams, the rest is
// compressed as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/lzss/lzss.h"
#include "converter/pipeline/wave_conversion.h"

namespace zeku {

class Mp3EncoderLibrary;

enum class EntryTreatment { kPicturePng, kPictureBmp, kWave, kOther };

// By the extension (from the last ".", Shift-JIS aware, ASCII letters
// compared without case).
EntryTreatment entryTreatmentFor(std::string_view sourceName);

// The name in the package: the extension replaced by ".rbp" or ".mp3" for
// converted entries, otherwise unchanged.
std::string packageNameFor(std::string_view sourceName, EntryTreatment treatment);

struct EntryConversionSettings {
    int scalePercent = 40;
    int qualityItem = 0;
    WaveSettings wave;
    const Mp3EncoderLibrary* encoder = nullptr;  // needed for sounds
    // Decodes the sounds in codings the chunk walk leaves alone; without
    // one they are stored unchanged.
    const AudioFileReader* audioReader = nullptr;
};

struct ConvertedEntry {
    std::string name;  // Shift-JIS, as stored in the directory
    uint32_t method = 1;
    uint32_t unpackedSize = 0;
    std::vector<uint8_t> stored;
    // Set when the file could not be converted and went in as it was (or,
    // with `skipped`, could not go in at all); English, names in UTF-8.
    std::string warning;
    bool skipped = false;
};

// Converts one file. A picture or sound that cannot be converted is stored
// unchanged under its own name with a warning, so nothing of the game is
// lost; only a name too long for the directory is skipped.
ConvertedEntry convertEntry(std::string_view sourceName, const std::vector<uint8_t>& source,
                            const EntryConversionSettings& settings, LzssEncoder& lzss);

}  // namespace zeku
