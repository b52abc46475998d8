// Translation of SDL keyboard events into Windows virtual-key codes, so key
// bindings in the settings file mean the same physical keys as on the device.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace zeku {

// Maps by the layout's key code first, so letters follow the user's layout as
// Windows does; keys whose code has no Windows equivalent (accented letters,
// non-Latin layouts) fall back to the scan code's place on a US keyboard.
// Returns 0 for keys the player has no use for.
uint16_t virtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN);

}  // namespace zeku
