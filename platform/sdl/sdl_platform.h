// Entry points to the SDL back ends for the programs' main(), which must not
// see SDL's headers (SDL would otherwise rename main on some hosts).
#pragma once

#include <memory>

#include "platform/api/audio_device.h"
#include "platform/api/device_status.h"
#include "platform/api/display_back_end.h"
#include "platform/api/host_window.h"
#include "platform/api/message_box.h"
#include "platform/sdl/sdl_window_options.h"

namespace zeku {

std::unique_ptr<HostWindow> createSdlWindow(const SdlWindowOptions& options = {});
// `window` must come from createSdlWindow() and outlive the display; null
// otherwise. The windowed build takes the GDI emulation, the full-screen
// build (pocketPcPanel) the raw landscape frame buffer. The window's pad then
// plays the display's START key on Start, so pad and keyboard agree.
std::unique_ptr<DisplayBackEnd> createSdlDisplay(HostWindow& window, bool pocketPcPanel);
// The dialog also shows, and standard error prints, why SDL failed.
std::unique_ptr<MessageBoxes> createSdlMessageBoxes();
// The default sound output. Its open() fails on a machine without a sound
// device; the player then runs silent.
std::unique_ptr<AudioDevice> createSdlAudio();
// The desktop's clock, battery, memory and storage for the menu's status line.
std::unique_ptr<DeviceStatus> createSdlDeviceStatus();

}  // namespace zeku
