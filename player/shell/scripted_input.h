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
//   F rdown | F rup | F rtap (the right button, which plays B; rtap is up at F+1)
//   F wheel N (N notches of the mouse wheel, positive away from the user)
//   F close (asks the window to close)
// F counts from 1 up to kMaxFrameNumber. VK is a single letter or digit (the
// key that types it: "1" is 0x31), or a number of two digits or more, decimal
// or 0x-hex: codes 1 to 9 are written "0x08" or "08". X and Y are client
// coordinates. Events come out sorted by frame, in file order within a frame.
bool parseScriptedInput(std::string_view text, std::vector<TimedMessage>& out, std::string& error);

// The events ask the window to close at some frame.
bool closesRun(const std::vector<TimedMessage>& events);

}  // namespace zeku
