// Track numbers from ripped file names, and the conversion of one track.
#include "converter/pipeline/cd_tracks.h"

#include <algorithm>
#include <map>

#include "common/text/sjis.h"
#include "converter/pipeline/wave_file.h"
#include "platform/api/file_system.h"
#include "platform/api/path_problem.h"

namespace zeku {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSeparator(char c) {
    return c == ' ' || c == '_' || c == '-' || c == '.' || c == '#';
}

// A run of digits at `at`; its value, capped so a long run cannot overflow
// (any capped value is out of range anyway).
struct DigitRun {
    size_t start = 0;
    size_t end = 0;
    int value = 0;
};

DigitRun digitRunAt(std::string_view text, size_t at) {
    DigitRun run{at, at, 0};
    while (run.end < text.size() && isDigit(text[run.end])) {
        run.value = std::min(run.value * 10 + (text[run.end] - '0'), 100000);
        ++run.end;
    }
    return run;
}

std::vector<DigitRun> digitRuns(std::string_view text) {
    std::vector<DigitRun> runs;
    for (size_t i = 0; i < text.size();) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        runs.push_back(digitRunAt(text, i));
        i = runs.back().end;
    }
    return runs;
}

size_t skipSeparators(std::string_view text, size_t at) {
    while (at < text.size() && isSeparator(text[at]))
        ++at;
    return at;
}

bool startsWithWordAt(std::string_view text, size_t at, std::string_view word) {
    return at + word.size() <= text.size() && textEquals(text.substr(at, word.size()), word);
}

TrackName problemName(TrackNameKind kind, std::string problem) {
    TrackName name;
    name.kind = kind;
    name.problem = std::move(problem);
    return name;
}

TrackName numberedName(int number) {
    if (number < kFirstTrack || number > kLastTrack) {
        return problemName(TrackNameKind::kOutOfRange,
                           "track number " + std::to_string(number) + " is not between " +
                               std::to_string(kFirstTrack) + " and " + std::to_string(kLastTrack));
    }
    TrackName name;
    name.kind = TrackNameKind::kTrack;
    name.number = number;
    return name;
}

bool isAudioExtension(std::string_view extension) {
    for (const char* known : {".wav", ".flac", ".ogg", ".oga"})
        if (textEquals(extension, known)) return true;
    return false;
}

}  // namespace

TrackName parseTrackName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    // Hidden files include the "._" companions some systems leave beside
    // every real file; they are never audio.
    if (fileName.empty() || fileName[0] == '.' || dot == std::string_view::npos ||
        !isAudioExtension(fileName.substr(dot))) {
        return TrackName{};
    }
    const std::string_view stem = fileName.substr(0, dot);

    // A number after the word "track".
    int tracked = -1;
    for (size_t i = 0; i < stem.size(); ++i) {
        if (!startsWithWordAt(stem, i, "track")) continue;
        const size_t at = skipSeparators(stem, i + 5);
        if (at >= stem.size() || !isDigit(stem[at])) continue;
        const int value = digitRunAt(stem, at).value;
        if (tracked >= 0 && tracked != value) {
            return problemName(TrackNameKind::kAmbiguous, "the name gives two track numbers, " +
                                                              std::to_string(tracked) + " and " +
                                                              std::to_string(value));
        }
        tracked = value;
    }
    if (tracked >= 0) return numberedName(tracked);

    const std::vector<DigitRun> runs = digitRuns(stem);
    if (runs.empty()) return problemName(TrackNameKind::kNoNumber, "no track number in the name");

    // A number that starts the name.
    const size_t first = skipSeparators(stem, 0);
    if (first == runs[0].start) {
        const size_t next = skipSeparators(stem, runs[0].end);
        if (next < stem.size() && isDigit(stem[next])) {
            return problemName(TrackNameKind::kAmbiguous,
                               "the name starts with two numbers, " +
                                   std::to_string(runs[0].value) + " and " +
                                   std::to_string(digitRunAt(stem, next).value));
        }
        return numberedName(runs[0].value);
    }

    // The only number, ending the name after a separator.
    if (runs.size() == 1 && runs[0].end == stem.size() && isSeparator(stem[runs[0].start - 1]))
        return numberedName(runs[0].value);
    if (runs.size() > 1) {
        return problemName(TrackNameKind::kAmbiguous,
                           "several numbers in the name and none marked as the track");
    }
    return problemName(TrackNameKind::kNoNumber, "no track number in the name");
}

TrackPlan planTracks(const std::vector<std::string>& fileNames) {
    TrackPlan plan;
    std::map<int, std::vector<std::string>> claims;
    for (const std::string& fileName : fileNames) {
        const TrackName name = parseTrackName(fileName);
        if (name.kind == TrackNameKind::kNotAudio) continue;
        if (name.kind != TrackNameKind::kTrack) {
            plan.warnings.push_back(fileName + ": " + name.problem + "; not converted");
            continue;
        }
        claims[name.number].push_back(fileName);
    }
    for (const auto& [number, files] : claims) {
        if (files.size() == 1) {
            plan.tracks.push_back(TrackFile{number, files[0]});
            continue;
        }
        std::string list;
        for (const std::string& file : files)
            list += (list.empty() ? "" : ", ") + file;
        plan.warnings.push_back(list + ": all claim track " + std::to_string(number) +
                                "; none is converted");
    }
    return plan;
}

std::string trackOutputName(int number) {
    const int clamped = std::clamp(number, 0, 99);
    std::string name = "track_00.mp3";
    name[6] = static_cast<char>('0' + clamped / 10);
    name[7] = static_cast<char>('0' + clamped % 10);
    return name;
}

bool convertTrackFile(const std::string& sourcePath, const std::string& outputPath,
                      const WaveSettings& settings, const Mp3EncoderLibrary& encoder,
                      const AudioFileReader& reader, std::string& error) {
    error = fileProblem(sourcePath);
    if (!error.empty()) return false;
    const ReadOnlyFile file = ReadOnlyFile::open(sourcePath.c_str());
    if (!file) {
        error = "cannot be opened";
        return false;
    }
    const uint64_t size = file.size();
    if (size > kMaxTrackFileBytes) {
        error = std::to_string(size) + " bytes, more than a track file may have";
        return false;
    }
    std::vector<uint8_t> image(static_cast<size_t>(size));
    if (file.readAt(0, image.data(), image.size()) != image.size()) {
        error = "read error";
        return false;
    }

    std::vector<uint8_t> mp3;
    WaveFile wave;
    if (parseWave(image.data(), image.size(), wave) && wave.samplesClamped) {
        error = "its data chunk runs past the end of the file (cut short)";
        return false;
    }
    const WaveConversionStatus status =
        convertWave(image.data(), image.size(), settings, encoder, &reader, mp3, error);
    if (status == WaveConversionStatus::kFailed) return false;
    if (status == WaveConversionStatus::kNotWave) {
        DecodedAudio audio;
        error.clear();
        if (!reader.decode(image.data(), image.size(), kMaxDecodedSamples, audio, error))
            return false;
        std::vector<uint8_t>().swap(image);
        if (!encodeDecodedSound(audio, settings, encoder, mp3, error)) return false;
    }

    AtomicFileWriter out;
    if (!out.open(outputPath, error)) return false;
    out.write(mp3.data(), mp3.size());
    return out.commit(error);
}

}  // namespace zeku
