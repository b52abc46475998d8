// Rendered message characters, kept so a character is rasterised once per
// face, weight, size and anti-alias factor however often it is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/api/glyph_renderer.h"

namespace zeku {

inline constexpr int kMaxGlyphSize = 256;  // pixels, the largest glyph size drawn
inline constexpr int kMaxAntiAlias = 4;    // the largest supersampling factor
// Past this many bytes of coverage the cache starts again from empty, so a
// long game with many sizes and faces never grows without limit.
inline constexpr size_t kGlyphCacheBudgetBytes = size_t{8} << 20;

class GlyphCache {
  public:
    explicit GlyphCache(GlyphRenderer* renderer = nullptr);  // null: every glyph is blank
    void setRenderer(GlyphRenderer* renderer);               // also empties the cache

    // The size x size coverage values c (0..255) of `code` for glyph size `size` (pixels)
    // and anti-alias factor k (clamped to 1..4): the character rendered at cell height
    // k * size, then c = the mean of each k x k block (integer division). nullptr when
    // size is <= 0 or > kMaxGlyphSize. The values stay valid until the next call.
    const uint8_t* coverage(std::string_view faceSjis, int weight, uint16_t code, int size, int k);

    void clear();
    size_t rasterisations() const { return rasterisations_; }  // renderer calls so far
    size_t bytesHeld() const { return bytes_; }

  private:
    uint64_t keyOf(std::string_view faceSjis, int weight, uint16_t code, int size, int k);

    GlyphRenderer* renderer_;
    std::vector<std::string> faces_;  // a face's index is its part of the key
    std::unordered_map<uint64_t, std::vector<uint8_t>> glyphs_;
    std::vector<uint8_t> cell_;   // the k * size square the renderer fills
    std::vector<unsigned> sums_;  // one row of block sums
    size_t bytes_ = 0;
    size_t rasterisations_ = 0;
};

}  // namespace zeku
