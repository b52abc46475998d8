// Rate conversion through libsoxr. One call over the whole sound: the
// sounds are short, and a single pass lets the library trim its own delay.
#include "converter/pipeline/pcm_resampler.h"

#include <soxr.h>

#include <algorithm>

#include "converter/pipeline/pcm_conversion.h"

namespace zeku {

bool resampleFrames(const float* in, size_t frames, int channels, uint32_t fromHz, uint32_t toHz,
                    std::vector<float>& out, std::string& error) {
    out.clear();
    if (channels < 1 || fromHz == 0 || toHz == 0) {
        error = "bad resampler arguments";
        return false;
    }
    const size_t wanted = static_cast<size_t>(resampledFrameCount(frames, fromHz, toHz));
    out.assign(wanted * static_cast<size_t>(channels), 0.0f);
    if (frames == 0 || wanted == 0) return true;

    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    io.flags |= SOXR_NO_DITHER;  // its dither is seeded from the clock
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    size_t used = 0;
    size_t made = 0;
    const soxr_error_t failure =
        soxr_oneshot(fromHz, toHz, static_cast<unsigned>(channels), in, frames, &used, out.data(),
                     wanted, &made, &io, &quality, &runtime);
    if (failure != nullptr) {
        error = std::string("resampler: ") + failure;
        out.clear();
        return false;
    }
    // The library rounds the length the same way; should it ever come out
    // short, the tail stays silent rather than the length changing.
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(std::min(made, wanted) * channels),
              out.end(), 0.0f);
    return true;
}

}  // namespace zeku
