#include "gdi/Draw.h"

#include "gdi/Dc.h"
#include "gdi/DcImpl.h"
#include "gdi/Region.h"
#include "gdi/SysColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {
namespace {

int g_fillMode = ALTERNATE; // per process: the code never mixes modes

const Brush* BrushOf(HBRUSH h, COLORREF& color) {
    auto v = reinterpret_cast<uintptr_t>(h);
    if (v > 0 && v <= 31) h = GetSysColorBrush(static_cast<int>(v - 1));
    auto* b = Find<Brush>(h, OBJ_BRUSH);
    if (!b || b->style == BS_NULL) return nullptr;
    color = ResolveColor(b->color);
    return b;
}

// Writes one pixel (surface units) with the DC's mix mode, if visible.
struct PenPainter {
    Dc& d;
    PixelView v;
    uint32_t color;
    int width;
    int style;
    int step = 0;

    void Plot(int x, int y) {
        if (style == PS_DOT && (step++ & 1)) return;
        if (width <= 1) return Put(x, y);
        int h = width / 2;
        for (int yy = y - h; yy < y - h + width; ++yy)
            for (int xx = x - h; xx < x - h + width; ++xx) Put(xx, yy);
    }
    void Put(int x, int y) {
        if (!d.Clip().Contains(x, y)) return;
        uint32_t old = v.Get(x, y);
        switch (d.s.rop2) {
        case R2_BLACK:
            v.Put(x, y, 0);
            break;
        case R2_WHITE:
            v.Put(x, y, 0xFFFFFF);
            break;
        case R2_NOT:
            v.Put(x, y, old ^ 0xFFFFFF);
            break;
        case R2_XORPEN:
            v.Put(x, y, old ^ color);
            break;
        case R2_NOP:
            break;
        default:
            v.Put(x, y, color);
            break;
        }
    }
};

bool MakePainter(Dc& d, std::optional<PenPainter>& out) {
    COLORREF c = 0;
    const Pen* p = d.CurPen(c);
    PixelView v = d.View();
    if (!p || !v.Valid()) return false;
    out.emplace(PenPainter{d, v, PixelOf(c), p->width, p->style});
    return true;
}

// Bresenham from a to b, end point excluded (surface units).
void Line(PenPainter& pp, int x0, int y0, int x1, int y1) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        pp.Plot(x0, y0);
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

void FillSurfaceRect(Dc& d, const RECT& r, const Brush& b, COLORREF color) {
    PixelView v = d.View();
    if (!v.Valid()) return;
    POINT org{d.s.brushOrg.x + d.origin.x, d.s.brushOrg.y + d.origin.y};
    d.Clip().ForEachRectIn(r, [&](const RECT& piece) { FillWithBrush(v, piece, b, color, org); });
}

void FillSpans(Dc& d, const std::vector<RECT>& rows) {
    COLORREF c = 0;
    const Brush* b = d.CurBrush(c);
    if (!b) return;
    for (const RECT& r : rows) FillSurfaceRect(d, r, *b, c);
}

RECT Surface(const Dc& d, int l, int t, int r, int b) {
    return {d.TX(std::min(l, r)), d.TY(std::min(t, b)), d.TX(std::max(l, r)), d.TY(std::max(t, b))};
}

void XorRect(Dc& d, const RECT& r, bool dotted) {
    PixelView v = d.View();
    if (!v.Valid()) return;
    d.Clip().ForEachRectIn(r, [&](const RECT& p) {
        for (int y = p.top; y < p.bottom; ++y)
            for (int x = p.left; x < p.right; ++x)
                if (!dotted || ((x + y) & 1) == 0) v.Put(x, y, v.Get(x, y) ^ 0xFFFFFF);
    });
}

} // namespace
} // namespace gdi

using namespace gdi;

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
    Dc* d = FindDc(dc);
    if (!d) return FALSE;
    if (old) *old = d->s.pos;
    d->s.pos = {x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* pos) {
    Dc* d = FindDc(dc);
    if (!d || !pos) return FALSE;
    *pos = d->s.pos;
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    Dc* d = FindDc(dc);
    if (!d) return FALSE;
    std::optional<PenPainter> pp;
    if (MakePainter(*d, pp)) Line(*pp, d->TX(d->s.pos.x), d->TY(d->s.pos.y), d->TX(x), d->TY(y));
    d->s.pos = {x, y};
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* pts, int count) {
    Dc* d = FindDc(dc);
    if (!d || !pts || count < 2) return FALSE;
    std::optional<PenPainter> pp;
    if (MakePainter(*d, pp))
        for (int i = 1; i < count; ++i)
            Line(*pp, d->TX(pts[i - 1].x), d->TY(pts[i - 1].y), d->TX(pts[i].x), d->TY(pts[i].y));
    return TRUE;
}

int FillRect(HDC dc, const RECT* r, HBRUSH brush) {
    Dc* d = FindDc(dc);
    COLORREF c = 0;
    if (!d || !r) return 0;
    const Brush* b = BrushOf(brush, c);
    if (!b) return 0;
    FillSurfaceRect(*d, Surface(*d, r->left, r->top, r->right, r->bottom), *b, c);
    return 1;
}

int FrameRect(HDC dc, const RECT* r, HBRUSH brush) {
    Dc* d = FindDc(dc);
    COLORREF c = 0;
    if (!d || !r || IsRectEmpty(r)) return 0;
    const Brush* b = BrushOf(brush, c);
    if (!b) return 0;
    RECT s = Surface(*d, r->left, r->top, r->right, r->bottom);
    FillSurfaceRect(*d, {s.left, s.top, s.right, s.top + 1}, *b, c);
    FillSurfaceRect(*d, {s.left, s.bottom - 1, s.right, s.bottom}, *b, c);
    FillSurfaceRect(*d, {s.left, s.top + 1, s.left + 1, s.bottom - 1}, *b, c);
    FillSurfaceRect(*d, {s.right - 1, s.top + 1, s.right, s.bottom - 1}, *b, c);
    return 1;
}

BOOL InvertRect(HDC dc, const RECT* r) {
    Dc* d = FindDc(dc);
    if (!d || !r) return FALSE;
    XorRect(*d, Surface(*d, r->left, r->top, r->right, r->bottom), false);
    return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* r) {
    Dc* d = FindDc(dc);
    if (!d || !r || IsRectEmpty(r)) return FALSE;
    RECT s = Surface(*d, r->left, r->top, r->right, r->bottom);
    XorRect(*d, {s.left, s.top, s.right, s.top + 1}, true);
    if (s.bottom - 1 > s.top) XorRect(*d, {s.left, s.bottom - 1, s.right, s.bottom}, true);
    XorRect(*d, {s.left, s.top + 1, s.left + 1, s.bottom - 1}, true);
    if (s.right - 1 > s.left) XorRect(*d, {s.right - 1, s.top + 1, s.right, s.bottom - 1}, true);
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    Dc* d = FindDc(dc);
    if (!d) return FALSE;
    RECT s = Surface(*d, left, top, right, bottom);
    std::optional<PenPainter> pp;
    bool pen = MakePainter(*d, pp);
    // Without a pen the filled area loses its right and bottom line, as in Win32.
    RECT inner = pen ? RECT{s.left + 1, s.top + 1, s.right - 1, s.bottom - 1}
                     : RECT{s.left, s.top, s.right - 1, s.bottom - 1};
    FillSpans(*d, {inner});
    if (pen && s.right > s.left && s.bottom > s.top) {
        Line(*pp, s.left, s.top, s.right - 1, s.top);
        Line(*pp, s.right - 1, s.top, s.right - 1, s.bottom - 1);
        Line(*pp, s.right - 1, s.bottom - 1, s.left, s.bottom - 1);
        Line(*pp, s.left, s.bottom - 1, s.left, s.top);
    }
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    Dc* d = FindDc(dc);
    if (!d) return FALSE;
    RECT s = Surface(*d, left, top, right, bottom);
    std::vector<RECT> rows;
    EllipseSpans(s, [&](int y, int x0, int x1) { rows.push_back({x0, y, x1, y + 1}); });
    std::optional<PenPainter> pp;
    if (!MakePainter(*d, pp)) {
        FillSpans(*d, rows);
        return TRUE;
    }
    // A pixel is on the outline when a neighbour above, below or beside it is outside.
    auto inside = [&](size_t i, int x) { return i < rows.size() && x >= rows[i].left && x < rows[i].right; };
    std::vector<RECT> interior;
    for (size_t i = 0; i < rows.size(); ++i) {
        const RECT& r = rows[i];
        int runStart = -1;
        for (int x = r.left; x <= r.right; ++x) {
            bool edge = x == r.left || x == r.right - 1 || i == 0 || !inside(i - 1, x) || !inside(i + 1, x);
            if (x < r.right && edge) {
                pp->Plot(x, r.top);
                if (runStart >= 0) interior.push_back({runStart, r.top, x, r.bottom}), runStart = -1;
            } else if (x < r.right && runStart < 0) {
                runStart = x;
            }
        }
    }
    FillSpans(*d, interior);
    return TRUE;
}

int SetPolyFillMode(HDC, int mode) {
    int old = g_fillMode;
    if (mode == ALTERNATE || mode == WINDING) g_fillMode = mode;
    return old;
}

BOOL Polygon(HDC dc, const POINT* pts, int count) {
    Dc* d = FindDc(dc);
    if (!d || !pts || count < 2) return FALSE;
    std::vector<POINT> p(count);
    for (int i = 0; i < count; ++i) p[i] = {d->TX(pts[i].x), d->TY(pts[i].y)};
    int minY = p[0].y, maxY = p[0].y;
    for (const POINT& q : p) minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
    std::vector<RECT> rows;
    std::vector<std::pair<double, int>> xs;
    for (int y = minY; y < maxY; ++y) {
        double cy = y + 0.5;
        xs.clear();
        for (int i = 0; i < count; ++i) {
            POINT a = p[i], b = p[(i + 1) % count];
            if (a.y == b.y || cy < std::min(a.y, b.y) || cy >= std::max(a.y, b.y)) continue;
            xs.push_back({a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y), a.y < b.y ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            wind += xs[k].second;
            bool in = g_fillMode == ALTERNATE ? (k % 2 == 0) : wind != 0;
            int x0 = static_cast<int>(std::ceil(xs[k].first - 0.5)),
                x1 = static_cast<int>(std::ceil(xs[k + 1].first - 0.5));
            if (in && x1 > x0) rows.push_back({x0, y, x1, y + 1});
        }
    }
    FillSpans(*d, rows);
    std::optional<PenPainter> pp;
    if (MakePainter(*d, pp))
        for (int i = 0; i < count; ++i) Line(*pp, p[i].x, p[i].y, p[(i + 1) % count].x, p[(i + 1) % count].y);
    return TRUE;
}

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
    Dc* d = FindDc(dc);
    Region* r = RegionOf(rgn);
    COLORREF c = 0;
    if (!d || !r) return FALSE;
    const Brush* b = BrushOf(brush, c);
    if (!b) return FALSE;
    for (RECT piece : r->Rects()) {
        OffsetRect(&piece, d->TX(0), d->TY(0));
        FillSurfaceRect(*d, piece, *b, c);
    }
    return TRUE;
}

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int w, int h) {
    Region* r = RegionOf(rgn);
    if (!r || w < 1 || h < 1) return FALSE;
    // The frame is the region minus the region shrunk by w and h.
    Region shrunk = *r;
    for (int dx : {-w, w}) {
        Region m = *r;
        m.Offset(dx, 0);
        shrunk = Region::Combine(shrunk, m, Region::Op::And);
    }
    for (int dy : {-h, h}) {
        Region m = *r;
        m.Offset(0, dy);
        shrunk = Region::Combine(shrunk, m, Region::Op::And);
    }
    HRGN frame = CreateRegionHandle(Region::Combine(*r, shrunk, Region::Op::Diff));
    BOOL ok = FillRgn(dc, frame, brush);
    DeleteObject(frame);
    return ok;
}
