// stub until the glyphs branch lands
#pragma once
#include <cstdint>
#include <string_view>
namespace zeku {
class GlyphRenderer {
  public:
    virtual ~GlyphRenderer() = default;
    virtual bool render(std::string_view faceSjis, int weight, uint16_t code, int cellPx,
                        uint8_t* coverage) = 0;
};
}  // namespace zeku
