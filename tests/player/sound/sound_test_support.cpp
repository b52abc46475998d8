// The sound tests' device, sounds and overlay.
#include "tests/player/sound/sound_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "converter/pipeline/mp3_encoder.h"
#include "tools/demogame/wav_writer.h"

namespace zeku::sound_test {

bool ManualAudioDevice::open(AudioClient& client, uint32_t bufferBytes) {
    client_ = &client;
    bufferBytes_ = bufferBytes;
    return openResult;
}

void ManualAudioDevice::queue(int index, const uint8_t* data) {
    queued_.push_back(Entry{index, data});
}

std::vector<int16_t> ManualAudioDevice::pass() {
    if (queued_.empty() || client_ == nullptr) return {};
    const Entry entry = queued_.front();
    queued_.pop_front();
    position += bufferBytes_;
    client_->bufferDone(entry.index);
    std::vector<int16_t> mixed(bufferBytes_ / 2);
    std::memcpy(mixed.data(), entry.data, bufferBytes_);
    return mixed;
}

std::vector<uint8_t> wavFile(uint32_t rateHz, uint16_t channels,
                             const std::vector<int16_t>& samples, uint16_t bits) {
    return demo::encodeWav(demo::WavFormat{rateHz, channels, bits}, samples.data(),
                           samples.size() / channels);
}

std::vector<int16_t> sine(size_t frames, int channels, double hz, double rateHz, int amplitude) {
    std::vector<int16_t> out;
    out.reserve(frames * size_t(channels));
    for (size_t i = 0; i < frames; ++i) {
        const auto v =
            static_cast<int16_t>(amplitude * std::sin(2 * M_PI * hz * double(i) / rateHz));
        for (int c = 0; c < channels; ++c)
            out.push_back(v);
    }
    return out;
}

std::vector<uint8_t> mp3File(const std::vector<int16_t>& samples, uint32_t rateHz, int channels,
                             int kbps) {
    static Mp3EncoderLibrary encoder;
    if (!encoder.isOpen() && !encoder.open("")) {
        ADD_FAILURE() << "LAME: " << encoder.openError();
        return {};
    }
    std::vector<uint8_t> mp3;
    std::string error;
    const Mp3EncodeSettings settings{rateHz, channels, kbps};
    if (!encoder.encode(reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2,
                        settings, mp3, error)) {
        ADD_FAILURE() << "encoding: " << error;
    }
    return mp3;
}

const Mp3Overlay& builtOverlay() {
    static Mp3Overlay overlay;
    if (!overlay.loaded()) {
        const std::string path = ZEKU_OVERLAY_PATH;
        EXPECT_TRUE(overlay.load(&path, 1)) << path;
    }
    return overlay;
}

}  // namespace zeku::sound_test
