// Coded sound files for the tests, through libsndfile and a temporary file.
#include "tests/converter/coded_test_sounds.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/support/temp_folder.h"

namespace zeku::test_support {

std::vector<float> toneFrames(int channels, int rateHz, size_t frames, double hz,
                              double amplitude) {
    std::vector<float> out(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            out[i * channels + c] =
                static_cast<float>(amplitude * std::sin(2 * M_PI * hz * i / rateHz));
    return out;
}

std::vector<uint8_t> writeCodedSound(int format, int channels, int rateHz,
                                     const std::vector<float>& interleaved) {
    TempFolder temp("zeku-coded");
    const std::string path = temp.file("sound");
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = rateHz;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return {};
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size() / channels);
    const sf_count_t written = sf_writef_float(file, interleaved.data(), frames);
    sf_close(file);
    if (written != frames) return {};
    return readBytes(path);
}

double toneSnrDb(const std::vector<int16_t>& samples, int channels, int channel, double rateHz,
                 double hz, size_t from, size_t count) {
    // Least squares on sin and cos at the known frequency: the fit is the
    // tone whatever its phase (and so whatever delay the codecs added).
    double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
    for (size_t i = from; i < from + count; ++i) {
        const double s = std::sin(2 * M_PI * hz * i / rateHz);
        const double c = std::cos(2 * M_PI * hz * i / rateHz);
        const double y = samples[i * channels + channel] / 32768.0;
        ss += s * s;
        cc += c * c;
        sc += s * c;
        ys += y * s;
        yc += y * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det;
    const double b = (yc * ss - ys * sc) / det;
    double signal = 0, noise = 0;
    for (size_t i = from; i < from + count; ++i) {
        const double fit =
            a * std::sin(2 * M_PI * hz * i / rateHz) + b * std::cos(2 * M_PI * hz * i / rateHz);
        const double y = samples[i * channels + channel] / 32768.0;
        signal += fit * fit;
        noise += (y - fit) * (y - fit);
    }
    return 10 * std::log10(signal / std::max(noise, 1e-20));
}

}  // namespace zeku::test_support
