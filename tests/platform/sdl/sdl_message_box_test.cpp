// Tests for SdlMessageBoxes where no dialog can open: the message must still
// reach the user on standard error, converted from Shift-JIS, with the reason
// SDL gave for the failure.
#include "platform/sdl/sdl_message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/sdl/sdl_failure.h"

namespace zeku {
namespace {

std::optional<std::string> takeEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    std::string saved = value;
    unsetenv(name);
    return saved;
}

TEST(SdlMessageBoxes, WithoutADisplayTheMessageAndSdlsReasonGoToStandardError) {
    std::optional<std::string> x11 = takeEnv("DISPLAY");
    std::optional<std::string> wayland = takeEnv("WAYLAND_DISPLAY");
    struct Case {
        const char* reason;  // noted by the step that failed, or none
        const char* printed;
    };
    const Case cases[] = {
        {"no video driver: x11 not available",
         "Error: \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC (no video driver: x11 not available)\n"},
        // A reason is told once: a later message does not repeat it.
        {nullptr, "Error: \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\n"},
        {"", "Error: \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\n"},
    };
    for (const Case& c : cases) {
        if (c.reason != nullptr) noteSdlFailure(c.reason);
        testing::internal::CaptureStderr();
        SdlMessageBoxes().show("\x83\x47\x83\x89\x81\x5B", "Error");  // "エラー" in Shift-JIS
        // Dialog helpers SDL tries may add lines of their own.
        const std::string printed = testing::internal::GetCapturedStderr();
        const size_t at = printed.find(c.printed);
        EXPECT_NE(at, std::string::npos) << printed;
        EXPECT_EQ(printed.find("Error: ", at + 1), std::string::npos) << printed;
    }
    if (x11) setenv("DISPLAY", x11->c_str(), 1);
    if (wayland) setenv("WAYLAND_DISPLAY", wayland->c_str(), 1);
}

}  // namespace
}  // namespace zeku
