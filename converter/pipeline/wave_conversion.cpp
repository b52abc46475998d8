// convertWave: parse, check the choices against the encoder, convert the
// samples when they are not already in the target format, encode.
#include "converter/pipeline/wave_conversion.h"

#include "converter/pipeline/pcm_conversion.h"
#include "converter/pipeline/wave_file.h"

namespace zeku {

int waveEncodingKbps(const WaveSettings& settings) {
    const int kbps = mp3BitrateKbps(settings.bitrateIndex, settings.stereo);
    if (kbps == 0) return 0;
    const uint32_t rateHz = waveTargetRateHz(settings);
    return mp3BitrateAvailable(kbps, rateHz) ? kbps : mp3NearestAvailableKbps(kbps, rateHz);
}

WaveConversionStatus convertWave(const uint8_t* image, size_t size, const WaveSettings& settings,
                                 const Mp3EncoderLibrary& encoder, std::vector<uint8_t>& mp3,
                                 std::string& error) {
    mp3.clear();
    error.clear();
    WaveFile wave;
    const Parsed<void> parsed = parseWave(image, size, wave);
    if (!parsed) {
        const ParseError& why = parsed.error();
        error = std::string(why.reason()) + " at byte " + std::to_string(why.offset());
        return why.kind() == ParseErrorKind::kWrongFormat ? WaveConversionStatus::kNotWave
                                                          : WaveConversionStatus::kFailed;
    }

    PcmTarget target;
    target.rateHz = waveTargetRateHz(settings);
    target.channels = waveTargetChannels(settings);
    Mp3EncodeSettings encoding;
    encoding.sampleRateHz = target.rateHz;
    encoding.channels = target.channels;
    encoding.bitrateKbps = waveEncodingKbps(settings);
    if (encoding.bitrateKbps == 0) {
        error = "bit-rate index " + std::to_string(settings.bitrateIndex) + " is outside the table";
        return WaveConversionStatus::kFailed;
    }
    // Checked before the samples are touched: a refusal should cost nothing.
    if (!encoder.isOpen()) {
        error = "the MP3 encoder is not loaded";
        return WaveConversionStatus::kFailed;
    }

    const uint8_t* pcm = wave.samples;
    size_t pcmBytes = wave.sampleBytes;
    std::vector<uint8_t> converted;
    if (!isTargetPcm(wave.format, target)) {
        if (!convertToTargetPcm(wave.format, wave.samples, wave.sampleBytes, target, converted,
                                error)) {
            return WaveConversionStatus::kFailed;
        }
        pcm = converted.data();
        pcmBytes = converted.size();
    }
    if (!encoder.encode(pcm, pcmBytes, encoding, mp3, error)) return WaveConversionStatus::kFailed;
    return WaveConversionStatus::kConverted;
}

}  // namespace zeku
