// The one window of the player as the host gives it: creation, title, the
// message queue that carries host input as Windows messages, and raising.
#pragma once

#include <string_view>

#include "platform/api/window_messages.h"

namespace zeku {

struct WindowSpec {
    int clientWidth = 0;  // logical screen size: the client area is exactly this
    int clientHeight = 0;
    bool fullScreen = false;
    bool topmost = false;
};

class HostWindow {
  public:
    virtual ~HostWindow() = default;

    virtual bool create(const WindowSpec& spec) = 0;
    virtual void destroy() = 0;
    virtual bool exists() const = 0;
    // Titles are Shift-JIS; the back end converts them for the host.
    virtual void setTitle(std::string_view sjisTitle) = 0;
    virtual void show() = 0;
    virtual void bringToFront() = 0;
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;

    // Takes the next waiting message, collecting host events first; false
    // when none waits. Never blocks.
    virtual bool peekMessage(Message& out) = 0;
    virtual void postMessage(const Message& message) = 0;
};

}  // namespace zeku
