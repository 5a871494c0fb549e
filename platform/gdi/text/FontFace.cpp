#include "gdi/text/FontFace.h"

#include "gdi/text/FontAliases.h"

#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gdi::text {
namespace {

// Height 0 asks for "the default size": that of a 9-point face on a 96 dpi
// screen, the size of the skins' ordinary captions.
constexpr int kDefaultEm = 12;
// A font larger than any screen only costs memory.
constexpr int kMaxEm = 1024;
// Pages of Chinese text touch thousands of characters; beyond this many the
// cache starts afresh rather than growing without end.
constexpr size_t kMaxCachedGlyphs = 8192;

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

struct VerticalExtent {
    int ascent = 0, descent = 0; // font units, descent positive
};

// Windows sizes a cell by the OS/2 table's win metrics; faces without them
// fall back to the horizontal header.
VerticalExtent CellExtent(FT_Face face) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    VerticalExtent e;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        e.ascent = os2->usWinAscent;
        e.descent = os2->usWinDescent;
    } else {
        e.ascent = face->ascender;
        e.descent = -face->descender;
    }
    if (e.ascent + e.descent <= 0) {
        e.ascent = face->units_per_EM * 4 / 5;
        e.descent = face->units_per_EM - e.ascent;
    }
    return e;
}

} // namespace

std::shared_ptr<const FontFace> FontFace::Create(FontLibrary& lib, const LogFont& lf) {
    std::shared_ptr<FontFace> f(new FontFace);
    if (!f->SetUp(lib, lf)) return nullptr;
    return f;
}

FontFace::~FontFace() {
    std::lock_guard lock(FontLibrary::Instance().Lock());
    if (primary_.size) FT_Done_Size(primary_.size);
    if (fallback_.size) FT_Done_Size(fallback_.size);
}

bool FontFace::SetUp(FontLibrary& lib, const LogFont& lf) {
    const int weight = lf.weight <= 0 ? FW_NORMAL : lf.weight;
    const bool wantBold = weight >= 600;
    FaceMatch match;
    if (!lib.Match(ResolveFaceAlias(lf.faceName), weight, lf.italic, match)) return false;
    FT_Face face = lib.OpenFace(match.file, match.index);
    if (!face || face->units_per_EM == 0) return false;
    family_ = match.family;

    const VerticalExtent cell = CellExtent(face);
    const double upem = face->units_per_EM;
    int height = lf.height == 0 ? -kDefaultEm : lf.height;
    height = std::clamp(height, -kMaxEm, kMaxEm);
    if (height < 0) {
        em_ = -height;
        metrics_.ascent = Round(cell.ascent * em_ / upem);
        metrics_.descent = Round(cell.descent * em_ / upem);
    } else {
        em_ = std::max(1, Round(height * upem / (cell.ascent + cell.descent)));
        metrics_.ascent = Round(static_cast<double>(cell.ascent) * height / (cell.ascent + cell.descent));
        metrics_.descent = height - metrics_.ascent;
    }
    if (!AddSource(primary_, face, wantBold, lf.italic)) return false;

    const FaceMatch* fb = lib.Fallback();
    if (fb && (fb->file != match.file || fb->index != match.index)) {
        FT_Face fbFace = lib.OpenFace(fb->file, fb->index);
        if (fbFace) AddSource(fallback_, fbFace, wantBold, lf.italic);
    }
    ComputeMetrics(lf);
    return true;
}

bool FontFace::AddSource(Source& s, FT_Face face, bool wantBold, bool wantItalic) {
    FT_Size size = nullptr;
    if (FT_New_Size(face, &size) != 0) return false;
    FT_Activate_Size(size);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em_)) != 0) {
        FT_Done_Size(size);
        return false;
    }
    s.face = face;
    s.size = size;
    // The file's own style decides, not fontconfig's report: fontconfig
    // calls a face it would embolden itself "bold".
    s.emboldened = wantBold && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    s.slanted = wantItalic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    return true;
}

void FontFace::ComputeMetrics(const LogFont& lf) {
    FT_Face face = primary_.face;
    const VerticalExtent cell = CellExtent(face);
    const double scale = static_cast<double>(em_) / face->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool hasOs2 = os2 && os2->version != 0xFFFF;

    TextMetrics& m = metrics_;
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - em_);
    m.externalLeading = std::max(0, Round((face->height - cell.ascent - cell.descent) * scale));
    m.aveCharWidth =
        hasOs2 && os2->xAvgCharWidth > 0 ? Round(os2->xAvgCharWidth * scale) : GetGlyph(U'x').advance;
    m.maxCharWidth = std::max(m.aveCharWidth, Round(face->max_advance_width * scale));
    m.weight = lf.weight <= 0 ? FW_NORMAL : lf.weight;
    m.italic = lf.italic;
    m.underlined = lf.underline;
    m.struckOut = lf.strikeOut;
    m.charSet = lf.charSet;

    underline_.thickness = std::max(1, Round(face->underline_thickness * scale));
    underline_.offset = std::max(1, Round(-face->underline_position * scale) - underline_.thickness / 2);
    // Keep the line inside the cell, where the background was painted.
    underline_.offset = std::max(0, std::min(underline_.offset, m.descent - underline_.thickness));

    int strikePos =
        hasOs2 && os2->yStrikeoutPosition > 0 ? os2->yStrikeoutPosition : face->units_per_EM * 3 / 10;
    int strikeSize = hasOs2 && os2->yStrikeoutSize > 0 ? os2->yStrikeoutSize : face->underline_thickness;
    strikeOut_.thickness = std::max(1, Round(strikeSize * scale));
    strikeOut_.offset = -Round(strikePos * scale) - strikeOut_.thickness / 2;
}

const Glyph& FontFace::GetGlyph(char32_t cp) const {
    auto it = glyphs_.find(cp);
    if (it != glyphs_.end()) return it->second;
    if (glyphs_.size() >= kMaxCachedGlyphs) glyphs_.clear();

    Glyph g;
    if (cp < 0x20 || cp == 0x7F) {
        // Tabs not expanded by the caller take a blank's room; other control
        // characters take none and draw nothing.
        g.source = GlyphSource::Control;
        if (cp == U'\t') g.advance = GetGlyph(U' ').advance;
        return glyphs_.emplace(cp, std::move(g)).first->second;
    }
    const Source* src = &primary_;
    FT_UInt index = FT_Get_Char_Index(primary_.face, cp);
    g.source = GlyphSource::Face;
    if (index == 0 && fallback_.face) {
        FT_UInt fbIndex = FT_Get_Char_Index(fallback_.face, cp);
        if (fbIndex != 0) {
            src = &fallback_;
            index = fbIndex;
            g.source = GlyphSource::Fallback;
        }
    }
    if (index == 0) g.source = GlyphSource::Missing;
    if (!Render(*src, index, g)) g = Glyph{0, 0, 0, 0, 0, {}, GlyphSource::Missing};
    return glyphs_.emplace(cp, std::move(g)).first->second;
}

bool FontFace::Render(const Source& s, FT_UInt index, Glyph& out) const {
    FT_Activate_Size(s.size);
    if (FT_Load_Glyph(s.face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return false;
    FT_GlyphSlot slot = s.face->glyph;
    if (s.slanted) FT_GlyphSlot_Oblique(slot);
    if (s.emboldened) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bm = slot->bitmap;
    out.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0);
    for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        uint8_t* dst = out.coverage.data() + static_cast<size_t>(y) * out.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
            std::memcpy(dst, row, static_cast<size_t>(out.width));
        } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < out.width; ++x) dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        }
    }
    return true;
}

} // namespace gdi::text
