// The sound output as the frame loop drives it. Slots and mixing arrive with
// the wave-out engine; until then every slot is silent and finished.
#pragma once

#include <cstdint>

namespace zeku {

class SoundEngine {
  public:
    // Milliseconds played in a slot, or -1 when nothing plays there.
    int32_t playingPositionMs(int slot) const {
        (void)slot;
        return -1;
    }
    void stop(int slot) { (void)slot; }
};

}  // namespace zeku
