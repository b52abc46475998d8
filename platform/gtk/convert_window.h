// convZeku's desktop window: the converter dialog's controls around one
// ConvertDialog, which keeps every rule; the window shows and forwards.
#pragma once

#include <string>

#include "converter/app/command_line.h"

namespace zeku {

// False in a build without a window toolkit.
extern const bool kConvertWindowBuilt;

// Opens the window, its fields preset from `options`, and runs until it is
// closed. `script` (empty: none) drives it without a user and prints what
// it shows on standard output. Returns the program's exit status.
int runConvertWindow(const ConvertOptions& options, const std::string& currentDirectory,
                     const std::string& script);

}  // namespace zeku
