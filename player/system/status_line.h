// The two texts at the head of the menu panel: the date line with the
// device's battery (and, on large screens, memory and storage), and the
// path of menu levels opened so far with the MP3 decoder in use.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/device_status.h"
#include "player/system/menu_cursor.h"
#include "player/system/menu_tree.h"

namespace zeku {

// Screens this wide or wider have room for the longer status texts.
inline constexpr int kWideStatusWidth = 640;

// The name of the top level in the path line.
inline constexpr char kTopLevelName[] = "\xC4\xAF\xCC\xDF";  // ﾄｯﾌﾟ

struct StatusFacts {
    LocalDateTime time;
    int batteryPercent = 0;
    MemoryFacts memory;
    uint64_t freeStorageBytes = 0;
};

// Asks the device once; memory and storage only when the wide line shows
// them. A null device gives zeros.
StatusFacts readStatusFacts(DeviceStatus* device, const std::string& storageFolder, bool wide);

// "[2006-01-04 17:30][87%]", then "[<MB>MB(<load>%)][<MB>MB]" when wide.
std::string formatDateLine(const StatusFacts& facts, bool wide);

// The path line's names: the top level's, then the text of the entry opened
// at each depth of the cursor (empty where the cursor points nowhere).
std::vector<std::string> menuPathNames(const MenuTree& tree, const MenuCursor& cursor);

// "[ﾄｯﾌﾟ]->[name]..." for the names of the levels from the top down. At the
// top level of a wide screen a non-empty overlay description adds the
// decoder (cut before its first "(") and the output rate in kHz.
std::string formatPathLine(std::span<const std::string> names, bool wide,
                           std::string_view overlayDescription, int outputRateHz);

}  // namespace zeku
