// LAME bound by name at run time. Only the header's types and prototypes are
// used here; the program never links the library.
#include "converter/pipeline/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "common/bytes/byte_buffer.h"

namespace zeku {
namespace {

constexpr int kStereoKbps[kMp3BitrateCount] = {16,  32,  48,  64,  80,  96, 112,
                                               128, 160, 192, 224, 256, 320};
constexpr int kMpeg1Kbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Kbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

// Samples per channel handed to the encoder at a time: one layer III frame.
constexpr size_t kBlockFrames = 1152;
// LAME's stated worst case for one block is 1.25 × samples + 7200 bytes.
constexpr size_t kChunkBytes = 16384;
// An Info frame is one frame: at most 1441 bytes at the rates used here.
constexpr size_t kTagFrameBytes = 4096;
// LAME's quality knob (0 best .. 9 fastest); 2 is its "near-best, not too slow".
constexpr int kEncoderQuality = 2;

void silentReport(const char*, va_list) {}

}  // namespace

struct Mp3EncoderLibrary::Api {
    decltype(&lame_init) init = nullptr;
    decltype(&lame_close) close = nullptr;
    decltype(&lame_set_errorf) setErrorf = nullptr;
    decltype(&lame_set_debugf) setDebugf = nullptr;
    decltype(&lame_set_msgf) setMsgf = nullptr;
    decltype(&lame_set_in_samplerate) setInRate = nullptr;
    decltype(&lame_set_out_samplerate) setOutRate = nullptr;
    decltype(&lame_set_num_channels) setChannels = nullptr;
    decltype(&lame_set_mode) setMode = nullptr;
    decltype(&lame_set_VBR) setVbr = nullptr;
    decltype(&lame_set_brate) setBitrate = nullptr;
    decltype(&lame_set_quality) setQuality = nullptr;
    decltype(&lame_set_bWriteVbrTag) setWriteTag = nullptr;
    decltype(&lame_set_write_id3tag_automatic) setWriteId3 = nullptr;
    decltype(&lame_init_params) initParams = nullptr;
    decltype(&lame_encode_buffer) encodeBuffer = nullptr;
    decltype(&lame_encode_flush) flush = nullptr;
    decltype(&lame_get_lametag_frame) tagFrame = nullptr;
    decltype(&get_lame_version) version = nullptr;
};

int mp3BitrateKbps(int bitrateIndex, bool stereo) {
    if (bitrateIndex < 0 || bitrateIndex >= kMp3BitrateCount) return 0;
    const int kbps = kStereoKbps[bitrateIndex];
    return stereo ? kbps : kbps / 2;
}

bool mp3BitrateAvailable(int kbps, uint32_t sampleRateHz) {
    auto listed = [kbps](const auto& table) {
        return std::find(std::begin(table), std::end(table), kbps) != std::end(table);
    };
    switch (sampleRateHz) {
        case 32000:
        case 44100:
        case 48000:
            return listed(kMpeg1Kbps);
        case 16000:
        case 22050:
        case 24000:
            return listed(kMpeg2Kbps);
        default:
            return false;
    }
}

int mp3NearestAvailableKbps(int kbps, uint32_t sampleRateHz) {
    auto nearest = [kbps](const auto& table) {
        int best = table[0];
        for (const int candidate : table) {
            if (std::abs(candidate - kbps) < std::abs(best - kbps)) best = candidate;
        }
        return best;
    };
    switch (sampleRateHz) {
        case 32000:
        case 44100:
        case 48000:
            return nearest(kMpeg1Kbps);
        case 16000:
        case 22050:
        case 24000:
            return nearest(kMpeg2Kbps);
        default:
            return 0;
    }
}

Mp3EncoderLibrary::Mp3EncoderLibrary() = default;
Mp3EncoderLibrary::~Mp3EncoderLibrary() = default;

bool Mp3EncoderLibrary::open(const std::string& explicitPath) {
    api_.reset();
    library_.close();
    openError_.clear();
    name_ = explicitPath;
    if (name_.empty() && !environmentValue(kMp3EncoderVariable, name_)) {
        name_ = kMp3EncoderDefaultName;
    }
    if (!library_.open(name_)) {
        // The loader's text usually starts with the name again.
        std::string reason = library_.error();
        if (reason.rfind(name_ + ": ", 0) == 0) reason.erase(0, name_.size() + 2);
        openError_ = "cannot be loaded: " + reason;
        return false;
    }
    // A library that loads but is something else needs another fix than a
    // LAME too old to have every call used here.
    if (library_.symbol("lame_init") == nullptr) {
        openError_ = "found, but it is not a LAME library (no entry point lame_init)";
        library_.close();
        return false;
    }

    auto api = std::make_unique<Api>();
    bool complete = true;
    auto bind = [&](auto& slot, const char* name) {
        void* address = library_.symbol(name);
        if (address == nullptr && complete) {
            openError_ = std::string("found, but it lacks the LAME entry point ") + name;
            complete = false;
        }
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
    };
    bind(api->init, "lame_init");
    bind(api->close, "lame_close");
    bind(api->setErrorf, "lame_set_errorf");
    bind(api->setDebugf, "lame_set_debugf");
    bind(api->setMsgf, "lame_set_msgf");
    bind(api->setInRate, "lame_set_in_samplerate");
    bind(api->setOutRate, "lame_set_out_samplerate");
    bind(api->setChannels, "lame_set_num_channels");
    bind(api->setMode, "lame_set_mode");
    bind(api->setVbr, "lame_set_VBR");
    bind(api->setBitrate, "lame_set_brate");
    bind(api->setQuality, "lame_set_quality");
    bind(api->setWriteTag, "lame_set_bWriteVbrTag");
    bind(api->setWriteId3, "lame_set_write_id3tag_automatic");
    bind(api->initParams, "lame_init_params");
    bind(api->encodeBuffer, "lame_encode_buffer");
    bind(api->flush, "lame_encode_flush");
    bind(api->tagFrame, "lame_get_lametag_frame");
    bind(api->version, "get_lame_version");
    if (!complete) {
        library_.close();
        return false;
    }
    api_ = std::move(api);
    return true;
}

std::string Mp3EncoderLibrary::versionText() const {
    if (!api_) return std::string();
    const char* version = api_->version();
    return std::string("LAME ") + (version != nullptr ? version : "?") + " (" + name_ + ")";
}

bool Mp3EncoderLibrary::encode(const uint8_t* pcm16, size_t byteCount,
                               const Mp3EncodeSettings& settings, std::vector<uint8_t>& mp3,
                               std::string& error) const {
    mp3.clear();
    if (!api_) {
        error = "the MP3 encoder is not loaded";
        return false;
    }
    const int channels = settings.channels;
    if (channels != 1 && channels != 2) {
        error = "the MP3 encoder takes mono or stereo only";
        return false;
    }
    // LAME would quietly move to the nearest legal rate; the table's rate
    // is what was asked for.
    if (!mp3BitrateAvailable(settings.bitrateKbps, settings.sampleRateHz)) {
        error = "the MP3 encoder refused the settings: no " + std::to_string(settings.bitrateKbps) +
                " kbit/s at " + std::to_string(settings.sampleRateHz) + " Hz";
        return false;
    }

    lame_t lame = nullptr;
    {
        std::lock_guard<std::mutex> lock(setupMutex_);
        lame = api_->init();
        if (lame == nullptr) {
            error = "the MP3 encoder has no memory";
            return false;
        }
        api_->setErrorf(lame, silentReport);
        api_->setDebugf(lame, silentReport);
        api_->setMsgf(lame, silentReport);
        const int rate = static_cast<int>(settings.sampleRateHz);
        api_->setInRate(lame, rate);
        api_->setOutRate(lame, rate);
        api_->setChannels(lame, channels);
        api_->setMode(lame, channels == 1 ? MONO : JOINT_STEREO);
        api_->setVbr(lame, vbr_off);
        api_->setBitrate(lame, settings.bitrateKbps);
        api_->setQuality(lame, kEncoderQuality);
        // The Info frame carries the encoder delay and the padding, so a
        // gapless decoder (libmpg123's default) returns the sound without
        // the encoder's leading silence; other decoders see one silent frame.
        api_->setWriteTag(lame, 1);
        api_->setWriteId3(lame, 0);
        if (api_->initParams(lame) < 0) {
            api_->close(lame);
            error = "the MP3 encoder refused the settings";
            return false;
        }
    }

    const size_t frameBytes = static_cast<size_t>(channels) * 2;
    const size_t frames = pcm16 != nullptr ? byteCount / frameBytes : 0;
    const uint64_t expectedBytes = static_cast<uint64_t>(frames) *
                                       static_cast<uint64_t>(settings.bitrateKbps) * 125 /
                                       std::max<uint32_t>(settings.sampleRateHz, 1) +
                                   kChunkBytes;
    mp3.reserve(static_cast<size_t>(expectedBytes));

    std::array<short, kBlockFrames> left{};
    std::array<short, kBlockFrames> right{};
    std::vector<unsigned char> chunk(kChunkBytes);
    bool ok = true;
    auto append = [&](int produced) {
        if (produced < 0) {
            error = "the MP3 encoder failed (" + std::to_string(produced) + ")";
            ok = false;
            return;
        }
        mp3.insert(mp3.end(), chunk.begin(), chunk.begin() + produced);
    };
    for (size_t start = 0; start < frames && ok; start += kBlockFrames) {
        const size_t count = std::min(kBlockFrames, frames - start);
        const uint8_t* in = pcm16 + start * frameBytes;
        for (size_t i = 0; i < count; ++i) {
            left[i] = static_cast<short>(loadLe16(in + i * frameBytes));
            right[i] =
                channels == 2 ? static_cast<short>(loadLe16(in + i * frameBytes + 2)) : left[i];
        }
        // A short last block is padded with silence to a whole block.
        std::fill(left.begin() + static_cast<std::ptrdiff_t>(count), left.end(), short{0});
        std::fill(right.begin() + static_cast<std::ptrdiff_t>(count), right.end(), short{0});
        append(api_->encodeBuffer(lame, left.data(), right.data(), static_cast<int>(kBlockFrames),
                                  chunk.data(), static_cast<int>(chunk.size())));
    }
    if (ok) append(api_->flush(lame, chunk.data(), static_cast<int>(chunk.size())));
    if (ok) {
        // The encoder kept room for the Info frame at the very start.
        std::array<unsigned char, kTagFrameBytes> tag{};
        const size_t tagBytes = api_->tagFrame(lame, tag.data(), tag.size());
        if (tagBytes > 0 && tagBytes <= tag.size() && tagBytes <= mp3.size()) {
            std::memcpy(mp3.data(), tag.data(), tagBytes);
        }
    }
    api_->close(lame);
    if (!ok) mp3.clear();
    return ok;
}

}  // namespace zeku
