// The bottom class level of the player: owns the window's identity, creates
// it, routes its messages and gives the default handling of each.
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/window_messages.h"
#include "player/shell/build_constants.h"
#include "player/shell/platform_services.h"

namespace zeku {

class WindowBase {
  public:
    WindowBase(const BuildConstants& build, PlatformServices& platform);
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // Each level handles some messages and passes the rest to its base.
    virtual intptr_t handleMessage(const Message& message);

    // Creates the window at the logical screen size and sets the title.
    bool createWindow();
    // Sends WM_DESTROY to the handlers, then destroys the host window.
    void destroyWindow();
    // Hands a message to the handlers unless the window is already gone.
    void dispatch(const Message& message);
    void postQuit(int code);

    const BuildConstants& build() const { return build_; }
    PlatformServices& platform() { return platform_; }
    bool windowExists() const { return platform_.window.exists(); }

  protected:
    const BuildConstants& build_;
    PlatformServices& platform_;
    std::string title_;
};

}  // namespace zeku
