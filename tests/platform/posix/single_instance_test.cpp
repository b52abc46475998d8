// One instance per (class, title): later starts are turned away and raise the
// first one exactly once each; names never clash or escape their folder.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/single_instance.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kClass = "ZekuTest";
constexpr std::string_view kTitle = "\x83\x51\x81\x5B\x83\x80";  // ゲーム in Shift-JIS

// Points XDG_RUNTIME_DIR at a fresh folder for each test.
class SingleInstance : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeku-si-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_RUNTIME_DIR");
        fs::remove_all(folder_);
    }

    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            result.push_back(entry.path().filename().string());
        }
        return result;
    }
    fs::path socketPath() const {
        for (const std::string& name : names()) {
            if (name.ends_with(".sock")) return folder_ / name;
        }
        return {};
    }
    int connectToSocket() const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath().c_str(), sizeof address.sun_path - 1);
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        return fd;
    }

    fs::path folder_;
};

TEST_F(SingleInstance, LaterStartsAreTurnedAwayAndRaiseTheFirstOnceEach) {
    auto first = acquireInstance(kClass, kTitle);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->raiseRequested());

    EXPECT_EQ(acquireInstance(kClass, kTitle), nullptr);
    EXPECT_TRUE(first->raiseRequested());
    EXPECT_FALSE(first->raiseRequested());

    // Two starts before the next poll: two raises, not one, not three.
    EXPECT_EQ(acquireInstance(kClass, kTitle), nullptr);
    EXPECT_EQ(acquireInstance(kClass, kTitle), nullptr);
    EXPECT_TRUE(first->raiseRequested());
    EXPECT_TRUE(first->raiseRequested());
    EXPECT_FALSE(first->raiseRequested());
}

TEST_F(SingleInstance, DifferentTitlesAndClassesDoNotConflict) {
    // あ and い sanitize to the same letters; only the hash tells them apart.
    auto a = acquireInstance(kClass, "\x82\xA0");
    auto b = acquireInstance(kClass, "\x82\xA2");
    auto c = acquireInstance("Other", "\x82\xA0");
    // Moving a byte between class and title makes a different pair too.
    auto d = acquireInstance("ab", "c");
    auto e = acquireInstance("a", "bc");
    EXPECT_TRUE(a && b && c && d && e);
    EXPECT_EQ(acquireInstance(kClass, "\x82\xA2"), nullptr);
    EXPECT_FALSE(a->raiseRequested());
    EXPECT_TRUE(b->raiseRequested());
}

TEST_F(SingleInstance, ReleaseRemovesTheSocketAndAStaleOneIsReplaced) {
    auto first = acquireInstance(kClass, kTitle);
    ASSERT_NE(first, nullptr);
    const fs::path socket = socketPath();
    first.reset();
    EXPECT_FALSE(fs::exists(socket));

    std::ofstream(socket) << "left by a crash";
    auto next = acquireInstance(kClass, kTitle);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(acquireInstance(kClass, kTitle), nullptr);
    EXPECT_TRUE(next->raiseRequested());
}

TEST_F(SingleInstance, SlowForeignAndStalledClientsAreHandled) {
    auto first = acquireInstance(kClass, kTitle);
    ASSERT_NE(first, nullptr);

    // Accepted before the request arrives, which then comes in pieces.
    const int slow = connectToSocket();
    EXPECT_FALSE(first->raiseRequested());
    ASSERT_EQ(send(slow, "rai", 3, MSG_NOSIGNAL), 3);
    EXPECT_FALSE(first->raiseRequested());
    ASSERT_EQ(send(slow, "se\n", 3, MSG_NOSIGNAL), 3);
    EXPECT_TRUE(first->raiseRequested());
    close(slow);

    const int foreign = connectToSocket();
    ASSERT_EQ(send(foreign, "hello\n", 6, MSG_NOSIGNAL), 6);
    EXPECT_FALSE(first->raiseRequested());
    close(foreign);

    // Clients that connect and say nothing must not starve a real request.
    std::vector<int> stalled;
    for (int i = 0; i < 20; ++i) {
        stalled.push_back(connectToSocket());
        EXPECT_FALSE(first->raiseRequested());
    }
    EXPECT_EQ(acquireInstance(kClass, kTitle), nullptr);
    EXPECT_TRUE(first->raiseRequested());
    for (int fd : stalled)
        close(fd);
}

TEST_F(SingleInstance, NamesStayInsideTheFolderAndFitASocketAddress) {
    auto odd = acquireInstance("../../escape", "a/b\\c\n..");
    const std::string longTitle(500, 'x');
    auto longOne = acquireInstance(kClass, longTitle);
    ASSERT_TRUE(odd && longOne);
    const std::vector<std::string> all = names();
    EXPECT_EQ(all.size(), 4u);  // two locks and two sockets, nothing elsewhere
    for (const std::string& name : all) {
        EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                         "0123456789_-."),
                  std::string::npos)
            << name;
    }
    EXPECT_EQ(acquireInstance(kClass, longTitle), nullptr);
    EXPECT_TRUE(longOne->raiseRequested());
}

}  // namespace
}  // namespace zeku
