// The per-frame input latch. A tap or a fresh action key cancels pending
// cursor presses so that one gesture never acts twice in the same frame.
#include "player/shell/input_latch.h"

namespace zeku {

void latchInput(InputState& input, const SystemSettings& settings) {
    PressCounters& k = input.keys;
    k.settleDeferredReleases();
    input.clickEdge = input.buttonDownEvent ? 1 : 0;
    input.buttonDownEvent = false;
    input.releaseEdge = input.buttonReleasedEvent ? 1 : 0;
    input.buttonReleasedEvent = false;
    input.wheelEdge = input.wheelNotches;
    input.wheelNotches = 0;

    if (input.clickEdge != 0) {
        for (KeyRole role : {KeyRole::Up, KeyRole::Down, KeyRole::Left, KeyRole::Right,
                             KeyRole::Start, KeyRole::C, KeyRole::A, KeyRole::B}) {
            k[role] = 0;
        }
        k.clearArms();
    }
    const bool freshC = k[KeyRole::C] == 1;
    if (freshC || k[KeyRole::A] == 1 || k[KeyRole::B] == 1) {
        for (KeyRole role :
             {KeyRole::Up, KeyRole::Down, KeyRole::Left, KeyRole::Right, KeyRole::Start}) {
            k[role] = 0;
        }
        k.clearArms();
    }

    if (settings.lockSkip != 0 && k[KeyRole::Left] == 1) {
        k[KeyRole::Left] = 0;
        input.skipLatch = true;
    } else if (input.skipLatch && (freshC || input.clickEdge != 0 || k[KeyRole::Right] == 1)) {
        input.skipLatch = false;
        k[KeyRole::C] = 0;
        input.clickEdge = 0;
        k[KeyRole::Right] = 0;
    }
}

}  // namespace zeku
