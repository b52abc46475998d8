// Default message handling of the bottom class level.
#include "player/shell/window_base.h"

namespace zeku {

WindowBase::WindowBase(const BuildConstants& build, PlatformServices& platform)
    : build_(build), platform_(platform), title_(build.title) {}

WindowBase::~WindowBase() {
    if (platform_.window.exists()) platform_.window.destroy();
}

bool WindowBase::createWindow() {
    WindowSpec spec;
    spec.clientWidth = build_.screenWidth;
    spec.clientHeight = build_.screenHeight;
    spec.fullScreen = build_.fullScreen;
    spec.topmost = (build_.windowExStyle & 0x8u) != 0;
    if (!platform_.window.create(spec)) return false;
    platform_.window.setTitle(title_);
    return true;
}

void WindowBase::destroyWindow() {
    if (!platform_.window.exists()) return;
    handleMessage(Message{kWmDestroy, 0, 0});
    platform_.window.destroy();
}

void WindowBase::dispatch(const Message& message) {
    if (!platform_.window.exists()) return;
    handleMessage(message);
}

void WindowBase::postQuit(int code) {
    platform_.window.postMessage(Message{kWmQuit, static_cast<uintptr_t>(code), 0});
}

intptr_t WindowBase::handleMessage(const Message& message) {
    switch (message.code) {
        case kWmDestroy:
            postQuit(0);
            return 0;
        case kWmClose:
            destroyWindow();
            return 0;
        default:
            // Painting, sizing, erasing and input are the derived levels' business;
            // the host window itself keeps the client area black.
            return 0;
    }
}

}  // namespace zeku
