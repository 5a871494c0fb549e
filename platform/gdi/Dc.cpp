#include "gdi/Dc.h"

#include "gdi/DcImpl.h"
#include "gdi/Objects.h"

#include <climits>
#include <mutex>
#include <unordered_map>

namespace gdi {
namespace {

struct DcTable {
    std::mutex m;
    std::unordered_map<uintptr_t, std::unique_ptr<Dc>> dcs;
    uintptr_t next = 1;
};

DcTable& T() {
    static DcTable t;
    return t;
}

HDC AddDc(std::unique_ptr<Dc> dc) {
    std::lock_guard g(T().m);
    uintptr_t key = (T().next++) << 4;
    T().dcs.emplace(key, std::move(dc));
    return reinterpret_cast<HDC>(key);
}

// A 1x1 bitmap every memory DC starts with, as in Win32.
HBITMAP DefaultBitmap() {
    static HBITMAP b = [] {
        HBITMAP h = CreateBitmap(1, 1, 1, 32, nullptr);
        FindObject(h, OBJ_BITMAP)->stock = true;
        return h;
    }();
    return b;
}

constexpr RECT kEverything{INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, INT_MAX / 4};

void Select(DcState& s, HGDIOBJ h) {
    NoteSelected(h, 1), (void)s;
}

void ReleaseState(DcState& s) {
    for (HGDIOBJ h : {s.bitmap, s.brush, s.pen, s.font}) NoteSelected(h, -1);
}

void RetainState(DcState& s) {
    for (HGDIOBJ h : {s.bitmap, s.brush, s.pen, s.font}) NoteSelected(h, 1);
}

RECT DeviceRect(const Dc& d, int l, int t, int r, int b) {
    int dx = -d.s.windowOrg.x + d.s.viewportOrg.x, dy = -d.s.windowOrg.y + d.s.viewportOrg.y;
    return {std::min(l, r) + dx, std::min(t, b) + dy, std::max(l, r) + dx, std::max(t, b) + dy};
}

int ClipResult(Dc& d) {
    d.Dirty();
    return Complexity(d.Clip());
}

} // namespace

Dc* FindDc(HDC dc) {
    std::lock_guard g(T().m);
    auto it = T().dcs.find(reinterpret_cast<uintptr_t>(dc));
    return it == T().dcs.end() ? nullptr : it->second.get();
}

const Region& Dc::Clip() const {
    if (!cache_) {
        Bitmap* b = Target();
        Region r;
        if (b) {
            Region area = memory ? Region(RECT{0, 0, b->width, b->height}) : visible;
            if (s.clip) area = Region::Combine(area, *s.clip, Region::Op::And);
            area.Offset(origin.x, origin.y);
            r = Region::Combine(area, Region(RECT{0, 0, b->width, b->height}), Region::Op::And);
        }
        cache_ = std::move(r);
    }
    return *cache_;
}

const Brush* Dc::CurBrush(COLORREF& color) const {
    auto* b = Find<Brush>(s.brush, OBJ_BRUSH);
    if (!b || b->style == BS_NULL) return nullptr;
    color = ResolveColor(s.brush == GetStockObject(DC_BRUSH) ? s.dcBrush : b->color);
    return b;
}

const Pen* Dc::CurPen(COLORREF& color) const {
    auto* p = Find<Pen>(s.pen, OBJ_PEN);
    if (!p || p->style == PS_NULL) return nullptr;
    color = ResolveColor(s.pen == GetStockObject(DC_PEN) ? s.dcPen : p->color);
    return p;
}

void FillWithBrush(const PixelView& v, const RECT& r, const Brush& b, COLORREF solid, POINT brushOrg) {
    if (b.style == BS_PATTERN && b.pattern) {
        PixelView p = b.pattern->View();
        for (int y = r.top; y < r.bottom; ++y) {
            int py = ((y - brushOrg.y) % p.height + p.height) % p.height;
            for (int x = r.left; x < r.right; ++x)
                v.Put(x, y, p.Get(((x - brushOrg.x) % p.width + p.width) % p.width, py) & 0xFFFFFF);
        }
        return;
    }
    uint32_t px = PixelOf(solid);
    for (int y = r.top; y < r.bottom; ++y) {
        if (v.bpp == 32) {
            uint32_t* row = v.Row32(y);
            std::fill(row + r.left, row + r.right, px);
        } else {
            for (int x = r.left; x < r.right; ++x) v.Put(x, y, px);
        }
    }
}

DibInfo GetDCDib(HDC h) {
    Dc* d = FindDc(h);
    if (!d || !d->memory || !d->s.target || !d->s.target->dib || d->s.bitmap == DefaultBitmap()) return {};
    const Bitmap& b = *d->s.target;
    return {b.bits, b.width, b.height, b.bpp, b.topDown, b.stride};
}

HDC CreateSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, const Region& visible) {
    auto d = std::make_unique<Dc>();
    d->memory = false;
    d->surface = std::move(surface);
    d->origin = origin;
    d->visible = visible;
    d->s.brush = GetStockObject(WHITE_BRUSH);
    d->s.pen = GetStockObject(BLACK_PEN);
    d->s.font = GetStockObject(SYSTEM_FONT);
    RetainState(d->s);
    return AddDc(std::move(d));
}

void SetSurfaceDCVisible(HDC h, const Region& visible) {
    if (Dc* d = FindDc(h)) {
        d->visible = visible;
        d->Dirty();
    }
}

bool IsMemoryDC(HDC h) {
    Dc* d = FindDc(h);
    return d && d->memory;
}

} // namespace gdi

using namespace gdi;

HDC CreateCompatibleDC(HDC) {
    auto d = std::make_unique<Dc>();
    d->s.bitmap = DefaultBitmap();
    d->s.target = SharedBitmap(DefaultBitmap());
    d->s.brush = GetStockObject(WHITE_BRUSH);
    d->s.pen = GetStockObject(BLACK_PEN);
    d->s.font = GetStockObject(SYSTEM_FONT);
    RetainState(d->s);
    return AddDc(std::move(d));
}

BOOL DeleteDC(HDC h) {
    std::unique_ptr<Dc> d;
    {
        std::lock_guard g(T().m);
        auto it = T().dcs.find(reinterpret_cast<uintptr_t>(h));
        if (it == T().dcs.end()) return FALSE;
        d = std::move(it->second);
        T().dcs.erase(it);
    }
    ReleaseState(d->s);
    for (DcState& s : d->saved) ReleaseState(s);
    return TRUE;
}

int SaveDC(HDC h) {
    Dc* d = FindDc(h);
    if (!d) return 0;
    d->saved.push_back(d->s);
    RetainState(d->s);
    return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC h, int level) {
    Dc* d = FindDc(h);
    if (!d) return FALSE;
    int n = static_cast<int>(d->saved.size());
    if (level < 0) level = n + 1 + level;
    if (level < 1 || level > n) return FALSE;
    while (static_cast<int>(d->saved.size()) > level) {
        ReleaseState(d->saved.back());
        d->saved.pop_back();
    }
    ReleaseState(d->s);
    d->s = std::move(d->saved.back());
    d->saved.pop_back();
    d->Dirty();
    return TRUE;
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
    Dc* d = FindDc(h);
    Object* o = FindObject(obj, 0);
    if (!d || !o) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (o->type) {
    case OBJ_BRUSH:
        slot = &d->s.brush;
        break;
    case OBJ_PEN:
        slot = &d->s.pen;
        break;
    case OBJ_FONT:
        slot = &d->s.font;
        break;
    case OBJ_REGION: {
        int r = SelectClipRgn(h, static_cast<HRGN>(obj));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(r));
    }
    case OBJ_BITMAP: {
        // A bitmap lives in one memory DC at a time.
        if (!d->memory || (o->selections > 0 && obj != d->s.bitmap && !o->stock)) return nullptr;
        slot = &d->s.bitmap;
        d->s.target = SharedBitmap(static_cast<HBITMAP>(obj));
        d->Dirty();
        break;
    }
    default:
        return nullptr;
    }
    HGDIOBJ old = *slot;
    Select(d->s, obj);
    NoteSelected(old, -1);
    *slot = obj;
    return old;
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
    Dc* d = FindDc(h);
    if (!d) return nullptr;
    switch (type) {
    case OBJ_BITMAP:
        return d->s.bitmap;
    case OBJ_BRUSH:
        return d->s.brush;
    case OBJ_PEN:
        return d->s.pen;
    case OBJ_FONT:
        return d->s.font;
    default:
        return nullptr;
    }
}

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case HORZRES:
        return 1280; // refined by the display through the window system
    case VERTRES:
        return 1024;
    default:
        return 0;
    }
}

#define DC_OR(ret)                                                                                           \
    Dc* d = FindDc(h);                                                                                       \
    if (!d) return ret

namespace {
BOOL SetOrg(POINT& org, POINT value, POINT* old) {
    if (old) *old = org;
    org = value;
    return TRUE;
}
BOOL GetOrg(const POINT& org, POINT* out) {
    if (out) *out = org;
    return TRUE;
}
} // namespace

BOOL SetWindowOrgEx(HDC h, int x, int y, POINT* old) {
    DC_OR(FALSE);
    return SetOrg(d->s.windowOrg, {x, y}, old);
}
BOOL GetWindowOrgEx(HDC h, POINT* org) {
    DC_OR(FALSE);
    return GetOrg(d->s.windowOrg, org);
}
BOOL OffsetWindowOrgEx(HDC h, int dx, int dy, POINT* old) {
    DC_OR(FALSE);
    return SetOrg(d->s.windowOrg, {d->s.windowOrg.x + dx, d->s.windowOrg.y + dy}, old);
}
BOOL SetViewportOrgEx(HDC h, int x, int y, POINT* old) {
    DC_OR(FALSE);
    return SetOrg(d->s.viewportOrg, {x, y}, old);
}
BOOL GetViewportOrgEx(HDC h, POINT* org) {
    DC_OR(FALSE);
    return GetOrg(d->s.viewportOrg, org);
}
BOOL OffsetViewportOrgEx(HDC h, int dx, int dy, POINT* old) {
    DC_OR(FALSE);
    return SetOrg(d->s.viewportOrg, {d->s.viewportOrg.x + dx, d->s.viewportOrg.y + dy}, old);
}
BOOL LPtoDP(HDC h, POINT* pts, int count) {
    DC_OR(FALSE);
    for (int i = 0; i < count; ++i)
        pts[i].x += d->s.viewportOrg.x - d->s.windowOrg.x, pts[i].y += d->s.viewportOrg.y - d->s.windowOrg.y;
    return TRUE;
}
BOOL DPtoLP(HDC h, POINT* pts, int count) {
    DC_OR(FALSE);
    for (int i = 0; i < count; ++i)
        pts[i].x -= d->s.viewportOrg.x - d->s.windowOrg.x, pts[i].y -= d->s.viewportOrg.y - d->s.windowOrg.y;
    return TRUE;
}

int IntersectClipRect(HDC h, int l, int t, int r, int b) {
    DC_OR(ERROR_REGION);
    Region rect(DeviceRect(*d, l, t, r, b));
    d->s.clip = d->s.clip ? Region::Combine(*d->s.clip, rect, Region::Op::And) : rect;
    return ClipResult(*d);
}

int ExcludeClipRect(HDC h, int l, int t, int r, int b) {
    DC_OR(ERROR_REGION);
    Region base = d->s.clip ? *d->s.clip : Region(kEverything);
    d->s.clip = Region::Combine(base, Region(DeviceRect(*d, l, t, r, b)), Region::Op::Diff);
    return ClipResult(*d);
}

int ExtSelectClipRgn(HDC h, HRGN rgn, int mode) {
    DC_OR(ERROR_REGION);
    Region* r = RegionOf(rgn);
    if (!r) {
        if (mode != RGN_COPY) return ERROR_REGION;
        d->s.clip.reset();
        return ClipResult(*d);
    }
    Region base = d->s.clip ? *d->s.clip : Region(kEverything);
    switch (mode) {
    case RGN_COPY:
        d->s.clip = *r;
        break;
    case RGN_AND:
        d->s.clip = Region::Combine(base, *r, Region::Op::And);
        break;
    case RGN_OR:
        d->s.clip = d->s.clip ? Region::Combine(base, *r, Region::Op::Or) : base;
        break;
    case RGN_DIFF:
        d->s.clip = Region::Combine(base, *r, Region::Op::Diff);
        break;
    case RGN_XOR:
        d->s.clip = Region::Combine(base, *r, Region::Op::Xor);
        break;
    default:
        return ERROR_REGION;
    }
    return ClipResult(*d);
}

int SelectClipRgn(HDC h, HRGN rgn) {
    return ExtSelectClipRgn(h, rgn, RGN_COPY);
}

int OffsetClipRgn(HDC h, int dx, int dy) {
    DC_OR(ERROR_REGION);
    if (d->s.clip) d->s.clip->Offset(dx, dy);
    return ClipResult(*d);
}

int GetClipBox(HDC h, RECT* box) {
    DC_OR(ERROR_REGION);
    if (!box) return ERROR_REGION;
    const Region& c = d->Clip();
    *box = c.Box();
    if (!c.Empty()) OffsetRect(box, -(d->TX(0)), -(d->TY(0)));
    return Complexity(c);
}

int GetClipRgn(HDC h, HRGN rgn) {
    DC_OR(-1);
    Region* r = RegionOf(rgn);
    if (!r) return -1;
    if (!d->s.clip) return 0;
    *r = *d->s.clip;
    return 1;
}

BOOL PtVisible(HDC h, int x, int y) {
    DC_OR(FALSE);
    return d->Clip().Contains(d->TX(x), d->TY(y));
}

BOOL RectVisible(HDC h, const RECT* r) {
    DC_OR(FALSE);
    if (!r) return FALSE;
    RECT t{d->TX(r->left), d->TY(r->top), d->TX(r->right), d->TY(r->bottom)};
    return d->Clip().Intersects(t);
}

#define DC_SWAP(field, value)                                                                                \
    auto old = d->s.field;                                                                                   \
    d->s.field = value;                                                                                      \
    return old

COLORREF SetTextColor(HDC h, COLORREF c) {
    DC_OR(CLR_INVALID);
    DC_SWAP(textColor, c);
}
COLORREF GetTextColor(HDC h) {
    DC_OR(CLR_INVALID);
    return d->s.textColor;
}
COLORREF SetBkColor(HDC h, COLORREF c) {
    DC_OR(CLR_INVALID);
    DC_SWAP(bkColor, c);
}
COLORREF GetBkColor(HDC h) {
    DC_OR(CLR_INVALID);
    return d->s.bkColor;
}
int SetBkMode(HDC h, int mode) {
    DC_OR(0);
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    DC_SWAP(bkMode, mode);
}
int GetBkMode(HDC h) {
    DC_OR(0);
    return d->s.bkMode;
}
int SetROP2(HDC h, int rop2) {
    DC_OR(0);
    if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    DC_SWAP(rop2, rop2);
}
int GetROP2(HDC h) {
    DC_OR(0);
    return d->s.rop2;
}
int SetStretchBltMode(HDC h, int mode) {
    DC_OR(0);
    DC_SWAP(stretchMode, mode);
}
int GetStretchBltMode(HDC h) {
    DC_OR(0);
    return d->s.stretchMode;
}
BOOL SetBrushOrgEx(HDC h, int x, int y, POINT* old) {
    DC_OR(FALSE);
    if (old) *old = d->s.brushOrg;
    d->s.brushOrg = {x, y};
    return TRUE;
}
UINT SetTextAlign(HDC h, UINT align) {
    DC_OR(0xFFFFFFFF);
    DC_SWAP(textAlign, align);
}
UINT GetTextAlign(HDC h) {
    DC_OR(0xFFFFFFFF);
    return d->s.textAlign;
}
COLORREF SetDCBrushColor(HDC h, COLORREF c) {
    DC_OR(CLR_INVALID);
    DC_SWAP(dcBrush, c);
}
COLORREF SetDCPenColor(HDC h, COLORREF c) {
    DC_OR(CLR_INVALID);
    DC_SWAP(dcPen, c);
}
