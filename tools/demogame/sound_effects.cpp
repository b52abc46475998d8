// Effect synthesis: sums of decaying partials, swept noise and pitch glides,
// rendered in floating point and rounded once to 16-bit samples.
#include "tools/demogame/sound_effects.h"

#include <algorithm>
#include <cmath>

#include "tools/demogame/random.h"

namespace zeku::demo {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// Interleaved float frames to 16-bit samples, with a peak of `peak`.
std::vector<int16_t> toSamples(const std::vector<float>& frames, float peak) {
    float loudest = 1e-6f;
    for (float v : frames)
        loudest = std::max(loudest, std::fabs(v));
    const float gain = peak * 32767.0f / loudest;
    std::vector<int16_t> samples(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        samples[i] =
            static_cast<int16_t>(std::lround(std::clamp(frames[i] * gain, -32768.0f, 32767.0f)));
    }
    return samples;
}

std::vector<uint8_t> toWav(const WavFormat& format, const std::vector<float>& frames, float peak,
                           std::string_view comment = {}) {
    const std::vector<int16_t> samples = toSamples(frames, peak);
    return encodeWav(format, samples.data(), samples.size() / format.channels, comment);
}

// A short fade at both ends keeps the sound from starting or stopping with a click.
float edgeFade(size_t i, size_t count, size_t rampFrames) {
    const float in = std::min(1.0f, static_cast<float>(i) / static_cast<float>(rampFrames));
    const float out =
        std::min(1.0f, static_cast<float>(count - 1 - i) / static_cast<float>(rampFrames));
    return std::min(in, out);
}

// A bell: partials at inharmonic ratios, the higher ones dying sooner.
double bellTone(double t, double frequency) {
    static constexpr double kRatios[] = {1.0, 2.76, 5.40, 8.93};
    static constexpr double kLevels[] = {1.0, 0.5, 0.25, 0.12};
    double value = 0;
    for (int k = 0; k < 4; ++k) {
        const double decay = std::exp(-t * (2.5 + 3.0 * k));
        value += kLevels[k] * decay * std::sin(kTwoPi * frequency * kRatios[k] * t);
    }
    return value;
}

}  // namespace

std::vector<uint8_t> makeChime(float pitch, uint64_t seed) {
    Random random(seed);
    const WavFormat format{44100, 2, 16};
    const size_t count = static_cast<size_t>(1.3 * format.rateHz);
    std::vector<float> frames(count * 2);
    // Two notes a fifth apart; the second starts later and sits to the right.
    const double notes[2] = {1046.5 * pitch, 1568.0 * pitch};
    const double starts[2] = {0.0, 0.28 + 0.02 * random.unit()};
    const float pans[2] = {0.35f, 0.7f};
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / format.rateHz;
        float left = 0;
        float right = 0;
        for (int n = 0; n < 2; ++n) {
            if (t < starts[n]) continue;
            const float v = static_cast<float>(bellTone(t - starts[n], notes[n]));
            left += v * (1.0f - pans[n]);
            right += v * pans[n];
        }
        const float fade = edgeFade(i, count, 64);
        frames[i * 2] = left * fade;
        frames[i * 2 + 1] = right * fade;
    }
    return toWav(format, frames, 0.8f);
}

std::vector<uint8_t> makeClick() {
    const WavFormat format{22050, 1, 16};
    const size_t count = static_cast<size_t>(0.06 * format.rateHz);
    Random random(0xC11C);
    std::vector<float> frames(count);
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / format.rateHz;
        const double tone = std::sin(kTwoPi * 2200.0 * t) * std::exp(-t * 90.0);
        const double noise = (random.unit() - 0.5) * std::exp(-t * 300.0);
        frames[i] = static_cast<float>(tone + noise) * edgeFade(i, count, 16);
    }
    return toWav(format, frames, 0.7f);
}

std::vector<uint8_t> makeTock() {
    const WavFormat format{44100, 1, 16};
    const size_t count = static_cast<size_t>(0.09 * format.rateHz);
    std::vector<float> frames(count);
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / format.rateHz;
        const double body = std::sin(kTwoPi * 820.0 * t) * std::exp(-t * 60.0);
        const double knock = 0.4 * std::sin(kTwoPi * 1930.0 * t) * std::exp(-t * 140.0);
        frames[i] = static_cast<float>(body + knock) * edgeFade(i, count, 24);
    }
    return toWav(format, frames, 0.6f);
}

std::vector<uint8_t> makeBreeze(uint64_t seed) {
    Random random(seed);
    const WavFormat format{22050, 2, 16};
    const size_t count = static_cast<size_t>(1.5 * format.rateHz);
    std::vector<float> frames(count * 2);
    // Noise through a resonant band-pass whose centre sweeps up and down.
    double low = 0;
    double band = 0;
    for (size_t i = 0; i < count; ++i) {
        const double position = static_cast<double>(i) / static_cast<double>(count);
        const double centre = 300.0 + 900.0 * std::sin(3.14159265 * position);
        const double f = 2.0 * std::sin(3.14159265 * centre / format.rateHz);
        const double input = random.unit() * 2.0 - 1.0;
        low += f * band;
        const double high = input - low - 0.35 * band;
        band += f * high;
        const double envelope = std::sin(3.14159265 * position);
        const float v = static_cast<float>(band * envelope * envelope);
        const float pan = static_cast<float>(0.15 + 0.7 * position);
        frames[i * 2] = v * (1.0f - pan);
        frames[i * 2 + 1] = v * pan;
    }
    return toWav(format, frames, 0.7f);
}

std::vector<uint8_t> makeBell() {
    const WavFormat format{22050, 1, 8};
    const size_t count = static_cast<size_t>(1.0 * format.rateHz);
    std::vector<float> frames(count);
    // Two quick strikes, as a small bell shaken once.
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / format.rateHz;
        double v = bellTone(t, 2093.0);
        if (t > 0.12) v += 0.7 * bellTone(t - 0.12, 2093.0);
        frames[i] = static_cast<float>(v) * edgeFade(i, count, 32);
    }
    return toWav(format, frames, 0.85f);
}

std::vector<uint8_t> makePop(float pitch) {
    const WavFormat format{44100, 1, 16};
    const size_t count = static_cast<size_t>(0.25 * format.rateHz);
    std::vector<float> frames(count);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / format.rateHz;
        const double frequency = pitch * (300.0 + 2400.0 * t);
        phase += kTwoPi * frequency / format.rateHz;
        frames[i] =
            static_cast<float>(std::sin(phase) * std::exp(-t * 16.0)) * edgeFade(i, count, 32);
    }
    return toWav(format, frames, 0.75f, "zekudemo pop");
}

}  // namespace zeku::demo
