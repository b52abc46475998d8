// The MP3 decoder overlay as the player binds it: the library, loaded once
// at start-up, its five entry points and its optional description. An
// overlay that is missing or lacks an entry point is the normal "no overlay"
// case.
#pragma once

#include <string>

#include "overlay/mp3_overlay.h"
#include "platform/api/shared_library.h"

namespace zeku {

class Mp3Overlay {
  public:
    // Tries each candidate path in turn (a bare name is searched the host's
    // way); keeps the first library that has all five entry points.
    bool load(const std::string* candidates, size_t count);
    void unload();
    bool loaded() const { return create != nullptr; }

    Mp3CreateFn create = nullptr;
    Mp3PredecodeFn predecode = nullptr;
    Mp3DecodeFn decode = nullptr;
    Mp3DestroyFn destroy = nullptr;
    Mp3GetDecVerFn getDecVer = nullptr;
    // The decoder's name and version, for the menu's status line; empty
    // when the overlay does not tell.
    std::string description;

  private:
    void readDescription();

    SharedLibrary library_;
};

}  // namespace zeku
