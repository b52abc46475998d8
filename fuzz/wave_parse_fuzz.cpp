// Fuzzes the WAVE chunk walk and the sample conversion that follows it (all
// but the encoder): whatever the headers claim, nothing may be read outside
// the image, and the converted length must be what the rates say.
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/pcm_conversion.h"
#include "converter/pipeline/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zeku::WaveFile wave;
    const zeku::Parsed<void> result = zeku::parseWave(data, size, wave);
    if (!result) {
        if (result.error().offset() > size) __builtin_trap();
        return 0;
    }
    if (wave.samples < data || wave.samples + wave.sampleBytes > data + size) __builtin_trap();

    zeku::SampleCoding coding;
    std::string error;
    if (!zeku::describeSamples(wave.format, coding, error)) return 0;
    const size_t frames = wave.sampleBytes / coding.frameBytes();
    for (const zeku::PcmTarget target : {zeku::PcmTarget{22050, 1}, zeku::PcmTarget{44100, 2}}) {
        std::vector<uint8_t> pcm;
        if (!zeku::convertToTargetPcm(wave.format, wave.samples, wave.sampleBytes, target, pcm,
                                      error)) {
            continue;
        }
        const uint64_t expected =
            zeku::resampledFrameCount(frames, coding.rateHz, target.rateHz) * target.channels * 2;
        if (pcm.size() != expected) __builtin_trap();
    }
    return 0;
}
