// Glyphs through FreeType, faces found by fontconfig: the monochrome text
// output of the message font and the menu panel.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/api/glyph_renderer.h"
#include "platform/api/notices.h"

namespace zeku {

// The largest cell height rendered; a taller request draws nothing, so a
// wild size can never ask FreeType for a huge bitmap.
inline constexpr int kMaxGlyphCellPx = 2048;

class FreeTypeGlyphRenderer final : public GlyphRenderer {
  public:
    // `notices` (may be null) hears once per face name that had to be
    // replaced, and once when no Japanese font is installed at all.
    explicit FreeTypeGlyphRenderer(Notices* notices = nullptr);
    ~FreeTypeGlyphRenderer() override;
    FreeTypeGlyphRenderer(const FreeTypeGlyphRenderer&) = delete;
    FreeTypeGlyphRenderer& operator=(const FreeTypeGlyphRenderer&) = delete;

    bool render(std::string_view faceSjis, int weight, uint16_t code, int cellPx,
                uint8_t* coverage) override;

    // The family a face name is drawn from ("" when none), as FreeType names it.
    std::string fontFamilyFor(std::string_view faceSjis);

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace zeku
