// The factories behind sdl_platform.h: they hand out the SDL back ends behind
// their narrow interfaces.
#include "platform/sdl/sdl_platform.h"

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_window.h"

namespace zeku {

std::unique_ptr<HostWindow> createSdlWindow(const SdlWindowOptions& options) {
    return std::make_unique<SdlWindow>(options);
}

std::unique_ptr<DisplayBackEnd> createSdlDisplay(HostWindow& window, bool pocketPcPanel) {
    auto* sdlWindow = dynamic_cast<SdlWindow*>(&window);
    if (sdlWindow == nullptr) return nullptr;
    std::unique_ptr<DisplayBackEnd> display;
    if (pocketPcPanel) {
        display = std::make_unique<SdlPanelDisplay>(*sdlWindow);
    } else {
        display = std::make_unique<SdlGdiDisplay>(*sdlWindow);
    }
    return display;
}

std::unique_ptr<MessageBoxes> createSdlMessageBoxes() {
    return std::make_unique<SdlMessageBoxes>();
}

}  // namespace zeku
