#pragma once
// The process's one FreeType library, fontconfig lookups and the caches of
// opened faces and realised fonts.  Internal to the text library: FreeType
// types stay inside platform/gdi.
#include "gdi/text/LogFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace gdi::text {

class FontFace;

struct FaceMatch {
    std::string file;
    int index = 0;
    std::string family;
};

class FontLibrary {
public:
    // Never destroyed: fonts may outlive any static that would own it.
    static FontLibrary& Instance();

    // Every FreeType call and cache access happens under this lock.
    std::recursive_mutex& Lock() { return mutex_; }

    // Callers hold Lock().
    std::shared_ptr<const FontFace> Realize(const LogFont& lf);
    bool Match(const std::string& family, int weight, bool italic, FaceMatch& out);
    FT_Face OpenFace(const std::string& file, int index);
    const FaceMatch* Fallback();

private:
    FontLibrary();

    std::recursive_mutex mutex_;
    FT_Library ft_ = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces_;
    bool fallbackLooked_ = false;
    bool fallbackFound_ = false;
    FaceMatch fallback_;
    struct CacheEntry {
        LogFont key;
        std::shared_ptr<const FontFace> font;
    };
    // Most recently used first; skins create the same few fonts over and over.
    std::vector<CacheEntry> cache_;
};

} // namespace gdi::text
