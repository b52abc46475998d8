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
    for (size_t i = 0; i < count; ++i)
        out[i] = saturate(int32_t(out[i]) + int32_t(in[i]) * volume / 100);
}

void addSaturating(int16_t* out, const int16_t* in, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out[i] = saturate(int32_t(out[i]) + int32_t(in[i]));
}

}  // namespace zeku
