// The face the player's text is drawn in when nothing else is chosen.
#pragma once

namespace zeku {

// "ＭＳ ゴシック" in Shift-JIS.
inline constexpr char kDefaultFontFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
inline constexpr int kNormalFontWeight = 400;

}  // namespace zeku
