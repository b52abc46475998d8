// The installed font families from fontconfig.
#pragma once

#include "platform/api/font_catalog.h"

namespace zeku {

class FontconfigCatalog final : public FontCatalog {
  public:
    std::vector<FontFamily> families() override;
};

}  // namespace zeku
