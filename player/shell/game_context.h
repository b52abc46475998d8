// The game context: the one owner of the player's game state. PlayerApp
// owns one; the window levels reach the state through it, and each
// subsystem is handed the references it needs (makeScriptContext for the
// interpreter), never the levels themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/display_back_end.h"
#include "player/data/pack_reader.h"
#include "player/graphics/compositor.h"
#include "player/graphics/display_list.h"
#include "player/graphics/display_objects.h"
#include "player/graphics/glyph_cache.h"
#include "player/graphics/image_slots.h"
#include "player/graphics/message_drawing.h"
#include "player/graphics/message_window.h"
#include "player/graphics/screen_surface.h"
#include "player/graphics/shake_state.h"
#include "player/graphics/update_list.h"
#include "player/script/script_context.h"
#include "player/script/script_engine.h"
#include "player/shell/build_constants.h"
#include "player/shell/path_table.h"
#include "player/shell/pointer_map.h"
#include "player/sound/cdda_emulator.h"
#include "player/sound/sound_engine.h"
#include "player/system/ini_line_list.h"
#include "player/system/input_state.h"
#include "player/system/key_map.h"
#include "player/system/pad_map.h"
#include "player/system/save_slot_book.h"
#include "player/system/system_menu.h"
#include "player/system/system_settings.h"

namespace zeku {

struct GameContext {
    // The screen surface is created at the build's size (it has no pixels
    // when that memory is not there); the key map starts from the
    // display's default keys; every slot starts empty.
    GameContext(const BuildConstants& build, const std::string& programFolder,
                const GXKeyList& defaultKeys, GlyphRenderer* glyphs = nullptr);
    GameContext(const GameContext&) = delete;
    GameContext& operator=(const GameContext&) = delete;

    const int screenWidth;
    const int screenHeight;
    const PathTable paths;
    uint32_t nowMs = 0;  // this frame's time, taken at the start of the frame step

    // User settings and input.
    SystemSettings settings;
    KeyMap keyMap;
    PadMap padMap;  // game-controller buttons, from the key map's defaults
    InputState input;
    std::vector<std::string> fontList;  // the message fonts the menu offers
    std::string messageFont;            // the face chosen for messages; empty: the default
    HeroNames heroNames;                // from the settings file
    // "zeku.cfg" as read at start-up; written back once at exit.
    IniLineList settingsFile;

    // The screen and what is drawn on it.
    ScreenSurface screen;
    GXDisplayProperties displayProperties;  // of the opened display, for the present
    PointerMap pointerMap;                  // stylus points back to game coordinates
    UpdateList updateList;
    ImageSlots images;
    DisplayObjects objects;
    DisplayList displayList;
    GraphicsState graphics;
    ShakeState shake;
    MessageWindows messageWindows;
    MessageTable messages;  // of the last message file loaded
    GlyphCache glyphCache;  // the message text's rendered characters

    // Scripts and pictures come from this package; sounds from the sound engine's own.
    PackReader packReader;
    ScriptEngine script;

    SoundEngine sound;
    CddaEmulator cdda;
    std::string overlayDescription;  // the MP3 decoder in use, for the menu; empty: none
    SystemMenu menu;
    SaveSlotBook saveSlots;
};

// The interpreter's view of the game for one frame.
ScriptContext makeScriptContext(GameContext& game);

// How message text is drawn under the current settings: the chosen font (or
// the default face), bold on the larger screen, the anti-alias factor and
// the shadow.
TextStyle messageTextStyle(const GameContext& game);

// Loads the system image (the wait icon and interface parts) from the
// package; without it those parts are simply not shown.
void loadSystemPicture(GameContext& game);

}  // namespace zeku
