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

namespace {

// The target format and bit rate, checked before any sample is touched so
// that a refusal costs nothing.
bool prepareEncoding(const WaveSettings& settings, const Mp3EncoderLibrary& encoder,
                     PcmTarget& target, Mp3EncodeSettings& encoding, std::string& error) {
    target.rateHz = waveTargetRateHz(settings);
    target.channels = waveTargetChannels(settings);
    encoding.sampleRateHz = target.rateHz;
    encoding.channels = target.channels;
    encoding.bitrateKbps = waveEncodingKbps(settings);
    if (encoding.bitrateKbps == 0) {
        error = "bit-rate index " + std::to_string(settings.bitrateIndex) + " is outside the table";
        return false;
    }
    if (!encoder.isOpen()) {
        error = "the MP3 encoder is not loaded";
        return false;
    }
    return true;
}

bool takenByTheChunkWalk(const WaveFormat& format) {
    const uint16_t tag = format.codingTag();
    return tag == kWaveFormatPcm || tag == kWaveFormatFloat;
}

}  // namespace

bool encodeDecodedSound(DecodedAudio& audio, const WaveSettings& settings,
                        const Mp3EncoderLibrary& encoder, std::vector<uint8_t>& mp3,
                        std::string& error) {
    mp3.clear();
    PcmTarget target;
    Mp3EncodeSettings encoding;
    std::vector<uint8_t> pcm;
    const bool converted =
        prepareEncoding(settings, encoder, target, encoding, error) &&
        convertFloatToTargetPcm(audio.samples, audio.channels, audio.rateHz, target, pcm, error);
    audio = DecodedAudio();
    return converted && encoder.encode(pcm.data(), pcm.size(), encoding, mp3, error);
}

WaveConversionStatus convertWave(const uint8_t* image, size_t size, const WaveSettings& settings,
                                 const Mp3EncoderLibrary& encoder, std::vector<uint8_t>& mp3,
                                 std::string& error) {
    return convertWave(image, size, settings, encoder, nullptr, mp3, error);
}

WaveConversionStatus convertWave(const uint8_t* image, size_t size, const WaveSettings& settings,
                                 const Mp3EncoderLibrary& encoder, const AudioFileReader* reader,
                                 std::vector<uint8_t>& mp3, std::string& error) {
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
    Mp3EncodeSettings encoding;
    if (!prepareEncoding(settings, encoder, target, encoding, error))
        return WaveConversionStatus::kFailed;

    if (reader != nullptr && !takenByTheChunkWalk(wave.format)) {
        DecodedAudio audio;
        if (!reader->decode(image, size, kMaxDecodedSamples, audio, error) ||
            !encodeDecodedSound(audio, settings, encoder, mp3, error)) {
            return WaveConversionStatus::kFailed;
        }
        return WaveConversionStatus::kConverted;
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
