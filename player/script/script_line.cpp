// Line reading, classification and command splitting. Lines are read from
// the text with its size, so a text without a final CR LF or "#END" ends
// cleanly at its last byte.
#include "player/script/script_line.h"

#include <cstring>

#include "common/text/sjis.h"

namespace zeku {
namespace {

bool isLead(char c) {
    return isLeadByte(static_cast<unsigned char>(c));
}

// Appends bytes to a terminated buffer of `capacity` bytes (terminator
// included) while they fit; a double-byte pair goes in whole or not at all.
struct BoundedText {
    char* text;
    size_t capacity;
    size_t length = 0;

    bool push(const char* bytes, size_t n) {
        if (length + n + 1 > capacity) return false;
        std::memcpy(text + length, bytes, n);
        length += n;
        text[length] = 0;
        return true;
    }
};

}  // namespace

size_t readScriptLine(std::string_view text, size_t position, char (&line)[kScriptLineCapacity]) {
    const size_t end = text.size();
    size_t i = position < end ? position : end;
    size_t out = 0;
    bool quoted = false;
    bool full = false;
    bool trailNext = false;  // the last byte kept was a lead byte
    while (i < end) {
        const char c = text[i];
        if (c == '\r' && i + 1 < end && text[i + 1] == '\n') {
            i += 2;
            break;
        }
        ++i;
        if (!quoted && (c == ' ' || c == '\t')) {
            trailNext = false;
            continue;
        }
        if (full) continue;
        if (trailNext) {
            // Room for the trail was reserved with its lead byte.
            line[out++] = c;
            trailNext = false;
            continue;
        }
        const size_t need = isLead(c) ? 2 : 1;
        if (out + need > kScriptLineCapacity - 1) {
            full = true;
            continue;
        }
        if (c == '"') quoted = !quoted;
        line[out++] = c;
        trailNext = need == 2;
    }
    line[out] = 0;
    return i;
}

LineKind classifyLine(const char* line) {
    switch (line[0]) {
        case '/':
            return line[1] == '/' ? kLineComment : kLineOther;
        case '|':
            return kLineLabel;
        case '#':
            return kLineCommand;
        case '@':
            return kLineExpression;
        case '{':
            return kLineBlockOpen;
        case '}':
            return kLineBlockClose;
        default:
            return kLineOther;
    }
}

void splitCommand(const char* line, bool withName, ParsedCommand& command) {
    command.endsWithSemicolon = 0;
    command.argumentCount = 0;
    command.name[0] = 0;
    for (auto& argument : command.arguments)
        argument[0] = 0;

    size_t i = 0;
    if (withName) {
        BoundedText name{command.name, kCommandNameCapacity};
        bool nameFull = false;
        while (line[i] != 0 && line[i] != '(') {
            const size_t n = isLead(line[i]) && line[i + 1] != 0 ? 2 : 1;
            if (!nameFull) nameFull = !name.push(line + i, n);
            i += n;
        }
        if (line[i] != '(') return;
        ++i;
        if (line[i] == ')') {
            command.endsWithSemicolon = line[i + 1] == ';' ? 1 : 0;
            return;
        }
    }

    // Arguments past the tenth are scanned (the list end still counts) but
    // not stored.
    const size_t listStart = i;
    int count = 0;
    BoundedText current{command.arguments[0], kArgumentCapacity - 1};
    auto finish = [&]() {
        if (count < kCommandArgumentCount) {
            char* text = command.arguments[count];
            text[current.length] = ';';
            text[current.length + 1] = 0;
            ++count;
            if (count < kCommandArgumentCount)
                current = {command.arguments[count], kArgumentCapacity - 1};
        }
    };
    auto add = [&](const char* bytes, size_t n) {
        if (count < kCommandArgumentCount) current.push(bytes, n);
    };

    while (true) {
        const char c = line[i];
        if (c == 0) {
            if (i > listStart) finish();
            break;
        }
        if (c == '(') {
            // Copied whole up to its ")", so "RGB(255,0,0)" stays one argument.
            size_t j = i + 1;
            while (line[j] != 0 && line[j] != ')')
                j += isLead(line[j]) && line[j + 1] != 0 ? 2 : 1;
            if (line[j] == ')') ++j;
            add(line + i, j - i);
            i = j;
            continue;
        }
        if (c == ',') {
            finish();
            ++i;
            continue;
        }
        if (c == ')') {
            const char after = line[i + 1];
            if (after == ';' || after == '{' || after == 0) {
                command.endsWithSemicolon = after == ';' ? 1 : 0;
                finish();
                break;
            }
        }
        const size_t n = isLead(c) && line[i + 1] != 0 ? 2 : 1;
        add(line + i, n);
        i += n;
    }
    command.argumentCount = count;
}

size_t quotedText(const char* argument, char* destination, size_t capacity) {
    if (capacity == 0) return 0;
    destination[0] = 0;
    const char* open = std::strchr(argument, '"');
    if (open == nullptr) return 0;
    BoundedText out{destination, capacity};
    for (const char* p = open + 1; *p != 0 && *p != '"';) {
        const size_t n = isLead(*p) && p[1] != 0 ? 2 : 1;
        if (!out.push(p, n)) break;
        p += n;
    }
    return out.length;
}

}  // namespace zeku
