// Record reading for message files. Quotes, parenthesised runs and
// double-byte characters decide what ends a field or a record, so the scan
// keeps those three states and copies double-byte characters as pairs.
#include "player/graphics/message_file.h"

#include <unordered_set>

#include "common/text/sjis.h"

namespace zeku {
namespace {

// Full-width "）", which also closes a parenthesised run.
constexpr unsigned char kFullCloseLead = 0x81;
constexpr unsigned char kFullCloseTrail = 0x6A;

struct Field {
    std::string quoted;  // what stood between quotes
    std::string all;     // everything kept, quoted or not
    bool sawQuote = false;
};

struct Record {
    Field fields[3];
    bool ended = false;  // the file's end marker was met instead of a record
};

bool startsWith(std::string_view text, size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t';
}

// Reads one record from `at`; returns the position after it.
size_t readRecord(std::string_view text, size_t at, Record& record) {
    size_t i = at;
    while (i < text.size() && isBlank(static_cast<unsigned char>(text[i])))
        ++i;
    if (i >= text.size() || startsWith(text, i, "\\e") || startsWith(text, i, "!!!")) {
        record.ended = true;
        return text.size();
    }
    int field = 0;
    bool inQuote = false;
    bool inRun = false;  // a "(" run inside quotes, closed by ")" or "）"
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        Field& current = record.fields[field];
        if (isLeadByte(c) && i + 1 < text.size()) {
            const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
            if (inQuote) current.quoted.append(text.substr(i, 2));
            current.all.append(text.substr(i, 2));
            if (inRun && c == kFullCloseLead && trail == kFullCloseTrail) inRun = false;
            i += 2;
            continue;
        }
        if (c == '\n') return i + 1;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') return i + 2;
        ++i;
        if (inQuote) {
            if (inRun) {
                if (c == ')') inRun = false;
            } else if (c == '(') {
                inRun = true;
            } else if (c == '"') {
                inQuote = false;
                if (i < text.size() && text[i] == ';' &&
                    (i + 1 >= text.size() || text[i + 1] != '\r'))
                    return i + 1;
                continue;
            }
            current.quoted.push_back(static_cast<char>(c));
            current.all.push_back(static_cast<char>(c));
            continue;
        }
        if (isBlank(c)) continue;
        if (c == '"') {
            inQuote = true;
            current.sawQuote = true;
            continue;
        }
        if (c == ',' && field < 2) {
            ++field;
            continue;
        }
        current.all.push_back(static_cast<char>(c));
    }
    return i;
}

// The number field's decimal digits; false when it has none.
bool recordNumber(const Field& field, int32_t& number) {
    uint32_t value = 0;
    bool any = false;
    for (const char c : field.all) {
        if (c < '0' || c > '9') continue;
        value = value * 10 + static_cast<uint32_t>(c - '0');  // wraps like the 32-bit original
        any = true;
    }
    number = static_cast<int32_t>(value);
    return any;
}

}  // namespace

MessageTable parseMessages(std::string_view fileText) {
    MessageTable table;
    std::unordered_set<int32_t> seen;
    size_t at = 0;
    while (at < fileText.size()) {
        Record record;
        at = readRecord(fileText, at, record);
        if (record.ended) break;
        int32_t number = 0;
        if (!recordNumber(record.fields[0], number) || !seen.insert(number).second) continue;
        const Field& name = record.fields[1];
        MessageEntry entry;
        entry.number = number;
        entry.name = name.sawQuote ? name.quoted : name.all;
        entry.text = record.fields[2].quoted;
        table.entries.push_back(std::move(entry));
    }
    return table;
}

const MessageEntry* findMessage(const MessageTable& table, int32_t number) {
    for (const MessageEntry& entry : table.entries) {
        if (entry.number == number) return &entry;
    }
    return nullptr;
}

}  // namespace zeku
