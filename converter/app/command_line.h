// convZeku's command line: the dialog's settings as options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "converter/app/convert_dialog.h"

namespace zeku {

struct ConvertOptions {
    std::string gameFolder;
    std::string outputBase;  // empty: the current folder
    int bitrateIndex = 3;
    int rateIndex = 0;
    bool stereo = true;
    int resolutionIndex = 0;
    int qualityIndex = 0;
    std::string encoderPath;
    std::optional<uint8_t> key;
    int jobs = 0;  // 0: one per core
    std::string tracksFolder;
    bool help = false;
    bool window = false;  // open the window, its fields preset from the options
};

// False with `error` for an unknown option, a missing or bad value.
bool parseConvertOptions(const std::vector<std::string>& arguments, ConvertOptions& options,
                         std::string& error);

// Puts the options into an opened dialog (the output base only when given).
// False with `error` when a folder name is too long for the dialog.
bool applyConvertOptions(const ConvertOptions& options, ConvertDialog& dialog, std::string& error);

extern const char kConvertUsage[];

}  // namespace zeku
