// The installed families through fontconfig: the project's Japanese gothic
// font is found under its Japanese name, in Shift-JIS.
#include "platform/font/fontconfig_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zeku {
namespace {

TEST(FontconfigCatalog, FindsTheJapaneseGothicUnderItsJapaneseName) {
    FontconfigCatalog catalog;
    const std::vector<FontFamily> families = catalog.families();
    ASSERT_FALSE(families.empty());
    // "IPAゴシック" in Shift-JIS.
    const std::string ipaGothic = "IPA\x83\x53\x83\x56\x83\x62\x83\x4E";
    const auto it = std::find_if(families.begin(), families.end(),
                                 [&](const FontFamily& f) { return f.sjisName == ipaGothic; });
    ASSERT_NE(it, families.end());
    EXPECT_TRUE(it->scalable);
    EXPECT_TRUE(std::is_sorted(
        families.begin(), families.end(),
        [](const FontFamily& a, const FontFamily& b) { return a.sjisName < b.sjisName; }));
}

}  // namespace
}  // namespace zeku
