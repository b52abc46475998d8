// The game's music, ripped from its CD: which files of a folder are which
// track, and one track file turned into the "track_NN.mp3" the player
// streams from beside the package.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "converter/pipeline/wave_conversion.h"

namespace zeku {

// An audio CD holds tracks 1 to 99, and the player's names have two digits.
inline constexpr int kFirstTrack = 1;
inline constexpr int kLastTrack = 99;
// Track files larger than this are refused unread: decoded, they would pass
// the converter's working limit anyway.
inline constexpr uint64_t kMaxTrackFileBytes = uint64_t{1} << 30;

enum class TrackNameKind {
    kNotAudio,    // not a .wav, .flac, .ogg or .oga file (or a hidden one): ignored
    kTrack,       // `number` is the track
    kNoNumber,    // an audio file whose name carries no track number
    kAmbiguous,   // several numbers could be the track
    kOutOfRange,  // the number is no CD track
};

struct TrackName {
    TrackNameKind kind = TrackNameKind::kNotAudio;
    int number = 0;
    std::string problem;  // English, for kNoNumber, kAmbiguous and kOutOfRange
};

// Reads the track number from a file name (no folder). In order: a number
// after the word "track" ("track02.wav", "Track 02.flac", "CD Track_7.ogg";
// two different ones are ambiguous); a number that starts the name ("02 -
// Title.ogg"), unless another number follows it across separators only,
// as in "1-02 Title.flac" (disc and track); the only number in the name,
// when it ends the name after a separator ("Kumoine - 05.flac").
TrackName parseTrackName(std::string_view fileName);

struct TrackFile {
    int number = 0;
    std::string fileName;
};

struct TrackPlan {
    std::vector<TrackFile> tracks;      // by number, each number once
    std::vector<std::string> warnings;  // "<file name>: <why it is left out>"
};

// The tracks among a folder's file names. Audio files without a usable
// number are left out with a warning, and so is every file of a number
// that more than one file claims: which of them is the track is not
// guessed.
TrackPlan planTracks(const std::vector<std::string>& fileNames);

// "track_NN.mp3", the name the player looks for.
std::string trackOutputName(int number);

// Converts one track file (WAV in any coding, FLAC or Ogg Vorbis) and
// writes the MP3 to `outputPath` through a temporary name. A WAV file whose
// data chunk runs past its end is refused as cut short, as the reader
// refuses other formats that end early. False with `error` (English, to
// follow "<file>: ") when the file cannot be read, decoded or encoded, or
// the result cannot be written; whatever was at `outputPath` stays then.
bool convertTrackFile(const std::string& sourcePath, const std::string& outputPath,
                      const WaveSettings& settings, const Mp3EncoderLibrary& encoder,
                      const AudioFileReader& reader, std::string& error);

}  // namespace zeku
