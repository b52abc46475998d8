// The program folder must be the folder the running test binary lives in,
// whatever the working directory.
#include <errno.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/api/program_folder.h"

namespace zeku {
namespace {

TEST(ProgramFolder, HoldsTheRunningExecutable) {
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');

    // The name we were started by, found in that folder, is this very file.
    struct stat self {};
    struct stat found {};
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    ASSERT_EQ(stat((folder + program_invocation_short_name).c_str(), &found), 0) << folder;
    EXPECT_EQ(found.st_dev, self.st_dev);
    EXPECT_EQ(found.st_ino, self.st_ino);
}

}  // namespace
}  // namespace zeku
