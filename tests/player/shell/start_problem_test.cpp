// What the player says when it cannot start from its package: each fault a
// user can make, found in the order they would fix them.
#include "player/shell/start_problem.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::buildPackage;
using test_support::PackageItem;

std::vector<uint8_t> scriptBytes() {
    const std::string text = "|_Start:\r\n#END()\r\n";
    return {text.begin(), text.end()};
}

TEST(StartProblem, EachFaultIsNamedAndAGoodPackageHasNone) {
    std::vector<uint8_t> damaged = buildPackage({{"./script.txt", scriptBytes(), false}});
    damaged.resize(damaged.size() - 4);  // the entry now reaches past the end
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        bool folder;
        const char* says;
    } cases[] = {
        {"no file", {}, false, "missing"},
        {"a folder", {}, true, "missing or not a regular file"},
        {"garbage", std::vector<uint8_t>(64, 0x41), false, "not a package"},
        {"other entries", buildPackage({{"./bg/a.rbp", {1, 2, 3}}}), false,
         "holds no \"./script.txt\""},
        {"damaged entry", damaged, false, "\"./script.txt\" is damaged"},
        {"good", buildPackage({{"./script.txt", scriptBytes()}}), false, ""},
    };
    for (const auto& c : cases) {
        test_support::TempFolder folder;
        const std::string path = folder.file("data/pack.mlz");
        if (c.folder) std::filesystem::create_directories(path);
        if (!c.bytes.empty()) test_support::writeBytes(path, c.bytes);
        PackReader reader;
        const std::string cause = describeStartProblem(reader, path);
        if (c.says[0] == 0) {
            EXPECT_EQ(cause, "") << c.what;
        } else {
            EXPECT_NE(cause.find(c.says), std::string::npos) << c.what << ": " << cause;
        }
    }
}

}  // namespace
}  // namespace zeku
