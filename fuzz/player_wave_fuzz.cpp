// Fuzzes the player's own RIFF walk and its conversion to the output
// format: whatever the chunks claim, nothing is read outside the image and
// the conversion writes exactly the frames its size rule gives.
#include <cstdint>
#include <vector>

#include "player/sound/wave_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const zeku::Parsed<zeku::WaveImage> wave = zeku::parseRiffWave(data, size);
    if (!wave) {
        if (wave.error().offset() > size) __builtin_trap();
        return 0;
    }
    const uint8_t* samples = wave->samples;
    if (samples < data || wave->sampleBytes > size || samples + wave->sampleBytes > data + size)
        __builtin_trap();
    if (!zeku::playableWave(wave->format)) return 0;
    const uint64_t bytes = zeku::convertedBytes(wave->format, wave->sampleBytes);
    if (bytes > (uint64_t(1) << 26)) __builtin_trap();  // at most twice the input
    // Exactly the converted size: ASan catches one byte too many.
    std::vector<uint8_t> out(static_cast<size_t>(bytes));
    const size_t written =
        zeku::convertToOutput(wave->format, samples, wave->sampleBytes, out.data());
    if (written > bytes) __builtin_trap();
    return 0;
}
