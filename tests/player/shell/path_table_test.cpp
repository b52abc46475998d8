// Where the player's files live: beside the program when it may write
// there, in the user's XDG folders (one per game) when it may not; packages
// and music always from the program's "data/".
#include "player/shell/path_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

TEST(PathTable, WhereWrittenFilesGo) {
    const UserFolders user{"/home/u/.config/", "/home/u/.local/share/"};
    struct Case {
        const char* name;
        PathFacts facts;
        const char* settingsFile;
        const char* settingsSeed;
        const char* saveFolder;
    };
    const Case cases[] = {
        {"writable copy", {true, true, user}, "/opt/torune/zeku.cfg", "", "/opt/torune/data/"},
        {"installed copy",
         {false, false, user},
         "/home/u/.config/zeku/torune/zeku.cfg",
         "/opt/torune/zeku.cfg",
         "/home/u/.local/share/zeku/torune/"},
        {"only data/ writable",
         {false, true, user},
         "/home/u/.config/zeku/torune/zeku.cfg",
         "/opt/torune/zeku.cfg",
         "/opt/torune/data/"},
        {"no home: stay beside the program",
         {false, false, {}},
         "/opt/torune/zeku.cfg",
         "",
         "/opt/torune/data/"},
    };
    for (const Case& c : cases) {
        const PathTable paths = makePathTable("/opt/torune", "data/pack.mlz", c.facts);
        EXPECT_EQ(paths.settingsFile, c.settingsFile) << c.name;
        EXPECT_EQ(paths.settingsSeed, c.settingsSeed) << c.name;
        EXPECT_EQ(paths.saveFolder, c.saveFolder) << c.name;
        EXPECT_EQ(paths.musicFolder, "/opt/torune/data/") << c.name;
        EXPECT_EQ(paths.imagePackage, "/opt/torune/data/pack.mlz") << c.name;
    }
}

TEST(PathTable, GameFolderNames) {
    struct Case {
        const char* folder;
        const char* name;
    };
    for (const Case c : {Case{"/opt/torune/", "torune"}, Case{"/opt/torune", "torune"},
                         Case{"games//zeku demo//", "zeku demo"}, Case{"./", "default"},
                         Case{"/", "default"}, Case{"", "default"}, Case{"../", "default"}}) {
        EXPECT_EQ(gameFolderName(c.folder), c.name) << c.folder;
    }
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_) {
            setenv(name_, old_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

TEST(PathTable, HostFolders) {
    test_support::TempFolder folder;
    const std::string program = folder.file("torune") + "/";
    std::filesystem::create_directories(program + "data");
    const ScopedEnv config("XDG_CONFIG_HOME", folder.file("config"));
    const ScopedEnv data("XDG_DATA_HOME", folder.file("share"));

    const PathTable writable = makePathTable(program, "data/pack.mlz");
    EXPECT_EQ(writable.settingsFile, program + "zeku.cfg");
    EXPECT_EQ(writable.saveFolder, program + "data/");

    // Without write permission (which root has anyway) the XDG folders are used.
    ::chmod(program.c_str(), 0555);
    ::chmod((program + "data").c_str(), 0555);
    if (::geteuid() != 0) {
        const PathTable installed = makePathTable(program, "data/pack.mlz");
        EXPECT_EQ(installed.settingsFile, folder.file("config") + "/zeku/torune/zeku.cfg");
        EXPECT_EQ(installed.saveFolder, folder.file("share") + "/zeku/torune/");
    }
    ::chmod((program + "data").c_str(), 0755);
    ::chmod(program.c_str(), 0755);

    const UserFolders user = userFolders();
    EXPECT_EQ(user.configHome, folder.file("config") + "/");
    EXPECT_EQ(user.dataHome, folder.file("share") + "/");
    {
        // A relative XDG value does not count: the home folder's defaults do.
        const ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");
        const ScopedEnv home("HOME", folder.file("home"));
        EXPECT_EQ(userFolders().configHome, folder.file("home") + "/.config/");
    }
    // A program folder that is not there keeps its files where it says.
    EXPECT_EQ(makePathTable(program + "missing", "p").settingsFile, program + "missing/zeku.cfg");
    EXPECT_TRUE(folderWritable(program));
    EXPECT_FALSE(folderWritable(program + "missing"));
    EXPECT_TRUE(folderExists(program + "data"));
    EXPECT_FALSE(folderExists(program + "data/none"));
}

}  // namespace
}  // namespace zeku
