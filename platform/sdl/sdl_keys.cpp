// SDL key codes to Windows virtual-key codes: ranges for letters, digits,
// function and keypad keys, a table for the rest, and a scan-code fallback.
#include "platform/sdl/sdl_keys.h"

#include "platform/api/virtual_keys.h"

namespace zeku {
namespace {

struct KeyPair {
    SDL_Keycode sdl;
    uint16_t windows;
};

// Codes outside the ranges. Punctuation follows the US layout, plus the
// unshifted keys a Japanese keyboard has in their place (":", "@", "^").
// clang-format off
constexpr KeyPair kKeyTable[] = {
    {SDLK_RETURN, vk::kReturn}, {SDLK_RETURN2, vk::kReturn}, {SDLK_KP_ENTER, vk::kReturn},
    {SDLK_ESCAPE, vk::kEscape}, {SDLK_SPACE, vk::kSpace}, {SDLK_BACKSPACE, vk::kBack},
    {SDLK_TAB, vk::kTab}, {SDLK_LSHIFT, vk::kShift}, {SDLK_RSHIFT, vk::kShift},
    {SDLK_LCTRL, vk::kControl}, {SDLK_RCTRL, vk::kControl}, {SDLK_LALT, vk::kMenu},
    {SDLK_RALT, vk::kMenu}, {SDLK_PAUSE, vk::kPause}, {SDLK_CAPSLOCK, 0x14},
    {SDLK_PAGEUP, vk::kPrior}, {SDLK_PAGEDOWN, vk::kNext}, {SDLK_END, vk::kEnd},
    {SDLK_HOME, vk::kHome}, {SDLK_LEFT, vk::kLeft}, {SDLK_UP, vk::kUp}, {SDLK_RIGHT, vk::kRight},
    {SDLK_DOWN, vk::kDown}, {SDLK_PRINTSCREEN, 0x2C}, {SDLK_INSERT, vk::kInsert},
    {SDLK_DELETE, vk::kDelete}, {SDLK_LGUI, vk::kLeftWin}, {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D}, {SDLK_KP_0, vk::kNumpad0}, {SDLK_KP_MULTIPLY, vk::kMultiply},
    {SDLK_KP_PLUS, vk::kAdd}, {SDLK_KP_COMMA, 0x6C}, {SDLK_KP_MINUS, vk::kSubtract},
    {SDLK_KP_PERIOD, vk::kDecimal}, {SDLK_KP_DIVIDE, vk::kDivide}, {SDLK_NUMLOCKCLEAR, 0x90},
    {SDLK_SCROLLLOCK, 0x91}, {SDLK_SEMICOLON, 0xBA}, {SDLK_COLON, 0xBA}, {SDLK_EQUALS, 0xBB},
    {SDLK_COMMA, 0xBC}, {SDLK_MINUS, 0xBD}, {SDLK_PERIOD, 0xBE}, {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0}, {SDLK_AT, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE}, {SDLK_CARET, 0xDE},
};
// clang-format on

struct ScanPair {
    SDL_Scancode position;
    SDL_Keycode us;
};

// The US layout's codes of the punctuation keys, by position.
// clang-format off
constexpr ScanPair kUsPunctuation[] = {
    {SDL_SCANCODE_MINUS, SDLK_MINUS},                {SDL_SCANCODE_EQUALS, SDLK_EQUALS},
    {SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET},    {SDL_SCANCODE_RIGHTBRACKET, SDLK_RIGHTBRACKET},
    {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH},        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON},
    {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE},           {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE},
    {SDL_SCANCODE_COMMA, SDLK_COMMA},                {SDL_SCANCODE_PERIOD, SDLK_PERIOD},
    {SDL_SCANCODE_SLASH, SDLK_SLASH},
};
// clang-format on

constexpr uint16_t kOem102 = 0xE2;  // the extra key beside left Shift

uint16_t offset(int base, SDL_Keycode key, SDL_Keycode first) {
    return static_cast<uint16_t>(base + (key - first));
}

uint16_t fromKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return offset(vk::kA, key, SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return offset(vk::k0, key, SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return offset(vk::kF1, key, SDLK_F1);
    // SDL numbers F13 onwards apart from F1-F12; Windows runs on.
    if (key >= SDLK_F13 && key <= SDLK_F24) return offset(vk::kF1 + 12, key, SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return offset(vk::kNumpad0 + 1, key, SDLK_KP_1);
    for (const KeyPair& pair : kKeyTable) {
        if (pair.sdl == key) return pair.windows;
    }
    return 0;
}

SDL_Keycode usKeycode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return SDLK_a + (scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return SDLK_1 + (scancode - SDL_SCANCODE_1);
    }
    if (scancode == SDL_SCANCODE_0) return SDLK_0;
    for (const ScanPair& pair : kUsPunctuation) {
        if (pair.position == scancode) return pair.us;
    }
    return SDL_SCANCODE_TO_KEYCODE(scancode);
}

}  // namespace

uint16_t virtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode) {
    if (uint16_t code = fromKeycode(key)) return code;
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return kOem102;
    if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
    return fromKeycode(usKeycode(scancode));
}

}  // namespace zeku
