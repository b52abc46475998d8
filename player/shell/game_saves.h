// Saving and loading the game: the fifteen menu slots, the choice rewind
// slot, the global variables and read marks that outlive every save, the
// slot list the menu shows, and the return to the title.
#pragma once

#include "platform/api/device_status.h"
#include "player/shell/game_context.h"

namespace zeku {

inline constexpr int kChoiceRewindSlot = 600;

// Slot 0..14 or kChoiceRewindSlot. False when the file could not be written
// (the previous file of that slot is then left whole).
bool saveGame(GameContext& game, int slot, const LocalDateTime& now);
// False, with the running game unchanged, when the slot file is missing,
// short, foreign or damaged.
bool loadGame(GameContext& game, int slot);

void writePersistent(GameContext& game);
void readPersistent(GameContext& game);
// Reads every menu slot file and updates the load and save entries.
void listSlots(GameContext& game);
void returnToTitle(GameContext& game);
void takeChoiceSave(GameContext& game, const LocalDateTime& now);
void rewindChoice(GameContext& game);

// Start-up, once the settings are read: the slot list, saving held off
// until the script allows it, and the global data and read marks.
void startSaveData(GameContext& game);
// Carries out what the interpreter's last step asked for and clears it.
void carryOutSaveRequest(GameContext& game, const LocalDateTime& now);

}  // namespace zeku
