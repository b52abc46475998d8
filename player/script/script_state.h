// The script engine's state records: the four call levels, the numeric and
// string variables with the text accumulator, and the parsed command line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "player/script/script_text.h"

namespace zeku {

inline constexpr int kScriptLevelCount = 4;
inline constexpr size_t kScriptFileNameCapacity = 64;
inline constexpr int kNumericVariableCount = 4096;
inline constexpr int kStringVariableCount = 26;
inline constexpr size_t kStringVariableCapacity = 128;  // 127 bytes and the terminator
inline constexpr size_t kAccumulatorCapacity = 256;
inline constexpr int kCommandArgumentCount = 10;
inline constexpr size_t kCommandNameCapacity = 64;
inline constexpr size_t kArgumentCapacity = 512;

// The range of numeric variables the global data file carries across games.
inline constexpr int kPersistentVariableFirst = 900;
inline constexpr int kPersistentVariableLast = 2047;

// One call level: a whole script file and where the interpreter stands in it.
// Levels that run the same file share one text, which lives as long as any
// of them holds it.
struct ScriptLevel {
    char fileName[kScriptFileNameCapacity] = {};
    std::shared_ptr<const ScriptText> text;  // none until a script is entered
    uint32_t size = 0;
    int32_t position = 0;
    int32_t previousPosition = -1;
    uint32_t repeatCount = 0;

    bool hasText() const { return text != nullptr; }
    std::string_view view() const { return hasText() ? text->view() : std::string_view(); }
};

// The text result of the last evaluation; always terminated.
struct TextAccumulator {
    char text[kAccumulatorCapacity] = {};
    size_t length = 0;

    void clear() {
        text[0] = 0;
        length = 0;
    }
    // Appends what fits, never splitting a double-byte character.
    void append(std::string_view bytes);
};

struct ScriptVariables {
    std::array<int32_t, kNumericVariableCount> numbers{};
    std::array<std::array<char, kStringVariableCapacity>, kStringVariableCount> strings{};
    TextAccumulator accumulator;

    ScriptVariables() { reset(); }

    // All numbers 0, all strings empty except the hero's preset names.
    void reset();

    // Index 0..25 of a letter in either case, or -1.
    static int stringIndex(char letter);
    // Stores text when it is shorter than 128 bytes; longer text empties the
    // variable. Returns false when the index is out of range.
    bool setString(int index, std::string_view text);
    std::string_view string(int index) const;
};

// The names from the settings replace the presets when global data loads:
// family name into @l and @s, given name into @m, nickname into @n and
// honorific into @k.
void applyHeroNames(ScriptVariables& variables, std::string_view familyName,
                    std::string_view givenName, std::string_view nickname,
                    std::string_view honorific);

// The last split command line (or argument list line).
struct ParsedCommand {
    int32_t endsWithSemicolon = 0;
    int32_t argumentCount = 0;
    char name[kCommandNameCapacity] = {};
    char arguments[kCommandArgumentCount][kArgumentCapacity] = {};

    // Argument 1..10 as stored (with its ";"); an absent one reads "".
    const char* argument(int number) const;
};

struct ScriptState {
    std::array<ScriptLevel, kScriptLevelCount> levels;
    int32_t currentLevel = 0;
    int32_t pendingChoices = 0;  // #SelectEx choices waiting, reset on entering a script
    uint32_t scriptReads = 0;    // script files asked of the package so far
    ScriptVariables variables;
    ParsedCommand command;

    // The current level; an index outside 0..3 (which the interpreter never
    // sets) reads as level 0 rather than outside the array.
    ScriptLevel& current() {
        const bool valid = currentLevel >= 0 && currentLevel < kScriptLevelCount;
        return levels[valid ? static_cast<size_t>(currentLevel) : 0];
    }
};

}  // namespace zeku
