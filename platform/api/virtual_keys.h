// Windows virtual-key codes that back ends produce and key bindings name.
// Keeping the Windows numbering lets "zeku.cfg" bindings mean the same key.
#pragma once

#include <cstdint>

namespace zeku::vk {

enum : uint16_t {
    kBack = 0x08,
    kTab = 0x09,
    kReturn = 0x0D,
    kShift = 0x10,
    kControl = 0x11,
    kMenu = 0x12,  // Alt
    kPause = 0x13,
    kEscape = 0x1B,
    kSpace = 0x20,
    kPrior = 0x21,
    kNext = 0x22,
    kEnd = 0x23,
    kHome = 0x24,
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kInsert = 0x2D,
    kDelete = 0x2E,
    k0 = 0x30,        // '0'..'9' are 0x30..0x39
    kA = 0x41,        // 'A'..'Z' are 0x41..0x5A
    kLeftWin = 0x5B,  // 91: the player ignores it
    kNumpad0 = 0x60,  // numpad 0..9 are 0x60..0x69
    kMultiply = 0x6A,
    kAdd = 0x6B,
    kSubtract = 0x6D,
    kDecimal = 0x6E,
    kDivide = 0x6F,
    kF1 = 0x70,  // F1..F24 are 0x70..0x87
    // Game controllers: each button and stick direction its own key, so
    // "[PAD_CONFIG]" can bind them apart from the keyboard.
    kGamepadA = 0xC3,
    kGamepadB = 0xC4,
    kGamepadX = 0xC5,
    kGamepadY = 0xC6,
    kGamepadRightShoulder = 0xC7,
    kGamepadLeftShoulder = 0xC8,
    kGamepadLeftTrigger = 0xC9,
    kGamepadRightTrigger = 0xCA,
    kGamepadDpadUp = 0xCB,
    kGamepadDpadDown = 0xCC,
    kGamepadDpadLeft = 0xCD,
    kGamepadDpadRight = 0xCE,
    kGamepadMenu = 0xCF,  // Start
    kGamepadView = 0xD0,  // Back / Select
    kGamepadLeftThumb = 0xD1,
    kGamepadRightThumb = 0xD2,
    kGamepadLeftStickUp = 0xD3,
    kGamepadLeftStickDown = 0xD4,
    kGamepadLeftStickRight = 0xD5,
    kGamepadLeftStickLeft = 0xD6,
    kGamepadFirst = kGamepadA,
    kGamepadLast = kGamepadLeftStickLeft,
};

}  // namespace zeku::vk
