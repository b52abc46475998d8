// Entering a script file: putting its text into a call level, read from the
// package or shared with a level that already runs it, and finding the
// label to start at.
#pragma once

#include "player/data/pack_reader.h"
#include "player/script/script_state.h"
#include "player/script/script_text.h"

namespace zeku {

// Loads the stored file `fileName` ("./" is put in front of a name that does
// not begin with ".") from the package at `packagePath` into call level
// `level`, positioned after `label` (or at the start when `label` is null or
// not found). A file that some level already holds is not read again (the
// package does not change while the player runs). Returns 1 on success; 0
// when the level is out of range or the file cannot be read, and the level
// then holds no text.
int enterScript(ScriptState& state, int level, PackReader& reader, const char* packagePath,
                const char* fileName, const char* label);

// Lets go of a level's text and clears its fields, as a return or a restart does.
void clearScriptLevel(ScriptLevel& level);

}  // namespace zeku
