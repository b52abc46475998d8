// Written as plain loops over 32-bit intermediates so the compiler can
// vectorise them; the division by 100 becomes a multiply.
#include "player/sound/sound_mixer.h"

namespace zeku {
namespace {

inline int16_t saturate(int32_t value) {
    if (value > 32767) return 32767;
    if (value < -32768) return -32768;
    return static_cast<int16_t>(value);
}

}  // namespace

void mixSamples(int16_t* out, const int16_t* in, size_t count, int32_t volume) {
    if (volume >= 100) {
        addSaturating(out, in, count);
        return;
    }
    if (volume <= 0) return;  // scales every sample to 0
    // s × volume fits a float exactly (below 2^24), and a correctly rounded
    // quotient by 100 never reaches the next integer (a non-integral
    // quotient is at least 0.01 from one, far above a float's spacing
    // there), so truncating it is the integer division; unlike that
    // division it vectorises.
    const float scale = static_cast<float>(volume);
    for (size_t i = 0; i < count; ++i) {
        const float scaled = static_cast<float>(in[i]) * scale / 100.0f;
        out[i] = saturate(int32_t(out[i]) + static_cast<int32_t>(scaled));
    }
}

void addSaturating(int16_t* out, const int16_t* in, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out[i] = saturate(int32_t(out[i]) + int32_t(in[i]));
}

}  // namespace zeku
