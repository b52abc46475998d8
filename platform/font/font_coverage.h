// Whether a font can draw the game's text: the message font menu offers only
// such families, and the glyph renderer falls back from any other.
#pragma once

#include <fontconfig/fontconfig.h>

namespace zeku {

inline bool hasJapanese(FcPattern* font) {
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
    // Hiragana "あ" and the kanji "一".
    return FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0x4E00);
}

}  // namespace zeku
