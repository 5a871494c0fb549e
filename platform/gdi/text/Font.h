#pragma once
// A font for measuring and drawing text into 32-bit pixel buffers.
//
// Glyphs are anti-aliased and blended onto what is in the buffer; every pixel
// written has its alpha byte 0, as all drawing primitives leave it.  A
// character the face lacks is drawn from the CJK face.  Fonts are cheap to
// copy and share their face and glyph cache; identical requests share one
// realisation.  Safe to use from any thread (one lock inside).
#include "gdi/text/DrawTextLayout.h"
#include "gdi/text/GlyphSource.h"
#include "gdi/text/LogFont.h"
#include "gdi/text/TabStops.h"
#include "gdi/text/TextMeasurer.h"
#include "gdi/text/TextTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace gdi::text {

class FontFace;

struct TextDrawOptions {
    TextColor color = 0;
    // SetBkMode(OPAQUE) / ETO_OPAQUE: fill `opaqueRect` (or, when that is
    // empty, the text's cell) with `background` before drawing.
    bool opaque = false;
    TextColor background = 0xFFFFFF;
    TextRect opaqueRect;
    // TabbedTextOut; null leaves tabs as blanks.
    const TabStops* tabs = nullptr;
    // ExtTextOut's spacing array: one advance per code point in place of the
    // font's own (tabs then take their entry too).
    const int* advances = nullptr;
};

class Font : public TextMeasurer {
public:
    // A font that could not be realised (no face at all) is invalid: it
    // measures as empty and draws nothing.
    explicit Font(const LogFont& lf);
    Font(const Font&) = default;
    Font& operator=(const Font&) = default;
    ~Font() override;

    bool IsValid() const { return face_ != nullptr; }
    const LogFont& Request() const { return request_; }
    TextMetrics Metrics() const;
    // The family fontconfig chose for the face name.
    std::string FamilyName() const;
    GlyphSource SourceOf(char32_t ch) const;

    // GetTextExtentPoint32: total advance and the cell height.
    TextSize Extent(std::string_view utf8, const TabStops* tabs = nullptr) const;
    // Pen position after each code point of the text (for ellipses, carets).
    std::vector<int> CharPositions(std::string_view utf8, const TabStops* tabs = nullptr) const;

    // Draws with the text cell's top-left at (x, y), clipped to `clip` and to
    // the buffer; returns the extent drawn.
    TextSize Draw(const TextSurface& surface, const TextRect& clip, int x, int y, std::string_view utf8,
                  const TextDrawOptions& options) const;
    // Draws DrawText's lines, clipped to `clip` and to the layout rectangle,
    // with the underline of "&" prefixed characters.
    void DrawLayout(const TextSurface& surface, const TextRect& clip, const DrawTextLayoutResult& layout,
                    const TextDrawOptions& options) const;

    // TextMeasurer
    void Advances(std::u32string_view text, std::vector<int>& out) const override;
    int LineHeight() const override;
    int AveCharWidth() const override;

private:
    void PositionsLocked(std::u32string_view text, const TabStops* tabs, std::vector<int>& out) const;

    LogFont request_;
    std::shared_ptr<const FontFace> face_;
};

} // namespace gdi::text
