// Shared pieces of the SDL tests that need an X display: the skip rule, a
// window on the software renderer, draining host noise, and pixel readback.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_window.h"

namespace zeku::sdltest {

inline bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && display[0] != '\0';
}

// The software renderer keeps the presented picture in the window surface,
// so it can be read back after a present.
inline bool createTestWindow(SdlWindow& window, int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    WindowSpec spec;
    spec.clientWidth = width;
    spec.clientHeight = height;
    if (!window.create(spec)) return false;
    // Keep the server's pointer off the centred window, so mapping it sends
    // no mouse moves into the tests' messages.
    SDL_WarpMouseGlobal(0, 0);
    window.show();
    return true;
}

// Takes every message the host produced so far (mapping, exposure, focus).
inline std::vector<Message> drainMessages(SdlWindow& window, int rounds = 5) {
    std::vector<Message> taken;
    for (int round = 0; round < rounds; ++round) {
        SDL_Delay(10);
        Message message;
        while (window.peekMessage(message))
            taken.push_back(message);
    }
    return taken;
}

// The RGB565 colour of logical pixel (x, y) as last presented, read back at
// the display's own precision. The test windows are a whole multiple of the
// logical size, so the picture starts at the window's corner.
inline uint16_t presentedPixel(SdlWindow& window, int x, int y) {
    SDL_Renderer* renderer = window.renderer();
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight);
    float scaleX = 1;
    float scaleY = 1;
    SDL_RenderGetScale(renderer, &scaleX, &scaleY);
    std::vector<uint16_t> pixels(static_cast<size_t>(outputWidth) * outputHeight);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB565, pixels.data(),
                             outputWidth * 2) != 0) {
        ADD_FAILURE() << "read back failed: " << SDL_GetError();
        return 0xFFFF;
    }
    int px = static_cast<int>((static_cast<float>(x) + 0.5f) * scaleX);
    int py = static_cast<int>((static_cast<float>(y) + 0.5f) * scaleY);
    return pixels[static_cast<size_t>(py) * outputWidth + px];
}

}  // namespace zeku::sdltest
