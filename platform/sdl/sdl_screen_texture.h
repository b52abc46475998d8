// The streaming RGB565 texture both SDL displays show their frame buffer
// through: rectangle uploads from any row order, and one present per frame.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/api/display_back_end.h"

namespace zeku {

class SdlWindow;

class SdlScreenTexture {
  public:
    explicit SdlScreenTexture(SdlWindow& window) : window_(window) {}
    ~SdlScreenTexture() { close(); }
    SdlScreenTexture(const SdlScreenTexture&) = delete;
    SdlScreenTexture& operator=(const SdlScreenTexture&) = delete;

    // Creates a black texture of the given size and takes over the window's
    // repaint handler.
    bool open(int width, int height);
    void close();
    bool isOpen() const { return texture_ != nullptr; }

    // Copies `rect` (clipped to the texture) from pixels where screen pixel
    // (x, y) lies at origin[y * rowStride + x]; rowStride is negative for
    // bottom-up memory.
    void upload(const ScreenRect& rect, const uint16_t* origin, ptrdiff_t rowStride);
    // Shows the texture when something was uploaded since the last present.
    void presentIfChanged();
    // Shows the texture now, whether or not it changed.
    void present();
    void markChanged() { changed_ = true; }

  private:
    // False once the window took the texture down with its renderer.
    bool usable() const;

    SdlWindow& window_;
    SDL_Texture* texture_ = nullptr;
    SDL_Renderer* owner_ = nullptr;  // the renderer the texture belongs to
    unsigned ownerGeneration_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool changed_ = false;
};

}  // namespace zeku
