// Hiyo, the game's mascot: a round chick sitting on a small cloud, drawn from
// ellipses on a transparent 300 x 500 picture, in a few expressions.
#pragma once

#include <cstdint>

#include "tools/demogame/canvas.h"

namespace zeku::demo {

inline constexpr int kMascotWidth = 300;
inline constexpr int kMascotHeight = 500;

enum class Expression { kNormal, kSmile, kSurprised, kTeary };

struct MascotStyle {
    Colour body = rgb(0xFFD84A);
    Colour belly = rgb(0xFFF0A8);
    Colour outline = rgb(0x5A3A1E);
    Colour beak = rgb(0xFF9A2E);
    Colour cheek = rgb(0xFF8A9A);
    float wingLift = 0.0f;  // radians; raised wings for a cheerful pose
    float lean = 0.0f;      // horizontal shift of the head, pixels
    enum Accessory { kNone, kScarf, kLeaf } accessory = kNone;
    Colour accessoryColour = rgb(0x3D8BD9);
};

// A varied style for picture `index` of the large game.
MascotStyle randomMascotStyle(uint64_t seed);

Canvas drawMascot(Expression expression, const MascotStyle& style);

}  // namespace zeku::demo
