// One source file turned into what the package stores for it.
#include "converter/pipeline/entry_conversion.h"

#include "common/pack/pack_compression.h"
#include "common/pack/pack_format.h"
#include "common/text/sjis.h"
#include "converter/pipeline/picture_conversion.h"
#include "platform/api/text_codec.h"

namespace zeku {

namespace {

// Offset of the extension's "." or npos. The scan honours double-byte
// characters, whose trail byte may be 0x2E.
size_t extensionStart(std::string_view name) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (isLeadByte(c) && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (c == '.') found = i;
    }
    return found;
}

ConvertedEntry storeUnchanged(std::string_view sourceName, const std::vector<uint8_t>& source,
                              LzssEncoder& lzss) {
    ConvertedEntry entry;
    entry.name.assign(sourceName);
    entry.method = kPackLzss;
    entry.unpackedSize = static_cast<uint32_t>(source.size());
    if (!compressForPackage(lzss, source.data(), source.size(), entry.stored)) {
        entry.skipped = true;
        entry.warning = "cannot be compressed; skipped";
    }
    return entry;
}

}  // namespace

EntryTreatment entryTreatmentFor(std::string_view sourceName) {
    const size_t dot = extensionStart(sourceName);
    if (dot == std::string_view::npos) return EntryTreatment::kOther;
    const std::string_view extension = sourceName.substr(dot);
    if (textEquals(extension, ".png")) return EntryTreatment::kPicturePng;
    if (textEquals(extension, ".bmp")) return EntryTreatment::kPictureBmp;
    if (textEquals(extension, ".wav")) return EntryTreatment::kWave;
    return EntryTreatment::kOther;
}

std::string packageNameFor(std::string_view sourceName, EntryTreatment treatment) {
    const char* extension = nullptr;
    switch (treatment) {
        case EntryTreatment::kPicturePng:
        case EntryTreatment::kPictureBmp:
            extension = ".rbp";
            break;
        case EntryTreatment::kWave:
            extension = ".mp3";
            break;
        case EntryTreatment::kOther:
            return std::string(sourceName);
    }
    std::string name(sourceName.substr(0, extensionStart(sourceName)));
    name += extension;
    return name;
}

ConvertedEntry convertEntry(std::string_view sourceName, const std::vector<uint8_t>& source,
                            const EntryConversionSettings& settings, LzssEncoder& lzss) {
    const EntryTreatment treatment = entryTreatmentFor(sourceName);
    ConvertedEntry entry;
    std::string problem;

    if (treatment == EntryTreatment::kPicturePng || treatment == EntryTreatment::kPictureBmp) {
        std::vector<uint8_t> rbp;
        const PictureKind kind =
            treatment == EntryTreatment::kPicturePng ? PictureKind::kPng : PictureKind::kBmp;
        if (convertPicture(source.data(), source.size(), kind, settings.scalePercent,
                           settings.qualityItem, rbp, problem)) {
            entry.name = packageNameFor(sourceName, treatment);
            entry.method = kPackLzss;
            entry.unpackedSize = static_cast<uint32_t>(rbp.size());
            if (!compressForPackage(lzss, rbp.data(), rbp.size(), entry.stored)) {
                entry.skipped = true;
                entry.warning = "cannot be compressed; skipped";
            }
        } else {
            problem = "picture not converted (" + problem + "); stored unchanged";
        }
    } else if (treatment == EntryTreatment::kWave) {
        std::vector<uint8_t> mp3;
        const WaveConversionStatus status =
            settings.encoder == nullptr
                ? WaveConversionStatus::kFailed
                : convertWave(source.data(), source.size(), settings.wave, *settings.encoder,
                              settings.audioReader, mp3, problem);
        if (status == WaveConversionStatus::kConverted) {
            entry.name = packageNameFor(sourceName, treatment);
            entry.method = kPackStored;  // streamed by the player straight from the package
            entry.unpackedSize = static_cast<uint32_t>(mp3.size());
            entry.stored = std::move(mp3);
        } else if (status == WaveConversionStatus::kNotWave) {
            problem = "not a RIFF WAVE file; stored unchanged";
        } else {
            if (settings.encoder == nullptr) problem = "no MP3 encoder";
            problem = "sound not converted (" + problem + "); stored unchanged";
        }
    }

    if (entry.name.empty()) {
        entry = storeUnchanged(sourceName, source, lzss);
        if (entry.warning.empty()) entry.warning = problem;
    }
    if (entry.name.size() >= kPackNameField) {
        entry.skipped = true;
        entry.stored.clear();
        entry.warning = "name longer than 63 bytes in the package; skipped";
    }
    if (!entry.warning.empty()) entry.warning = sjisToUtf8(sourceName) + ": " + entry.warning;
    return entry;
}

}  // namespace zeku
