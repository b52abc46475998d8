// Tests for SdlMessageBoxes where no dialog can open: the message must still
// reach the user on standard error, converted from Shift-JIS.
#include "platform/sdl/sdl_message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace zeku {
namespace {

std::optional<std::string> takeEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    std::string saved = value;
    unsetenv(name);
    return saved;
}

TEST(SdlMessageBoxes, WithoutADisplayTheMessageGoesToStandardError) {
    std::optional<std::string> x11 = takeEnv("DISPLAY");
    std::optional<std::string> wayland = takeEnv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    SdlMessageBoxes().show("\x83\x47\x83\x89\x81\x5B", "Error");  // "エラー" in Shift-JIS
    std::string printed = testing::internal::GetCapturedStderr();
    if (x11) setenv("DISPLAY", x11->c_str(), 1);
    if (wayland) setenv("WAYLAND_DISPLAY", wayland->c_str(), 1);
    EXPECT_NE(printed.find("Error: \xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\n"), std::string::npos)
        << printed;
}

}  // namespace
}  // namespace zeku
