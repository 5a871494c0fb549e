#include "win/Mdi.h"

#include "gdi/SysColors.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/System.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace win {
namespace {

constexpr char kClientClass[] = "MDICLIENT";
constexpr int kIconWidth = 160; // a minimised child's bar

struct ClientState {
    std::vector<HWND> children; // in the order they were made
    HWND active = nullptr;
};

std::map<HWND, ClientState>& Clients() {
    static std::map<HWND, ClientState> clients;
    return clients;
}

ClientState* StateOf(HWND client) {
    auto it = Clients().find(client);
    return it == Clients().end() ? nullptr : &it->second;
}

bool IsMdiChild(HWND h) {
    WindowPtr w = Get(h);
    return w && w->Child() && (w->exStyle & WS_EX_MDICHILD);
}

// The client of an MDI child, or null.
HWND ClientOf(HWND child) {
    WindowPtr w = Get(child);
    if (!w || !w->Child() || !(w->exStyle & WS_EX_MDICHILD)) return nullptr;
    return StateOf(w->parent) ? w->parent : nullptr;
}

// The parent's visible children in z-order, front first (MDI children only under a client).
std::vector<HWND> VisibleKids(HWND parent) {
    std::vector<HWND> out;
    WindowPtr p = Get(parent);
    if (!p) return out;
    bool client = StateOf(parent) != nullptr;
    for (HWND k : p->children) {
        WindowPtr w = Get(k);
        if (w && (w->style & WS_VISIBLE) && (!client || (w->exStyle & WS_EX_MDICHILD))) out.push_back(k);
    }
    return out;
}

void Activate(HWND client, HWND child) {
    ClientState* s = StateOf(client);
    if (!s || !IsWindow(child) || s->active == child) return;
    HWND old = s->active;
    s->active = child;
    bool wasZoomed = old && IsZoomed(old);
    if (old && IsWindow(old)) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    }
    if (!IsWindow(child) || (s = StateOf(client)) == nullptr || s->active != child) return;
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(child, WM_NCACTIVATE, TRUE, 0);
    SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    if (wasZoomed && IsWindow(child) && !IsZoomed(child)) {
        ShowWindow(child, SW_SHOWMAXIMIZED);
        if (IsWindow(old)) ShowWindow(old, SW_RESTORE);
    }
    HWND root = GetAncestor(client, GA_ROOT);
    HWND focus = GetFocus();
    if (IsWindow(child) && GetActiveWindow() == root && focus != child && !IsChild(child, focus))
        SetFocus(child);
}

// The frontmost other visible child takes over; with none the client has no active child.
void ActivateNext(HWND client, HWND leaving, bool tellLeaving) {
    ClientState* s = StateOf(client);
    if (!s || s->active != leaving) return;
    for (HWND k : VisibleKids(client))
        if (k != leaving) {
            Activate(client, k);
            return;
        }
    s->active = nullptr;
    if (tellLeaving && IsWindow(leaving)) {
        SendMessage(leaving, WM_NCACTIVATE, FALSE, 0);
        SendMessage(leaving, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(leaving), 0);
    }
}

void Next(HWND client, HWND from, bool previous) {
    ClientState* s = StateOf(client);
    if (!s) return;
    std::vector<HWND> kids = VisibleKids(client);
    if (!from) from = s->active;
    auto at = std::find(kids.begin(), kids.end(), from);
    if (kids.size() < 2 || at == kids.end()) return;
    if (previous) {
        Activate(client, kids.back());
        return;
    }
    HWND target = at + 1 == kids.end() ? kids.front() : *(at + 1);
    Activate(client, target);
    // The window left goes to the back, so that stepping on visits every child.
    SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT ClientProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        Clients()[h] = {};
        return 0;
    case WM_NCDESTROY:
        Clients().erase(h);
        return 0;
    case WM_PARENTNOTIFY: {
        ClientState* s = StateOf(h);
        HWND kid = reinterpret_cast<HWND>(lp);
        if (!s || !IsMdiChild(kid) || GetParent(kid) != h) return 0;
        if (LOWORD(wp) == WM_CREATE) {
            s->children.push_back(kid);
        } else if (LOWORD(wp) == WM_DESTROY) {
            std::erase(s->children, kid);
            ActivateNext(h, kid, false);
            if ((s = StateOf(h)) != nullptr && s->active == kid) s->active = nullptr;
        }
        return 0;
    }
    case WM_MDIACTIVATE:
        if (GetParent(reinterpret_cast<HWND>(wp)) == h) Activate(h, reinterpret_cast<HWND>(wp));
        return 0;
    case WM_MDIGETACTIVE: {
        ClientState* s = StateOf(h);
        HWND active = s ? s->active : nullptr;
        if (lp) *reinterpret_cast<BOOL*>(lp) = active && IsZoomed(active);
        return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDINEXT:
        Next(h, reinterpret_cast<HWND>(wp), lp != 0);
        return 0;
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE: {
        HWND kid = reinterpret_cast<HWND>(wp);
        if (GetParent(kid) == h) ShowWindow(kid, msg == WM_MDIMAXIMIZE ? SW_MAXIMIZE : SW_RESTORE);
        return 0;
    }
    case WM_MDIDESTROY: {
        HWND kid = reinterpret_cast<HWND>(wp);
        if (GetParent(kid) == h) DestroyWindow(kid);
        return 0;
    }
    case WM_MDITILE:
        return TileWindows(h, static_cast<UINT>(wp), nullptr, 0, nullptr);
    case WM_MDICASCADE:
        return CascadeWindows(h, static_cast<UINT>(wp), nullptr, 0, nullptr);
    case WM_MDIICONARRANGE:
        ArrangeIconicWindows(h);
        return 0;
    case WM_SIZE: {
        // A maximised child keeps filling the client.
        for (HWND k : VisibleKids(h))
            if (IsZoomed(k)) {
                RECT r = MaximizedChildRect(k);
                SetWindowPos(k, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
        return 0;
    }
    default:
        return DefWindowProc(h, msg, wp, lp);
    }
}

// The windows an arrangement moves: visible and not minimised, in the order they were made
// under a client, front to back elsewhere.
std::vector<HWND> Arranged(HWND parent, UINT how, UINT count, const HWND* kids) {
    std::vector<HWND> list;
    if (count && kids) {
        list.assign(kids, kids + count);
    } else if (ClientState* s = StateOf(parent)) {
        list = s->children;
    } else {
        list = VisibleKids(parent);
    }
    std::erase_if(list, [&](HWND k) {
        return !IsWindowVisible(k) || IsIconic(k) || GetParent(k) != parent ||
               ((how & MDITILE_SKIPDISABLED) && !IsWindowEnabled(k));
    });
    // A maximised child gives up the whole client before the others share it.
    for (HWND k : list)
        if (IsZoomed(k)) ShowWindow(k, SW_RESTORE);
    return list;
}

RECT AreaOf(HWND parent, const RECT* area) {
    RECT r{};
    if (area)
        r = *area;
    else
        GetClientRect(parent, &r);
    return r;
}

int IconHeight() {
    return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
}

} // namespace

RECT MaximizedChildRect(HWND child) {
    WindowPtr w = Get(child);
    RECT r{};
    if (!w || !w->Child()) return r;
    GetClientRect(w->parent, &r);
    // The frame lies outside the parent: only the child's client shows.
    AdjustWindowRectEx(&r, w->style & ~static_cast<DWORD>(WS_MAXIMIZE | WS_MINIMIZE), FALSE, w->exStyle);
    return r;
}

RECT MinimizedChildRect(HWND child) {
    WindowPtr w = Get(child);
    if (!w || !w->Child()) return {};
    RECT area{};
    GetClientRect(w->parent, &area);
    int width = kIconWidth, height = IconHeight();
    int x = 0, y = area.bottom - height;
    auto taken = [&](int px, int py) {
        for (HWND k : Get(w->parent)->children) {
            WindowPtr o = Get(k);
            if (k != child && o && (o->style & WS_VISIBLE) && (o->style & WS_MINIMIZE) &&
                o->rect.left == px && o->rect.top == py)
                return true;
        }
        return false;
    };
    while (taken(x, y)) {
        x += width;
        if (x + width > area.right) {
            x = 0;
            y -= height;
        }
        if (y < 0) {
            y = area.bottom - height;
            break;
        }
    }
    return {x, y, x + width, y + height};
}

} // namespace win

using namespace win;

const char* MDIClientClassName() {
    static const bool registered = [] {
        WNDCLASS wc{};
        wc.lpfnWndProc = ClientProc;
        wc.lpszClassName = kClientClass;
        wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
        RegisterClass(&wc);
        return true;
    }();
    (void)registered;
    return kClientClass;
}

std::vector<HWND> GetMDIChildren(HWND client) {
    ClientState* s = StateOf(client);
    return s ? s->children : std::vector<HWND>{};
}

LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wp, LPARAM lp) {
    ClientState* s = client ? StateOf(client) : nullptr;
    switch (msg) {
    case WM_SETFOCUS:
        if (s && s->active && IsWindowVisible(s->active)) {
            SetFocus(s->active);
            return 0;
        }
        break;
    case WM_NCACTIVATE: {
        LRESULT r = DefWindowProc(frame, msg, wp, lp);
        if ((s = StateOf(client)) != nullptr && s->active) SendMessage(s->active, WM_NCACTIVATE, wp, 0);
        return r;
    }
    case WM_SIZE:
        if (s && wp != SIZE_MINIMIZED) MoveWindow(client, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_SYSCOMMAND:
        if (s && (static_cast<UINT>(wp) & 0xFFF0) == SC_NEXTWINDOW) {
            SendMessage(client, WM_MDINEXT, 0, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(frame, msg, wp, lp);
}

LRESULT DefMDIChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    HWND client = ClientOf(h);
    if (!client) return DefWindowProc(h, msg, wp, lp);
    switch (msg) {
    case WM_CHILDACTIVATE:
        Activate(client, h);
        return 0;
    case WM_MOUSEACTIVATE: {
        LRESULT r = DefWindowProc(h, msg, wp, lp);
        if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT) Activate(client, h);
        return r;
    }
    case WM_SETFOCUS:
        Activate(client, h);
        break;
    case WM_SHOWWINDOW:
        if (!wp) ActivateNext(client, h, true);
        break;
    case WM_SYSCOMMAND:
        if ((static_cast<UINT>(wp) & 0xFFF0) == SC_NEXTWINDOW) {
            Next(client, h, false);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

WORD TileWindows(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids) {
    std::vector<HWND> list = Arranged(parent, how, count, kids);
    int n = static_cast<int>(list.size());
    if (n == 0) return 0;
    RECT a = AreaOf(parent, area);
    int W = a.right - a.left, H = a.bottom - a.top;
    // Minimised children keep their row along the bottom.
    bool icons = false;
    for (HWND k : VisibleKids(parent)) icons = icons || IsIconic(k);
    if (icons && !area) H = std::max(0, H - IconHeight());
    int major = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
    int minor = (n + major - 1) / major;
    bool sideBySide = !(how & MDITILE_HORIZONTAL);
    // sideBySide: `major` windows per row, `minor` rows; else `major` per column.
    for (int i = 0; i < n; ++i) {
        int line = i / major, pos = i % major;
        int inLine = line == minor - 1 ? n - major * (minor - 1) : major; // the last line stretches
        int x, y, w, h;
        if (sideBySide) {
            w = W / inLine, h = H / minor;
            x = a.left + pos * w, y = a.top + line * h;
        } else {
            w = W / minor, h = H / inLine;
            x = a.left + line * w, y = a.top + pos * h;
        }
        SetWindowPos(list[i], nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return static_cast<WORD>(n);
}

WORD CascadeWindows(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids) {
    std::vector<HWND> list = Arranged(parent, how, count, kids);
    int n = static_cast<int>(list.size());
    if (n == 0) return 0;
    // The backmost window starts at the top left, the front one ends the cascade.
    WindowPtr p = Get(parent);
    std::vector<HWND> z;
    for (auto it = p->children.rbegin(); it != p->children.rend(); ++it)
        if (std::find(list.begin(), list.end(), *it) != list.end()) z.push_back(*it);
    RECT a = AreaOf(parent, area);
    int W = a.right - a.left, H = a.bottom - a.top;
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    int w = std::max(W - step * (n - 1), W * 2 / 3), h = std::max(H - step * (n - 1), H * 2 / 3);
    int offset = 0;
    for (HWND k : z) {
        if (offset + w > W || offset + h > H) offset = 0;
        SetWindowPos(k, nullptr, a.left + offset, a.top + offset, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        offset += step;
    }
    return static_cast<WORD>(n);
}

UINT ArrangeIconicWindows(HWND parent) {
    WindowPtr p = Get(parent);
    if (!p) return 0;
    std::vector<HWND> list;
    if (ClientState* s = StateOf(parent))
        list = s->children;
    else
        list.assign(p->children.rbegin(), p->children.rend());
    RECT area{};
    GetClientRect(parent, &area);
    int width = kIconWidth, height = IconHeight();
    int x = 0, y = area.bottom - height;
    for (HWND k : list) {
        if (!IsWindowVisible(k) || !IsIconic(k)) continue;
        SetWindowPos(k, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        x += width;
        if (x + width > area.right) {
            x = 0;
            y = std::max(0, y - height);
        }
    }
    return static_cast<UINT>(height);
}
