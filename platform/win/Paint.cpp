#include "win/Paint.h"

#include "display/Backend.h"
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <unordered_map>

namespace win {
namespace {

using gdi::Region;

Region And(const Region& a, const Region& b) {
    return Region::Combine(a, b, Region::Op::And);
}

// What of w (window units) is not covered by anything: ancestors' client
// areas and regions, siblings in front (WS_CLIPSIBLINGS) and, when asked,
// its own children.
Region VisibleArea(const Window& w, bool clipChildren) {
    if (!IsReallyVisible(w)) return {};
    Region r(RECT{0, 0, w.Width(), w.Height()});
    if (w.region) r = And(r, *w.region);
    POINT wo = WindowOrigin(w);
    for (WindowPtr c = Get(w.handle); c && c->Child();) {
        WindowPtr a = Get(c->parent);
        if (!a) break;
        POINT ao = ClientOrigin(*a);
        r = And(r, Region(RECT{ao.x - wo.x, ao.y - wo.y, ao.x - wo.x + a->client.right - a->client.left,
                               ao.y - wo.y + a->client.bottom - a->client.top}));
        if (a->region) {
            Region ar = *a->region;
            POINT awo = WindowOrigin(*a);
            ar.Offset(awo.x - wo.x, awo.y - wo.y);
            r = And(r, ar);
        }
        if (c->style & WS_CLIPSIBLINGS) {
            for (HWND s : a->children) {
                if (s == c->handle) break;
                WindowPtr sw = Get(s);
                if (!sw || !(sw->style & WS_VISIBLE)) continue;
                POINT so = WindowOrigin(*sw);
                Region sr(
                    RECT{so.x - wo.x, so.y - wo.y, so.x - wo.x + sw->Width(), so.y - wo.y + sw->Height()});
                if (sw->region) {
                    Region t = *sw->region;
                    t.Offset(so.x - wo.x, so.y - wo.y);
                    sr = And(sr, t);
                }
                r = Region::Combine(r, sr, Region::Op::Diff);
            }
        }
        c = a;
    }
    if (clipChildren)
        for (HWND k : w.children) {
            WindowPtr kw = Get(k);
            if (!kw || !(kw->style & WS_VISIBLE)) continue;
            Region kr(RECT{w.client.left + kw->rect.left, w.client.top + kw->rect.top,
                           w.client.left + kw->rect.right, w.client.top + kw->rect.bottom});
            if (kw->region) {
                Region t = *kw->region;
                t.Offset(w.client.left + kw->rect.left, w.client.top + kw->rect.top);
                kr = And(kr, t);
            }
            r = Region::Combine(r, kr, Region::Op::Diff);
        }
    return r;
}

HWND g_locked = nullptr; // LockWindowUpdate's window

bool Locked(const Window& w) {
    return g_locked && (w.handle == g_locked || IsChild(g_locked, w.handle));
}

HDC MakeDC(const Window& w, bool client, const Region* limit) {
    WindowPtr root = Get(RootOf(w.handle));
    // A layered window's picture and a locked window take no drawing.
    if (!root || root->picture || Locked(w)) return gdi::CreateSurfaceDC(nullptr, {}, {});
    Region vis = VisibleArea(w, w.style & WS_CLIPCHILDREN);
    if (client) vis = And(vis, Region(w.client));
    if (limit) vis = And(vis, *limit);
    POINT off = SurfaceOffset(w);
    if (client) {
        off.x += w.client.left, off.y += w.client.top;
        vis.Offset(-w.client.left, -w.client.top);
    }
    return gdi::CreateSurfaceDC(root ? root->surface : nullptr, off, vis);
}

void InvalidateTree(Window& w, const Region& area, bool erase, bool frame, bool allChildren) {
    if (!IsReallyVisible(w)) return;
    Region a = And(area, Region(RECT{0, 0, w.Width(), w.Height()}));
    if (!frame) a = And(a, Region(w.client));
    if (a.Empty()) return;
    if (frame) w.ncDirty = true; // the frame is asked to paint even when it has no area
    w.update = Region::Combine(w.update, And(a, Region(w.client)), Region::Op::Or);
    if (erase) w.erase = true;
    if (!allChildren && (w.style & WS_CLIPCHILDREN)) return;
    for (HWND k : w.children) {
        WindowPtr kw = Get(k);
        if (!kw) continue;
        Region ka = a;
        ka.Offset(-(w.client.left + kw->rect.left), -(w.client.top + kw->rect.top));
        InvalidateTree(*kw, ka, erase, true, allChildren);
    }
}

bool NeedsPaint(const Window& w) {
    return !w.update.Empty() || w.ncDirty || w.internalPaint;
}

// What BeginPaint does before WM_PAINT, without it: WM_NCPAINT for a pending
// frame, WM_ERASEBKGND for a pending erase; the update region stays.
void EraseNow(HWND h) {
    WindowPtr w = Get(h);
    if (!w) return;
    if (w->ncDirty) {
        w->ncDirty = false;
        SendMessage(h, WM_NCPAINT, 1, 0);
        if (!Get(h)) return;
    }
    if (w->erase && !w->update.Empty()) {
        w->erase = false;
        HDC dc = MakeDC(*w, true, &w->update);
        SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        DeleteDC(dc);
        if (WindowPtr still = Get(h)) PresentWindow(*still);
    }
}

void PaintNow(HWND h, bool children, bool paint) {
    WindowPtr w = Get(h);
    if (!w || !IsReallyVisible(*w)) return;
    if (NeedsPaint(*w)) {
        if (paint)
            SendMessage(h, WM_PAINT, 0, 0);
        else
            EraseNow(h);
    }
    if (!children || !Get(h)) return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) PaintNow(k, true, paint);
}

HWND FindPaint(HWND h) {
    WindowPtr w = Get(h);
    if (!w || !IsReallyVisible(*w)) return nullptr;
    if (!w->update.Empty() || w->ncDirty || w->internalPaint) return h;
    for (HWND k : w->children)
        if (HWND f = FindPaint(k)) return f;
    return nullptr;
}

Region ClientToWindow(const Window& w, const RECT* r, HRGN rgn) {
    Region a;
    if (rgn) {
        if (gdi::Region* g = gdi::RegionOf(rgn)) a = *g;
    } else if (r) {
        a = Region(*r);
    } else {
        a = Region(RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top});
    }
    a.Offset(w.client.left, w.client.top);
    return a;
}

} // namespace

void InvalidateWindow(Window& w, const gdi::Region& area, bool erase, bool frame) {
    InvalidateTree(w, area, erase, frame, true);
}

void InvalidateFrame(Window& w) {
    if (IsReallyVisible(w)) w.ncDirty = true;
}

void InvalidateParentArea(Window& w) {
    WindowPtr p = w.Child() ? Get(w.parent) : nullptr;
    if (!p) return;
    Region a(RECT{p->client.left + w.rect.left, p->client.top + w.rect.top, p->client.left + w.rect.right,
                  p->client.top + w.rect.bottom});
    InvalidateTree(*p, a, true, false, false);
    if (!(p->style & WS_CLIPCHILDREN) || !IsReallyVisible(*p)) return;
    // Siblings the window covered there show again: overlapping document windows, as in Win32.
    for (HWND k : p->children) {
        WindowPtr kw = Get(k);
        if (!kw || kw.get() == &w) continue;
        Region ka = a;
        ka.Offset(-(p->client.left + kw->rect.left), -(p->client.top + kw->rect.top));
        InvalidateTree(*kw, ka, true, true, false);
    }
}

HWND NextPaintWindow(HWND filter) {
    if (filter) {
        WindowPtr w = Get(filter);
        return w && IsReallyVisible(*w) && (!w->update.Empty() || w->ncDirty || w->internalPaint) ? filter
                                                                                                  : nullptr;
    }
    for (HWND h : TopLevels())
        if (HWND f = FindPaint(h)) return f;
    return nullptr;
}

void PresentWindow(Window& w) {
    HWND root = RootOf(w.handle);
    WindowPtr r = Get(root);
    if (r && r->surface) display::Current().Present(Id(root), {0, 0, r->Width(), r->Height()});
}

const gdi::Bitmap* GetWindowSurface(HWND h) {
    WindowPtr w = Get(RootOf(h));
    return w ? w->surface.get() : nullptr;
}

} // namespace win

using namespace win;

BOOL InvalidateRect(HWND h, const RECT* r, BOOL erase) {
    if (!h) return FALSE;
    return RedrawWindow(h, r, nullptr, RDW_INVALIDATE | (erase ? static_cast<UINT>(RDW_ERASE) : 0u));
}

BOOL InvalidateRgn(HWND h, HRGN rgn, BOOL erase) {
    return RedrawWindow(h, nullptr, rgn, RDW_INVALIDATE | (erase ? static_cast<UINT>(RDW_ERASE) : 0u));
}

BOOL ValidateRect(HWND h, const RECT* r) {
    return RedrawWindow(h, r, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}
BOOL ValidateRgn(HWND h, HRGN rgn) {
    return RedrawWindow(h, nullptr, rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL RedrawWindow(HWND h, const RECT* r, HRGN rgn, UINT flags) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    bool frame = (flags & RDW_FRAME) && !r && !rgn;
    Region area = frame ? Region(RECT{0, 0, w->Width(), w->Height()}) : ClientToWindow(*w, r, rgn);
    if (flags & RDW_INVALIDATE) {
        if (flags & RDW_NOCHILDREN) {
            DWORD keep = w->style;
            w->style |= WS_CLIPCHILDREN;
            InvalidateTree(*w, area, flags & RDW_ERASE, flags & RDW_FRAME, false);
            w->style = keep;
        } else {
            InvalidateTree(*w, area, flags & RDW_ERASE, flags & RDW_FRAME, flags & RDW_ALLCHILDREN);
        }
    }
    if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
    if (flags & RDW_VALIDATE) {
        w->update = Region::Combine(w->update, area, Region::Op::Diff);
        if (frame || (flags & RDW_NOFRAME)) w->ncDirty = false;
        if (w->update.Empty()) w->erase = false;
    }
    if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
    if (flags & RDW_NOERASE) w->erase = false;
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(h, flags & RDW_ALLCHILDREN, flags & RDW_UPDATENOW);
    return TRUE;
}

BOOL GetUpdateRect(HWND h, RECT* r, BOOL) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    RECT box = w->update.Box();
    if (!w->update.Empty()) OffsetRect(&box, -w->client.left, -w->client.top);
    if (r) *r = box;
    return !w->update.Empty();
}

int GetUpdateRgn(HWND h, HRGN rgn, BOOL) {
    WindowPtr w = Get(h);
    gdi::Region* out = gdi::RegionOf(rgn);
    if (!w || !out) return ERROR_REGION;
    *out = w->update;
    out->Offset(-w->client.left, -w->client.top);
    return gdi::Complexity(*out);
}

BOOL UpdateWindow(HWND h) {
    if (!Get(h)) return FALSE;
    PaintNow(h, true, true); // invalid child windows are painted too, as Win32 does
    return TRUE;
}

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
    WindowPtr w = Get(h);
    if (!w || !ps) return nullptr;
    *ps = {};
    if (w->ncDirty) {
        w->ncDirty = false;
        SendMessage(h, WM_NCPAINT, 1, 0);
        if (!Get(h)) return nullptr;
    }
    bool erase = w->erase;
    Region upd = w->update;
    w->update.Clear();
    w->erase = w->internalPaint = false;
    upd.Offset(-w->client.left, -w->client.top);
    Region limit = upd;
    limit.Offset(w->client.left, w->client.top);
    HDC dc = MakeDC(*w, true, &limit);
    ps->hdc = dc;
    ps->rcPaint = upd.Box();
    // fErase: the background still needs erasing (an erase was pending and
    // WM_ERASEBKGND did not do it).
    ps->fErase = FALSE;
    if (erase) ps->fErase = SendMessage(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    HideCaret(h);
    return dc;
}

BOOL EndPaint(HWND h, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    DeleteDC(ps->hdc);
    ShowCaret(h);
    if (WindowPtr w = Get(h)) PresentWindow(*w);
    return TRUE;
}

HDC GetDC(HWND h) {
    if (!h) return gdi::CreateSurfaceDC(nullptr, {}, {}); // the screen: measures, draws nothing
    WindowPtr w = Get(h);
    return w ? MakeDC(*w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND h) {
    WindowPtr w = Get(h);
    return w ? MakeDC(*w, false, nullptr) : nullptr;
}

HDC GetDCEx(HWND h, HRGN clip, DWORD flags) {
    WindowPtr w = Get(h);
    if (!w) return nullptr;
    gdi::Region* r = gdi::RegionOf(clip);
    HDC dc = MakeDC(*w, !(flags & DCX_WINDOW), nullptr);
    if (r && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
        ExtSelectClipRgn(dc, clip, (flags & DCX_EXCLUDERGN) ? RGN_DIFF : RGN_AND);
    return dc;
}

int ReleaseDC(HWND h, HDC dc) {
    if (!DeleteDC(dc)) return 0;
    if (WindowPtr w = Get(h)) PresentWindow(*w);
    return 1;
}

BOOL ScrollWindow(HWND h, int dx, int dy, const RECT* r, const RECT* clip) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    RECT client;
    GetClientRect(h, &client);
    RECT area = r ? *r : client;
    if (clip) IntersectRect(&area, &area, clip);
    HDC dc = GetDC(h);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    BitBlt(dc, area.left + dx, area.top + dy, area.right - area.left, area.bottom - area.top, dc, area.left,
           area.top, SRCCOPY);
    ReleaseDC(h, dc);
    // A pending update inside the area moves with the pixels it stands for;
    // what the move uncovered must be painted again.
    Region areaW(area);
    areaW.Offset(w->client.left, w->client.top);
    Region pending = And(w->update, areaW);
    if (!pending.Empty()) {
        w->update = Region::Combine(w->update, pending, Region::Op::Diff);
        pending.Offset(dx, dy);
        w->update = Region::Combine(w->update, And(pending, areaW), Region::Op::Or);
    }
    Region uncovered(area);
    Region moved(RECT{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy});
    uncovered = Region::Combine(uncovered, moved, Region::Op::Diff);
    uncovered.Offset(w->client.left, w->client.top);
    DWORD keep = w->style;
    w->style |= WS_CLIPCHILDREN;
    InvalidateTree(*w, uncovered, true, false, false);
    w->style = keep;
    if (!r) {
        std::vector<HWND> kids = w->children;
        for (HWND k : kids)
            if (WindowPtr kw = Get(k))
                SetWindowPos(k, nullptr, kw->rect.left + dx, kw->rect.top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

// One window at a time, as Win32 does: drawing into it and its children is
// dropped while it is locked, and unlocking repaints it whole.
BOOL LockWindowUpdate(HWND h) {
    if (!h) {
        HWND was = g_locked;
        g_locked = nullptr;
        if (was && Get(was))
            RedrawWindow(was, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return TRUE;
    }
    if (!Get(h) || (g_locked && Get(g_locked))) return FALSE;
    g_locked = h;
    return TRUE;
}
