// Status texts through formatText, so the digits and the cut of the
// decoder's name follow the player's own print rules.
#include "player/system/status_line.h"

#include <utility>

#include "common/text/format_text.h"

namespace zeku {
namespace {

// Longer than any line the panel can show; formatText cuts the rest.
constexpr size_t kLineCapacity = 256;

}  // namespace

// The top level's name, then the text of the entry opened at each depth.
std::vector<std::string> menuPathNames(const MenuTree& tree, const MenuCursor& cursor) {
    std::vector<std::string> names{kTopLevelName};
    for (size_t depth = 0; depth + 1 < cursor.levels.size(); ++depth) {
        std::string name;
        const int level = cursor.levels[depth];
        if (depth < cursor.opened.size() && level >= 0 && level < tree.levelCount()) {
            const std::vector<MenuEntry>& entries = tree.level(level).entries;
            const int opened = cursor.opened[depth];
            if (opened >= 0 && opened < static_cast<int>(entries.size()))
                name = entries[static_cast<size_t>(opened)].text;
        }
        names.push_back(std::move(name));
    }
    return names;
}

StatusFacts readStatusFacts(DeviceStatus* device, const std::string& storageFolder, bool wide) {
    StatusFacts facts;
    if (device == nullptr) return facts;
    facts.time = device->localTime();
    facts.batteryPercent = device->batteryPercent();
    if (wide) {
        facts.memory = device->memory();
        facts.freeStorageBytes = device->freeStorageBytes(storageFolder);
    }
    return facts;
}

std::string formatDateLine(const StatusFacts& facts, bool wide) {
    char line[kLineCapacity];
    const LocalDateTime& t = facts.time;
    if (!wide) {
        formatText(line, "[%z4-%z2-%z2 %z2:%z2][%d%c]",
                   {t.year, t.month, t.day, t.hour, t.minute, facts.batteryPercent, '%'});
    } else {
        formatText(
            line, "[%z4-%z2-%z2 %z2:%z2][%d%c][%dMB(%d%c)][%dMB]",
            {t.year, t.month, t.day, t.hour, t.minute, facts.batteryPercent, '%',
             static_cast<uint32_t>(facts.memory.availableBytes >> 20), facts.memory.loadPercent,
             '%', static_cast<uint32_t>(facts.freeStorageBytes >> 20)});
    }
    return line;
}

std::string formatPathLine(std::span<const std::string> names, bool wide,
                           std::string_view overlayDescription, int outputRateHz) {
    std::string path;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) path += "->";
        path += '[';
        path += names[i];
        path += ']';
    }
    if (names.size() == 1 && wide && !overlayDescription.empty()) {
        const std::string_view decoder = overlayDescription.substr(0, overlayDescription.find('('));
        // The rate is shown as the player has always computed it, in single precision.
        const float kHz = static_cast<float>(outputRateHz) * 0.001f;
        char segment[kLineCapacity];
        formatText(segment, " [Corvalite.ovl %s][%f2.2kHz]", {decoder, kHz});
        path += segment;
    }
    return path;
}

}  // namespace zeku
