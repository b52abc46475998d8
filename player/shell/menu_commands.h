// The system menu's command handler: what each identifier the menu posts
// does to the game. Settings change at once, in the settings and in the
// menu's marks; the settings file learns of them only at exit.
#pragma once

#include <cstdint>

#include "platform/api/device_status.h"
#include "platform/api/host_window.h"
#include "player/shell/game_context.h"

namespace zeku {

// Carries out command `identifier` (the low 16 bits of the command
// message). `window` receives the close request of "終了"; `device` gives a
// save its date (null: a zero date). Unknown identifiers do nothing.
void runMenuCommand(GameContext& game, uint32_t identifier, HostWindow& window,
                    DeviceStatus* device);

// The volume the music slot plays at under the current settings.
int32_t musicTrackVolume(const SystemSettings& settings);

}  // namespace zeku
