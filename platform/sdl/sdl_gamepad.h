// Game controllers as keys: each pad button, trigger and left-stick
// direction becomes its own virtual key (vk::kGamepad*), which the game's
// pad bindings turn into roles.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/api/virtual_keys.h"
#include "platform/api/window_messages.h"

namespace zeku {

// The key of a pad button, or 0 for a button the game has no key for.
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
    void trigger(int axis, int value, std::deque<Message>& queue);

    bool held_ = false;
    std::vector<SDL_GameController*> pads_;
    // Stick direction currently pressed on each axis: -1, 0 or +1.
    int stickX_ = 0;
    int stickY_ = 0;
    bool leftTrigger_ = false;
    bool rightTrigger_ = false;
};

}  // namespace zeku
