// The interpreter's own state beside the script levels: command parameters,
// timers, hot areas, choices, the command state the graphics commands keep,
// the error word and the requests it hands back to the shell.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "player/script/command_tracer.h"
#include "player/script/read_registry.h"
#include "player/script/script_state.h"

namespace zeku {

inline constexpr int kCommandParameterCount = 16;
inline constexpr int kScriptTimerCount = 16;
inline constexpr int kHotAreaLimit = 32;
inline constexpr int kChoiceLimit = 4;
inline constexpr int kTextSettingCount = 6;
inline constexpr size_t kHotAreaLabelBytes = 32;
inline constexpr size_t kHotAreaFileBytes = 64;
inline constexpr size_t kChoiceTextBytes = 48;
inline constexpr size_t kMessageFileNameBytes = 64;
// The image slot the drawing commands start from.
inline constexpr int kInitialImageSlot = 3;

// A clickable rectangle of a click-area list, in script coordinates.
struct HotArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    char label[kHotAreaLabelBytes] = {};
    char fileName[kHotAreaFileBytes] = {};
    std::array<int32_t, 4> numbers{};  // the fourth is the highlight colour

    uint32_t highlightColour() const { return static_cast<uint32_t>(numbers[3]); }
};

struct Choice {
    char label[kChoiceTextBytes] = {};
    char fileName[kChoiceTextBytes] = {};
};

// What a command asks the shell to do with the saved games once the
// interpreter's step is over (the interpreter never replaces its own state
// in the middle of a command).
enum class SaveRequest { None, ChoiceSave, QuickSave, QuickLoad };

struct ScriptEngine {
    ScriptState state;
    uint32_t errorWord = 0;           // fatal flags; non-zero closes the player
    CommandTracer* tracer = nullptr;  // --trace; told of each command's first run

    // Parameters 1..16 live at indices 0..15.
    std::array<int32_t, kCommandParameterCount> parameters{};
    std::array<uint32_t, kScriptTimerCount> timerStartMs{};

    std::array<HotArea, kHotAreaLimit> areas{};
    int areaCount = 0;
    int selectedArea = 0;  // 0 none, else 1..areaCount
    int highlightedArea = 0;

    std::array<Choice, kChoiceLimit> choices{};  // state.pendingChoices of them in use
    int selectedChoice = 0;                      // 0 none, else 1..pendingChoices

    int currentImageSlot = kInitialImageSlot;
    std::array<int32_t, kTextSettingCount> textSettings{};
    char messageFileName[kMessageFileNameBytes] = {};
    int musicFirstTrack = 0;
    int musicSecondTrack = 0;
    int musicLoop = 0;
    bool savingEnabled = true;
    ReadRegistry readMarks;       // lines of messages already shown
    bool messageReadFlag = true;  // the message being typed was read before

    bool closeRequested = false;  // #BreakApp asked the shell to close the window
    SaveRequest saveRequest = SaveRequest::None;

    // Where the line being executed ends; set by the interpreter before a
    // command runs. An advance moves there; a command may move it further
    // forward (the skipped block of a false #IF).
    int32_t nextPosition = 0;
    // The line gives the command's optional arguments (as many as the
    // command table's maximum, where that is above its minimum); set by the
    // interpreter before a command runs.
    bool optionalArgumentsGiven = false;

    // Parameter `number` (1..16); numbers outside read and write a scratch value.
    int32_t& parameter(int number);
    // Timers 1..16; others are ignored and read as started now.
    void startTimer(int number, uint32_t nowMs);
    uint32_t elapsedMs(int number, uint32_t nowMs) const;

  private:
    int32_t scratchParameter_ = 0;
};

}  // namespace zeku
