// The game's CD music, played as one file per track. The frame loop and the
// music commands drive it; until the music engine arrives every track is
// silent and nothing is playing.
#pragma once

namespace zeku {

class CddaEmulator {
  public:
    // Whether music is on (the PCM setting); off plays nothing.
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool playing() const { return false; }

  private:
    bool enabled_ = true;
};

}  // namespace zeku
