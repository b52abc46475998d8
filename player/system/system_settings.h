// The user's settings as the running player keeps them, part of the game
// context. These are the values of a missing "zeku.cfg"; loadSettings
// replaces them with the file's.
#pragma once

#include <cstdint>
#include <string>

namespace zeku {

struct SystemSettings {
    int32_t keyCenterAction = 1;  // KEY_CEN_CTRL: 1 opens the menu from START
    int32_t messageSpeed = 1;
    int32_t transMode = 0;
    int32_t readSkip = 0;
    int32_t lockSkip = 0;  // LOCK_SKIP: a left press latches skipping
    int32_t messageShadow = 0;
    int32_t displayFreeMode = 0;
    // WINDOW_COLOR: the shade #TransFill gives the name and message
    // windows' backgrounds (each channel darkens the picture beneath);
    // 0xCCCCCC unless the settings file says otherwise.
    int32_t windowColour = 0xCCCCCC;
    int32_t pcm = 2;              // PCM: 0 music off; 2 until the menu makes it 0 or 1
    int32_t sePlay = 2;           // SE_PLAY: likewise for the sound effects
    int32_t memStream = 0;        // MEM_STREAM: kept, nothing consults it
    int32_t cursorMode = 0;       // KET_CUR_MODE 0..4
    int32_t doublePress = 0;      // KET_DOUBLE_CLICK
    int32_t messageAuto = 0;      // MESSAGE_AUTO: click waits end by themselves
    int32_t messageAutoBase = 0;  // 0..9: 200..2000 ms per wait
    int32_t messageAutoOne = 0;   // 0..9: 0..90 ms more per character shown
    int32_t fontIndex = 0;        // the message font's place in the font list
    int32_t masterVolume = 100;
    int32_t seVolume = 100;
    int32_t musicVolume = 100;
};

// The hero's names the script's string variables start from, Shift-JIS;
// the settings file may replace them.
struct HeroNames {
    std::string family = "\x8D\x82\x8C\xB4";     // 高原
    std::string given = "\x97\x49\x90\x5E";      // 悠真
    std::string nickname = "\x83\x86\x83\x45";   // ユウ
    std::string honorific = "\x82\xAD\x82\xF1";  // くん
};

}  // namespace zeku
