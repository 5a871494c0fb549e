// The modal move/size loop that DefWindowProc runs for SC_MOVE and SC_SIZE.
#include "win/Input.h"
#include "win/Message.h"
#include "win/System.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace win {

namespace {

// Which edges a WMSZ_ code moves.
void Edges(int edge, bool& l, bool& t, bool& r, bool& b) {
    l = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    r = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    t = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    b = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
}

} // namespace

// Sequence:
//   WM_CANCELMODE to a previous capture, then SetCapture(h) (WM_CAPTURECHANGED to it)
//   WM_ENTERSIZEMOVE
//   SC_SIZE: WM_GETMINMAXINFO      (tracking limits, read once)
//   for every mouse move:
//     SC_MOVE: WM_MOVING(0, &rect)         the rectangle may be changed
//     SC_SIZE: rect clamped to the limits, WM_SIZING(edge, &rect)
//     full-window drag: SetWindowPos → WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
//                       WM_MOVE, WM_SIZE
//   button up or Enter ends; Esc (or losing the capture) puts the start rectangle back
//   ReleaseCapture                 (WM_CAPTURECHANGED to h)
//   WM_EXITSIZEMOVE
// Other messages that arrive meanwhile are dispatched as usual.
LRESULT RunMoveSizeLoop(HWND h, UINT command, POINT start) {
    WindowPtr w = Get(h);
    if (!w || (w->style & WS_MAXIMIZE)) return 0;
    bool sizing = (command & 0xFFF0) == SC_SIZE;
    int edge = static_cast<int>(command & 0x000F);
    if (sizing && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return 0; // keyboard sizing is not offered
    RECT origin;
    GetWindowRect(h, &origin);
    POINT parentOrigin{origin.left - w->rect.left, origin.top - w->rect.top};
    // A modal loop starting cancels what holds the mouse (an open menu).
    if (HWND cap = GetCapture(); cap && cap != h) {
        SendMessage(cap, WM_CANCELMODE, 0, 0);
        if (!Get(h)) return 0;
    }
    SetCapture(h);
    SendMessage(h, WM_ENTERSIZEMOVE, 0, 0);
    MINMAXINFO mmi{};
    if (sizing) TrackMinMax(h, mmi);
    RECT rect = origin;
    bool cancel = false;

    auto apply = [&](const RECT& r) {
        SetWindowPos(h, nullptr, r.left - parentOrigin.x, r.top - parentOrigin.y, r.right - r.left,
                     r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };

    MSG m;
    while (Get(h) && GetCapture() == h) {
        if (!GetMessage(&m, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (m.hwnd == h && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
            POINT p;
            GetCursorPos(&p);
            int dx = p.x - start.x, dy = p.y - start.y;
            RECT r = origin;
            if (!sizing) {
                OffsetRect(&r, dx, dy);
                SendMessage(h, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
            } else {
                bool l, t, rt, b;
                Edges(edge, l, t, rt, b);
                if (l) r.left += dx;
                if (rt) r.right += dx;
                if (t) r.top += dy;
                if (b) r.bottom += dy;
                // Clamp by moving the dragged edge, never the fixed one.
                auto clampSpan = [](LONG& lo, LONG& hi, bool lowMoves, int minS, int maxS) {
                    int size = std::clamp<int>(hi - lo, minS, std::max(minS, maxS));
                    if (lowMoves)
                        lo = hi - size;
                    else
                        hi = lo + size;
                };
                clampSpan(r.left, r.right, l, mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
                clampSpan(r.top, r.bottom, t, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
                SendMessage(h, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
            }
            if (!Get(h)) break;
            if (r != rect) {
                rect = r;
                apply(rect);
            }
            if (m.message == WM_LBUTTONUP) break;
            continue;
        }
        // The loop takes the keys of the whole thread, whichever window has the focus.
        if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) {
            if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
                if (m.wParam == VK_ESCAPE) {
                    cancel = true;
                    break;
                }
                if (m.wParam == VK_RETURN) break;
            }
            continue;
        }
        if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) continue; // other buttons: ignored
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
    if (!Get(h)) return 0;
    if (cancel && rect != origin) apply(origin);
    if (GetCapture() == h) ReleaseCapture();
    SendMessage(h, WM_EXITSIZEMOVE, 0, 0);
    return 0;
}

} // namespace win
