// A short scene between the title and the story that plays several of the
// player's transition effects one after another, from its own script file.
#pragma once

#include <string>

namespace zeku::demo {

inline constexpr char kEffectsSceneFile[] = "./scr/effects.txt";
inline constexpr char kEffectsSceneLabel[] = "_Effects";

// The scene's script as the game stores it: Shift-JIS, CR LF.
std::string effectsSceneScript();

}  // namespace zeku::demo
