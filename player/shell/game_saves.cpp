// Placeholder until saving lands.
#include "player/shell/game_saves.h"

namespace zeku {

bool saveGame(GameContext&, int, const LocalDateTime&) {
    return false;
}
bool loadGame(GameContext&, int) {
    return false;
}
void writePersistent(GameContext&) {}
void readPersistent(GameContext&) {}
void listSlots(GameContext&) {}
void returnToTitle(GameContext&) {}
void takeChoiceSave(GameContext&, const LocalDateTime&) {}
void rewindChoice(GameContext&) {}

}  // namespace zeku
