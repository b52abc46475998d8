// Game controllers as keys: handhelds have a pad, not a keyboard, so pad
// buttons and the left stick become the virtual keys the game is bound to.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/api/display_back_end.h"
#include "platform/api/virtual_keys.h"
#include "platform/api/window_messages.h"

namespace zeku {

// The key a pad button plays, or 0: the d-pad is the cursor keys, the lower
// face button is C (advance), the right one Z (back), the left one X (menu),
// Start `startKey`, the left shoulder holds the left cursor (skip).
uint16_t virtualKeyFromPadButton(int button, uint16_t startKey);

// What Start plays for a build's default keys: its START key where it has one
// (the handheld's action button), else B, the menu key, which is what Start
// does on most pads.
uint16_t padStartKey(const GXKeyList& keys);

class SdlGamepads {
  public:
    SdlGamepads() = default;
    ~SdlGamepads() { close(); }
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's controller support (its absence is fine) and opens the pads present.
    void open();
    void close();

    void setStartKey(uint16_t key) { startKey_ = key; }

    // Turns a controller event into key messages; false for other events.
    bool translate(const SDL_Event& event, std::deque<Message>& queue);

  private:
    void push(uint16_t key, bool down, std::deque<Message>& queue);
    void stick(int axis, int value, std::deque<Message>& queue);

    bool held_ = false;
    uint16_t startKey_ = 'X';
    std::vector<SDL_GameController*> pads_;
    // Stick direction currently pressed on each axis: -1, 0 or +1.
    int stickX_ = 0;
    int stickY_ = 0;
};

}  // namespace zeku
