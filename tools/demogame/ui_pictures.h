// The small pictures of the game's interface: the message-window frame, the
// two buttons of the closing menu and the player's system image.
#pragma once

#include "tools/demogame/canvas.h"

namespace zeku::demo {

// The frame the scripts lay over the name and message rectangles: 752 x 206,
// drawn at (24, 376) so that its two openings surround the rectangles
// (39, 387, 211, 40) and (39, 431, 722, 136). Transparent inside.
inline constexpr int kWindowFrameWidth = 752;
inline constexpr int kWindowFrameHeight = 206;
inline constexpr int kWindowFrameX = 24;
inline constexpr int kWindowFrameY = 376;
Canvas drawWindowFrame();

inline constexpr int kButtonWidth = 160;
inline constexpr int kButtonHeight = 80;
enum class ButtonSymbol { kMoon, kAgain };
Canvas drawButton(ButtonSymbol symbol);

// The system image, 640 x 480 and opaque. The wait icon sits at (64, 0) in a
// 32 x 32 cell; the cell to its right, at (96, 0), is its mask, black where
// the icon shows and white where it does not, as the player rebuilds the
// icon's alpha from it.
inline constexpr int kSystemImageWidth = 640;
inline constexpr int kSystemImageHeight = 480;
inline constexpr int kWaitIconX = 64;
inline constexpr int kWaitMaskX = 96;
inline constexpr int kWaitIconSide = 32;
Canvas drawSystemImage();

}  // namespace zeku::demo
