// The user's settings in "zeku.cfg": read once at start-up into the game's
// settings, names and bindings, and the changeable ones written back when
// the window goes away. Everything else in the file is left as it was.
#pragma once

#include <string>
#include <vector>

#include "player/system/ini_line_list.h"
#include "player/system/key_map.h"
#include "player/system/pad_map.h"
#include "player/system/system_settings.h"

namespace zeku {

// Where loadSettings puts what it reads.
struct SettingsTargets {
    SystemSettings& settings;
    std::string& messageFont;  // the face chosen for messages; empty: the default
    HeroNames& names;
    KeyMap& keys;
    PadMap& pads;
};

// "PUT_LIST_00" .. "PUT_LIST_14": the fonts the user prefers, up to the
// first empty one. The font list is built from them before loadSettings.
std::vector<std::string> readPreferredFonts(IniLineList& file, const std::string& path);

// Every other key, in the file's documented order. `fontList` is the built
// font list; the message font's place in it becomes the font index.
void loadSettings(IniLineList& file, const std::string& path,
                  const std::vector<std::string>& fontList, const SettingsTargets& into);

// The settings the menu can change, into the held lines ("%d" numbers; the
// font as the list's name at the font index). flush() writes them out.
void storeSettings(IniLineList& file, const std::string& path, const SystemSettings& settings,
                   const std::vector<std::string>& fontList);

}  // namespace zeku
