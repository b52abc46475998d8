// The player's window on SDL2: an integer-scaled renderer of the logical
// screen, and SDL events turned into the Windows messages the shell handles.
#pragma once

#include <SDL.h>

#include <bitset>
#include <deque>
#include <functional>
#include <string>

#include "platform/api/host_window.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_window_options.h"

namespace zeku {

// The scale of the first windowed size: the largest whole multiple of the
// logical screen that fits in 80% of the desktop's usable area, at least 1.
int initialWindowScale(int logicalWidth, int logicalHeight, int usableWidth, int usableHeight);
// The scale the window opens at for the user's choice (SdlWindowOptions::scale).
int chosenWindowScale(int choice, int logicalWidth, int logicalHeight, int usableWidth,
                      int usableHeight);

// Whether the player may run on SDL's video driver `driver`. The offscreen
// and dummy drivers show nothing; SDL falls back to them when no display is
// reachable, so they are taken only when `requested` (SDL_VIDEODRIVER, a
// comma-separated list) names them.
bool videoDriverAllowed(const char* driver, const char* requested);

class SdlWindow final : public HostWindow {
  public:
    explicit SdlWindow(const SdlWindowOptions& options = {}) : options_(options) {}
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool create(const WindowSpec& spec) override;
    void destroy() override;
    bool exists() const override { return window_ != nullptr; }
    void setTitle(std::string_view sjisTitle) override;
    void show() override;
    void bringToFront() override;
    int clientWidth() const override { return width_; }
    int clientHeight() const override { return height_; }
    bool peekMessage(Message& out) override;
    void postMessage(const Message& message) override;

    // For the display back ends bound to this window.
    SDL_Window* sdlWindow() const { return window_; }
    SDL_Renderer* renderer() const { return renderer_; }
    // Counts the renderers created, so a texture can tell that the renderer
    // it came from is gone even when a new one got the same address.
    unsigned rendererGeneration() const { return rendererGeneration_; }
    // Called when the host has lost the shown picture (exposure, resize, full
    // screen switch), so the display can show its last frame again at once.
    void setRepaintHandler(std::function<void()> handler) { repaint_ = std::move(handler); }

    bool isFullScreen() const;
    // A topmost window is topmost only while it fills the screen; in a
    // window on a desktop it would cover everything else.
    void setFullScreen(bool on);

  private:
    void translate(const SDL_Event& event);
    void translateKey(const SDL_KeyboardEvent& key);
    void translateWindowEvent(const SDL_WindowEvent& event);
    void translateFinger(const SDL_TouchFingerEvent& finger);
    void pushPointer(uint32_t code, uintptr_t buttons, int x, int y);
    void pushClose();
    void lostPicture();

    SdlWindowOptions options_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    bool topmost_ = false;  // asked for by the build
    unsigned rendererGeneration_ = 0;
    bool videoHeld_ = false;
    int width_ = 0;
    int height_ = 0;
    std::string titleUtf8_;
    std::deque<Message> queue_;
    bool paintPending_ = false;
    std::function<void()> repaint_;
    // The one finger that acts as the stylus; other fingers are ignored.
    bool fingerDown_ = false;
    SDL_FingerID finger_ = 0;
    // Keys whose press switched the full screen: their repeats and release
    // are not passed on either.
    std::bitset<SDL_NUM_SCANCODES> swallowed_;
    SdlGamepads gamepads_;
};

}  // namespace zeku
