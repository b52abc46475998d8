// The panel's status texts: the date line on both screen sizes, the path of
// opened levels, and when the decoder's segment appears.
#include "player/system/status_line.h"

#include <gtest/gtest.h>

#include "player/system/menu_cursor.h"

namespace zeku {
namespace {

constexpr char kTop[] = "\xC4\xAF\xCC\xDF";                // ﾄｯﾌﾟ
constexpr char kSettings[] = "\x90\xDD\x92\xE8";           // 設定
constexpr char kMusic[] = "\xD0\xAD\xB0\xBC\xDE\xAF\xB8";  // ﾐｭｰｼﾞｯｸ

StatusFacts factsAt(int year, int month, int day, int hour, int minute, int battery) {
    StatusFacts f;
    f.time = {year, month, day, hour, minute, 0};
    f.batteryPercent = battery;
    return f;
}

TEST(StatusLine, DateLines) {
    StatusFacts memory = factsAt(2006, 1, 4, 17, 30, 87);
    memory.memory = {(40ull << 20) + 1023 * 1024, 38};  // the megabytes are cut, not rounded
    memory.freeStorageBytes = (256ull << 20) + (1 << 19);
    struct Case {
        StatusFacts facts;
        bool wide;
        const char* expected;
    } cases[] = {
        {factsAt(2006, 1, 4, 17, 30, 87), false, "[2006-01-04 17:30][87%]"},
        {factsAt(2006, 12, 31, 9, 5, 5), false, "[2006-12-31 09:05][5%]"},
        {factsAt(2010, 10, 10, 0, 0, 100), false, "[2010-10-10 00:00][100%]"},
        {memory, false, "[2006-01-04 17:30][87%]"},
        {memory, true, "[2006-01-04 17:30][87%][40MB(38%)][256MB]"},
        {factsAt(2006, 1, 4, 17, 30, 87), true, "[2006-01-04 17:30][87%][0MB(0%)][0MB]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatDateLine(c.facts, c.wide), c.expected);
}

TEST(StatusLine, PathLinesAndTheDecoderSegment) {
    const std::vector<std::string> top{kTop};
    const std::vector<std::string> deep{kTop, kSettings, kMusic};
    const std::string topText = std::string("[") + kTop + "]";
    struct Case {
        const std::vector<std::string>* names;
        bool wide;
        const char* overlay;
        int rate;
        std::string expected;
    } cases[] = {
        {&top, false, "", 22050, topText},
        {&top, false, "mpg123 1.31.2", 22050, topText},  // never on the small screen
        {&top, true, "", 22050, topText},                // nothing to tell
        {&top, true, "mpg123 1.31.2", 22050, topText + " [Corvalite.ovl mpg123 1.31.2][22.05kHz]"},
        {&top, true, "Dec 2.0 (fast)", 44100, topText + " [Corvalite.ovl Dec 2.0 ][44.10kHz]"},
        {&top, true, "(x)", 11025, topText + " [Corvalite.ovl ][11.02kHz]"},  // truncated
        {&deep, true, "mpg123 1.31.2", 22050,
         topText + "->[" + kSettings + "]->[" + kMusic + "]"},  // only at the top level
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatPathLine(*c.names, c.wide, c.overlay, c.rate), c.expected)
            << c.overlay << " " << c.rate;
    }
}

TEST(StatusLine, PathNamesFollowTheOpenedEntries) {
    MenuTree tree;
    int settings = -1, music = -1;
    tree.addCommand(0, 1, "A");
    tree.addPopup(0, 2, kSettings, &settings);
    tree.addCommand(settings, 3, "B");
    tree.addPopup(settings, 4, kMusic, &music);
    tree.addCommand(music, 5, "C");

    MenuCursor cursor;
    auto path = [&] { return formatPathLine(menuPathNames(tree, cursor), false, "", 22050); };
    EXPECT_EQ(path(), std::string("[") + kTop + "]");
    cursor.highlighted = 1;
    ASSERT_TRUE(enterLevel(tree, cursor));
    cursor.highlighted = 1;
    ASSERT_TRUE(enterLevel(tree, cursor));
    EXPECT_EQ(path(), std::string("[") + kTop + "]->[" + kSettings + "]->[" + kMusic + "]");
    leaveLevel(cursor);
    EXPECT_EQ(path(), std::string("[") + kTop + "]->[" + kSettings + "]");

    // A cursor pointing past the tree names nothing rather than reading out of it.
    cursor.opened = {7};
    EXPECT_EQ(path(), std::string("[") + kTop + "]->[]");
}

class CountingDevice final : public DeviceStatus {
  public:
    LocalDateTime localTime() override { return {2006, 1, 4, 17, 30, 0}; }
    int batteryPercent() override { return 87; }
    MemoryFacts memory() override {
        ++asked;
        return {64ull << 20, 50};
    }
    uint64_t freeStorageBytes(const std::string& folder) override {
        ++asked;
        lastFolder = folder;
        return 1ull << 30;
    }
    int asked = 0;
    std::string lastFolder;
};

TEST(StatusLine, FactsAreAskedOnlyForWhatTheLineShows) {
    CountingDevice device;
    const StatusFacts narrow = readStatusFacts(&device, "/saves/", false);
    EXPECT_EQ(device.asked, 0);
    EXPECT_EQ(narrow.batteryPercent, 87);
    const StatusFacts wide = readStatusFacts(&device, "/saves/", true);
    EXPECT_EQ(device.asked, 2);
    EXPECT_EQ(device.lastFolder, "/saves/");
    EXPECT_EQ(formatDateLine(wide, true), "[2006-01-04 17:30][87%][64MB(50%)][1024MB]");
    const StatusFacts none = readStatusFacts(nullptr, "", true);
    EXPECT_EQ(formatDateLine(none, false), "[0000-00-00 00:00][0%]");
}

}  // namespace
}  // namespace zeku
