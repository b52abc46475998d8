// SDL key codes to Windows virtual-key codes: ranges for letters, digits,
// function and keypad keys, a table for the rest, and a scan-code fallback.
#include "platform/sdl/sdl_keys.h"

#include "platform/api/virtual_keys.h"

namespace zeku {
namespace {

// Windows codes the shared key list does not name.
enum : uint16_t {
    kCapital = 0x14,
    kSnapshot = 0x2C,
    kRightWin = 0x5C,
    kApps = 0x5D,
    kSeparator = 0x6C,
    kNumLock = 0x90,
    kScroll = 0x91,
    kOem1 = 0xBA,  // ";" on US keyboards, ":" on Japanese ones
    kOemPlus = 0xBB,
    kOemComma = 0xBC,
    kOemMinus = 0xBD,
    kOemPeriod = 0xBE,
    kOem2 = 0xBF,  // "/"
    kOem3 = 0xC0,  // "`" on US keyboards, "@" on Japanese ones
    kOem4 = 0xDB,  // "["
    kOem5 = 0xDC,  // "\"
    kOem6 = 0xDD,  // "]"
    kOem7 = 0xDE,  // "'" on US keyboards, "^" on Japanese ones
    kOem102 = 0xE2,
};

uint16_t offset(uint16_t base, SDL_Keycode key, SDL_Keycode first) {
    return static_cast<uint16_t>(base + (key - first));
}

uint16_t fromKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return offset(vk::kA, key, SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return offset(vk::k0, key, SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return offset(vk::kF1, key, SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24) return offset(vk::kF1 + 12, key, SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return offset(vk::kNumpad0 + 1, key, SDLK_KP_1);

    switch (key) {
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return vk::kReturn;
        case SDLK_ESCAPE: return vk::kEscape;
        case SDLK_SPACE: return vk::kSpace;
        case SDLK_BACKSPACE: return vk::kBack;
        case SDLK_TAB: return vk::kTab;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return vk::kShift;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return vk::kControl;
        case SDLK_LALT:
        case SDLK_RALT: return vk::kMenu;
        case SDLK_PAUSE: return vk::kPause;
        case SDLK_CAPSLOCK: return kCapital;
        case SDLK_PAGEUP: return vk::kPrior;
        case SDLK_PAGEDOWN: return vk::kNext;
        case SDLK_END: return vk::kEnd;
        case SDLK_HOME: return vk::kHome;
        case SDLK_LEFT: return vk::kLeft;
        case SDLK_UP: return vk::kUp;
        case SDLK_RIGHT: return vk::kRight;
        case SDLK_DOWN: return vk::kDown;
        case SDLK_PRINTSCREEN: return kSnapshot;
        case SDLK_INSERT: return vk::kInsert;
        case SDLK_DELETE: return vk::kDelete;
        case SDLK_LGUI: return vk::kLeftWin;
        case SDLK_RGUI: return kRightWin;
        case SDLK_APPLICATION: return kApps;
        case SDLK_KP_0: return vk::kNumpad0;
        case SDLK_KP_MULTIPLY: return vk::kMultiply;
        case SDLK_KP_PLUS: return vk::kAdd;
        case SDLK_KP_COMMA: return kSeparator;
        case SDLK_KP_MINUS: return vk::kSubtract;
        case SDLK_KP_PERIOD: return vk::kDecimal;
        case SDLK_KP_DIVIDE: return vk::kDivide;
        case SDLK_NUMLOCKCLEAR: return kNumLock;
        case SDLK_SCROLLLOCK: return kScroll;
        case SDLK_SEMICOLON:
        case SDLK_COLON: return kOem1;
        case SDLK_EQUALS: return kOemPlus;
        case SDLK_COMMA: return kOemComma;
        case SDLK_MINUS: return kOemMinus;
        case SDLK_PERIOD: return kOemPeriod;
        case SDLK_SLASH: return kOem2;
        case SDLK_BACKQUOTE:
        case SDLK_AT: return kOem3;
        case SDLK_LEFTBRACKET: return kOem4;
        case SDLK_BACKSLASH: return kOem5;
        case SDLK_RIGHTBRACKET: return kOem6;
        case SDLK_QUOTE:
        case SDLK_CARET: return kOem7;
        default: return 0;
    }
}

// The key code a US layout gives for the key at this position.
SDL_Keycode usKeycode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return SDLK_a + (scancode - SDL_SCANCODE_A);
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return SDLK_1 + (scancode - SDL_SCANCODE_1);
    }
    switch (scancode) {
        case SDL_SCANCODE_0: return SDLK_0;
        case SDL_SCANCODE_MINUS: return SDLK_MINUS;
        case SDL_SCANCODE_EQUALS: return SDLK_EQUALS;
        case SDL_SCANCODE_LEFTBRACKET: return SDLK_LEFTBRACKET;
        case SDL_SCANCODE_RIGHTBRACKET: return SDLK_RIGHTBRACKET;
        case SDL_SCANCODE_BACKSLASH: return SDLK_BACKSLASH;
        case SDL_SCANCODE_SEMICOLON: return SDLK_SEMICOLON;
        case SDL_SCANCODE_APOSTROPHE: return SDLK_QUOTE;
        case SDL_SCANCODE_GRAVE: return SDLK_BACKQUOTE;
        case SDL_SCANCODE_COMMA: return SDLK_COMMA;
        case SDL_SCANCODE_PERIOD: return SDLK_PERIOD;
        case SDL_SCANCODE_SLASH: return SDLK_SLASH;
        default: return SDL_SCANCODE_TO_KEYCODE(scancode);
    }
}

}  // namespace

uint16_t virtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode) {
    if (uint16_t code = fromKeycode(key)) return code;
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return kOem102;
    if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
    return fromKeycode(usKeycode(scancode));
}

}  // namespace zeku
