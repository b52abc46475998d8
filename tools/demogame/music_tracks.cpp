// Music synthesis: a plucked melody over a soft bass and a pad, each note a
// decaying sum of harmonics, panned a little apart; rendered in floating
// point and rounded once.
#include "tools/demogame/music_tracks.h"

#include <algorithm>
#include <cmath>

namespace zeku::demo {
namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Note {
    double beat;   // start, in beats
    double beats;  // length
    int midi;      // pitch; 0 is a rest
    double level;
};

double midiHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// One voice added into `left`/`right`, with its pan (-1 left .. 1 right).
void addVoice(std::vector<float>& frames, const std::vector<Note>& notes, double beatSeconds,
              double pan, double brightness, double decayPerSecond) {
    const size_t total = frames.size() / 2;
    const float leftGain = float(std::sqrt((1 - pan) / 2));
    const float rightGain = float(std::sqrt((1 + pan) / 2));
    for (const Note& note : notes) {
        if (note.midi == 0) continue;
        const double hz = midiHz(note.midi);
        const size_t start = size_t(note.beat * beatSeconds * kMusicRateHz);
        const size_t length = size_t(note.beats * beatSeconds * kMusicRateHz);
        for (size_t i = 0; i < length && start + i < total; ++i) {
            const double t = double(i) / kMusicRateHz;
            // A short attack and release keep the notes from clicking.
            const double edge =
                std::min({1.0, t / 0.01, double(length - i) / (0.02 * kMusicRateHz)});
            double value = 0;
            for (int h = 1; h <= 4; ++h)
                value += std::pow(brightness, h - 1) * std::sin(kTwoPi * hz * h * t) / h;
            const float v = float(note.level * edge * std::exp(-t * decayPerSecond) * value);
            frames[(start + i) * 2] += v * leftGain;
            frames[(start + i) * 2 + 1] += v * rightGain;
        }
    }
}

std::vector<int16_t> render(const std::vector<float>& frames, float peak) {
    float loudest = 1e-6f;
    for (float v : frames)
        loudest = std::max(loudest, std::fabs(v));
    const float gain = peak * 32767.0f / loudest;
    std::vector<int16_t> out(frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        out[i] = int16_t(std::lround(std::clamp(frames[i] * gain, -32768.0f, 32767.0f)));
    return out;
}

}  // namespace

std::vector<int16_t> makeThemeTrack() {
    // 16 beats at 120 per minute: 8 s. C major, a walk up the hill and back.
    const double beat = 0.5;
    const std::vector<Note> melody = {
        {0, 1, 72, 1},  {1, 1, 76, 1},  {2, 1, 79, 1},  {3, 1, 76, 1},  {4, 1, 77, 1},
        {5, 1, 81, 1},  {6, 2, 79, 1},  {8, 1, 76, 1},  {9, 1, 74, 1},  {10, 1, 72, 1},
        {11, 1, 74, 1}, {12, 1, 76, 1}, {13, 1, 74, 1}, {14, 2, 72, 1},
    };
    const std::vector<Note> bass = {
        {0, 4, 48, 0.8}, {4, 4, 53, 0.8}, {8, 4, 45, 0.8}, {12, 2, 43, 0.8}, {14, 2, 48, 0.8},
    };
    const std::vector<Note> pad = {
        {0, 4, 64, 0.3},
        {4, 4, 65, 0.3},
        {8, 4, 64, 0.3},
        {12, 4, 62, 0.3},
    };
    std::vector<float> frames(size_t(16 * beat * kMusicRateHz) * 2, 0.0f);
    addVoice(frames, melody, beat, -0.3, 0.5, 3.0);
    addVoice(frames, bass, beat, 0.2, 0.3, 0.6);
    addVoice(frames, pad, beat, 0.4, 0.2, 0.2);
    return render(frames, 0.5f);
}

std::vector<int16_t> makeClosingTrack() {
    // Slower, in F: 10 beats at 120 per minute, the last chord ringing out.
    const double beat = 0.5;
    const std::vector<Note> melody = {
        {0, 1, 77, 1}, {1, 1, 76, 1}, {2, 1, 74, 1}, {3, 1, 72, 1}, {4, 2, 74, 1}, {6, 4, 77, 1},
    };
    const std::vector<Note> chords = {
        {0, 4, 53, 0.7}, {0, 4, 60, 0.4}, {4, 2, 58, 0.7}, {6, 4, 53, 0.7}, {6, 4, 57, 0.4},
    };
    std::vector<float> frames(size_t(10 * beat * kMusicRateHz) * 2, 0.0f);
    addVoice(frames, melody, beat, -0.2, 0.5, 1.5);
    addVoice(frames, chords, beat, 0.3, 0.3, 0.5);
    return render(frames, 0.5f);
}

std::vector<DemoTrack> buildDemoMusic() {
    return {DemoTrack{2, makeThemeTrack()}, DemoTrack{3, makeClosingTrack()}};
}

}  // namespace zeku::demo
