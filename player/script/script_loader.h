// Entering a script file: reading it from the package into a call level and
// finding the label to start at.
#pragma once

#include <cstddef>
#include <string_view>

#include "player/data/pack_reader.h"
#include "player/script/script_state.h"

namespace zeku {

inline constexpr size_t kLabelMaxLength = 62;

// Offset of the line after the label line "|label:" (letters compared
// without case), or 0 when the label is not found before an "#END" command
// line or the end of the text. A label over 62 bytes is never found.
size_t findLabel(std::string_view text, const char* label);

// Loads the stored file `fileName` ("./" is put in front of a name that does
// not begin with ".") from the package at `packagePath` into call level
// `level`, positioned after `label` (or at the start when `label` is null or
// not found). Returns 1 on success; 0 when the level is out of range or the
// file cannot be read, and the level then holds no text.
int enterScript(ScriptState& state, int level, PackReader& reader, const char* packagePath,
                const char* fileName, const char* label);

// Frees a level's text and clears its fields, as a return or a restart does.
void clearScriptLevel(ScriptLevel& level);

}  // namespace zeku
