// The message fonts the menu offers: up to 15 installed outline families,
// the user's preferred ones first.
#pragma once

#include <string>
#include <vector>

#include "platform/api/font_catalog.h"
#include "player/graphics/message_font.h"

namespace zeku {

inline constexpr size_t kMaxFonts = 15;
// "ＭＳ ゴシック", named when nothing usable is installed.
inline constexpr const auto& kFallbackFontName = kDefaultFontFace;

// Names compare as everywhere in the player (ASCII case ignored, Shift-JIS
// exact). Vertical-writing ("@") and hidden ("$") families are left out.
std::vector<std::string> buildFontList(const std::vector<std::string>& preferred,
                                       const std::vector<FontFamily>& installed);

}  // namespace zeku
