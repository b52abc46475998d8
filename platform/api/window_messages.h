// Window messages as the engine sees them: the Windows message codes and one
// small record per message, so back ends can feed the engine's handlers unchanged.
#pragma once

#include <cstdint>

namespace zeku {

// Message codes keep their Windows values: scripts, settings and the menu
// code all speak in them.
enum : uint32_t {
    kWmDestroy = 0x0002,
    kWmMove = 0x0003,
    kWmSize = 0x0005,
    kWmActivate = 0x0006,
    kWmPaint = 0x000F,
    kWmClose = 0x0010,
    kWmQuit = 0x0012,
    kWmEraseBkgnd = 0x0014,
    kWmKeyDown = 0x0100,
    kWmKeyUp = 0x0101,
    kWmCommand = 0x0111,
    kWmSysCommand = 0x0112,
    kWmTimer = 0x0113,
    kWmMouseMove = 0x0200,
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
    kWmRButtonDown = 0x0204,
    kWmRButtonUp = 0x0205,
    // The high word of wParam is the signed distance, 120 per notch,
    // positive away from the user.
    kWmMouseWheel = 0x020A,
};

inline constexpr int kWheelDelta = 120;

constexpr uintptr_t packWheel(int delta) {
    return static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16;
}
constexpr int wheelDistance(uintptr_t wParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16));
}

// Pointer messages carry client coordinates packed as Windows does:
// x in the low 16 bits of lParam, y in the high 16 bits (both signed).
struct Message {
    uint32_t code = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

constexpr intptr_t packPoint(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
constexpr int pointX(intptr_t lParam) {
    return static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFF));
}
constexpr int pointY(intptr_t lParam) {
    return static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFF));
}

}  // namespace zeku
