// Reading script text line by line: the normalised line, its kind, and the
// split of a command line into its name and argument texts.
#pragma once

#include <cstddef>
#include <string_view>

#include "player/script/script_state.h"

namespace zeku {

inline constexpr size_t kScriptLineCapacity = 256;  // 255 bytes and the terminator

enum LineKind : int {
    kLineOther = -1,
    kLineComment = 0,
    kLineLabel = 1,
    kLineCommand = 2,
    kLineExpression = 3,
    kLineBlockOpen = 10,
    kLineBlockClose = 11,
};

// Copies the line starting at `position` into `line` without its CR LF,
// dropping spaces and tabs outside double quotes, and returns the position
// after the CR LF (or the end of the text). A quoted run that is not closed
// ends with the line. A line longer than 255 bytes is cut at a character
// boundary and the rest of it skipped. A position at or past the end gives
// an empty line and the end of the text.
size_t readScriptLine(std::string_view text, size_t position, char (&line)[kScriptLineCapacity]);

LineKind classifyLine(const char* line);

// Splits a normalised line into `command`, overwriting all of it. With
// `withName` the line is "name(arguments)"; a line without "(" is all name
// and no arguments. Without it the whole line is an argument list. Parts
// past the tenth argument are dropped; a name is cut to 63 bytes.
void splitCommand(const char* line, bool withName, ParsedCommand& command);

// The bytes between an argument's first two double quotes, cut to fit
// `capacity` (which counts the terminator); empty when there is no opening
// quote, up to the end when there is no closing one. Returns the length.
size_t quotedText(const char* argument, char* destination, size_t capacity);

}  // namespace zeku
