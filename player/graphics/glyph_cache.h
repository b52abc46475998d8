// Glyph coverage, rasterised once per face, character, size and anti-alias
// factor and kept, so a message draws from memory rather than the font.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/api/glyph_renderer.h"

namespace zeku {

class GlyphCache {
  public:
    explicit GlyphCache(GlyphRenderer* renderer = nullptr);
    void setRenderer(GlyphRenderer* renderer);
    const uint8_t* coverage(std::string_view faceSjis, int weight, uint16_t code, int size, int k);
    size_t rasterisations() const;
};

}  // namespace zeku
