// Reads back the converter's MP3 output in the tests: libmpg123 decodes it
// (as the player will), and a frame-header walk checks rate and bit rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeku::test_support {

struct DecodedMp3 {
    bool ok = false;
    std::string error;
    long rateHz = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

DecodedMp3 decodeMp3(const std::vector<uint8_t>& mp3);

// Every frame header from the start to the end of the stream.
struct Mp3FrameScan {
    bool ok = false;  // frames follow each other up to the last byte
    int frameCount = 0;
    int minKbps = 0;
    int maxKbps = 0;
    int rateHz = 0;
    bool mono = false;
};

Mp3FrameScan scanMp3Frames(const std::vector<uint8_t>& mp3);

// Sign changes of one channel of interleaved samples over [from, to) frames,
// turned into a frequency.
double zeroCrossingHz(const std::vector<int16_t>& samples, int channels, int channel, size_t from,
                      size_t to, double rateHz);

}  // namespace zeku::test_support
