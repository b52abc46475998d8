// Tests for the SDL key to Windows virtual-key translation: the ranges, the
// named keys, the scan-code fallback for other layouts, and unmapped keys.
#include "platform/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zeku {
namespace {

using Pairs = std::vector<std::pair<SDL_Keycode, uint16_t>>;

void expectMapped(const Pairs& pairs) {
    for (auto [key, code] : pairs)
        EXPECT_EQ(virtualKeyFromSdl(key), code) << "SDL key " << key;
}

TEST(SdlKeys, RangesMapToTheirWindowsRuns) {
    expectMapped({{SDLK_a, 0x41},
                  {SDLK_z, 0x5A},
                  {SDLK_x, 88},
                  {SDLK_c, 67},
                  {SDLK_0, 0x30},
                  {SDLK_9, 0x39},
                  {SDLK_F1, 0x70},
                  {SDLK_F12, 0x7B},
                  {SDLK_F13, 0x7C},
                  {SDLK_F24, 0x87},
                  {SDLK_KP_0, 0x60},
                  {SDLK_KP_1, 0x61},
                  {SDLK_KP_9, 0x69}});
}

TEST(SdlKeys, NamedKeysMapToTheirWindowsCodes) {
    expectMapped({{SDLK_LEFT, 0x25},      {SDLK_UP, 0x26},          {SDLK_RIGHT, 0x27},
                  {SDLK_DOWN, 0x28},      {SDLK_RETURN, 0x0D},      {SDLK_KP_ENTER, 0x0D},
                  {SDLK_ESCAPE, 0x1B},    {SDLK_SPACE, 0x20},       {SDLK_BACKSPACE, 0x08},
                  {SDLK_TAB, 0x09},       {SDLK_LSHIFT, 0x10},      {SDLK_RSHIFT, 0x10},
                  {SDLK_RCTRL, 0x11},     {SDLK_LALT, 0x12},        {SDLK_PAGEUP, 0x21},
                  {SDLK_PAGEDOWN, 0x22},  {SDLK_END, 0x23},         {SDLK_HOME, 0x24},
                  {SDLK_INSERT, 0x2D},    {SDLK_DELETE, 0x2E},      {SDLK_KP_MULTIPLY, 0x6A},
                  {SDLK_KP_DIVIDE, 0x6F}, {SDLK_SEMICOLON, 0xBA},   {SDLK_SLASH, 0xBF},
                  {SDLK_BACKQUOTE, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_QUOTE, 0xDE}});
}

TEST(SdlKeys, KeysOfOtherLayoutsFallBackToTheirUsPosition) {
    EXPECT_EQ(virtualKeyFromSdl(0x0444, SDL_SCANCODE_A), 0x41);  // Cyrillic letter on A
    EXPECT_EQ(virtualKeyFromSdl(0x00E9, SDL_SCANCODE_2), 0x32);  // accented letter on 2
    EXPECT_EQ(virtualKeyFromSdl(0x00F9, SDL_SCANCODE_APOSTROPHE), 0xDE);
    // A key code the table knows wins over its position.
    EXPECT_EQ(virtualKeyFromSdl(SDLK_q, SDL_SCANCODE_A), 0x51);
}

TEST(SdlKeys, UnmappedKeysGiveZero) {
    expectMapped({{SDLK_UNKNOWN, 0},
                  {SDLK_AUDIOPLAY, 0},
                  {SDLK_KP_EQUALS, 0},
                  {SDLK_EXECUTE, 0} /* the code after F24 */,
                  {0x00E9, 0}});
    EXPECT_EQ(virtualKeyFromSdl(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0);
}

}  // namespace
}  // namespace zeku
