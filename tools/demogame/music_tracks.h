// The demo game's two CD tracks, synthesised: a looping theme (track 2)
// and a short closing tune (track 3), 22050 Hz stereo 16-bit.
#pragma once

#include <cstdint>
#include <vector>

namespace zeku::demo {

inline constexpr uint32_t kMusicRateHz = 22050;

struct DemoTrack {
    int number;                    // the CD track: "track_NN"
    std::vector<int16_t> samples;  // interleaved stereo at kMusicRateHz
};

// About 8 s; it ends where it began, so it loops without a seam.
std::vector<int16_t> makeThemeTrack();
// About 5 s, fading out.
std::vector<int16_t> makeClosingTrack();

std::vector<DemoTrack> buildDemoMusic();

}  // namespace zeku::demo
