// SdlMessageBoxes: an error dialog through SDL, which needs no initialised
// video, or "caption: text" on standard error when the dialog fails.
#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/api/text_codec.h"

namespace zeku {

void SdlMessageBoxes::show(std::string_view sjisText, std::string_view sjisCaption) {
    std::string text = sjisToUtf8(sjisText);
    std::string caption = sjisToUtf8(sjisCaption);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) ==
        0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace zeku
