#include "gdi/DcText.h"

#include "gdi/Dc.h"
#include "gdi/DcImpl.h"
#include "gdi/Raster.h"
#include "gdi/text/Font.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace {

constexpr RECT kNoLimit{INT32_MIN / 4, INT32_MIN / 4, INT32_MAX / 4, INT32_MAX / 4};

gdi::text::Font FontOf(const gdi::Dc& d) {
    gdi::text::LogFont lf;
    if (auto* f = gdi::Find<gdi::Font>(d.s.font, OBJ_FONT)) {
        lf.faceName = f->logFont.lfFaceName;
        lf.height = f->logFont.lfHeight;
        lf.weight = f->logFont.lfWeight;
        lf.italic = f->logFont.lfItalic, lf.underline = f->logFont.lfUnderline,
        lf.strikeOut = f->logFont.lfStrikeOut;
        lf.charSet = f->logFont.lfCharSet;
    }
    return gdi::text::Font(lf);
}

std::string_view View(const char* text, int len) {
    if (!text) return {};
    return len < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(len));
}

// The DC's pixels as the font engine takes them; false when text cannot be
// drawn there (no bitmap, or not 32 bits).
bool SurfaceOf(const gdi::Dc& d, gdi::text::TextSurface& out) {
    gdi::PixelView v = d.View();
    if (!v.Valid() || v.bpp != 32) return false;
    out = {v.pitch < 0 ? v.top + v.pitch * (v.height - 1) : v.top, v.width, v.height,
           static_cast<int>(v.pitch)};
    return true;
}

gdi::text::TextDrawOptions OptionsOf(const gdi::Dc& d) {
    gdi::text::TextDrawOptions o;
    o.color = gdi::ResolveColor(d.s.textColor);
    o.opaque = d.s.bkMode == OPAQUE;
    o.background = gdi::ResolveColor(d.s.bkColor);
    return o;
}

gdi::text::TextRect ToText(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Draws one piece of text at a logical point through the DC's clip.
BOOL DrawAt(gdi::Dc& d, int x, int y, std::string_view s, const gdi::text::TextDrawOptions& o,
            const RECT& limit) {
    gdi::text::TextSurface surface;
    if (!SurfaceOf(d, surface)) return d.View().Valid() ? FALSE : TRUE;
    gdi::text::Font font = FontOf(d);
    d.Clip().ForEachRectIn(limit,
                           [&](const RECT& p) { font.Draw(surface, ToText(p), d.TX(x), d.TY(y), s, o); });
    return TRUE;
}

} // namespace

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* r, const char* text, UINT len,
                const int* dx) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d) return FALSE;
    gdi::text::TextDrawOptions o = OptionsOf(*d);
    o.advances = dx;
    RECT box = r ? RECT{d->TX(r->left), d->TY(r->top), d->TX(r->right), d->TY(r->bottom)} : kNoLimit;
    if (r && (options & ETO_OPAQUE)) {
        gdi::PixelView v = d->View();
        gdi::Brush b;
        d->Clip().ForEachRectIn(box, [&](const RECT& p) { gdi::FillWithBrush(v, p, b, o.background, {}); });
        o.opaque = false;
    }
    std::string_view s(text ? text : "", text ? len : 0);
    return DrawAt(*d, x, y, s, o, r && (options & ETO_CLIPPED) ? box : kNoLimit);
}

BOOL TextOut(HDC dc, int x, int y, const char* text, int len) {
    std::string_view s = View(text, len);
    return ExtTextOut(dc, x, y, 0, nullptr, s.data(), static_cast<UINT>(s.size()), nullptr);
}

BOOL GetTextExtentPoint32(HDC dc, const char* text, int len, SIZE* size) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d || !size) return FALSE;
    gdi::text::TextSize t = FontOf(*d).Extent(View(text, len));
    *size = {t.cx, t.cy};
    return TRUE;
}

BOOL GetTextExtentExPoint(HDC dc, const char* text, int len, int maxExtent, int* fit, int* dx, SIZE* size) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d || !size) return FALSE;
    gdi::text::Font font = FontOf(*d);
    std::vector<int> pos = font.CharPositions(View(text, len));
    if (fit) *fit = static_cast<int>(std::upper_bound(pos.begin(), pos.end(), maxExtent) - pos.begin());
    if (dx) std::copy(pos.begin(), pos.end(), dx);
    *size = {pos.empty() ? 0 : pos.back(), font.LineHeight()};
    return TRUE;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d || !tm) return FALSE;
    gdi::text::TextMetrics m = FontOf(*d).Metrics();
    *tm = {};
    tm->tmHeight = m.height;
    tm->tmAscent = m.ascent;
    tm->tmDescent = m.descent;
    tm->tmInternalLeading = m.internalLeading;
    tm->tmExternalLeading = m.externalLeading;
    tm->tmAveCharWidth = m.aveCharWidth;
    tm->tmMaxCharWidth = m.maxCharWidth;
    tm->tmWeight = m.weight;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFFFC;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = m.italic;
    tm->tmUnderlined = m.underlined;
    tm->tmStruckOut = m.struckOut;
    tm->tmPitchAndFamily = 0x06; // variable pitch, TrueType
    tm->tmCharSet = m.charSet;
    return TRUE;
}

int DrawText(HDC dc, const char* text, int len, RECT* r, UINT format) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d || !r) return 0;
    gdi::text::Font font = FontOf(*d);
    // Laid out in surface coordinates so that the lines land where they are drawn.
    const int ox = d->TX(0), oy = d->TY(0);
    gdi::text::TextRect box{r->left + ox, r->top + oy, r->right + ox, r->bottom + oy};
    gdi::text::DrawTextLayoutResult layout = gdi::text::LayoutDrawText(font, View(text, len), box, format);
    if (format & DT_CALCRECT) {
        *r = {layout.rect.left - ox, layout.rect.top - oy, layout.rect.right - ox, layout.rect.bottom - oy};
        return layout.height;
    }
    gdi::text::TextSurface surface;
    if (SurfaceOf(*d, surface)) {
        gdi::text::TextDrawOptions o = OptionsOf(*d);
        RECT limit{box.left, box.top, box.right, box.bottom};
        d->Clip().ForEachRectIn(limit,
                                [&](const RECT& p) { font.DrawLayout(surface, ToText(p), layout, o); });
    }
    return layout.height;
}

LONG TabbedTextOut(HDC dc, int x, int y, const char* text, int len, int tabCount, const int* tabs,
                   int tabOrigin) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d) return 0;
    gdi::text::TabStops stops;
    stops.origin = tabOrigin - x;
    for (int i = 0; tabs && i < std::min(tabCount, 10); ++i) stops.stops.push_back(std::abs(tabs[i]));
    std::string_view s = View(text, len);
    gdi::text::TextDrawOptions o = OptionsOf(*d);
    o.tabs = &stops;
    DrawAt(*d, x, y, s, o, kNoLimit);
    gdi::text::TextSize t = FontOf(*d).Extent(s, &stops);
    return static_cast<LONG>((static_cast<uint32_t>(t.cy & 0xFFFF) << 16) | (t.cx & 0xFFFF));
}
