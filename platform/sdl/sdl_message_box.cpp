// SdlMessageBoxes: "caption: text (reason)" on standard error, then an error
// dialog through SDL, which needs no initialised video.
#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/api/text_codec.h"
#include "platform/sdl/sdl_failure.h"

namespace zeku {

void SdlMessageBoxes::show(std::string_view sjisText, std::string_view sjisCaption) {
    const std::string reason = takeSdlFailure();
    std::string text = sjisToUtf8(sjisText);
    const std::string caption = sjisToUtf8(sjisCaption);
    // The terminal copy comes first and always: it stays readable where the
    // dialog cannot open, or opens with fonts that lack Japanese.
    std::string line = caption + ": " + text;
    if (!reason.empty()) line += " (" + reason + ")";
    line += "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    if (!reason.empty()) text += "\n\n" + reason;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace zeku
