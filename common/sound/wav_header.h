// The canonical 44-byte header of a plain PCM WAV file: "RIFF", "WAVE", a
// 16-byte "fmt " chunk and the "data" chunk's header. The player reads it in
// front of WAV music tracks and writes it in front of captured audio.
#pragma once

#include <cstdint>

#include "common/bytes/byte_layout.h"

namespace zeku {

inline constexpr uint32_t kCanonicalWavHeaderBytes = 44;

struct CanonicalWavHeader {
    uint32_t riffSize = 36;  // header bytes after this field plus the data
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t sampleRateHz = 22050;
    uint32_t bytesPerSecond = 88200;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;
    uint32_t dataBytes = 0;
};

namespace wav_tags {
inline constexpr uint8_t kRiff[4] = {'R', 'I', 'F', 'F'};
inline constexpr uint8_t kWave[4] = {'W', 'A', 'V', 'E'};
inline constexpr uint8_t kFormat[4] = {'f', 'm', 't', ' '};
inline constexpr uint8_t kFormatSize[4] = {16, 0, 0, 0};
inline constexpr uint8_t kData[4] = {'d', 'a', 't', 'a'};
}  // namespace wav_tags

// Readers skip the tags (a track is taken as it is); writers put them.
template <typename Io, RecordOf<CanonicalWavHeader> Header>
void syncCanonicalWavHeader(Io& io, Header& header) {
    io.constant(wav_tags::kRiff);
    io.le32(header.riffSize);
    io.constant(wav_tags::kWave);
    io.constant(wav_tags::kFormat);
    io.constant(wav_tags::kFormatSize);
    io.le16(header.formatTag);
    io.le16(header.channels);
    io.le32(header.sampleRateHz);
    io.le32(header.bytesPerSecond);
    io.le16(header.blockAlign);
    io.le16(header.bitsPerSample);
    io.constant(wav_tags::kData);
    io.le32(header.dataBytes);
}

}  // namespace zeku
