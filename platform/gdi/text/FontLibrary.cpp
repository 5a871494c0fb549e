#include "gdi/text/FontLibrary.h"

#include "gdi/text/FontAliases.h"
#include "gdi/text/FontFace.h"

#include <fontconfig/fontconfig.h>

namespace gdi::text {
namespace {

constexpr size_t kCacheSize = 48;

} // namespace

FontLibrary& FontLibrary::Instance() {
    static FontLibrary* lib = new FontLibrary;
    return *lib;
}

FontLibrary::FontLibrary() {
    if (FT_Init_FreeType(&ft_) != 0) ft_ = nullptr;
    FcInit();
}

bool FontLibrary::Match(const std::string& family, int weight, bool italic, FaceMatch& out) {
    FcPattern* pat = FcPatternCreate();
    if (!pat) return false;
    if (!family.empty()) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (!match) return false;
    FcChar8* file = nullptr;
    FcChar8* fam = nullptr;
    int index = 0;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (ok) {
        out.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        out.index = index;
        out.family = FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch
                         ? reinterpret_cast<const char*>(fam)
                         : std::string();
    }
    FcPatternDestroy(match);
    return ok;
}

FT_Face FontLibrary::OpenFace(const std::string& file, int index) {
    auto key = std::make_pair(file, index);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (!ft_ || FT_New_Face(ft_, file.c_str(), index, &face) != 0) face = nullptr;
    if (face && !FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        face = nullptr;
    }
    faces_[key] = face; // failures are remembered too: no retry per glyph
    return face;
}

const FaceMatch* FontLibrary::Fallback() {
    if (!fallbackLooked_) {
        fallbackLooked_ = true;
        fallbackFound_ = Match(kCjkFallbackFamily, FW_NORMAL, false, fallback_);
    }
    return fallbackFound_ ? &fallback_ : nullptr;
}

std::shared_ptr<const FontFace> FontLibrary::Realize(const LogFont& lf) {
    for (size_t i = 0; i < cache_.size(); ++i) {
        if (!(cache_[i].key == lf)) continue;
        CacheEntry hit = std::move(cache_[i]);
        cache_.erase(cache_.begin() + static_cast<std::ptrdiff_t>(i));
        cache_.insert(cache_.begin(), hit);
        return hit.font;
    }
    std::shared_ptr<const FontFace> font = FontFace::Create(*this, lf);
    if (!font) return nullptr;
    cache_.insert(cache_.begin(), CacheEntry{lf, font});
    if (cache_.size() > kCacheSize) cache_.pop_back();
    return font;
}

} // namespace gdi::text
