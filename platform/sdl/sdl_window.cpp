// SdlWindow: window and renderer creation, full-screen switching, and the
// translation of SDL events into the Windows message queue the shell reads.
#include "platform/sdl/sdl_window.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/api/text_codec.h"
#include "platform/sdl/sdl_failure.h"
#include "platform/sdl/sdl_keys.h"

namespace zeku {
namespace {

constexpr uintptr_t kMkLButton = 0x0001;
// Key-message lParam bits: repeat count 1, previous state, transition.
constexpr intptr_t kKeyRepeatCount = 1;
constexpr intptr_t kKeyWasDown = intptr_t{1} << 30;
constexpr intptr_t kKeyReleased = intptr_t{1} << 31;

// Several windows (tests) may share SDL's video subsystem; the last one out
// shuts it down.
int videoUsers = 0;

void quitVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // With no other subsystem left (audio may still run), let SDL also drop
    // what it keeps outside them, such as its D-Bus connection.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool acquireVideo() {
    if (videoUsers == 0) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            noteSdlError("no video driver");
            return false;
        }
        // A player nobody can see would run until killed, holding the
        // single-instance lock against the next start.
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!videoDriverAllowed(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER))) {
            noteSdlFailure(std::string("no display found: SDL offered only its \"") + driver +
                           "\" video driver, which shows nothing; set SDL_VIDEODRIVER=" + driver +
                           " to run on it anyway");
            quitVideo();
            return false;
        }
    }
    ++videoUsers;
    return true;
}

void releaseVideo() {
    if (--videoUsers == 0) quitVideo();
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return SDL_tolower(static_cast<unsigned char>(x)) ==
                      SDL_tolower(static_cast<unsigned char>(y));
           });
}

int clampInt(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// Finger positions arrive normalised to the renderer's logical viewport.
int fingerToLogical(float normalised, int size) {
    return clampInt(static_cast<int>(normalised * static_cast<float>(size)), 0, size - 1);
}

}  // namespace

int initialWindowScale(int logicalWidth, int logicalHeight, int usableWidth, int usableHeight) {
    if (logicalWidth <= 0 || logicalHeight <= 0) return 1;
    int byWidth = usableWidth * 4 / 5 / logicalWidth;
    int byHeight = usableHeight * 4 / 5 / logicalHeight;
    return std::max(1, std::min(byWidth, byHeight));
}

int chosenWindowScale(int choice, int logicalWidth, int logicalHeight, int usableWidth,
                      int usableHeight) {
    if (choice > 0) return choice;
    if (choice != kWindowScaleFit) {
        return initialWindowScale(logicalWidth, logicalHeight, usableWidth, usableHeight);
    }
    if (logicalWidth <= 0 || logicalHeight <= 0) return 1;
    return std::max(1, std::min(usableWidth / logicalWidth, usableHeight / logicalHeight));
}

bool videoDriverAllowed(const char* driver, const char* requested) {
    if (driver == nullptr) return false;
    const std::string_view name = driver;
    if (!sameNameIgnoringCase(name, "offscreen") && !sameNameIgnoringCase(name, "dummy")) {
        return true;
    }
    // SDL reads the list the same way: comma-separated, letter case ignored.
    std::string_view list = requested != nullptr ? requested : "";
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (sameNameIgnoringCase(list.substr(0, comma), name)) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

SdlWindow::~SdlWindow() {
    destroy();
}

bool SdlWindow::create(const WindowSpec& spec) {
    destroy();
    if (spec.clientWidth <= 0 || spec.clientHeight <= 0) return false;
    if (!acquireVideo()) return false;
    videoHeld_ = true;
    width_ = spec.clientWidth;
    height_ = spec.clientHeight;

    // Even a full-screen window gets a sensible windowed size to fall back to
    // when the user switches full screen off.
    int scale = options_.scale > 0 ? options_.scale : 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        scale = chosenWindowScale(options_.scale, width_, height_, usable.w, usable.h);
    }
    bool fullScreen = spec.fullScreen;
    if (options_.screen != SdlWindowOptions::Screen::AsBuilt) {
        fullScreen = options_.screen == SdlWindowOptions::Screen::FullScreen;
    }
    topmost_ = spec.topmost;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (fullScreen && topmost_) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    window_ = SDL_CreateWindow(titleUtf8_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               width_ * scale, height_ * scale, flags);
    if (window_ == nullptr) {
        noteSdlError("cannot create the window");
        destroy();
        return false;
    }
    // Below one screen pixel per game pixel the picture would lose rows.
    SDL_SetWindowMinimumSize(window_, width_, height_);

    // No vsync: the shell paces frames with its own 16 ms clock, and a
    // present that waits for the display would stretch every frame.
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    ++rendererGeneration_;
    if (renderer_ == nullptr || SDL_RenderSetLogicalSize(renderer_, width_, height_) != 0) {
        noteSdlError("cannot draw in the window");
        destroy();
        return false;
    }
    // Whole-number scaling keeps the pixel art sharp; SDL then also maps
    // mouse and finger positions back into logical coordinates.
    SDL_RenderSetIntegerScale(renderer_, SDL_TRUE);

    gamepads_.open();
    // The player reads keys, never text: no input method on the window.
    SDL_StopTextInput();
    paintPending_ = false;
    fingerDown_ = false;
    swallowed_.reset();
    return true;
}

void SdlWindow::destroy() {
    gamepads_.close();
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
    if (videoHeld_) {
        videoHeld_ = false;
        releaseVideo();
    }
    paintPending_ = false;
}

void SdlWindow::setTitle(std::string_view sjisTitle) {
    titleUtf8_ = sjisToUtf8(sjisTitle);
    if (window_ != nullptr) SDL_SetWindowTitle(window_, titleUtf8_.c_str());
}

void SdlWindow::show() {
    if (window_ != nullptr) SDL_ShowWindow(window_);
}

void SdlWindow::bringToFront() {
    if (window_ == nullptr) return;
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0) SDL_RestoreWindow(window_);
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

bool SdlWindow::isFullScreen() const {
    return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

void SdlWindow::setFullScreen(bool on) {
    if (window_ == nullptr || on == isFullScreen()) return;
    // SDL leaves the stacking alone while a window fills the screen, so the
    // topmost state changes on the windowed side of the switch.
    if (on && topmost_) SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
    if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        if (on && topmost_) SDL_SetWindowAlwaysOnTop(window_, SDL_FALSE);
        return;
    }
    if (!on && topmost_) SDL_SetWindowAlwaysOnTop(window_, SDL_FALSE);
    lostPicture();
}

bool SdlWindow::peekMessage(Message& out) {
    if (window_ != nullptr) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            translate(event);
    }
    if (!queue_.empty()) {
        out = queue_.front();
        queue_.pop_front();
        return true;
    }
    // As on Windows, a paint request waits until nothing else does and then
    // stands for every exposure since the last one.
    if (paintPending_) {
        paintPending_ = false;
        out = Message{kWmPaint, 0, 0};
        return true;
    }
    return false;
}

void SdlWindow::postMessage(const Message& message) {
    queue_.push_back(message);
}

void SdlWindow::translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            pushClose();
            break;
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            translateKey(event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            // Touches are taken from the finger events; SDL's mouse copies of
            // them would arrive twice.
            if (event.button.which == SDL_TOUCH_MOUSEID) break;
            if (event.button.button == SDL_BUTTON_RIGHT) {
                // The right button plays the menu key B.
                pushPointer(event.type == SDL_MOUSEBUTTONDOWN ? kWmRButtonDown : kWmRButtonUp, 0,
                            event.button.x, event.button.y);
                break;
            }
            if (event.button.button != SDL_BUTTON_LEFT) break;
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                pushPointer(kWmLButtonDown, kMkLButton, event.button.x, event.button.y);
            } else {
                pushPointer(kWmLButtonUp, 0, event.button.x, event.button.y);
            }
            break;
        case SDL_MOUSEWHEEL: {
            if (event.wheel.which == SDL_TOUCH_MOUSEID || event.wheel.y == 0) break;
            const int notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            queue_.push_back(Message{kWmMouseWheel, packWheel(notches * kWheelDelta), 0});
            break;
        }
        case SDL_MOUSEMOTION:
            if (event.motion.which == SDL_TOUCH_MOUSEID) break;
            pushPointer(kWmMouseMove, (event.motion.state & SDL_BUTTON_LMASK) ? kMkLButton : 0,
                        event.motion.x, event.motion.y);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            translateFinger(event.tfinger);
            break;
        default:
            gamepads_.translate(event, queue_);
            break;
    }
}

void SdlWindow::translateKey(const SDL_KeyboardEvent& key) {
    SDL_Scancode scancode = key.keysym.scancode;
    bool down = key.type == SDL_KEYDOWN;
    if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES && swallowed_[scancode]) {
        if (!down) swallowed_[scancode] = false;
        return;
    }
    SDL_Keycode sym = key.keysym.sym;
    bool altEnter = (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT);
    // Escape is the way out of full screen users expect; in a window it is
    // a key like any other.
    bool leaveFullScreen = sym == SDLK_ESCAPE && key.repeat == 0 && isFullScreen();
    if (down && (sym == SDLK_F11 || altEnter || leaveFullScreen)) {
        if (key.repeat == 0) setFullScreen(!isFullScreen());
        if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES) {
            swallowed_[scancode] = true;
        }
        return;
    }
    uint16_t code = virtualKeyFromSdl(sym, scancode);
    if (code == 0) return;
    intptr_t lParam = kKeyRepeatCount;
    if (!down) {
        lParam |= kKeyWasDown | kKeyReleased;
    } else if (key.repeat != 0) {
        lParam |= kKeyWasDown;
    }
    queue_.push_back(Message{down ? kWmKeyDown : kWmKeyUp, code, lParam});
}

void SdlWindow::translateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            pushClose();
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            lostPicture();
            break;
        default:
            break;
    }
}

void SdlWindow::translateFinger(const SDL_TouchFingerEvent& finger) {
    // Touches SDL makes up from the mouse would repeat the mouse messages.
    if (finger.touchId == SDL_MOUSE_TOUCHID) return;
    int x = fingerToLogical(finger.x, width_);
    int y = fingerToLogical(finger.y, height_);
    if (finger.type == SDL_FINGERDOWN) {
        if (fingerDown_) return;
        fingerDown_ = true;
        finger_ = finger.fingerId;
        pushPointer(kWmLButtonDown, kMkLButton, x, y);
        return;
    }
    if (!fingerDown_ || finger.fingerId != finger_) return;
    if (finger.type == SDL_FINGERMOTION) {
        pushPointer(kWmMouseMove, kMkLButton, x, y);
    } else {
        fingerDown_ = false;
        pushPointer(kWmLButtonUp, 0, x, y);
    }
}

void SdlWindow::pushPointer(uint32_t code, uintptr_t buttons, int x, int y) {
    // Outside the letterboxed picture SDL reports positions beyond the
    // logical screen; the game only knows its own screen.
    Message message{code, buttons,
                    packPoint(clampInt(x, 0, width_ - 1), clampInt(y, 0, height_ - 1))};
    // Moves pile up faster than frames run; only the latest position counts.
    if (code == kWmMouseMove && !queue_.empty() && queue_.back().code == kWmMouseMove) {
        queue_.back() = message;
        return;
    }
    queue_.push_back(message);
}

void SdlWindow::pushClose() {
    // Closing the last window brings both a window close and a quit event.
    for (const Message& waiting : queue_) {
        if (waiting.code == kWmClose) return;
    }
    queue_.push_back(Message{kWmClose, 0, 0});
}

void SdlWindow::lostPicture() {
    if (repaint_) repaint_();
    paintPending_ = true;
}

}  // namespace zeku
