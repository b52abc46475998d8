// Game controllers as keys: handhelds have a pad, not a keyboard, so pad
// buttons and the left stick become the virtual keys the game is bound to.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/api/window_messages.h"

namespace zeku {

// The key a pad button plays, or 0: the d-pad is the cursor keys, the lower
// face button is C (advance), the right one Z (back), the left one and
// Start X (menu), the left shoulder holds the left cursor (skip).
uint16_t virtualKeyFromPadButton(int button);

class SdlGamepads {
  public:
    SdlGamepads() = default;
    ~SdlGamepads() { close(); }
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's controller support (its absence is fine) and opens the pads present.
    void open();
    void close();

    // Turns a controller event into key messages; false for other events.
    bool translate(const SDL_Event& event, std::deque<Message>& queue);

  private:
    void push(uint16_t key, bool down, std::deque<Message>& queue);
    void stick(int axis, int value, std::deque<Message>& queue);

    bool held_ = false;
    std::vector<SDL_GameController*> pads_;
    // Stick direction currently pressed on each axis: -1, 0 or +1.
    int stickX_ = 0;
    int stickY_ = 0;
};

}  // namespace zeku
