// The mixer's scaled add against the integer rule it stands for: every
// sample value at every volume, scaled with truncation toward zero.
#include "player/sound/sound_mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeku {
namespace {

TEST(SoundMixer, ScalingMatchesIntegerDivisionForEverySampleAndVolume) {
    std::vector<int16_t> in;
    for (int s = -32768; s <= 32767; ++s)
        in.push_back(int16_t(s));
    for (int32_t volume = 1; volume < 100; ++volume) {
        std::vector<int16_t> out(in.size(), 0);
        mixSamples(out.data(), in.data(), in.size(), volume);
        for (size_t i = 0; i < in.size(); ++i) {
            ASSERT_EQ(out[i], int32_t(in[i]) * volume / 100) << in[i] << " at " << volume;
        }
    }
}

}  // namespace
}  // namespace zeku
