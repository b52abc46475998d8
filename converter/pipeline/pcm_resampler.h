// Sample-rate conversion of whole sounds, held in memory, at high quality.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeku {

// Resamples interleaved float frames in one pass. `out` gets exactly
// resampledFrameCount(frames, fromHz, toHz) frames, with the filter delay
// removed so the sound starts where it started. No dither: the same input
// always gives the same output. False with `error` when the resampler fails.
bool resampleFrames(const float* in, size_t frames, int channels, uint32_t fromHz, uint32_t toHz,
                    std::vector<float>& out, std::string& error);

}  // namespace zeku
