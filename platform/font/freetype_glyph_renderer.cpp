// Face names go through fontconfig to a font file that has Japanese
// characters; the "ＭＳ" faces the games ask for are mapped to the Japanese
// gothic or mincho installed here. Glyphs are rendered by FreeType without
// anti-aliasing at a size whose ascent + descent fill the cell, as a GDI
// font of that height would.
#include "platform/font/freetype_glyph_renderer.h"

#include "platform/font/font_coverage.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <vector>

#include "platform/api/text_codec.h"

namespace zeku {
namespace {

// Distinct face names remembered before the lookups start again.
constexpr size_t kMaxFaceNames = 64;

// The face every unknown name falls back to.
constexpr const char* kDefaultFaceUtf8 = "ＭＳ ゴシック";

// Families that stand in for the Windows Japanese faces, best first.
const char* const kGothicStandIns[] = {"IPAGothic",          "IPAexGothic", "Noto Sans CJK JP",
                                       "Source Han Sans JP", "TakaoGothic", "VL Gothic"};
const char* const kMinchoStandIns[] = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP",
                                       "Source Han Serif JP", "TakaoMincho"};

// Family names compare as fontconfig compares them: ASCII case and spaces
// ignored, every other byte exact.
bool sameName(const char* a, const char* b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (;;) {
        while (*a == ' ')
            ++a;
        while (*b == ' ')
            ++b;
        if (*a == '\0' || *b == '\0') return *a == *b;
        if (lower(static_cast<unsigned char>(*a)) != lower(static_cast<unsigned char>(*b)))
            return false;
        ++a;
        ++b;
    }
}

// The stand-ins for a Windows face name, or an empty list for other names.
std::vector<const char*> standInsFor(const std::string& utf8) {
    static const char* const kGothicNames[] = {"ＭＳ ゴシック", "ＭＳ Ｐゴシック",
                                               "MS Gothic",     "MS PGothic",
                                               "MS UI Gothic",  "ＭＳ UI Gothic"};
    static const char* const kMinchoNames[] = {"ＭＳ 明朝", "ＭＳ Ｐ明朝", "MS Mincho",
                                               "MS PMincho"};
    std::vector<const char*> out;
    for (const char* name : kGothicNames) {
        if (sameName(name, utf8.c_str()))
            out.assign(std::begin(kGothicStandIns), std::end(kGothicStandIns));
    }
    for (const char* name : kMinchoNames) {
        if (sameName(name, utf8.c_str())) {
            out.assign(std::begin(kMinchoStandIns), std::end(kMinchoStandIns));
            out.insert(out.end(), std::begin(kGothicStandIns), std::end(kGothicStandIns));
        }
    }
    return out;
}

bool isOutline(FcPattern* font) {
    FcBool scalable = FcFalse;
    return FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable == FcTrue;
}

struct FontFile {
    std::string path;
    int index = 0;
    std::string family;  // as fontconfig names it, for notices
};

bool fileOf(FcPattern* font, FontFile& out) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return false;
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    FcChar8* family = nullptr;
    FcPatternGetString(font, FC_FAMILY, 0, &family);
    out.path = reinterpret_cast<const char*>(file);
    out.index = index;
    out.family = family != nullptr ? reinterpret_cast<const char*>(family) : out.path;
    return true;
}

// A one-code-point UTF-8 string to its code point; 0 for anything else.
uint32_t singleCodePoint(const std::string& utf8) {
    if (utf8.empty()) return 0;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t length = 0;
    uint32_t cp = 0;
    if (s[0] < 0x80) {
        length = 1;
        cp = s[0];
    } else if ((s[0] & 0xE0) == 0xC0) {
        length = 2;
        cp = s[0] & 0x1Fu;
    } else if ((s[0] & 0xF0) == 0xE0) {
        length = 3;
        cp = s[0] & 0x0Fu;
    } else if ((s[0] & 0xF8) == 0xF0) {
        length = 4;
        cp = s[0] & 0x07u;
    } else {
        return 0;
    }
    if (utf8.size() != length) return 0;
    for (size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (s[i] & 0x3Fu);
    return cp == 0xFFFD ? 0 : cp;
}

bool isTrailByte(unsigned b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
bool isSjisLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The Unicode character of a Shift-JIS code, 0 when it is none: control
// codes, a lone lead byte and unassigned pairs draw nothing.
uint32_t codePointOf(uint16_t code) {
    std::string bytes;
    if (code <= 0xFF) {
        if (!((code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xDF))) return 0;
        bytes.push_back(static_cast<char>(code));
    } else {
        const unsigned lead = code >> 8;
        const unsigned trail = code & 0xFFu;
        if (!isSjisLead(lead) || !isTrailByte(trail)) return 0;
        bytes.push_back(static_cast<char>(lead));
        bytes.push_back(static_cast<char>(trail));
    }
    const uint32_t cp = singleCodePoint(sjisToUtf8(bytes));
    return cp >= 0x20 ? cp : 0;
}

}  // namespace

struct LoadedFace {
    FT_Face face = nullptr;
    long ascentUnits = 0;  // font units above the baseline in the cell
    long cellUnits = 0;    // font units of the whole cell (ascent + descent)
    int sizedCellPx = 0;   // the cell height the face is sized for now
    int ascentPx = 0;
};

struct FreeTypeGlyphRenderer::Impl {
    Notices* notices = nullptr;
    FT_Library library = nullptr;
    FcConfig* config = nullptr;  // loaded by the first face lookup
    bool started = false;
    std::map<std::string, LoadedFace> facesByFile;           // "path:index"
    std::map<std::string, std::vector<LoadedFace*>> chains;  // by Shift-JIS face name
    std::map<std::string, std::string> familyByName;
    bool toldNoFont = false;

    ~Impl() {
        for (auto& [key, loaded] : facesByFile) {
            if (loaded.face != nullptr) FT_Done_Face(loaded.face);
        }
        if (library != nullptr) FT_Done_FreeType(library);
        if (config != nullptr) FcConfigDestroy(config);
    }

    void tell(const std::string& line) {
        if (notices != nullptr) notices->notice(line);
    }

    // The font fontconfig picks for a family, when it really is that family,
    // an outline font and has Japanese characters.
    bool matchFamily(const char* family, FontFile& out) {
        if (config == nullptr) return false;
        FcPattern* pattern = FcPatternCreate();
        if (pattern == nullptr) return false;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* font = FcFontMatch(config, pattern, &result);
        bool found = false;
        if (font != nullptr) {
            bool named = false;
            FcChar8* name = nullptr;
            for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
                named = named || sameName(reinterpret_cast<const char*>(name), family);
            }
            found = named && isOutline(font) && hasJapanese(font) && fileOf(font, out);
            FcPatternDestroy(font);
        }
        FcPatternDestroy(pattern);
        return found;
    }

    bool resolveName(const std::string& utf8, FontFile& out) {
        const std::vector<const char*> standIns = standInsFor(utf8);
        if (standIns.empty()) return !utf8.empty() && matchFamily(utf8.c_str(), out);
        for (const char* family : standIns) {
            if (matchFamily(family, out)) return true;
        }
        return false;
    }

    // Any installed outline font with Japanese characters, the same one on
    // every run (the first by file name).
    bool anyJapaneseFont(FontFile& out) {
        if (config == nullptr) return false;
        FcPattern* pattern = FcPatternCreate();
        FcObjectSet* objects =
            FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_CHARSET, FC_SCALABLE, nullptr);
        FcFontSet* fonts = (pattern && objects) ? FcFontList(config, pattern, objects) : nullptr;
        bool found = false;
        if (fonts != nullptr) {
            for (int i = 0; i < fonts->nfont; ++i) {
                FcPattern* font = fonts->fonts[i];
                FontFile candidate;
                if (!isOutline(font) || !hasJapanese(font) || !fileOf(font, candidate)) continue;
                if (!found ||
                    std::tie(candidate.path, candidate.index) < std::tie(out.path, out.index)) {
                    out = candidate;
                    found = true;
                }
            }
            FcFontSetDestroy(fonts);
        }
        if (objects) FcObjectSetDestroy(objects);
        if (pattern) FcPatternDestroy(pattern);
        return found;
    }

    LoadedFace* load(const FontFile& file) {
        if (library == nullptr) return nullptr;
        const std::string key = file.path + ":" + std::to_string(file.index);
        auto it = facesByFile.find(key);
        if (it != facesByFile.end()) return it->second.face != nullptr ? &it->second : nullptr;
        LoadedFace& loaded = facesByFile[key];
        if (FT_New_Face(library, file.path.c_str(), file.index, &loaded.face) != 0) {
            loaded.face = nullptr;
            return nullptr;
        }
        FT_Face face = loaded.face;
        // A GDI font's height is the Windows ascent + descent of the OS/2
        // table; without one the horizontal header's values are next best.
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            loaded.ascentUnits = os2->usWinAscent;
            loaded.cellUnits = static_cast<long>(os2->usWinAscent) + os2->usWinDescent;
        } else if (face->ascender - face->descender > 0) {
            loaded.ascentUnits = face->ascender;
            loaded.cellUnits = face->ascender - face->descender;
        } else {
            loaded.cellUnits = face->units_per_EM > 0 ? face->units_per_EM : 1000;
            loaded.ascentUnits = loaded.cellUnits * 7 / 8;
        }
        return &loaded;
    }

    const std::vector<LoadedFace*>& chainFor(std::string_view faceSjis) {
        const std::string key(faceSjis);
        auto it = chains.find(key);
        if (it != chains.end()) return it->second;
        // Fonts are looked for only once text is drawn, so a run that shows
        // none never pays for loading the font configuration.
        if (!started) {
            started = true;
            if (FT_Init_FreeType(&library) != 0) library = nullptr;
            config = FcInitLoadConfigAndFonts();
        }
        const std::string utf8 = sjisToUtf8(faceSjis);
        std::vector<FontFile> files(3);
        const bool named = resolveName(utf8, files[0]);
        const bool fallback = resolveName(kDefaultFaceUtf8, files[1]);
        const bool any = anyJapaneseFont(files[2]);
        const bool found[] = {named, fallback, any};
        std::vector<LoadedFace*> chain;
        std::string first;
        bool namedUsed = false;  // the name's own font opened, not only found
        for (size_t i = 0; i < files.size(); ++i) {
            if (!found[i]) continue;
            LoadedFace* loaded = load(files[i]);
            if (loaded == nullptr || std::find(chain.begin(), chain.end(), loaded) != chain.end())
                continue;
            if (chain.empty()) first = files[i].family;
            namedUsed = namedUsed || i == 0;
            chain.push_back(loaded);
        }
        // Names come from the settings and the font menu, so they are few; a
        // caller that invents more only makes the lookups start again.
        if (chains.size() >= kMaxFaceNames) {
            chains.clear();
            familyByName.clear();
        }
        if (chain.empty()) {
            if (!toldNoFont)
                tell("no outline font with Japanese characters is installed; text stays blank");
            toldNoFont = true;
        } else if (!namedUsed) {
            tell("font \"" + utf8 + "\" not found or without Japanese characters; using \"" +
                 first + "\"");
        }
        const char* family = chain.empty() ? nullptr : chain.front()->face->family_name;
        familyByName[key] = family != nullptr ? family : "";
        return chains.emplace(key, std::move(chain)).first->second;
    }

    static bool sizeFace(LoadedFace& loaded, int cellPx) {
        if (loaded.sizedCellPx == cellPx) return true;
        FT_Face face = loaded.face;
        const long long upem = face->units_per_EM > 0 ? face->units_per_EM : loaded.cellUnits;
        FT_Size_RequestRec request{};
        request.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
        request.height = static_cast<FT_Long>(
            (static_cast<long long>(cellPx) * 64 * upem + loaded.cellUnits / 2) / loaded.cellUnits);
        if (request.height < 1) request.height = 1;
        if (FT_Request_Size(face, &request) != 0) {
            loaded.sizedCellPx = 0;
            return false;
        }
        loaded.sizedCellPx = cellPx;
        loaded.ascentPx = static_cast<int>(
            (static_cast<long long>(cellPx) * loaded.ascentUnits + loaded.cellUnits / 2) /
            loaded.cellUnits);
        return true;
    }

    static bool draw(LoadedFace& loaded, FT_UInt glyph, bool bold, int cellPx, uint8_t* coverage) {
        if (!sizeFace(loaded, cellPx)) return false;
        FT_Face face = loaded.face;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return false;
        FT_GlyphSlot slot = face->glyph;
        if (bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            // Synthetic bold as the host makes it: wider strokes, the same
            // height, about one pixel at text sizes and the same share of the
            // cell at supersampled ones.
            FT_Outline_EmboldenXY(&slot->outline, std::max(64, cellPx * 64 / 24), 0);
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return false;
        const FT_Bitmap& bitmap = slot->bitmap;
        const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
        if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return true;  // nothing we can read
        const int rows = static_cast<int>(bitmap.rows);
        const int width = static_cast<int>(bitmap.width);
        const int stride = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
        const int top = loaded.ascentPx - slot->bitmap_top;
        const int left = slot->bitmap_left;
        for (int r = std::max(0, -top); r < rows && top + r < cellPx; ++r) {
            const int memoryRow = bitmap.pitch < 0 ? rows - 1 - r : r;
            const unsigned char* source = bitmap.buffer + static_cast<size_t>(memoryRow) * stride;
            uint8_t* target = coverage + static_cast<size_t>(top + r) * cellPx;
            const int end = std::min(width, cellPx - left);
            for (int c = std::max(0, -left); c < end; ++c) {
                if (mono && (c & 7) == 0 && source[c >> 3] == 0) {
                    c += 7;  // eight blank pixels at once
                    continue;
                }
                const bool inked =
                    mono ? (source[c >> 3] & (0x80 >> (c & 7))) != 0 : source[c] >= 128;
                if (inked) target[left + c] = 255;
            }
        }
        return true;
    }
};

FreeTypeGlyphRenderer::FreeTypeGlyphRenderer(Notices* notices) : impl_(std::make_unique<Impl>()) {
    impl_->notices = notices;
}

FreeTypeGlyphRenderer::~FreeTypeGlyphRenderer() = default;

bool FreeTypeGlyphRenderer::render(std::string_view faceSjis, int weight, uint16_t code, int cellPx,
                                   uint8_t* coverage) {
    if (coverage == nullptr || cellPx <= 0) return false;
    std::memset(coverage, 0, static_cast<size_t>(cellPx) * cellPx);
    const uint32_t cp = codePointOf(code);
    if (cp == 0 || cellPx > kMaxGlyphCellPx) return false;
    // Like the host's font linking: a character missing from the chosen face
    // comes from the next face of the chain.
    for (LoadedFace* loaded : impl_->chainFor(faceSjis)) {
        const FT_UInt glyph = FT_Get_Char_Index(loaded->face, cp);
        if (glyph == 0) continue;
        if (Impl::draw(*loaded, glyph, weight >= 600, cellPx, coverage)) return true;
        std::memset(coverage, 0, static_cast<size_t>(cellPx) * cellPx);
        return false;
    }
    return false;
}

std::string FreeTypeGlyphRenderer::fontFamilyFor(std::string_view faceSjis) {
    impl_->chainFor(faceSjis);
    return impl_->familyByName[std::string(faceSjis)];
}

}  // namespace zeku
