// libmpg123 decoding and an MPEG audio frame-header walk for the tests.
#include "tests/converter/mp3_test_decoder.h"

#include <mpg123.h>

#include <algorithm>

namespace zeku::test_support {

DecodedMp3 decodeMp3(const std::vector<uint8_t>& mp3) {
    DecodedMp3 out;
    int status = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &status);
    if (handle == nullptr) {
        out.error = "mpg123_new failed";
        return out;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    if (mpg123_open_feed(handle) != MPG123_OK ||
        mpg123_feed(handle, mp3.data(), mp3.size()) != MPG123_OK) {
        out.error = mpg123_strerror(handle);
        mpg123_delete(handle);
        return out;
    }
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        size_t done = 0;
        status = mpg123_read(handle, buffer.data(), buffer.size(), &done);
        const auto* pcm = reinterpret_cast<const int16_t*>(buffer.data());
        out.samples.insert(out.samples.end(), pcm, pcm + done / 2);
        if (status == MPG123_NEW_FORMAT) {
            int channels = 0, encoding = 0;
            mpg123_getformat(handle, &out.rateHz, &channels, &encoding);
            out.channels = channels;
            if (encoding != MPG123_ENC_SIGNED_16) out.error = "not 16-bit output";
        } else if (status == MPG123_NEED_MORE || status == MPG123_DONE) {
            break;
        } else if (status != MPG123_OK) {
            out.error = mpg123_strerror(handle);
            break;
        }
    }
    mpg123_delete(handle);
    out.ok = out.error.empty() && out.channels > 0;
    return out;
}

Mp3FrameScan scanMp3Frames(const std::vector<uint8_t>& mp3) {
    static const int kMpeg1Kbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                       112, 128, 160, 192, 224, 256, 320, 0};
    static const int kMpeg2Kbps[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                       64, 80, 96, 112, 128, 144, 160, 0};
    static const int kRates[3][3] = {
        {11025, 12000, 8000}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    Mp3FrameScan scan;
    size_t at = 0;
    while (at + 4 <= mp3.size()) {
        const uint8_t* h = mp3.data() + at;
        const int version = (h[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
        const int layer = (h[1] >> 1) & 3;    // 1: layer III
        const int bitrateIndex = h[2] >> 4;
        const int rateIndex = (h[2] >> 2) & 3;
        if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0 || version == 1 || layer != 1 || rateIndex == 3) {
            return scan;
        }
        const bool mpeg1 = version == 3;
        const int kbps = (mpeg1 ? kMpeg1Kbps : kMpeg2Kbps)[bitrateIndex];
        const int rate = kRates[version == 0 ? 0 : version - 1][rateIndex];
        if (kbps == 0) return scan;
        const size_t length =
            static_cast<size_t>((mpeg1 ? 144000 : 72000) * kbps / rate + ((h[2] >> 1) & 1));
        scan.minKbps = scan.frameCount == 0 ? kbps : std::min(scan.minKbps, kbps);
        scan.maxKbps = std::max(scan.maxKbps, kbps);
        scan.rateHz = rate;
        scan.mono = (h[3] >> 6) == 3;
        ++scan.frameCount;
        at += length;
    }
    scan.ok = at == mp3.size() && scan.frameCount > 0;
    return scan;
}

double zeroCrossingHz(const std::vector<int16_t>& samples, int channels, int channel, size_t from,
                      size_t to, double rateHz) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        const int16_t before = samples[(i - 1) * channels + channel];
        const int16_t now = samples[i * channels + channel];
        if ((before < 0) != (now < 0)) ++crossings;
    }
    return crossings / 2.0 * rateHz / static_cast<double>(to - from);
}

}  // namespace zeku::test_support
