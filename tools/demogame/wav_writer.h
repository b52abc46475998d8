// RIFF WAVE files of plain PCM, 16-bit signed or 8-bit unsigned, any rate and
// channel count: the game's sound effects and the converter's test inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zeku::demo {

struct WavFormat {
    uint32_t rateHz = 22050;
    uint16_t channels = 1;
    uint16_t bitsPerSample = 16;  // 16 or 8
};

// `samples`: frameCount * channels 16-bit values, channels interleaved. For
// 8-bit files each value keeps its high byte. A non-empty `comment` adds a
// "LIST"/"INFO" chunk between "fmt " and "data" (padded to an even size, as
// readers that walk the chunks must skip).
std::vector<uint8_t> encodeWav(const WavFormat& format, const int16_t* samples, size_t frameCount,
                               std::string_view comment = {});

}  // namespace zeku::demo
