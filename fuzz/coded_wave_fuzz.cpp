// Fuzzes the host reader that decodes compressed WAV sounds and CD tracks,
// and the float-to-PCM conversion after it: whatever the bytes claim, the
// reader stays inside the image and within its sample limit, and the
// converted length is what the rates say.
#include <cstdint>
#include <string>
#include <vector>

#include "converter/pipeline/pcm_conversion.h"
#include "platform/api/audio_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small enough that one input decodes in milliseconds.
    constexpr uint64_t kMaxSamples = uint64_t{1} << 20;
    zeku::DecodedAudio audio;
    std::string error;
    if (!zeku::hostAudioFileReader().decode(data, size, kMaxSamples, audio, error)) {
        if (error.empty() || !audio.samples.empty()) __builtin_trap();
        return 0;
    }
    if (audio.channels < 1 || audio.samples.size() > kMaxSamples ||
        audio.samples.size() % static_cast<size_t>(audio.channels) != 0) {
        __builtin_trap();
    }
    const size_t frames = audio.frames();
    const uint32_t rateHz = audio.rateHz;
    const int channels = audio.channels;
    std::vector<uint8_t> pcm;
    if (!zeku::convertFloatToTargetPcm(audio.samples, channels, rateHz, zeku::PcmTarget{22050, 1},
                                       pcm, error)) {
        return 0;
    }
    if (pcm.size() != zeku::resampledFrameCount(frames, rateHz, 22050) * 2) __builtin_trap();
    return 0;
}
