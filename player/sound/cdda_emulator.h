// The game's CD music, played as one file per track from the data folder
// through the engine's music slot. With music switched off nothing sounds,
// but the play time still counts from the play request, as a CD would.
#pragma once

#include <cstdint>
#include <string>

namespace zeku {

class SoundEngine;

class CddaEmulator {
  public:
    // Gives the engine and the music setting; switching off stops what
    // plays, and the remembered track stays. Returns 1.
    int setEnabled(SoundEngine& engine, bool enabled);
    bool enabled() const { return enabled_; }
    bool playing() const { return playing_; }
    const std::string& trackName() const { return name_; }

    // Plays `directory` + `name` (an MP3 file), or only counts time from
    // `nowMs` with music off. Returns 1, also when the file is missing.
    int play(const char* name, const char* directory, int32_t volume, int32_t loop, uint32_t nowMs);
    void stop();
    // Units of 10 ms: of the music slot while it plays (-1 when there is
    // none), of the clock since play() with music off.
    int32_t position(uint32_t nowMs);
    void setVolume(int32_t volume);

  private:
    SoundEngine* engine_ = nullptr;
    bool enabled_ = false;
    bool playing_ = false;
    std::string name_;
    uint32_t startMs_ = 0;
};

// "track_%z2.wav" for a track number, with ".mp3" for ".wav": the file the
// player plays for a CD track.
std::string trackFileName(int32_t track);

}  // namespace zeku
