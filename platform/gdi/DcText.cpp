#include "gdi/DcText.h"

#include "gdi/Dc.h"
#include "gdi/DcImpl.h"
#include "gdi/Raster.h"
#include "gdi/text/Font.h"

#include <cstring>
#include <string_view>

namespace {

gdi::text::Font FontOf(const gdi::Dc& d) {
    gdi::text::LogFont lf;
    if (auto* f = gdi::Find<gdi::Font>(d.s.font, OBJ_FONT)) {
        lf.faceName = f->spec.lfFaceName;
        lf.height = f->spec.lfHeight;
        lf.weight = f->spec.lfWeight;
        lf.italic = f->spec.lfItalic, lf.underline = f->spec.lfUnderline, lf.strikeOut = f->spec.lfStrikeOut;
        lf.charSet = f->spec.lfCharSet;
    }
    return gdi::text::Font(lf);
}

std::string_view View(const char* text, int len) {
    if (!text) return {};
    return len < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(len));
}

} // namespace

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* r, const char* text, UINT len, const int*) {
    gdi::Dc* d = gdi::FindDc(dc);
    if (!d) return FALSE;
    gdi::PixelView v = d->View();
    if (!v.Valid() || v.bpp != 32) return v.Valid() ? FALSE : TRUE;
    gdi::text::Font font = FontOf(*d);
    gdi::text::TextSurface surface{v.pitch < 0 ? v.top + v.pitch * (v.height - 1) : v.top, v.width, v.height,
                                   static_cast<int>(v.pitch)};
    gdi::text::TextDrawOptions o;
    o.color = gdi::ResolveColor(d->s.textColor);
    o.opaque = d->s.bkMode == OPAQUE;
    o.background = gdi::ResolveColor(d->s.bkColor);
    RECT limit{INT32_MIN / 4, INT32_MIN / 4, INT32_MAX / 4, INT32_MAX / 4};
    if (r && (options & (ETO_CLIPPED | ETO_OPAQUE)))
        limit = {d->TX(r->left), d->TY(r->top), d->TX(r->right), d->TY(r->bottom)};
    if (r && (options & ETO_OPAQUE)) {
        gdi::Brush b;
        b.color = o.background;
        d->Clip().ForEachRectIn(limit, [&](const RECT& p) { gdi::FillWithBrush(v, p, b, o.background, {}); });
        o.opaque = false;
    }
    if (!(options & ETO_CLIPPED)) limit = {INT32_MIN / 4, INT32_MIN / 4, INT32_MAX / 4, INT32_MAX / 4};
    std::string_view s(text ? text : "", text ? len : 0);
    d->Clip().ForEachRectIn(limit, [&](const RECT& p) {
        font.Draw(surface, {p.left, p.top, p.right, p.bottom}, d->TX(x), d->TY(y), s, o);
    });
    return TRUE;
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
