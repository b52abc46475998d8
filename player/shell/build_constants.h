// What differs between the two player builds. Each program's main() picks
// one of these at compile time; the engine takes it as a plain record.
#pragma once

#include <cstdint>

namespace zeku {

struct BuildConstants {
    const char* programName;
    int screenWidth;
    int screenHeight;
    const char* title;  // Shift-JIS (ASCII here)
    uint32_t windowStyle;
    uint32_t windowExStyle;
    bool fullScreen;
    bool pocketPc;              // display through the device panel, keys from the device
    bool sleepAfterTick;        // the sigmarion3 build also yields after a frame
    uint32_t soundBufferBytes;  // one output buffer, and one mixing pass

    // The converted package matching the screen: the VGA one from 640 wide.
    const char* packageName() const {
        return screenWidth > 639 ? "data/pack_v.mlz" : "data/pack.mlz";
    }
};

inline constexpr BuildConstants kSigmarionBuild{
    "ZekuPlayerHPC", 320, 240, "Torune for sigmarion3", 0x00C90000u, 0u, false, false, true, 12288,
};

inline constexpr BuildConstants kPocketPcBuild{
    "ZekuPlayerPPC", 640, 480, "Torune", 0x10000000u, 0x00000008u, true, true, false, 8192,
};

inline constexpr const char kWindowClassName[] = "MY-ZEKU-SYSTEM";

}  // namespace zeku
