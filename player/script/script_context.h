// Everything a script command may touch outside the interpreter's own state:
// input, the clock, the settings, the graphics state and the package. The
// shell builds one per frame from the game context (makeScriptContext), so
// a subsystem that commands need is added there and here, nowhere else.
#pragma once

#include <cstdint>

#include "player/data/pack_reader.h"
#include "player/graphics/compositor.h"
#include "player/graphics/display_objects.h"
#include "player/graphics/image_slots.h"
#include "player/graphics/message_file.h"
#include "player/graphics/message_window.h"
#include "player/graphics/shake_state.h"
#include "player/graphics/update_list.h"
#include "player/script/script_engine.h"
#include "player/sound/cdda_emulator.h"
#include "player/sound/sound_engine.h"
#include "player/system/input_state.h"
#include "player/system/system_settings.h"

namespace zeku {

struct ScriptContext {
    ScriptEngine& engine;
    InputState& input;
    const SystemSettings& settings;
    uint32_t nowMs;  // this frame's time
    ImageSlots& images;
    DisplayObjects& objects;
    UpdateList& updateList;
    GraphicsState& graphics;
    ShakeState& shake;
    MessageWindows& windows;
    MessageTable& messages;
    PackReader& reader;
    const char* packagePath;  // the script and image package
    int screenWidth;
    int screenHeight;
    // Effects and music; null where a test runs without sound.
    SoundEngine* sound = nullptr;
    CddaEmulator* cdda = nullptr;
    const char* soundPackagePath = "";  // effects are read from this package
    const char* musicFolder = "";       // the track files, ending in '/'
};

// Bits of the key-edge word.
inline constexpr uint32_t kEdgeClick = 0x1;
inline constexpr uint32_t kEdgeKeyC = 0x10;
inline constexpr uint32_t kEdgeUp = 0x100;
inline constexpr uint32_t kEdgeDown = 0x200;
inline constexpr uint32_t kEdgeRight = 0x800;
inline constexpr uint32_t kEdgeDecide = kEdgeClick | kEdgeKeyC | kEdgeRight;

// The fresh presses of this frame as key-edge bits. Reading consumes them,
// so each press is reported once.
uint32_t takeKeyEdges(InputState& input);
// The skip key is held, or skip mode is locked on.
bool skipping(const InputState& input);

// Script coordinates to screen pixels: multiplication first, integer division.
int scaleX(const ScriptContext& context, int32_t value);
int scaleY(const ScriptContext& context, int32_t value);

}  // namespace zeku
