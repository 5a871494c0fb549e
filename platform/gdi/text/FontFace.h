#pragma once
// A realised font: the matched face at one size with its metrics and glyph
// cache, plus the CJK face at the same size for characters the face lacks.
// Internal; every member is used under FontLibrary::Lock().
#include "gdi/text/FontLibrary.h"
#include "gdi/text/GlyphSource.h"
#include "gdi/text/LogFont.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace gdi::text {

struct Glyph {
    int advance = 0;
    int left = 0, top = 0; // bitmap origin relative to the pen on the baseline
    int width = 0, height = 0;
    std::vector<uint8_t> coverage; // width × height, 0..255
    GlyphSource source = GlyphSource::Face;
};

// A horizontal band relative to the baseline (underline, strike-out).
struct LineBand {
    int offset = 0; // top row, positive below the baseline
    int thickness = 1;
};

class FontFace {
public:
    static std::shared_ptr<const FontFace> Create(FontLibrary& lib, const LogFont& lf);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const TextMetrics& Metrics() const { return metrics_; }
    const std::string& Family() const { return family_; }
    int EmHeight() const { return em_; }
    LineBand Underline() const { return underline_; }
    LineBand StrikeOut() const { return strikeOut_; }
    const Glyph& GetGlyph(char32_t cp) const;

private:
    struct Source {
        FT_Face face = nullptr;
        FT_Size size = nullptr;
        bool emboldened = false;
        bool slanted = false;
    };

    FontFace() = default;
    bool SetUp(FontLibrary& lib, const LogFont& lf);
    bool AddSource(Source& s, FT_Face face, bool wantBold, bool wantItalic);
    void ComputeMetrics(const LogFont& lf);
    bool Render(const Source& s, FT_UInt index, Glyph& out) const;

    Source primary_, fallback_;
    std::string family_;
    int em_ = 0;
    TextMetrics metrics_;
    LineBand underline_, strikeOut_;
    mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

} // namespace gdi::text
