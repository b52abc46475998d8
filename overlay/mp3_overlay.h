// The contract between the player and its MP3 decoder overlay
// "Zuzidovu.ovl": the five entry points, the optional description, and where
// the player finds the four fields of the decoder record it reads. Both
// sides include this file.
#pragma once

#include <cstdint>

namespace zeku {

inline constexpr const char kOverlayFileName[] = "Zuzidovu.ovl";

// Byte offsets of the fields the player reads in the decoder record.
inline constexpr int kDecoderChannelsOffset = 12;     // u16
inline constexpr int kDecoderFrameLengthOffset = 48;  // u32, of the frame last examined
inline constexpr int kDecoderBitrateOffset = 60;      // u32, kbit/s
inline constexpr int kDecoderSampleRateOffset = 64;   // u32, Hz
// The decoded-frame buffer the player hands to decode: one frame of 1152
// stereo 16-bit samples.
inline constexpr int kDecodedFrameBytes = 4608;

extern "C" {
using Mp3CreateFn = void* (*)(const uint8_t* header);
using Mp3PredecodeFn = int (*)(void* decoder, const uint8_t* frame);
using Mp3DecodeFn = int (*)(void* decoder, int16_t* out, const uint8_t* frame, int length);
using Mp3DestroyFn = void (*)(void* decoder);
using Mp3GetDecVerFn = int (*)();
// Optional "__mp3_getdecdesc": the decoder's name and version as a
// terminated text (e.g. "mpg123 1.31.2"); an overlay without it has none.
using Mp3GetDecDescFn = const char* (*)();
}

// The longest description the player keeps; the rest is cut.
inline constexpr int kDecoderDescriptionMax = 63;

}  // namespace zeku
