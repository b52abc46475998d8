// The built menu: every command of the table is there, found depth-first
// under the popup it belongs to, the texts are the menu's own bytes, a full
// level refuses more, and font names are cut where a character allows.
#include "player/system/menu_build.h"

#include <gtest/gtest.h>

#include <set>

#include "player/system/menu_ids.h"

namespace zeku {
namespace {

const std::vector<std::string> kFonts = {"IPAGothic", "\x82\x6C\x82\x72 Gothic"};  // ＭＳ Gothic

// The popup texts from the top level down to the entry with `id`.
std::vector<std::string> pathOf(const MenuTree& tree, uint32_t id) {
    const MenuLocation where = tree.find(id);
    std::vector<std::string> path;
    if (!where) return path;
    for (int level = where.level; tree.level(level).parentLevel >= 0;) {
        const MenuLevel& lv = tree.level(level);
        path.insert(path.begin(),
                    tree.level(lv.parentLevel).entries[static_cast<size_t>(lv.parentEntry)].text);
        level = lv.parentLevel;
    }
    return path;
}

TEST(MenuBuild, EveryCommandSitsUnderItsPopup) {
    MenuTree tree;
    buildSystemMenu(tree, kFonts);
    const std::string settings = "\x90\xDD\x92\xE8";                     // 設定
    const std::string message = "\xD2\xAF\xBE\xB0\xBC\xDE";              // ﾒｯｾｰｼﾞ
    const std::string music = "\xD0\xAD\xB0\xBC\xDE\xAF\xB8";            // ﾐｭｰｼﾞｯｸ
    const std::string effects = "\x8C\xF8\x89\xCA\x89\xB9";              // 効果音
    const std::string volume = "\x89\xB9\x97\xCA";                       // 音量
    const std::string centre = "\xB6\xB0\xBF\xD9\x92\x86\x89\x9B";       // ｶｰｿﾙ中央
    const std::string antiAlias = "\xB1\xDD\xC1\xB4\xB2\xD8\xB1\xBD";    // ｱﾝﾁｴｲﾘｱｽ
    const std::string autoAdvance = "\x8E\xA9\x93\xAE\x91\x97\x82\xE8";  // 自動送り
    const std::string skip = "\xBD\xB7\xAF\xCC\xDF\x90\xA7\x8C\xE4";     // ｽｷｯﾌﾟ制御
    struct Group {
        uint32_t first;
        int count;
        std::vector<std::string> path;
    };
    const Group groups[] = {
        {menu_id::kLoadFirst, 15, {"\xDB\xB0\xC4\xDE"}},  // ﾛｰﾄﾞ
        {menu_id::kSaveFirst, 15, {"\xBE\xB0\xCC\xDE"}},  // ｾｰﾌﾞ
        {menu_id::kRewindChoice, 1, {}},
        {menu_id::kMasterVolumeFirst,
         10,
         {settings, "\x8A\xEE\x8F\x80\x89\xB9\x97\xCA"}},  // 基準音量
        {menu_id::kMusicVolumeFirst, 10, {settings, music, volume}},
        {menu_id::kMusicPlay, 1, {settings, music}},
        {menu_id::kEffectVolumeFirst, 10, {settings, effects, volume}},
        {menu_id::kEffectsPlay, 1, {settings, effects}},
        {menu_id::kCentreActionFirst, 6, {settings, centre}},
        {menu_id::kDoublePress, 1, {settings, centre}},
        {menu_id::kCursorModeFirst,
         5,
         {settings, "\xB6\xB0\xBF\xD9\x93\xAE\x8D\xEC\xD3\xB0\xC4\xDE"}},  // ｶｰｿﾙ動作ﾓｰﾄﾞ
        {menu_id::kDisplayFreeFirst, 3, {settings, "\xCF\xC5\xB0\xD3\xB0\xC4\xDE"}},  // ﾏﾅｰﾓｰﾄﾞ
        {menu_id::kFontFirst, 2, {message, "\xCC\xAB\xDD\xC4\x91\x49\x91\xF0"}},  // ﾌｫﾝﾄ選択
        {menu_id::kAntiAliasFirst, 4, {message, antiAlias}},
        {menu_id::kShadowText, 1, {message, antiAlias}},
        {menu_id::kSpeedFirst, 3, {message, "\x95\x5C\x8E\xA6\x91\xAC\x93\x78"}},  // 表示速度
        {menu_id::kAutoAdvance, 1, {message, autoAdvance}},
        {menu_id::kAutoBaseFirst, 10, {message, autoAdvance, "\x8A\xEE\x8F\x80"}},  // 基準
        {menu_id::kAutoOneFirst, 10, {message, autoAdvance, "\x95\xB6\x8E\x9A"}},   // 文字
        {menu_id::kReadSkipStop, 1, {message, skip}},
        {menu_id::kSkipLock, 1, {message, skip}},
        {menu_id::kReturnToTitle, 1, {}},
        {menu_id::kQuit, 1, {}},
    };
    std::set<uint32_t> seen;
    for (const Group& g : groups) {
        for (int i = 0; i < g.count; ++i) {
            const uint32_t id = g.first + static_cast<uint32_t>(i);
            SCOPED_TRACE(id);
            const MenuEntry* entry = tree.entry(id);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->kind, MenuEntryKind::Command);
            EXPECT_TRUE(entry->enabled());
            EXPECT_EQ(pathOf(tree, id), g.path);
            seen.insert(id);
            // Consecutive identifiers stand in order in one level.
            EXPECT_EQ(tree.find(id).level, tree.find(g.first).level);
            EXPECT_EQ(tree.find(id).entry, tree.find(g.first).entry + i);
        }
    }
    // Nothing more: every command of the tree is one of the table's.
    int commands = 0;
    for (int level = 0; level < tree.levelCount(); ++level) {
        for (const MenuEntry& e : tree.level(level).entries) {
            if (e.kind != MenuEntryKind::Command) continue;
            ++commands;
            EXPECT_TRUE(seen.count(e.id)) << e.id;
        }
    }
    EXPECT_EQ(commands, static_cast<int>(seen.size()));
}

TEST(MenuBuild, EntryTextsAreTheMenusOwnBytes) {
    MenuTree tree;
    buildSystemMenu(tree, kFonts);
    const struct {
        uint32_t id;
        std::string text;
    } samples[] = {
        {menu_id::kLoadFirst + 14, "LOAD_015"},
        {menu_id::kSaveFirst, "SAVE_001"},
        {menu_id::kMasterVolumeFirst, "100%"},
        {menu_id::kEffectVolumeFirst + 9, "10%"},
        {menu_id::kFontFirst + 1, kFonts[1]},
        {menu_id::kDisplayFreeFirst + 1,
         "\x8F\xAD\x82\xB5\x82\xAD\x82\xE7\x82\xA2\x82\xC8\x82\xE7\x81\x63\x81\x63"},  // 少しくらいなら……
        {menu_id::kAutoBaseFirst + 9,
         "\x8A\xEE\x8F\x80\x81\x46"
         "2000ms"},  // 基準：2000ms
        {menu_id::kAutoOneFirst,
         "\x95\xB6\x8E\x9A\x81\x46"
         "0ms"},                               // 文字：0ms
        {menu_id::kQuit, "\x8F\x49\x97\xB9"},  // 終了
    };
    for (const auto& s : samples)
        EXPECT_EQ(tree.entry(s.id)->text, s.text) << s.id;
}

TEST(MenuBuild, LevelsKeepTheirOrderOfPopupsCommandsAndSeparators) {
    MenuTree tree;
    buildSystemMenu(tree, kFonts);
    using K = MenuEntryKind;
    auto kinds = [&tree](int level) {
        std::vector<K> out;
        for (const MenuEntry& e : tree.level(level).entries)
            out.push_back(e.kind);
        return out;
    };
    EXPECT_EQ(kinds(0),
              (std::vector<K>{K::Popup, K::Popup, K::Command, K::Separator, K::Popup, K::Popup,
                              K::Separator, K::Command, K::Separator, K::Command}));
    const int settings = tree.level(0).entries[4].childLevel;
    EXPECT_EQ(kinds(settings), std::vector<K>(6, K::Popup));
    const int music = tree.level(settings).entries[1].childLevel;
    EXPECT_EQ(kinds(music), (std::vector<K>{K::Popup, K::Separator, K::Command}));
    const int centre = tree.level(settings).entries[3].childLevel;
    EXPECT_EQ(kinds(centre).size(), 8u);
    EXPECT_EQ(kinds(centre)[6], K::Separator);
    const int message = tree.level(0).entries[5].childLevel;
    EXPECT_EQ(kinds(message), std::vector<K>(5, K::Popup));
    const int autoAdvance = tree.level(message).entries[3].childLevel;
    EXPECT_EQ(kinds(autoAdvance), (std::vector<K>{K::Command, K::Popup, K::Popup}));
    // The save permission finds the two slot popups.
    EXPECT_EQ(tree.find(menu_id::kLoadPopup).entry, 0);
    EXPECT_EQ(tree.find(menu_id::kSavePopup).entry, 1);
    EXPECT_EQ(tree.find(menu_id::kSavePopup).level, 0);
}

TEST(MenuBuild, AFullLevelRefusesTheTwentyFirstEntry) {
    MenuTree tree;
    for (int i = 0; i < kMenuLevelCapacity; ++i)
        EXPECT_EQ(tree.addCommand(0, 100 + static_cast<uint32_t>(i), "x"), i);
    EXPECT_EQ(tree.addCommand(0, 200, "x"), -1);
    EXPECT_EQ(tree.addSeparator(0), -1);
    int child = -7;
    EXPECT_EQ(tree.addPopup(0, 0, "x", &child), -1);
    EXPECT_EQ(child, -7);
    EXPECT_EQ(tree.levelCount(), 1);
    EXPECT_EQ(tree.level(0).entries.size(), 20u);
    EXPECT_FALSE(tree.find(200));
}

TEST(MenuBuild, FifteenFontsAtMostAndLongNamesCutAtACharacter) {
    std::vector<std::string> many;
    for (int i = 0; i < 20; ++i)
        many.push_back("Font " + std::to_string(i));
    MenuTree tree;
    buildSystemMenu(tree, many);
    EXPECT_NE(tree.entry(menu_id::kFontFirst + 14), nullptr);
    EXPECT_EQ(tree.entry(menu_id::kFontFirst + 14)->text, "Font 14");
    EXPECT_EQ(tree.level(tree.find(menu_id::kFontFirst).level).entries.size(), 15u);
    const std::string a23(23, 'a');
    const std::string kanji = "\x8A\xBF";  // 漢
    struct Case {
        std::string name;
        std::string shown;
    } cases[] = {
        {std::string(24, 'a'), std::string(24, 'a')},
        {std::string(30, 'a'), std::string(24, 'a')},
        // The 24th byte starts a character: its trail byte comes along.
        {a23 + kanji + "bc", a23 + kanji},
        // The 24th byte ends a character: nothing more.
        {std::string(22, 'a') + kanji + "bc", std::string(22, 'a') + kanji},
        // A trail byte that looks like a lead byte is not one.
        {std::string(22, 'a') + "\x81\x81" + "z", std::string(22, 'a') + "\x81\x81"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menuFontText(c.name), c.shown) << c.name;
}

}  // namespace
}  // namespace zeku
