#include "win/WindowPos.h"

#include "display/Backend.h"
#include "gdi/Dc.h"
#include "gdi/IconImage.h"
#include "gdi/Objects.h"
#include "win/Input.h"
#include "win/Mdi.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/System.h"
#include "win/WindowImpl.h"

#include <algorithm>

namespace win {

namespace {

bool OwnedBy(HWND h, HWND owner) {
    for (WindowPtr o = Get(h); o && o->owner; o = Get(o->owner))
        if (o->owner == owner) return true;
    return false;
}

// Owned windows stay in front of their owner, as Win32 does: those that fell
// behind it move up to just in front of it, keeping their own order.
void KeepOwnedAbove(std::vector<HWND>& list, HWND owner) {
    auto at = std::find(list.begin(), list.end(), owner);
    std::vector<HWND> behind;
    for (auto it = at; it != list.end(); ++it)
        if (OwnedBy(*it, owner)) behind.push_back(*it);
    if (behind.empty()) return;
    for (HWND o : behind) std::erase(list, o);
    list.insert(std::find(list.begin(), list.end(), owner), behind.begin(), behind.end());
}

void ApplyZOrder(Window& w, HWND after) {
    auto& list = w.Child() ? Get(w.parent)->children : TopLevels();
    if (after == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
    if (after == HWND_NOTOPMOST) w.exStyle &= ~WS_EX_TOPMOST;
    std::erase(list, w.handle);
    auto isTopmost = [](HWND h) {
        WindowPtr o = Get(h);
        return o && (o->exStyle & WS_EX_TOPMOST);
    };
    auto pos = list.begin();
    if (after == HWND_BOTTOM) {
        pos = list.end();
    } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        // Topmost windows stay in front of the others among top-level windows.
        if (!w.Child() && !(w.exStyle & WS_EX_TOPMOST))
            while (pos != list.end() && isTopmost(*pos)) ++pos;
    } else {
        auto it = std::find(list.begin(), list.end(), after);
        pos = it == list.end() ? list.begin() : it + 1;
    }
    list.insert(pos, w.handle);
    if (!w.Child()) KeepOwnedAbove(list, w.handle);
}

} // namespace

void TrackMinMax(HWND h, MINMAXINFO& mmi) {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi);
    int mw = mi.rcWork.right - mi.rcWork.left, mh = mi.rcWork.bottom - mi.rcWork.top;
    mmi.ptMaxSize = {mw, mh};
    mmi.ptMaxPosition = {0, 0};
    mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
}

RECT DefaultClientRect(const Window& w) {
    // Borders: thick frame 4, dialog frame 3, thin border 1, client edge 2;
    // a caption adds its height; scroll-bar styles take their bar's width.
    RECT r{0, 0, w.Width(), w.Height()};
    // A minimised top-level window is a task bar button; a minimised child keeps its caption.
    if ((w.style & WS_MINIMIZE) && !w.Child()) return {0, 0, 0, 0};
    int b = 0;
    if (w.style & WS_THICKFRAME)
        b = GetSystemMetrics(SM_CXFRAME);
    else if (w.style & WS_DLGFRAME)
        b = GetSystemMetrics(SM_CXDLGFRAME);
    else if (w.style & WS_BORDER)
        b = 1;
    if (w.exStyle & WS_EX_CLIENTEDGE) b += GetSystemMetrics(SM_CXEDGE);
    InflateRect(&r, -b, -b);
    if ((w.style & WS_CAPTION) == WS_CAPTION)
        r.top += (w.exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION)
                                                : GetSystemMetrics(SM_CYCAPTION);
    if (w.style & WS_VSCROLL) r.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (w.style & WS_HSCROLL) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    if (w.style & WS_MINIMIZE) r.bottom = r.top;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void ResizeSurface(Window& w) {
    if (w.Child() || w.messageOnly) return;
    auto old = w.surface;
    if (old && old->width == std::max(1, w.Width()) && old->height == std::max(1, w.Height())) return;
    w.surface = display::Current().CreateSurface(Id(w.handle), w.Width(), w.Height());
    if (old && w.surface) {
        // Keep what was drawn; the newly exposed part is invalidated by the caller.
        gdi::PixelView s = old->View(), d = w.surface->View();
        int cw = std::min(s.width, d.width), ch = std::min(s.height, d.height);
        for (int y = 0; y < ch; ++y) std::memcpy(d.Row(y), s.Row(y), static_cast<size_t>(cw) * 4);
    }
}

display::WindowKind DisplayKind(const Window& w) {
    // Menus, hints and drop-downs are tool or topmost popups; a desktop
    // window manager must neither frame, move nor focus them.
    bool popup = (w.style & WS_POPUP) && (w.exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    return popup ? display::WindowKind::Popup : display::WindowKind::Normal;
}

display::WindowTraits DesktopTraits(const Window& w) {
    display::WindowTraits t;
    t.title = w.text;
    WindowPtr owner = w.owner ? Get(RootOf(w.owner)) : nullptr;
    if (owner && !owner->messageOnly) t.owner = Id(owner->handle);
    t.topmost = (w.exStyle & WS_EX_TOPMOST) != 0;
    t.clickThrough = (w.exStyle & WS_EX_TRANSPARENT) != 0;
    if (DisplayKind(w) == display::WindowKind::Popup) {
        // Hints never take the keyboard, click-through decorations never the
        // pointer; the other popups are menus and drop-downs.
        if (w.exStyle & WS_EX_TRANSPARENT)
            t.role = display::WindowRole::Utility;
        else if (w.exStyle & WS_EX_NOACTIVATE)
            t.role = display::WindowRole::Tooltip;
        else
            t.role = display::WindowRole::Menu;
    } else if (w.exStyle & WS_EX_TOOLWINDOW) {
        t.role = display::WindowRole::Utility;
    } else if (t.owner) {
        t.role = display::WindowRole::Dialog;
    }
    return t;
}

void SyncDesktopTraits(const Window& w) {
    if (w.Child() || w.messageOnly) return;
    display::Current().SetTraits(Id(w.handle), DesktopTraits(w));
}

void SyncDesktopIcon(Window& w) {
    if (w.Child() || w.messageOnly) return;
    // The big icon first; the class's icon stands in for a window that set none.
    std::vector<gdi::IconImage> images;
    HICON big = w.icons[1] ? w.icons[1] : w.cls ? w.cls->icon : nullptr;
    HICON small = w.icons[0] != big ? w.icons[0] : nullptr;
    for (HICON icon : {big, small}) {
        gdi::IconImage image = icon ? gdi::IconImageOf(icon, 0, 0) : gdi::IconImage{};
        if (!image.Empty()) images.push_back(std::move(image));
    }
    w.iconShown = true;
    display::Current().SetIcon(Id(w.handle), images);
}

void PlaceOnDisplay(Window& w) {
    if (w.Child() || w.messageOnly) return;
    auto& d = display::Current();
    display::WindowTraits traits = DesktopTraits(w);
    d.SetTraits(Id(w.handle), traits);
    if (!w.iconShown) SyncDesktopIcon(w);
    d.SetMinimized(Id(w.handle), (w.style & WS_MINIMIZE) != 0);
    // Shape and opacity first: a backend decides by them whether to show the window at all.
    d.SetShape(Id(w.handle), w.region ? &*w.region : nullptr);
    if (!w.layered)
        d.SetOpacity(Id(w.handle), 255, false);
    else
        d.SetOpacity(Id(w.handle), w.layeredAlpha < 0 ? 255 : w.layeredAlpha, w.perPixelAlpha);
    bool visible = (w.style & WS_VISIBLE) != 0;
    d.Place(Id(w.handle), w.rect, visible, DisplayKind(w));
    d.GrabInput(Id(w.handle), visible && traits.role == display::WindowRole::Menu);
}

} // namespace win

using namespace win;

BOOL SetWindowPos(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    WINDOWPOS wp{h, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) wp.x = w->rect.left, wp.y = w->rect.top;
    if (flags & SWP_NOSIZE) wp.cx = w->Width(), wp.cy = w->Height();
    if ((w->style & WS_VISIBLE) && (flags & SWP_SHOWWINDOW)) wp.flags &= ~SWP_SHOWWINDOW;
    if (!(w->style & WS_VISIBLE) && (flags & SWP_HIDEWINDOW)) wp.flags &= ~SWP_HIDEWINDOW;
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessage(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!Get(h)) return FALSE;
    }
    wp.cx = std::max(0, wp.cx), wp.cy = std::max(0, wp.cy);
    RECT oldRect = w->rect, oldClient = w->client;
    RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    bool sized = wp.cx != w->Width() || wp.cy != w->Height();
    bool wasVisible = IsReallyVisible(*w);
    if ((moved || sized || (wp.flags & SWP_HIDEWINDOW)) && wasVisible && w->Child() &&
        !(wp.flags & SWP_NOREDRAW))
        InvalidateParentArea(*w);
    w->rect = newRect;
    if (sized || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS p{
            {newRect,
             oldRect, {oldClient.left + oldRect.left, oldClient.top + oldRect.top, oldClient.right + oldRect.left,
              oldClient.bottom + oldRect.top}},
            &wp
        };
        SendMessage(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
        if (!Get(h)) return FALSE;
        const RECT& c = p.rgrc[0];
        w->client = {c.left - newRect.left, c.top - newRect.top, c.right - newRect.left,
                     c.bottom - newRect.top};
    }
    bool raised = false;
    if (!(wp.flags & SWP_NOZORDER) && !w->messageOnly) {
        HWND above = w->Child() ? GetWindow(h, GW_HWNDPREV) : nullptr;
        ApplyZOrder(*w, wp.hwndInsertAfter);
        raised = w->Child() && above && GetWindow(h, GW_HWNDPREV) != above;
    }
    if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    if (sized) ResizeSurface(*w);
    PlaceOnDisplay(*w);

    if (!(wp.flags & SWP_NOREDRAW) && IsReallyVisible(*w)) {
        // A child moved up among its siblings shows what they covered of it.
        bool all = (wp.flags & SWP_SHOWWINDOW) || sized || (wp.flags & SWP_FRAMECHANGED) ||
                   (moved && w->Child()) || raised;
        if (all) InvalidateWindow(*w, gdi::Region(RECT{0, 0, w->Width(), w->Height()}), true, true);
    }
    if (wp.flags & SWP_HIDEWINDOW) {
        w->update.Clear();
        w->ncDirty = w->erase = false;
    }
    // The flags tell what really changed, as Win32 reports them.
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized) wp.flags |= SWP_NOSIZE;
    RECT nc = w->client;
    if (nc.left == oldClient.left && nc.top == oldClient.top && !moved) wp.flags |= SWP_NOCLIENTMOVE;
    if (nc.right - nc.left == oldClient.right - oldClient.left &&
        nc.bottom - nc.top == oldClient.bottom - oldClient.top)
        wp.flags |= SWP_NOCLIENTSIZE;
    wp.hwnd = h;
    SendMessage(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!Get(h)) return TRUE;
    // A hidden window gives up activation, focus and capture after hearing of it.
    if (wp.flags & SWP_HIDEWINDOW) OnWindowGone(h);
    // A document window shown inside its client becomes the active one there.
    if ((wp.flags & SWP_SHOWWINDOW) && w->Child() && (w->exStyle & WS_EX_MDICHILD) &&
        !(wp.flags & SWP_NOACTIVATE))
        SendMessage(h, WM_CHILDACTIVATE, 0, 0);
    if ((wp.flags & SWP_SHOWWINDOW) && !w->Child() && !w->messageOnly && !(wp.flags & SWP_NOACTIVATE) &&
        !(w->exStyle & WS_EX_NOACTIVATE))
        SetActiveWindow(h);
    return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int w, int h2, BOOL repaint) {
    return SetWindowPos(h, nullptr, x, y, w, h2,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL ShowWindow(HWND h, int cmd) {
    WindowPtr w = Get(h);
    if (!w) return FALSE;
    BOOL was = (w->style & WS_VISIBLE) != 0;
    UINT noAct = (cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWNA || cmd == SW_SHOWMINNOACTIVE)
                     ? static_cast<UINT>(SWP_NOACTIVATE)
                     : 0u;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | noAct;
    RECT target = w->rect;
    bool resize = false;
    switch (cmd) {
    case SW_HIDE:
        if (!was) return was;
        SendMessage(h, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(h, nullptr, 0, 0, 0, 0, flags | SWP_HIDEWINDOW | SWP_NOACTIVATE);
        return was;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        if (!(w->style & WS_MINIMIZE)) {
            if (!(w->style & WS_MAXIMIZE)) w->normalRect = w->rect;
            // A child lines up as a caption bar along the bottom of its parent.
            if (w->Child()) target = MinimizedChildRect(h), resize = true;
            w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            flags |= SWP_FRAMECHANGED;
        }
        if (cmd == SW_MINIMIZE) flags |= SWP_NOACTIVATE;
        break;
    case SW_MAXIMIZE:
        if (!(w->style & WS_MAXIMIZE)) {
            if (!(w->style & WS_MINIMIZE)) w->normalRect = w->rect;
            w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            resize = true;
            if (w->Child()) {
                // A child fills its parent.
                target = MaximizedChildRect(h);
                break;
            }
            MINMAXINFO mmi{};
            TrackMinMax(h, mmi);
            MONITORINFO mi{sizeof mi, {}, {}, 0};
            GetMonitorInfo(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi);
            target = {mi.rcWork.left + mmi.ptMaxPosition.x, mi.rcWork.top + mmi.ptMaxPosition.y, 0, 0};
            target.right = target.left + mmi.ptMaxSize.x;
            target.bottom = target.top + mmi.ptMaxSize.y;
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
            target = w->normalRect;
            resize = true;
        }
        break;
    default:
        break;
    }
    if (!was) SendMessage(h, WM_SHOWWINDOW, TRUE, 0);
    if (!Get(h)) return was;
    if (resize) flags &= ~(SWP_NOMOVE | SWP_NOSIZE), flags |= SWP_FRAMECHANGED;
    SetWindowPos(h, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 flags | SWP_SHOWWINDOW);
    return was;
}

BOOL BringWindowToTop(HWND h) {
    return SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND h, RECT* r) {
    WindowPtr w = Get(h);
    if (!w || !r) return FALSE;
    POINT o = WindowOrigin(*w);
    *r = {o.x, o.y, o.x + w->Width(), o.y + w->Height()};
    return TRUE;
}

BOOL GetClientRect(HWND h, RECT* r) {
    WindowPtr w = Get(h);
    if (!w || !r) return FALSE;
    *r = {0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
    return TRUE;
}

BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL, DWORD exStyle) {
    if (!r) return FALSE;
    Window probe;
    probe.style = style & ~static_cast<DWORD>(WS_MINIMIZE | WS_VSCROLL | WS_HSCROLL); // bars are not frame
    probe.exStyle = exStyle;
    probe.rect = {0, 0, 10000, 10000}; // room enough for any frame
    RECT c = DefaultClientRect(probe);
    *r = {r->left - c.left, r->top - c.top, r->right + (probe.rect.right - c.right),
          r->bottom + (probe.rect.bottom - c.bottom)};
    return TRUE;
}

BOOL ClientToScreen(HWND h, POINT* p) {
    WindowPtr w = Get(h);
    if (!w || !p) return FALSE;
    POINT o = ClientOrigin(*w);
    p->x += o.x, p->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND h, POINT* p) {
    WindowPtr w = Get(h);
    if (!w || !p) return FALSE;
    POINT o = ClientOrigin(*w);
    p->x -= o.x, p->y -= o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count) {
    POINT a{}, b{};
    if (from) {
        WindowPtr w = Get(from);
        if (!w) return 0;
        a = ClientOrigin(*w);
    }
    if (to) {
        WindowPtr w = Get(to);
        if (!w) return 0;
        b = ClientOrigin(*w);
    }
    int dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; i < count; ++i) pts[i].x += dx, pts[i].y += dy;
    return MAKELPARAM(dx, dy);
}

namespace {

bool Hits(const Window& w, POINT screen) {
    POINT o = WindowOrigin(w);
    int x = screen.x - o.x, y = screen.y - o.y;
    if (x < 0 || y < 0 || x >= w.Width() || y >= w.Height()) return false;
    return !w.region || w.region->Contains(x, y);
}

HWND ChildAt(const Window& parent, POINT screen) {
    POINT co = ClientOrigin(parent);
    RECT client{co.x, co.y, co.x + parent.client.right - parent.client.left,
                co.y + parent.client.bottom - parent.client.top};
    if (!PtInRect(&client, screen)) return nullptr;
    for (HWND c : parent.children) {
        WindowPtr k = Get(c);
        if (!k || !(k->style & WS_VISIBLE) || !Hits(*k, screen)) continue;
        if (k->style & WS_DISABLED) return nullptr; // a disabled child hides what lies under it
        if (HWND deeper = ChildAt(*k, screen)) return deeper;
        return c;
    }
    return nullptr;
}

} // namespace

HWND WindowFromPoint(POINT p) {
    for (HWND h : TopLevels()) {
        WindowPtr w = Get(h);
        // A minimised window is only a task bar button: nothing of it lies on the screen.
        if (!w || (w->style & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE)) != WS_VISIBLE || !Hits(*w, p))
            continue;
        if ((w->exStyle & WS_EX_TRANSPARENT) && (w->exStyle & WS_EX_LAYERED)) continue; // click-through
        HWND c = ChildAt(*w, p);
        return c ? c : h;
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
    WindowPtr p = Get(parent);
    if (!p) return nullptr;
    POINT s = pt;
    ClientToScreen(parent, &s);
    for (HWND c : p->children) {
        WindowPtr k = Get(c);
        if (k && Hits(*k, s)) return c;
    }
    RECT r;
    GetClientRect(parent, &r);
    return PtInRect(&r, pt) ? parent : nullptr;
}

int SetWindowRgn(HWND h, HRGN rgn, BOOL redraw) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    gdi::Region* r = gdi::RegionOf(rgn);
    if (rgn && !r) return 0;
    if (r)
        w->region = *r;
    else
        w->region.reset();
    if (rgn) DeleteObject(rgn); // the window owns it now
    PlaceOnDisplay(*w);
    if (redraw && IsReallyVisible(*w)) {
        if (w->Child()) InvalidateParentArea(*w);
        InvalidateWindow(*w, gdi::Region(RECT{0, 0, w->Width(), w->Height()}), true, true);
    }
    return 1;
}

int GetWindowRgn(HWND h, HRGN out) {
    WindowPtr w = Get(h);
    gdi::Region* r = gdi::RegionOf(out);
    if (!w || !r || !w->region) return ERROR_REGION;
    *r = *w->region;
    return gdi::Complexity(*r);
}

BOOL GetWindowPlacement(HWND h, WINDOWPLACEMENT* wp) {
    WindowPtr w = Get(h);
    if (!w || !wp) return FALSE;
    wp->flags = 0;
    wp->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                  : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                             : SW_SHOWNORMAL;
    wp->rcNormalPosition = (w->style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->normalRect : w->rect;
    return TRUE;
}
