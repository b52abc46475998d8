// Writes "caption: text" to standard error, converted from Shift-JIS.
#include "platform/headless/stderr_message_box.h"

#include <cstdio>
#include <string>

#include "platform/api/text_codec.h"

namespace zeku {

void StderrMessageBoxes::show(std::string_view sjisText, std::string_view sjisCaption) {
    const std::string line = sjisToUtf8(sjisCaption) + ": " + sjisToUtf8(sjisText) + "\n";
    std::fputs(line.c_str(), stderr);
}

}  // namespace zeku
