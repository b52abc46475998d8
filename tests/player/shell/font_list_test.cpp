// The font list: preferred families first, only outline fonts that draw
// kana and kanji, no vertical or hidden families, at most 15, and a fallback
// name when none is left.
#include "player/shell/font_list.h"

#include <gtest/gtest.h>

namespace zeku {
namespace {

TEST(FontList, PreferredFirstThenTheRestUpToFifteen) {
    std::vector<FontFamily> installed;
    for (int i = 0; i < 20; ++i)
        installed.push_back({"Font" + std::to_string(i), true});
    installed.push_back({"Bitmap", false});
    installed.push_back({"@Vertical", true});
    installed.push_back({"$Hidden", true});
    installed.insert(installed.begin(), {"Latin Only", true, false});
    const std::vector<std::string> list = buildFontList({"font7", "Missing", "FONT3"}, installed);
    ASSERT_EQ(list.size(), 15u);
    EXPECT_EQ(list[0], "Font3");  // installed order, not the preference order
    EXPECT_EQ(list[1], "Font7");
    EXPECT_EQ(list[2], "Font0");
    for (const std::string& name : list) {
        EXPECT_NE(name, "Bitmap");
        EXPECT_NE(name, "Latin Only");  // it would show the game's text as blanks
        EXPECT_NE(name[0], '@');
        EXPECT_NE(name[0], '$');
    }
}

TEST(FontList, FallsBackWhenNothingUsableIsInstalled) {
    const std::vector<std::string> list = buildFontList({}, {{"Bitmap", false}, {"@V", true}});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], kFallbackFontName);
}

}  // namespace
}  // namespace zeku
