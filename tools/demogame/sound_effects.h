// The game's sound effects, synthesised: a chime, clicks, a breeze, a small
// bell and a pop. Each returns a whole WAV file in its own format.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/demogame/wav_writer.h"

namespace zeku::demo {

// Two bell-like notes, 44100 Hz stereo 16-bit, about 1.3 s. `pitch` scales
// every frequency (1 for the game's chime).
std::vector<uint8_t> makeChime(float pitch, uint64_t seed);
// A short tick, 22050 Hz mono 16-bit.
std::vector<uint8_t> makeClick();
// A softer wooden tock, 44100 Hz mono 16-bit: the second archive's click.
std::vector<uint8_t> makeTock();
// Filtered noise sweeping from left to right, 22050 Hz stereo 16-bit, 1.5 s.
std::vector<uint8_t> makeBreeze(uint64_t seed);
// A small bell, 22050 Hz mono 8-bit, 1 s.
std::vector<uint8_t> makeBell();
// A rising pop, 44100 Hz mono 16-bit, with a comment chunk.
std::vector<uint8_t> makePop(float pitch);

}  // namespace zeku::demo
