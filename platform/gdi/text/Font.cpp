#include "gdi/text/Font.h"

#include "gdi/text/FontFace.h"
#include "gdi/text/FontLibrary.h"
#include "gdi/text/TextPainter.h"
#include "gdi/text/Utf8.h"

#include <algorithm>
#include <mutex>

namespace gdi::text {
namespace {

std::unique_lock<std::recursive_mutex> LockFonts() {
    return std::unique_lock(FontLibrary::Instance().Lock());
}

TextRect Intersect(const TextRect& a, const TextRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

} // namespace

Font::Font(const LogFont& lf) : request_(lf) {
    auto lock = LockFonts();
    face_ = FontLibrary::Instance().Realize(lf);
}

Font::~Font() = default; // FontFace's destructor takes the lock itself

TextMetrics Font::Metrics() const {
    if (!face_) return TextMetrics{};
    return face_->Metrics();
}

std::string Font::FamilyName() const {
    return face_ ? face_->Family() : std::string();
}

GlyphSource Font::SourceOf(char32_t ch) const {
    if (!face_) return GlyphSource::Missing;
    auto lock = LockFonts();
    return face_->GetGlyph(ch).source;
}

int Font::LineHeight() const {
    return face_ ? face_->Metrics().height : 0;
}

int Font::AveCharWidth() const {
    return face_ ? face_->Metrics().aveCharWidth : 0;
}

void Font::PositionsLocked(std::u32string_view text, const TabStops* tabs, std::vector<int>& out) const {
    out.resize(text.size());
    int pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\t' && tabs)
            pen = NextTabStop(pen, *tabs, face_->Metrics().aveCharWidth);
        else
            pen += face_->GetGlyph(text[i]).advance;
        out[i] = pen;
    }
}

void Font::Advances(std::u32string_view text, std::vector<int>& out) const {
    if (!face_) {
        out.assign(text.size(), 0);
        return;
    }
    auto lock = LockFonts();
    PositionsLocked(text, nullptr, out);
}

std::vector<int> Font::CharPositions(std::string_view utf8, const TabStops* tabs) const {
    std::u32string text = DecodeUtf8(utf8);
    std::vector<int> out(text.size(), 0);
    if (!face_) return out;
    auto lock = LockFonts();
    PositionsLocked(text, tabs, out);
    return out;
}

TextSize Font::Extent(std::string_view utf8, const TabStops* tabs) const {
    if (!face_) return TextSize{};
    std::vector<int> pos = CharPositions(utf8, tabs);
    return {pos.empty() ? 0 : pos.back(), face_->Metrics().height};
}

TextSize Font::Draw(const TextSurface& surface, const TextRect& clip, int x, int y, std::string_view utf8,
                    const TextDrawOptions& options) const {
    if (!face_) return TextSize{};
    const std::u32string text = DecodeUtf8(utf8);
    auto lock = LockFonts();
    const TextMetrics& m = face_->Metrics();
    const int baseline = y + m.ascent;
    TextPainter painter(surface, clip);

    std::vector<int> pos;
    if (options.advances) {
        pos.resize(text.size());
        int pen = 0;
        for (size_t i = 0; i < text.size(); ++i) pos[i] = pen += options.advances[i];
    } else {
        PositionsLocked(text, options.tabs, pos);
    }
    const int width = pos.empty() ? 0 : pos.back();
    if (painter.Empty()) return {width, m.height};

    if (options.opaque) {
        TextRect cell{x, y, x + width, y + m.height};
        painter.Fill(options.opaqueRect.IsEmpty() ? cell : options.opaqueRect, options.background);
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\t' && (options.tabs || options.advances)) continue;
        const Glyph& g = face_->GetGlyph(text[i]);
        if (g.coverage.empty()) continue;
        const int pen = x + (i == 0 ? 0 : pos[i - 1]);
        painter.Blend(pen + g.left, baseline - g.top, g.width, g.height, g.coverage.data(), options.color);
    }
    if (m.underlined) {
        LineBand u = face_->Underline();
        painter.Fill({x, baseline + u.offset, x + width, baseline + u.offset + u.thickness}, options.color);
    }
    if (m.struckOut) {
        LineBand s = face_->StrikeOut();
        painter.Fill({x, baseline + s.offset, x + width, baseline + s.offset + s.thickness}, options.color);
    }
    return {width, m.height};
}

void Font::DrawLayout(const TextSurface& surface, const TextRect& clip, const DrawTextLayoutResult& layout,
                      const TextDrawOptions& options) const {
    if (!face_) return;
    const TextRect box = Intersect(clip, layout.rect);
    TextDrawOptions runOptions = options;
    runOptions.opaque = false; // the background goes once under the whole line, not per run
    runOptions.tabs = nullptr;
    for (const DrawTextLine& line : layout.lines) {
        if (options.opaque) {
            TextPainter(surface, box)
                .Fill({line.x, line.y, line.x + line.width, line.y + LineHeight()}, options.background);
        }
        for (const DrawTextRun& run : line.runs) Draw(surface, box, run.x, line.y, run.text, runOptions);
        if (line.underlined) {
            auto lock = LockFonts();
            LineBand u = face_->Underline();
            int base = line.y + face_->Metrics().ascent + u.offset;
            TextPainter(surface, box)
                .Fill({line.underlineLeft, base, line.underlineRight, base + u.thickness}, options.color);
        }
    }
}

} // namespace gdi::text
