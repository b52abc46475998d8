// Scripted input for headless runs: a text file of timed key and pointer
// events, delivered as window messages before the frame they name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/api/window_messages.h"

namespace zeku {

struct TimedMessage {
    int frame = 0;  // delivered before this frame's input latch (frames count from 1)
    Message message;
};

// One event per line, '#' starts a comment:
//   F keydown VK | F keyup VK | F key VK (down at F, up at F+1)
//   F down X Y | F move X Y | F up X Y | F tap X Y (down at F, up at F+1)
//   F close (asks the window to close)
// VK is decimal, 0x-hex, or a single letter or digit. X and Y are client
// coordinates. Events come out sorted by frame, in file order within a frame.
bool parseScriptedInput(std::string_view text, std::vector<TimedMessage>& out, std::string& error);

}  // namespace zeku
