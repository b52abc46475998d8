// The MP3 encoder: the bit-rate table of the dialog and the binding to LAME,
// which is loaded at run time so that the converter runs (and says the
// encoder is missing) on a machine without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/api/shared_library.h"

namespace zeku {

inline constexpr int kMp3BitrateCount = 13;
// The library tried when neither the caller nor the environment names one.
inline constexpr const char* kMp3EncoderDefaultName = "libmp3lame.so.0";
inline constexpr const char* kMp3EncoderVariable = "ZEKU_MP3_ENCODER";

// kbit/s of table entry 0..12 (16..320); mono gets half. 0 for an index
// outside the table.
int mp3BitrateKbps(int bitrateIndex, bool stereo);

// Whether MPEG audio layer III has a constant bit rate of `kbps` at
// `sampleRateHz` (MPEG-1 rates 32..320, MPEG-2 half rates 8..160; other
// rates are never encoded here).
bool mp3BitrateAvailable(int kbps, uint32_t sampleRateHz);

// The bit rate closest to `kbps` that layer III has at `sampleRateHz`
// (the lower one on a tie); 0 for a rate without a table. The dialog offers
// 192..320 kbit/s stereo at 22.05 kHz and 8..24 mono at 44.1 kHz, which the
// format cannot carry.
int mp3NearestAvailableKbps(int kbps, uint32_t sampleRateHz);

struct Mp3EncodeSettings {
    uint32_t sampleRateHz = 22050;  // of the input and of the MP3
    int channels = 2;               // 1: mono MP3, 2: joint stereo
    int bitrateKbps = 64;           // constant
};

// One per run, shared by the worker threads: each encode() call has its own
// encoder state.
class Mp3EncoderLibrary {
  public:
    Mp3EncoderLibrary();
    ~Mp3EncoderLibrary();
    Mp3EncoderLibrary(const Mp3EncoderLibrary&) = delete;
    Mp3EncoderLibrary& operator=(const Mp3EncoderLibrary&) = delete;

    // explicitPath non-empty: exactly that file; empty: the environment
    // variable ZEKU_MP3_ENCODER when set, else "libmp3lame.so.0". False
    // when it cannot be loaded or lacks an entry point; the library is
    // then not kept, and openError() says why in words that follow
    // "<library>: " ("found, but it is not a LAME library (...)").
    bool open(const std::string& explicitPath);
    bool isOpen() const { return api_ != nullptr; }
    // The name or path last tried.
    const std::string& libraryName() const { return name_; }
    const std::string& openError() const { return openError_; }
    // "LAME <version> (<library>)"; empty when not open.
    std::string versionText() const;

    // Encodes 16-bit little-endian interleaved PCM (a trailing partial
    // frame is ignored) into `mp3`, constant bit rate. From 56 kbit/s up an
    // Info frame in front gives decoders the encoder delay and padding, so
    // they return exactly the blocks fed in; below, a frame is too small to
    // hold it and the delay stays in the sound. The input goes in
    // 1152-frame blocks, the last one padded with silence. Safe to call
    // from several threads at once; the same input always gives the same
    // bytes. False with `error` set when the encoder refuses.
    bool encode(const uint8_t* pcm16, size_t byteCount, const Mp3EncodeSettings& settings,
                std::vector<uint8_t>& mp3, std::string& error) const;

  private:
    struct Api;
    SharedLibrary library_;
    std::unique_ptr<Api> api_;
    std::string name_;
    std::string openError_;
    // Encoder set-up fills tables shared inside the library.
    mutable std::mutex setupMutex_;
};

}  // namespace zeku
