// What the user chose for the window on a desktop, apart from what the build
// asks for: full screen or not, and how large the window first opens.
#pragma once

namespace zeku {

// The largest whole multiple inside four fifths of the usable desktop.
inline constexpr int kWindowScaleDefault = 0;
// The largest whole multiple inside all of it.
inline constexpr int kWindowScaleFit = -1;

struct SdlWindowOptions {
    enum class Screen { AsBuilt, FullScreen, Windowed };
    Screen screen = Screen::AsBuilt;
    int scale = kWindowScaleDefault;  // or kWindowScaleFit, or a whole multiple
};

}  // namespace zeku
