#include "win/DefWindowProc.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/System.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>

namespace win {
namespace {

bool g_altAlone = false; // Alt went down and nothing else happened since

// The caption's close box, window coordinates; empty without a caption and
// system menu.
RECT CloseBox(const Window& w) {
    if ((w.style & WS_CAPTION) != WS_CAPTION || !(w.style & WS_SYSMENU)) return {};
    int height = w.client.top - 1 - 4;
    if (height < 6) return {};
    int right = w.Width() - 3;
    return {right - GetSystemMetrics(SM_CXSIZE), 3, right, 3 + height};
}

int HitTest(const Window& w, POINT screen) {
    POINT o = WindowOrigin(w);
    int x = screen.x - o.x, y = screen.y - o.y;
    if (x < 0 || y < 0 || x >= w.Width() || y >= w.Height()) return HTNOWHERE;
    if (x >= w.client.left && x < w.client.right && y >= w.client.top && y < w.client.bottom) return HTCLIENT;
    if ((w.style & WS_THICKFRAME) && !(w.style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        int b = GetSystemMetrics(SM_CXFRAME);
        bool l = x < b, r = x >= w.Width() - b, t = y < b, btm = y >= w.Height() - b;
        if (t && l) return HTTOPLEFT;
        if (t && r) return HTTOPRIGHT;
        if (btm && l) return HTBOTTOMLEFT;
        if (btm && r) return HTBOTTOMRIGHT;
        if (l) return HTLEFT;
        if (r) return HTRIGHT;
        if (t) return HTTOP;
        if (btm) return HTBOTTOM;
    }
    RECT close = CloseBox(w);
    if (PtInRect(&close, {x, y})) return HTCLOSE;
    if ((w.style & WS_CAPTION) == WS_CAPTION && y < w.client.top) return HTCAPTION;
    if ((w.style & WS_VSCROLL) && x >= w.client.right) return HTVSCROLL;
    if ((w.style & WS_HSCROLL) && y >= w.client.bottom) return HTHSCROLL;
    return HTBORDER;
}

// A plain frame: border lines and a caption bar in the system colours.
void PaintFrame(HWND h, const Window& w) {
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    RECT c = w.client;
    ExcludeClipRect(dc, c.left, c.top, c.right, c.bottom);
    RECT all{0, 0, w.Width(), w.Height()};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    if (w.style & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME))
        FrameRect(dc, &all, GetSysColorBrush(COLOR_WINDOWFRAME));
    if ((w.style & WS_CAPTION) == WS_CAPTION && c.top > 1) {
        RECT cap{1, 1, w.Width() - 1, c.top};
        bool active = GetActiveWindow() == h;
        FillRect(dc, &cap, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        RECT close = CloseBox(w);
        RECT text{cap.left + 4, cap.top, (close.right > close.left ? close.left : cap.right) - 4, cap.bottom};
        HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawText(dc, w.text.c_str(), -1, &text,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        if (close.right > close.left) {
            FillRect(dc, &close, GetSysColorBrush(COLOR_BTNFACE));
            FrameRect(dc, &close, GetSysColorBrush(COLOR_WINDOWFRAME));
            // The cross, two diagonals inset from the box.
            int side = std::min(close.right - close.left, close.bottom - close.top) - 8;
            int x0 = (close.left + close.right - side) / 2, y0 = (close.top + close.bottom - side) / 2;
            HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
            for (int d = 0; d < 2; ++d) {
                MoveToEx(dc, x0 + d, y0, nullptr);
                LineTo(dc, x0 + side + d, y0 + side);
                MoveToEx(dc, x0 + d, y0 + side - 1, nullptr);
                LineTo(dc, x0 + side + d, y0 - 1);
            }
            SelectObject(dc, oldPen);
        }
    }
    ReleaseDC(h, dc);
}

LRESULT ToParent(const Window& w, UINT msg, WPARAM wp, LPARAM lp) {
    return w.Child() ? SendMessage(w.parent, msg, wp, lp) : 0;
}

} // namespace

} // namespace win

using namespace win;

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WindowPtr w = Get(h);
    if (!w) return 0;
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCCALCSIZE: {
        // The first rectangle becomes the client area (parent units).
        RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
        Window probe = *w;
        probe.rect = *r;
        RECT c = DefaultClientRect(probe);
        *r = {r->left + c.left, r->top + c.top, r->left + c.right, r->top + c.bottom};
        return 0;
    }
    case WM_NCHITTEST:
        return HitTest(*w, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCPAINT:
        PaintFrame(h, *w);
        return 0;
    case WM_NCACTIVATE:
        InvalidateFrame(*w); // the caption changes colour; the client stays as it is
        return TRUE;
    case WM_ERASEBKGND: {
        HBRUSH b = w->cls->background;
        if (!b) return 0;
        RECT r;
        GetClientRect(h, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, b);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(h);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_SETTEXT:
        w->text = lp ? reinterpret_cast<const char*>(lp) : "";
        // Only the frame shows the text; ask for its repaint.
        InvalidateFrame(*w);
        SyncDesktopTraits(*w);
        return TRUE;
    case WM_SETICON: {
        // ICON_SMALL (0) or ICON_BIG (1); the answer is the icon it replaces.
        HICON& slot = w->icons[wp == ICON_BIG ? 1 : 0];
        HICON old = slot;
        slot = reinterpret_cast<HICON>(lp);
        SyncDesktopIcon(*w);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(w->icons[wp == ICON_BIG ? 1 : 0]);
    case WM_GETTEXT: {
        if (wp == 0 || !lp) return 0;
        size_t n = std::min(w->text.size(), static_cast<size_t>(wp - 1));
        std::memcpy(reinterpret_cast<char*>(lp), w->text.data(), n);
        reinterpret_cast<char*>(lp)[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->text.size());
    case WM_WINDOWPOSCHANGING: {
        // Sizeable top-level windows stay within their tracking limits.
        auto* wpos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(wpos->flags & SWP_NOSIZE) && !w->Child() && (w->style & WS_THICKFRAME) &&
            !(w->style & WS_MAXIMIZE)) {
            MINMAXINFO mmi{};
            TrackMinMax(h, mmi);
            wpos->cx = std::clamp<int>(wpos->cx, mmi.ptMinTrackSize.x,
                                       std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
            wpos->cy = std::clamp<int>(wpos->cy, mmi.ptMinTrackSize.y,
                                       std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        // WM_MOVE (client origin, parent units) then WM_SIZE (client size).
        auto* wpos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!(wpos->flags & SWP_NOCLIENTMOVE))
            SendMessage(h, WM_MOVE, 0,
                        MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
        if (!(wpos->flags & SWP_NOCLIENTSIZE) && Get(h)) {
            WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                          : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                     : SIZE_RESTORED;
            SendMessage(h, WM_SIZE, kind,
                        MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
        }
        return 0;
    }
    case WM_MOUSEACTIVATE: {
        // A child asks its parent first.
        if (w->Child()) {
            LRESULT r = ToParent(*w, msg, wp, lp);
            if (r) return r;
        }
        return MA_ACTIVATE;
    }
    case WM_SETCURSOR: {
        if (w->Child() && ToParent(*w, msg, wp, lp)) return TRUE;
        int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lp)));
        if (hit == HTERROR && HIWORD(static_cast<uintptr_t>(lp)) >= WM_LBUTTONDOWN) MessageBeep(0);
        const char* shape = IDC_ARROW;
        switch (hit) {
        case HTLEFT:
        case HTRIGHT:
            shape = IDC_SIZEWE;
            break;
        case HTTOP:
        case HTBOTTOM:
            shape = IDC_SIZENS;
            break;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            shape = IDC_SIZENWSE;
            break;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            shape = IDC_SIZENESW;
            break;
        default:
            break;
        }
        HCURSOR c = hit == HTCLIENT ? w->cls->cursor : nullptr;
        SetCursor(c ? c : LoadCursor(nullptr, shape));
        return hit == HTCLIENT && !w->cls->cursor ? FALSE : TRUE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && !(w->style & WS_MINIMIZE) && !IsChild(h, GetFocus())) SetFocus(h);
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == h) ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        return ToParent(*w, msg, wp, lp);
    case WM_RBUTTONUP: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(h, &p);
        SendMessage(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_NCLBUTTONDOWN: {
        // Caption → SC_MOVE, edges and corners → SC_SIZE with the edge in the low bits.
        int hit = static_cast<int>(wp);
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (hit == HTCAPTION)
            return SendMessage(h, WM_SYSCOMMAND, SC_MOVE + static_cast<UINT>(HTCAPTION), lp);
        if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT && !(w->style & WS_MAXIMIZE))
            return SendMessage(h, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + 1), MAKELPARAM(p.x, p.y));
        return 0; // codes without a default action do nothing
    }
    case WM_NCLBUTTONUP:
        if (static_cast<int>(wp) == HTCLOSE) SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lp);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<int>(wp) == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
            SendMessage(h, WM_SYSCOMMAND, (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lp);
        return 0;
    case WM_SYSCOMMAND: {
        UINT cmd = static_cast<UINT>(wp) & 0xFFF0;
        switch (cmd) {
        case SC_MOVE:
        case SC_SIZE: {
            // lParam 0 (sent from code or the keyboard): the drag starts where
            // the cursor is now, so the window does not jump.
            POINT start{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (lp == 0) GetCursorPos(&start);
            return RunMoveSizeLoop(h, static_cast<UINT>(wp), start);
        }
        case SC_CLOSE:
            SendMessage(h, WM_CLOSE, 0, 0);
            return 0;
        case SC_MINIMIZE:
            ShowWindow(h, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(h, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(h, SW_RESTORE);
            return 0;
        default:
            return 0; // SC_KEYMENU: there are no native menus to open
        }
    }
    // Alt released alone, F10, and Alt+character (Alt+Space included) turn into
    // WM_SYSCOMMAND(SC_KEYMENU) sent to the top-level window; Alt+F4 into SC_CLOSE.
    case WM_SYSKEYDOWN:
        if (wp == VK_MENU || wp == VK_F10) {
            if (!(lp & (1 << 30))) g_altAlone = true;
        } else {
            g_altAlone = false;
            if (wp == VK_F4 && (lp & (1 << 29))) PostMessage(RootOf(h), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
        g_altAlone = false;
        return 0;
    case WM_SYSKEYUP:
        if ((wp == VK_MENU || wp == VK_F10) && g_altAlone) {
            g_altAlone = false;
            SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_KEYUP:
        if (wp == VK_F10 && g_altAlone) {
            g_altAlone = false;
            SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        g_altAlone = false;
        if (lp & (1 << 29)) SendMessage(RootOf(h), WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wp));
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNTEXT));
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
        return 0;
    }
}
