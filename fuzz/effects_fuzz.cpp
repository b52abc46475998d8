// Fuzzes the transition effects: a byte stream of display-object operations
// (pictures, rectangles, screen-level entries, effects of any type with
// any duration, band, stagger and speed, stops, removals, moves and frames
// far apart in time) run against a small screen. Nothing may read outside
// an image or the screen, leak pieces, or fail to end.
#include <cstdint>
#include <cstring>
#include <memory>

#include "player/graphics/display_objects.h"
#include "player/graphics/transition_effect.h"

namespace {

constexpr int kW = 80;
constexpr int kH = 60;

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return position_ >= size_; }
    uint32_t take(int count) {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i)
            v |= uint32_t{position_ < size_ ? data_[position_++] : uint8_t{0}} << (8 * i);
        return v;
    }
    int16_t short16() { return static_cast<int16_t>(static_cast<uint16_t>(take(2))); }
    int32_t int32() { return static_cast<int32_t>(take(4)); }
    // Mostly real slots, now and then one out of range.
    int slot() {
        const uint32_t v = take(1);
        return v >= 250 ? static_cast<int>(v) - 120 : static_cast<int>(v % 129);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

struct World {
    zeku::DisplayObjects objects;
    zeku::DisplayList list;
    zeku::UpdateList dirty;
    zeku::ScreenSurface screen;
    zeku::ImageSlots images;
    zeku::GraphicsState state;
    uint32_t nowMs = 0xFFFFF000u;  // the tick count wraps during the run

    World() {
        objects.screenWidth = kW;
        objects.screenHeight = kH;
        screen.create(kW, kH);
        dirty.setClip(kW, kH);
        // Images of odd sizes; slot 3 stays empty.
        const int sizes[3][2] = {{kW, kH}, {13, 7}, {1, 90}};
        for (int i = 0; i < 3; ++i) {
            images.slots[i] = std::make_unique<zeku::Image>();
            zeku::createImage(*images.slots[i], sizes[i][0], sizes[i][1]);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World world;
    zeku::DisplayObjects& objects = world.objects;
    Bytes in(data, size);
    uint32_t errorWord = 0;
    for (int op = 0; op < 4096 && !in.done(); ++op) {
        switch (in.take(1) % 9) {
            case 0: {
                const int slot = in.slot();
                const int image = static_cast<int>(in.take(1) % 5);
                const int16_t sx = in.short16(), sy = in.short16(), w = in.short16(),
                              h = in.short16(), x = in.short16(), y = in.short16();
                zeku::createPictureObject(objects, world.images, slot, image, sx, sy, w, h, x, y, 0,
                                          0, static_cast<int>(in.take(1)));
                break;
            }
            case 1: {
                const int slot = in.slot();
                const int16_t x = in.short16(), y = in.short16(), w = in.short16(),
                              h = in.short16();
                zeku::createRectObject(objects, slot, x, y, w, h, in.take(4));
                break;
            }
            case 2: {
                const int slot = in.slot();
                if (zeku::createObject(objects, slot))
                    objects.slots[slot]->entry.kind = zeku::kEntryScreenLevel;
                break;
            }
            case 3: {
                const int slot = in.slot();
                const uint32_t flags = in.take(1);
                uint32_t type = in.take(1);
                if (flags & 1) type |= in.take(3) << 8;
                const int32_t duration = (flags & 2) ? in.int32() : in.short16();
                const int32_t a = in.int32(), b = in.int32(), c = in.int32();
                if (zeku::DisplayObject* o = zeku::objectInSlot(objects, slot))
                    zeku::startEffect(*o, type, duration, a, b, c, world.nowMs, kW, kH);
                break;
            }
            case 4:
                if (zeku::DisplayObject* o = zeku::objectInSlot(objects, in.slot()))
                    zeku::stopEffect(*o);
                break;
            case 5:
                zeku::removeObject(objects, in.slot());
                break;
            case 6: {
                const uint32_t step = in.take(1);
                world.nowMs += step == 255 ? 40000u : step * 8u;
                world.dirty.clear();
                zeku::displayFrame(objects, world.list, world.dirty, world.screen, world.images,
                                   world.state, world.nowMs);
                break;
            }
            case 7: {
                const int from = in.slot();
                zeku::moveObject(objects, from, in.slot(), errorWord);
                break;
            }
            default: {
                const int slot = in.slot();
                const int16_t x = in.short16(), y = in.short16();
                zeku::setPosition(objects, slot, x, y);
                zeku::setAlpha(objects, slot, in.short16());
                break;
            }
        }
    }
    // Every effect ends within the longest duration, whatever was asked.
    world.nowMs += 40000;
    world.dirty.clear();
    zeku::displayFrame(objects, world.list, world.dirty, world.screen, world.images, world.state,
                       world.nowMs);
    for (const auto& held : objects.slots)
        if (held && held->effect.active) __builtin_trap();
    zeku::removeAllObjects(objects);
    return 0;
}
