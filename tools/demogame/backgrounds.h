// The game's backgrounds, 800 x 600 like the scripts' screen: a morning sky
// over hills, a sunset, a room and a night sky. Each scene draws from a seed,
// so the large game can make hundreds of different ones.
#pragma once

#include <cstdint>

#include "tools/demogame/canvas.h"

namespace zeku::demo {

inline constexpr int kScreenWidth = 800;
inline constexpr int kScreenHeight = 600;

// `finished` false gives the plainer draft the first archive still carries.
Canvas drawMorningSky(uint64_t seed, bool finished);
Canvas drawSunset(uint64_t seed);
Canvas drawRoom(uint64_t seed);
Canvas drawNightSky(uint64_t seed);

}  // namespace zeku::demo
