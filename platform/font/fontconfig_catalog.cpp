// Lists font families through fontconfig. A font names its family in
// several languages; the Japanese name is taken when there is one, as a
// Japanese system would show it, and names are sorted for a stable menu.
#include "platform/font/fontconfig_catalog.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>

#include "platform/api/text_codec.h"
#include "platform/font/font_coverage.h"

namespace zeku {
namespace {

std::string familyName(FcPattern* font) {
    FcChar8* chosen = nullptr;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (chosen == nullptr) chosen = name;
        FcChar8* lang = nullptr;
        if (FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch &&
            std::strcmp(reinterpret_cast<const char*>(lang), "ja") == 0) {
            chosen = name;
            break;
        }
    }
    return chosen != nullptr ? std::string(reinterpret_cast<const char*>(chosen)) : std::string();
}

}  // namespace

std::vector<FontFamily> FontconfigCatalog::families() {
    std::vector<FontFamily> out;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr) return out;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects =
        FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_SCALABLE, FC_CHARSET, nullptr);
    FcFontSet* fonts = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
    if (fonts != nullptr) {
        for (int i = 0; i < fonts->nfont; ++i) {
            const std::string utf8 = familyName(fonts->fonts[i]);
            if (utf8.empty()) continue;
            FcBool scalable = FcFalse;
            FcPatternGetBool(fonts->fonts[i], FC_SCALABLE, 0, &scalable);
            FontFamily family{utf8ToSjis(utf8), scalable == FcTrue, hasJapanese(fonts->fonts[i])};
            auto same = [&](const FontFamily& f) { return f.sjisName == family.sjisName; };
            auto it = std::find_if(out.begin(), out.end(), same);
            if (it == out.end()) {
                out.push_back(family);
            } else {
                it->scalable = it->scalable || family.scalable;
                it->drawsJapanese = it->drawsJapanese || family.drawsJapanese;
            }
        }
        FcFontSetDestroy(fonts);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    std::sort(out.begin(), out.end(),
              [](const FontFamily& a, const FontFamily& b) { return a.sjisName < b.sjisName; });
    return out;
}

}  // namespace zeku
