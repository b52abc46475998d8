// Binding the overlay's entry points by name.
#include "player/sound/mp3_overlay.h"

namespace zeku {

bool Mp3Overlay::load(const std::string* candidates, size_t count) {
    unload();
    for (size_t i = 0; i < count; ++i) {
        if (!library_.open(candidates[i])) continue;
        // The version entry is only required to exist.
        getDecVer = reinterpret_cast<Mp3GetDecVerFn>(library_.symbol("__mp3_getdecver"));
        create = reinterpret_cast<Mp3CreateFn>(library_.symbol("__mp3_create"));
        destroy = reinterpret_cast<Mp3DestroyFn>(library_.symbol("__mp3_destroy"));
        predecode = reinterpret_cast<Mp3PredecodeFn>(library_.symbol("__mp3_predecode"));
        decode = reinterpret_cast<Mp3DecodeFn>(library_.symbol("__mp3_decode"));
        if (getDecVer && create && destroy && predecode && decode) {
            readDescription();
            return true;
        }
        unload();
    }
    return false;
}

void Mp3Overlay::readDescription() {
    description.clear();
    const auto describe = reinterpret_cast<Mp3GetDecDescFn>(library_.symbol("__mp3_getdecdesc"));
    const char* text = describe != nullptr ? describe() : nullptr;
    if (text == nullptr) return;
    // Bounded: the text comes from a library the player does not control.
    for (int i = 0; i < kDecoderDescriptionMax && text[i] != '\0'; ++i)
        description += text[i];
}

void Mp3Overlay::unload() {
    create = nullptr;
    predecode = nullptr;
    decode = nullptr;
    destroy = nullptr;
    getDecVer = nullptr;
    description.clear();
    library_.close();
}

}  // namespace zeku
