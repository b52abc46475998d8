// The MP3 decoder overlay: a shared object that the player loads at run time
// by name. Frame headers are checked here (so a damaged header is refused
// before any decoding); libmpg123 decodes each whole frame fed to it.
#include <mpg123.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "overlay/mp3_overlay.h"

namespace {

// The record the player reads by offset; the handle and the stream's fixed
// format follow the four published fields.
struct DecoderInfo {
    uint8_t reserved0[12];
    uint16_t channels;
    uint8_t reserved1[34];
    uint32_t frameLength;
    uint8_t reserved2[8];
    uint32_t bitrateKbps;
    uint32_t sampleRateHz;
    mpg123_handle* handle;
    int samplesPerFrame;
};
static_assert(offsetof(DecoderInfo, channels) == zeku::kDecoderChannelsOffset);
static_assert(offsetof(DecoderInfo, frameLength) == zeku::kDecoderFrameLengthOffset);
static_assert(offsetof(DecoderInfo, bitrateKbps) == zeku::kDecoderBitrateOffset);
static_assert(offsetof(DecoderInfo, sampleRateHz) == zeku::kDecoderSampleRateOffset);

struct FrameHeader {
    int version = 0;  // 1: MPEG-1, 2: MPEG-2, 25: MPEG-2.5
    int layer = 0;
    uint32_t bitrateKbps = 0;
    uint32_t sampleRateHz = 0;
    int channels = 0;
    uint32_t length = 0;
    int samplesPerFrame = 0;
};

constexpr uint16_t kBitrates[2][3][16] = {
    // MPEG-1: layers I, II, III
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    // MPEG-2 and 2.5: layers I, II, III
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};
constexpr uint32_t kRates[3] = {44100, 48000, 32000};

// Free-format streams (bit rate index 0) are refused: their frame length
// cannot be known from the header alone.
bool parseHeader(const uint8_t* p, FrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    const int padding = (p[2] >> 1) & 1;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3) {
        return false;
    }
    header.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    header.layer = 4 - layerBits;
    const int table = header.version == 1 ? 0 : 1;
    header.bitrateKbps = kBitrates[table][header.layer - 1][bitrateIndex];
    header.sampleRateHz = kRates[rateIndex] >> (header.version == 1   ? 0
                                                : header.version == 2 ? 1
                                                                      : 2);
    header.channels = (p[3] >> 6) == 3 ? 1 : 2;
    const uint32_t bitsPerSecond = header.bitrateKbps * 1000;
    if (header.layer == 1) {
        header.samplesPerFrame = 384;
        header.length = (12 * bitsPerSecond / header.sampleRateHz + uint32_t(padding)) * 4;
    } else if (header.layer == 2 || header.version == 1) {
        header.samplesPerFrame = 1152;
        header.length = 144 * bitsPerSecond / header.sampleRateHz + uint32_t(padding);
    } else {
        header.samplesPerFrame = 576;
        header.length = 72 * bitsPerSecond / header.sampleRateHz + uint32_t(padding);
    }
    return header.length >= 4;
}

bool libraryReady() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

// The library's own version where it can tell it (API 48 and later); an
// older one reports the version it was built against.
const char* decoderDescription() {
    static char text[zeku::kDecoderDescriptionMax + 1] = {};
    if (text[0] == '\0') {
#if MPG123_API_VERSION >= 48
        unsigned major = 0, minor = 0, patch = 0;
        mpg123_distversion(&major, &minor, &patch);
        std::snprintf(text, sizeof(text), "mpg123 %u.%u.%u", major, minor, patch);
#else
        std::snprintf(text, sizeof(text), "mpg123 %s", ZEKU_MPG123_VERSION);
#endif
    }
    return text;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void* __mp3_create(const uint8_t* header) {
    FrameHeader first;
    if (header == nullptr || !parseHeader(header, first) || !libraryReady()) return nullptr;
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr) return nullptr;
    // Every frame is decoded as sound, an encoder's info frame too (as
    // silence), and nothing is trimmed, so one frame in gives one frame out.
    mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_param(handle, MPG123_ADD_FLAGS,
                 MPG123_IGNORE_INFOFRAME | MPG123_NO_READAHEAD | MPG123_NO_RESYNC | MPG123_QUIET,
                 0.0);
    mpg123_format_none(handle);
    mpg123_format(handle, static_cast<long>(first.sampleRateHz), MPG123_MONO | MPG123_STEREO,
                  MPG123_ENC_SIGNED_16);
    if (mpg123_open_feed(handle) != MPG123_OK) {
        mpg123_delete(handle);
        return nullptr;
    }
    DecoderInfo* info = new (std::nothrow) DecoderInfo{};
    if (info == nullptr) {
        mpg123_delete(handle);
        return nullptr;
    }
    info->channels = static_cast<uint16_t>(first.channels);
    info->frameLength = first.length;
    info->bitrateKbps = first.bitrateKbps;
    info->sampleRateHz = first.sampleRateHz;
    info->handle = handle;
    info->samplesPerFrame = first.samplesPerFrame;
    return info;
}

// A frame whose rate or channel count differs from the first is refused:
// the player's output format was fixed when the stream opened.
__attribute__((visibility("default"))) int __mp3_predecode(void* decoder, const uint8_t* frame) {
    auto* info = static_cast<DecoderInfo*>(decoder);
    FrameHeader header;
    if (info == nullptr || frame == nullptr || !parseHeader(frame, header)) return 1;
    if (header.sampleRateHz != info->sampleRateHz || header.channels != info->channels) return 1;
    info->frameLength = header.length;
    info->bitrateKbps = header.bitrateKbps;
    return 0;
}

__attribute__((visibility("default"))) int __mp3_decode(void* decoder, int16_t* out,
                                                        const uint8_t* frame, int length) {
    auto* info = static_cast<DecoderInfo*>(decoder);
    if (info == nullptr || out == nullptr || frame == nullptr || length < 4) return 0;
    if (mpg123_feed(info->handle, frame, static_cast<size_t>(length)) != MPG123_OK) return 0;
    const size_t frameBytes = size_t(info->channels) * 2;
    size_t written = 0;
    for (;;) {
        off_t number = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(info->handle, &number, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT) continue;
        if (result != MPG123_OK) break;
        const size_t room = static_cast<size_t>(zeku::kDecodedFrameBytes) - written;
        if (bytes > room) bytes = room;
        std::memcpy(reinterpret_cast<uint8_t*>(out) + written, audio, bytes);
        written += bytes;
    }
    return static_cast<int>(written / frameBytes);
}

__attribute__((visibility("default"))) void __mp3_destroy(void* decoder) {
    auto* info = static_cast<DecoderInfo*>(decoder);
    if (info == nullptr) return;
    mpg123_delete(info->handle);
    delete info;
}

__attribute__((visibility("default"))) int __mp3_getdecver() {
    return 0x0100;
}

__attribute__((visibility("default"))) const char* __mp3_getdecdesc() {
    return decoderDescription();
}

}  // extern "C"
