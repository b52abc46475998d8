// The game's message files: numbered records of a speaker's name and a
// message text, which #LoadTextf loads and #PrintTextf shows by number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeku {

struct MessageEntry {
    int32_t number = 0;
    std::string name;  // may be empty
    std::string text;  // control sequences still in it
};

struct MessageTable {
    std::vector<MessageEntry> entries;  // file order; numbers unique
};

// Reads every record of a message file. A record ends at CR LF (or a lone
// LF), or right after a closing quote followed by ";" that is not followed
// by CR; the file ends at "\e" or "!!!" at a record start, or at its end.
// Outside quotes spaces and tabs are dropped. A record without a digit in
// its number field is no message and is left out; a number seen before is
// ignored, so the first record of a number wins.
MessageTable parseMessages(std::string_view fileText);

// The entry of that number, or nullptr.
const MessageEntry* findMessage(const MessageTable& table, int32_t number);

}  // namespace zeku
