// The one failure reason of the SDL back ends. Start-up runs on the main
// thread only, so a plain variable serves.
#include "platform/sdl/sdl_failure.h"

#include <SDL.h>

#include <utility>

namespace zeku {
namespace {

std::string& lastFailure() {
    static std::string reason;
    return reason;
}

}  // namespace

void noteSdlFailure(std::string_view reason) {
    lastFailure() = std::string(reason);
}

void noteSdlError(std::string_view what) {
    const char* sdl = SDL_GetError();
    std::string reason(what);
    if (sdl != nullptr && sdl[0] != '\0') reason += std::string(": ") + sdl;
    noteSdlFailure(reason);
}

std::string takeSdlFailure() {
    return std::exchange(lastFailure(), std::string());
}

}  // namespace zeku
