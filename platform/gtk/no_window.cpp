// convZeku built without GTK: --window explains itself and fails.
#include <cstdio>

#include "platform/gtk/convert_window.h"

namespace zeku {

const bool kConvertWindowBuilt = false;

int runConvertWindow(const ConvertOptions&, const std::string&, const std::string&) {
    std::fputs("convZeku: built without the window (GTK 3 was missing); use the options\n", stderr);
    return 2;
}

}  // namespace zeku
