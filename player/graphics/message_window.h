// The two message windows the text commands draw into: 0 the name window,
// 1 the message window. Their text and drawing arrive with the message
// text; until then a window only records whether the script created it.
#pragma once

#include <array>

namespace zeku {

inline constexpr int kMessageWindowCount = 2;

struct MessageWindow {
    bool created = false;
};

using MessageWindows = std::array<MessageWindow, kMessageWindowCount>;

}  // namespace zeku
