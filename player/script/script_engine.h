// The script engine as the frame loop drives it: one step per frame and the
// error word whose non-zero value ends the program at the end of the frame.
#pragma once

#include <cstdint>

namespace zeku {

struct ScriptEngine {
    uint32_t errorWord = 0;  // fatal flags; non-zero closes the player

    // Runs script lines until one yields. No script is loaded yet, so a step
    // has nothing to do.
    void step() {}
};

}  // namespace zeku
