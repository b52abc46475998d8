// Sample coding and channel conversion to 16-bit PCM. Everything passes
// through float so a 24-bit or float source is rounded once, at the end,
// instead of being cut to 16 bits before the resampler.
#include "converter/pipeline/pcm_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/bytes/byte_buffer.h"
#include "converter/pipeline/pcm_resampler.h"

namespace zeku {
namespace {

std::string hex16(uint16_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 15];
    return text;
}

// A clipped float sample; NaN counts as silence so it cannot spread
// through the resampler's filter.
float clampSample(float value) {
    if (!(value == value)) return 0.0f;
    return value < -1.0f ? -1.0f : (value > 1.0f ? 1.0f : value);
}

float decodeSample(const uint8_t* p, const SampleCoding& coding) {
    switch (coding.kind) {
        case SampleCoding::kUnsigned8:
            return static_cast<float>(static_cast<int>(p[0]) - 128) * (1.0f / 128.0f);
        case SampleCoding::kSignedInt: {
            // Left-justify the container in 32 bits so every width shares
            // one scale; the padding bits below the valid ones are zero.
            uint32_t bits = 0;
            const int shift = 8 * (4 - coding.containerBytes);
            for (int k = 0; k < coding.containerBytes; ++k) {
                bits |= static_cast<uint32_t>(p[k]) << (shift + 8 * k);
            }
            return static_cast<float>(static_cast<int32_t>(bits)) * (1.0f / 2147483648.0f);
        }
        case SampleCoding::kFloat:
            if (coding.containerBytes == 4) {
                const uint32_t bits = loadLe32(p);
                float value;
                std::memcpy(&value, &bits, sizeof value);
                return clampSample(value);
            } else {
                const uint64_t bits = loadLe32(p) | static_cast<uint64_t>(loadLe32(p + 4)) << 32;
                double value;
                std::memcpy(&value, &bits, sizeof value);
                return clampSample(static_cast<float>(value));
            }
    }
    return 0.0f;
}

}  // namespace

bool describeSamples(const WaveFormat& format, SampleCoding& coding, std::string& error) {
    coding = SampleCoding();
    const uint16_t tag = format.codingTag();
    if (format.formatTag == kWaveFormatExtensible && tag == 0) {
        error = "extensible format with an unknown sub-format";
        return false;
    }
    if (tag != kWaveFormatPcm && tag != kWaveFormatFloat) {
        error = "format tag " + hex16(tag) + " is not supported";
        return false;
    }
    if (format.channels != 1 && format.channels != 2) {
        error = std::to_string(format.channels) + " channels are not supported";
        return false;
    }
    if (format.samplesPerSecond < kMinSourceRateHz || format.samplesPerSecond > kMaxSourceRateHz) {
        error = "sample rate " + std::to_string(format.samplesPerSecond) + " Hz is not supported";
        return false;
    }
    if (format.blockAlign == 0 || format.blockAlign % format.channels != 0) {
        error = "block alignment " + std::to_string(format.blockAlign) + " does not fit " +
                std::to_string(format.channels) + " channels";
        return false;
    }
    const int container = format.blockAlign / format.channels;
    // A 14-byte record stops before the bit count; the container says it.
    const int bits = format.bitsPerSample != 0 ? format.bitsPerSample : container * 8;
    bool fits;
    if (tag == kWaveFormatFloat) {
        fits = (container == 4 && bits == 32) || (container == 8 && bits == 64);
        coding.kind = SampleCoding::kFloat;
    } else {
        fits = container >= 1 && container <= 4 && bits <= container * 8;
        coding.kind = container == 1 ? SampleCoding::kUnsigned8 : SampleCoding::kSignedInt;
    }
    if (!fits) {
        error = std::to_string(bits) + "-bit samples in " + std::to_string(container) +
                "-byte containers are not supported";
        return false;
    }
    coding.channels = format.channels;
    coding.containerBytes = container;
    coding.rateHz = format.samplesPerSecond;
    return true;
}

bool isTargetPcm(const WaveFormat& format, const PcmTarget& target) {
    return format.codingTag() == kWaveFormatPcm && format.bitsPerSample == 16 &&
           format.channels == target.channels && format.samplesPerSecond == target.rateHz &&
           format.blockAlign == 2 * format.channels;
}

uint64_t resampledFrameCount(uint64_t frames, uint32_t fromHz, uint32_t toHz) {
    if (fromHz == 0) return 0;
    // Frame counts come from 32-bit chunk sizes, so the product fits.
    return (frames * toHz + fromHz / 2) / fromHz;
}

void decodeFrames(const uint8_t* bytes, size_t frames, const SampleCoding& coding, int outChannels,
                  float* out) {
    const size_t frameBytes = coding.frameBytes();
    const size_t step = static_cast<size_t>(coding.containerBytes);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = bytes + i * frameBytes;
        const float first = decodeSample(frame, coding);
        if (coding.channels == 1) {
            out[0] = first;
            if (outChannels == 2) out[1] = first;
        } else {
            const float second = decodeSample(frame + step, coding);
            if (outChannels == 2) {
                out[0] = first;
                out[1] = second;
            } else {
                out[0] = 0.5f * (first + second);
            }
        }
        out += outChannels;
    }
}

void quantizeToPcm16(const float* samples, size_t count, uint8_t* out) {
    for (size_t i = 0; i < count; ++i) {
        float scaled = samples[i] * 32768.0f;
        if (!(scaled == scaled)) scaled = 0.0f;
        scaled = std::floor(scaled + 0.5f);
        const int value = scaled < -32768.0f  ? -32768
                          : scaled > 32767.0f ? 32767
                                              : static_cast<int>(scaled);
        storeLe16(out + 2 * i, static_cast<uint16_t>(value));
    }
}

bool convertToTargetPcm(const WaveFormat& format, const uint8_t* samples, size_t byteCount,
                        const PcmTarget& target, std::vector<uint8_t>& pcm, std::string& error) {
    pcm.clear();
    SampleCoding coding;
    if (!describeSamples(format, coding, error)) return false;
    if ((target.channels != 1 && target.channels != 2) || target.rateHz == 0) {
        error = "the target format is not mono or stereo at a positive rate";
        return false;
    }
    const size_t frames = samples != nullptr ? byteCount / coding.frameBytes() : 0;
    const uint64_t targetFrames = resampledFrameCount(frames, coding.rateHz, target.rateHz);
    const uint64_t longest = std::max<uint64_t>(frames, targetFrames);
    if (longest * static_cast<uint64_t>(target.channels) * sizeof(float) > kMaxWorkingBytes) {
        error = "the sound is too long to convert";
        return false;
    }

    std::vector<float> decoded(frames * static_cast<size_t>(target.channels));
    decodeFrames(samples, frames, coding, target.channels, decoded.data());
    if (coding.rateHz != target.rateHz) {
        std::vector<float> resampled;
        if (!resampleFrames(decoded.data(), frames, target.channels, coding.rateHz, target.rateHz,
                            resampled, error)) {
            return false;
        }
        decoded.swap(resampled);
    }
    pcm.resize(decoded.size() * 2);
    quantizeToPcm16(decoded.data(), decoded.size(), pcm.data());
    return true;
}

bool convertFloatToTargetPcm(std::vector<float>& samples, int channels, uint32_t rateHz,
                             const PcmTarget& target, std::vector<uint8_t>& pcm,
                             std::string& error) {
    pcm.clear();
    std::vector<float> work;
    work.swap(samples);
    if (channels != 1 && channels != 2) {
        error = std::to_string(channels) + " channels are not supported";
        return false;
    }
    if (rateHz < kMinSourceRateHz || rateHz > kMaxSourceRateHz) {
        error = "sample rate " + std::to_string(rateHz) + " Hz is not supported";
        return false;
    }
    if ((target.channels != 1 && target.channels != 2) || target.rateHz == 0) {
        error = "the target format is not mono or stereo at a positive rate";
        return false;
    }
    size_t frames = work.size() / static_cast<size_t>(channels);
    const uint64_t targetFrames = resampledFrameCount(frames, rateHz, target.rateHz);
    const uint64_t longest = std::max<uint64_t>(frames, targetFrames);
    if (longest * static_cast<uint64_t>(target.channels) * sizeof(float) > kMaxWorkingBytes) {
        error = "the sound is too long to convert";
        return false;
    }

    // Long tracks make copies expensive: clipping and the channel mapping
    // work in place, only the rate change needs a second buffer.
    for (float& sample : work)
        sample = clampSample(sample);
    if (channels == 1 && target.channels == 2) {
        work.resize(frames * 2);
        for (size_t i = frames; i-- > 0;)
            work[2 * i] = work[2 * i + 1] = work[i];
    } else if (channels == 2 && target.channels == 1) {
        for (size_t i = 0; i < frames; ++i)
            work[i] = 0.5f * (work[2 * i] + work[2 * i + 1]);
        work.resize(frames);
    } else {
        work.resize(frames * static_cast<size_t>(channels));
    }
    if (rateHz != target.rateHz) {
        std::vector<float> resampled;
        if (!resampleFrames(work.data(), frames, target.channels, rateHz, target.rateHz, resampled,
                            error)) {
            return false;
        }
        work.swap(resampled);
    }
    pcm.resize(work.size() * 2);
    quantizeToPcm16(work.data(), work.size(), pcm.data());
    return true;
}

}  // namespace zeku
