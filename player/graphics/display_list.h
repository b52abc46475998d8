// The layered display list the redraw walks: 128 fixed anchors, layer 127
// drawn first and layer 0 last, with display objects and effect pieces
// linked in behind their layer's anchor.
#pragma once

#include <array>
#include <cstdint>

namespace zeku {

inline constexpr int kLayerCount = 128;

// What the redraw reads of a display object or effect piece. Objects keep
// this record first so the list can link them through `next`.
struct DisplayEntry {
    DisplayEntry* next = nullptr;
    uint32_t kind = 0;       // see the kinds below; anything else draws nothing
    uint32_t flags = 0;      // kEntryIgnoresScreenLevel
    uint32_t colour = 0;     // rectangle colour 0xRRGGBB
    int16_t mode = 0;        // rectangle: 0 fill, 1 add
    int16_t level = 256;     // rectangle level, or the new screen level (kind 10)
    int16_t alpha = 256;     // image opacity or rectangle alpha, 0..256
    int16_t angle = 0;       // rotated images are not drawn
    int16_t slot = -1;       // image slot
    int16_t sourceLeft = 0;  // part of the image (or the rectangle's size)
    int16_t sourceTop = 0;
    int16_t sourceRight = 0;
    int16_t sourceBottom = 0;
    int16_t left = 0;  // where that part lands on the screen
    int16_t top = 0;
    int16_t scaleX = 1000;  // per mille; scaled images are not drawn
    int16_t scaleY = 1000;
    int16_t order = 0;  // negative with alpha below 1: image skipped
    int16_t paint = 0;  // kind 10: also paint the area grey
};

inline constexpr uint32_t kEntryAnchor = 0;
inline constexpr uint32_t kEntryImage = 1;
inline constexpr uint32_t kEntryRect = 6;
inline constexpr uint32_t kEntryImageObject = 7;
inline constexpr uint32_t kEntryScreenLevel = 10;
inline constexpr uint32_t kEntryImagePiece = 30;
inline constexpr uint32_t kEntryIgnoresScreenLevel = 2;

inline bool isImageEntry(uint32_t kind) {
    return kind == kEntryImage || kind == kEntryImageObject || kind == kEntryImagePiece;
}

class DisplayList {
  public:
    DisplayList() { reset(); }
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Empties every layer: anchor L links to anchor L − 1, anchor 0 ends it.
    void reset();
    // Links `entry` directly behind its layer's anchor, so within a layer the
    // last inserted is drawn first. Layers outside 0..127 insert nothing.
    void insert(int layer, DisplayEntry& entry) { insertChain(layer, entry, entry); }
    // The same for a chain first → ... → last already linked through `next`.
    void insertChain(int layer, DisplayEntry& first, DisplayEntry& last);

    const DisplayEntry* head() const { return &anchors_[kLayerCount - 1]; }

  private:
    std::array<DisplayEntry, kLayerCount> anchors_;
};

}  // namespace zeku
