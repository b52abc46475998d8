// The state a transition effect keeps inside its display object: timing,
// the piece grid, and the pieces and explosion particles it owns.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "player/graphics/display_list.h"

namespace zeku {

// A fixed array allocated once, owned, moved but never copied: the pieces
// link to each other, so a copy would point into the original.
template <typename T>
class OwnedArray {
  public:
    OwnedArray() = default;
    OwnedArray(const OwnedArray&) = delete;
    OwnedArray& operator=(const OwnedArray&) = delete;
    OwnedArray(OwnedArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}
    OwnedArray& operator=(OwnedArray&& other) noexcept {
        if (this != &other) {
            delete[] data_;
            data_ = std::exchange(other.data_, nullptr);
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    ~OwnedArray() { delete[] data_; }

    // False (and empty) when the memory is not there.
    bool allocate(int count) {
        release();
        if (count <= 0) return true;
        data_ = new (std::nothrow) T[static_cast<size_t>(count)]();
        if (data_ == nullptr) return false;
        size_ = count;
        return true;
    }
    void release() {
        delete[] data_;
        data_ = nullptr;
        size_ = 0;
    }
    int size() const { return size_; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](int i) { return data_[i]; }
    const T& operator[](int i) const { return data_[i]; }

  private:
    T* data_ = nullptr;
    int size_ = 0;
};

// One explosion tile in flight.
struct Particle {
    int32_t centreColumn = 0;
    int32_t centreRow = 0;
    int32_t offsetX = 0;  // pixels × 1000
    int32_t offsetY = 0;
    int32_t direction = 0;  // degrees
    int32_t speed = 0;      // thousandths of a pixel per step
    int32_t delay = 0;      // steps before the tile leaves
    int32_t size = 0;       // side of the square shown, pixels
    int32_t frameCount = 0;
    uint32_t startMs = 0;  // when the tile left
};

struct EffectState {
    bool active = false;
    uint32_t type = 0;
    bool removes = false;
    int16_t durationMs = 0;
    int16_t band = 0;  // band, column or tile size; the ripple's amplitude
    int16_t stagger = 0;
    int16_t speed = 0;
    int16_t paint = 0;       // screen-level pieces: paint their area grey
    int16_t order = 0;       // type 60: the piece's order field
    bool fromWhite = false;  // screen-level fades: c was non-zero
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t units = 0;
    int32_t savedX = 0;
    int32_t savedY = 0;
    uint32_t startMs = 0;
    OwnedArray<DisplayEntry> pieces;
    OwnedArray<Particle> particles;
    // A screen level the frame must take on because a screen-level fade
    // just ended or was stopped; -1 when none is waiting.
    int endScreenLevel = -1;
};

}  // namespace zeku
