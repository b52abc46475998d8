// The installed font families, as the message font menu offers them.
#pragma once

#include <string>
#include <vector>

namespace zeku {

struct FontFamily {
    std::string sjisName;   // the family's name, Japanese where the font has one
    bool scalable = false;  // an outline (TrueType or OpenType) font
    // Whether it holds the kana and kanji of the game's text; the catalog
    // says so where it can tell.
    bool drawsJapanese = true;
};

class FontCatalog {
  public:
    virtual ~FontCatalog() = default;
    // In a stable order; empty when nothing can be enumerated.
    virtual std::vector<FontFamily> families() = 0;
};

}  // namespace zeku
