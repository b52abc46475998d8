// SdlScreenTexture: clipped rectangle uploads into a streaming texture and the
// clear-copy-present sequence, also run again when the window loses its picture.
#include "platform/sdl/sdl_screen_texture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_failure.h"
#include "platform/sdl/sdl_window.h"

namespace zeku {

bool SdlScreenTexture::open(int width, int height) {
    close();
    SDL_Renderer* renderer = window_.renderer();
    if (renderer == nullptr || width <= 0 || height <= 0) return false;
    texture_ = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (texture_ == nullptr) {
        noteSdlError("cannot make the screen texture");
        return false;
    }
    owner_ = renderer;
    ownerGeneration_ = window_.rendererGeneration();
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    width_ = width;
    height_ = height;
    // A streaming texture starts undefined; an exposure before the first
    // frame must show black, not garbage.
    std::vector<uint16_t> black(static_cast<size_t>(width) * static_cast<size_t>(height));
    upload(ScreenRect{0, 0, width, height}, black.data(), width);
    changed_ = false;
    window_.setRepaintHandler([this] { present(); });
    return true;
}

void SdlScreenTexture::close() {
    if (texture_ == nullptr) return;
    window_.setRepaintHandler(nullptr);
    // A renderer frees its textures with it, so when the window was destroyed
    // first there is nothing left to free.
    if (usable()) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    owner_ = nullptr;
    width_ = height_ = 0;
    changed_ = false;
}

bool SdlScreenTexture::usable() const {
    return texture_ != nullptr && window_.renderer() == owner_ &&
           window_.rendererGeneration() == ownerGeneration_;
}

void SdlScreenTexture::upload(const ScreenRect& rect, const uint16_t* origin, ptrdiff_t rowStride) {
    if (!usable()) return;
    int left = std::max(rect.left, 0);
    int top = std::max(rect.top, 0);
    int right = std::min(rect.right, width_);
    int bottom = std::min(rect.bottom, height_);
    if (left >= right || top >= bottom) return;

    SDL_Rect area{left, top, right - left, bottom - top};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, &area, &pixels, &pitch) != 0) return;
    auto* out = static_cast<uint8_t*>(pixels);
    size_t rowBytes = static_cast<size_t>(area.w) * sizeof(uint16_t);
    for (int y = top; y < bottom; ++y) {
        std::memcpy(out, origin + y * rowStride + left, rowBytes);
        out += pitch;
    }
    SDL_UnlockTexture(texture_);
    changed_ = true;
}

void SdlScreenTexture::presentIfChanged() {
    if (changed_) present();
}

void SdlScreenTexture::present() {
    changed_ = false;
    if (!usable()) return;
    SDL_Renderer* renderer = owner_;
    // The back buffer is undefined after every present, so each frame is
    // drawn whole: the border is cleared and the picture copied again.
    SDL_Rect area{0, 0, width_, height_};
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture_, nullptr, &area);
    SDL_RenderPresent(renderer);
}

}  // namespace zeku
