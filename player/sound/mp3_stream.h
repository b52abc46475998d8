// One decoder instance of the overlay over an MP3 image: a memory image the
// caller owns (effects, decoded whole at load) or a mapped file (music,
// decoded frame by frame in the audio callback). ID3v2 tags are skipped and
// an ID3v1 tag is never handed to the decoder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/api/file_system.h"
#include "player/sound/mp3_overlay.h"
#include "player/sound/wave_data.h"

namespace zeku {

inline constexpr size_t kMp3FrameBufferBytes = 2882;  // the longest frame the formats allow

class Mp3Stream {
  public:
    explicit Mp3Stream(const Mp3Overlay* overlay) : overlay_(overlay) {}
    Mp3Stream(const Mp3Stream&) = delete;
    Mp3Stream& operator=(const Mp3Stream&) = delete;
    ~Mp3Stream() { close(); }

    // 0 on success, 1 on failure (no overlay, or the decoder refuses the
    // first frame header).
    int openMemory(const uint8_t* image, size_t size);
    // `size` 0: the whole file from `startOffset`.
    int openFile(const char* path, size_t startOffset, size_t size);

    // PCM bytes written to `out`, at most `want`. `out` must hold `want` +
    // kDecodedFrameBytes: a frame is appended whole before the excess moves
    // to the leftover, which the next read returns first. A header the
    // decoder refuses, or the end, ends the stream, or rewinds it when
    // `loop` is set.
    size_t read(uint8_t* out, size_t want, bool loop);

    // An upper estimate of the decoded bytes: one second more than the
    // duration the bit rate gives. 0 when closed.
    uint64_t estimate();
    uint32_t durationMs() const { return durationMs_; }
    const WaveFormat& outputFormat() const { return format_; }
    bool ended() const { return ended_; }
    bool isOpen() const { return decoder_ != nullptr; }
    void rewind();
    void close();

  private:
    int openImage(const uint8_t* base, size_t start, size_t size);
    uint32_t decoderField32(int offset) const;

    const Mp3Overlay* overlay_;
    bool ended_ = false;
    void* decoder_ = nullptr;
    MappedView view_;  // the file, for a mapped source
    const uint8_t* base_ = nullptr;
    size_t end_ = 0;
    size_t current_ = 0;
    size_t audioStart_ = 0;
    WaveFormat format_;
    uint32_t durationMs_ = 0;
    uint8_t leftover_[kDecodedFrameBytes] = {};
    size_t leftoverRead_ = 0;
    size_t leftoverEnd_ = 0;
    uint8_t frame_[kMp3FrameBufferBytes] = {};
    int16_t decoded_[kDecodedFrameBytes / 2] = {};
};

}  // namespace zeku
