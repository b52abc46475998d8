// Tests for the SDL key to Windows virtual-key translation: the ranges, the
// keys the default bindings use, the scan-code fallback and unmapped keys.
#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(SdlKeys, LettersAndDigitsKeepTheirAsciiCodes) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_a), 0x41);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_m), 0x4D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_z), 0x5A);
    // The default bindings of A, B and C.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_z), 90);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_x), 88);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_c), 67);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_0), 0x30);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_5), 0x35);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_9), 0x39);
}

TEST(SdlKeys, CursorAndEditingKeys) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 0x25);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UP), 0x26);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHT), 0x27);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEUP), 0x21);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PAGEDOWN), 0x22);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_END), 0x23);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_HOME), 0x24);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_INSERT), 0x2D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_DELETE), 0x2E);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RETURN), 0x0D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_ENTER), 0x0D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), 0x20);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSPACE), 0x08);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_TAB), 0x09);
}

TEST(SdlKeys, LeftAndRightModifiersShareOneCode) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RSHIFT), 0x10);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LCTRL), 0x11);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RCTRL), 0x11);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LALT), 0x12);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RALT), 0x12);
}

TEST(SdlKeys, FunctionKeysRunOnAcrossSdlsGapAfterF12) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F1), 0x70);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 0x7B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F13), 0x7C);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_F24), 0x87);
}

TEST(SdlKeys, KeypadHasItsOwnCodes) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_0), 0x60);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_1), 0x61);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_9), 0x69);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_MULTIPLY), 0x6A);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_PLUS), 0x6B);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_MINUS), 0x6D);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_PERIOD), 0x6E);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_DIVIDE), 0x6F);
}

TEST(SdlKeys, PunctuationTakesTheOemCodes) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SEMICOLON), 0xBA);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_EQUALS), 0xBB);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_COMMA), 0xBC);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_MINUS), 0xBD);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_PERIOD), 0xBE);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_SLASH), 0xBF);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKQUOTE), 0xC0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFTBRACKET), 0xDB);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_BACKSLASH), 0xDC);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_RIGHTBRACKET), 0xDD);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_QUOTE), 0xDE);
}

TEST(SdlKeys, KeysOfOtherLayoutsFallBackToTheirUsPosition) {
    // A Cyrillic letter on the A key, an accented letter on the 2 key.
    EXPECT_EQ(virtualKeyFromSdl(0x0444, SDL_SCANCODE_A), 0x41);
    EXPECT_EQ(virtualKeyFromSdl(0x00E9, SDL_SCANCODE_2), 0x32);
    EXPECT_EQ(virtualKeyFromSdl(0x00E0, SDL_SCANCODE_0), 0x30);
    EXPECT_EQ(virtualKeyFromSdl(0x00F9, SDL_SCANCODE_APOSTROPHE), 0xDE);
    // A key code the table knows wins over its position.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_q, SDL_SCANCODE_A), 0x51);
}

TEST(SdlKeys, UnmappedKeysGiveZero) {
    EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_AUDIOPLAY), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_EQUALS), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_EXECUTE), 0);  // the code after F24
    EXPECT_EQ(virtualKeyFromSdl(0x00E9, SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFromSdl(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0);
}

}  // namespace
}  // namespace zeku
