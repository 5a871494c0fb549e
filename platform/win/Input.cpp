#include "win/Input.h"

#include "display/Backend.h"
#include "gdi/Icon.h"
#include "os/Clock.h"
#include "win/Message.h"
#include "win/System.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstdlib>

namespace win {
namespace {

struct InputState {
    BYTE keys[256] = {};
    POINT cursor{};
    HWND capture = nullptr, focus = nullptr, active = nullptr;
    HCURSOR cursorShape = nullptr;
    // The last button-down, for double clicks.
    HWND lastHwnd = nullptr;
    int lastButton = -1, lastHit = 0;
    DWORD lastTime = 0;
    POINT lastPt{};
    // Mouse-leave tracking.
    HWND tracked = nullptr;
    bool trackedNonClient = false;
    CaretState caret;
};

InputState& S() {
    static InputState s;
    return s;
}

bool Down(int vk) {
    return S().keys[vk & 0xFF] & 0x80;
}

WPARAM KeyFlags() {
    WPARAM f = 0;
    if (Down(VK_LBUTTON)) f |= MK_LBUTTON;
    if (Down(VK_RBUTTON)) f |= MK_RBUTTON;
    if (Down(VK_MBUTTON)) f |= MK_MBUTTON;
    if (Down(VK_SHIFT)) f |= MK_SHIFT;
    if (Down(VK_CONTROL)) f |= MK_CONTROL;
    return f;
}

bool InSubtree(HWND root, HWND h) {
    return h && (h == root || IsChild(root, h));
}

// The window under pt that does not answer HTTRANSPARENT, with its hit code.
HWND HitWindow(POINT pt, int& hit) {
    HWND target = WindowFromPoint(pt);
    std::vector<std::pair<HWND, DWORD>> hidden;
    for (int guard = 0; target && guard < 64; ++guard) {
        hit = static_cast<int>(SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        if (hit != HTTRANSPARENT) break;
        // Look behind it: take it out of the search for a moment.
        WindowPtr w = Get(target);
        if (!w) break;
        hidden.push_back({target, w->style});
        w->style &= ~WS_VISIBLE;
        target = WindowFromPoint(pt);
    }
    for (auto& [h, style] : hidden)
        if (WindowPtr w = Get(h)) w->style = style;
    return target;
}

void PostLeaveIfNeeded(HWND target, bool nonClient) {
    InputState& s = S();
    if (!s.tracked || (s.tracked == target && s.trackedNonClient == nonClient)) return;
    PostMessage(s.tracked, s.trackedNonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    s.tracked = nullptr;
}

// Sequence, as Win32 does: WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE,
// new) to the old window; the new one comes to the top (owned windows stay
// above it), then WM_NCACTIVATE(TRUE) and WM_ACTIVATE(how, old), whose default
// moves the focus: WM_KILLFOCUS(new focus) to the old focus, WM_SETFOCUS(old
// focus) to the new one.  A focus the new window did not take is dropped
// afterwards with WM_KILLFOCUS(0).
void Activate(HWND h, int how) {
    InputState& s = S();
    HWND old = s.active;
    if (old == h) return;
    s.active = h;
    if (old && Get(old)) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(h));
    }
    if (h && Get(h) && s.active == h) {
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // Raised and given the keyboard on the desktop too.
        if (s.active == h) display::Current().Activate(Id(h));
        if (s.active == h) {
            SendMessage(h, WM_NCACTIVATE, TRUE, 0);
            SendMessage(h, WM_ACTIVATE, static_cast<WPARAM>(how), reinterpret_cast<LPARAM>(old));
        }
    }
    if (s.focus && InSubtree(old, s.focus) && s.active != old && !InSubtree(s.active, s.focus)) {
        HWND f = s.focus;
        s.focus = nullptr;
        if (Get(f)) SendMessage(f, WM_KILLFOCUS, 0, 0);
    }
}

// The window that takes over when the active one goes: its owner, else the
// frontmost visible, enabled window that takes activation at all (tool
// windows such as menus and hints never do), as Win32 does.
HWND NextToActivate(HWND gone) {
    WindowPtr w = Get(gone);
    if (w && w->owner && IsWindowVisible(w->owner) && IsWindowEnabled(w->owner)) return w->owner;
    for (HWND c : TopLevels()) {
        WindowPtr o = Get(c);
        if (c == gone || !o || o->destroying || !(o->style & WS_VISIBLE) || (o->style & WS_DISABLED) ||
            (o->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)))
            continue;
        return c;
    }
    return nullptr;
}

void ConvertMouse(const display::RawInput& ev, std::deque<MSG>& out) {
    InputState& s = S();
    s.cursor = ev.pt;
    static const UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static const int kVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    int b = std::clamp(ev.button, 0, 2);
    if (ev.kind == display::RawInput::ButtonDown) s.keys[kVk[b]] |= 0x80;
    if (ev.kind == display::RawInput::ButtonUp) s.keys[kVk[b]] &= ~0x80;

    if (ev.kind == display::RawInput::Wheel) {
        HWND t = s.focus ? s.focus : s.active;
        if (t)
            out.push_back({t, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(KeyFlags()), ev.delta),
                           MAKELPARAM(ev.pt.x, ev.pt.y), 0, ev.pt});
        return;
    }

    HWND target;
    int hit = HTCLIENT;
    if (s.capture && Get(s.capture)) {
        target = s.capture; // under capture every mouse message is a client message
    } else {
        target = HitWindow(ev.pt, hit);
    }
    bool client = hit == HTCLIENT || target == s.capture;
    PostLeaveIfNeeded(target, !client);
    if (!target) return;

    UINT base = WM_MOUSEMOVE;
    if (ev.kind != display::RawInput::MouseMove)
        base = ev.kind == display::RawInput::ButtonDown ? kDown[b] : kDown[b] + 1;

    // A button-down outside the capture: WM_MOUSEACTIVATE (for an inactive
    // window, or for a child of the active one, as Win32 does), activation,
    // WM_SETCURSOR, the parents' WM_PARENTNOTIFY, then the button message.
    bool down = ev.kind == display::RawInput::ButtonDown && target != s.capture;
    if (down) {
        HWND root = RootOf(target);
        if (root && (root != s.active || target != root)) {
            LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                     MAKELPARAM(hit, static_cast<int>(base)));
            if (ma != MA_NOACTIVATE && ma != MA_NOACTIVATEANDEAT && Get(root) && root != s.active)
                Activate(root, WA_CLICKACTIVE);
            if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
            if (!Get(target)) return;
        }
    }

    if (target != s.capture) {
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(hit, static_cast<int>(base)));
        if (!Get(target)) return;
    }

    if (ev.kind == display::RawInput::ButtonDown) {
        if (down) {
            // Each ancestor of a child hears of the click (menus close through it).
            for (WindowPtr w = Get(target); w && w->Child() && !(w->exStyle & WS_EX_NOPARENTNOTIFY);) {
                WindowPtr p = Get(w->parent);
                if (!p) break;
                POINT pp = ev.pt;
                ScreenToClient(p->handle, &pp);
                SendMessage(p->handle, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<int>(base), 0),
                            MAKELPARAM(pp.x, pp.y));
                w = p;
            }
            if (!Get(target)) return;
        }
        // Double clicks: same button and window within the time and distance;
        // non-client double clicks are always delivered.
        WindowPtr w = Get(target);
        DWORD now = os::GetTickCount();
        bool dbl = s.lastHwnd == target && s.lastButton == b && (now - s.lastTime) <= GetDoubleClickTime() &&
                   std::abs(ev.pt.x - s.lastPt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                   std::abs(ev.pt.y - s.lastPt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
                   s.lastHit == hit && (!client || (w->cls->style & CS_DBLCLKS));
        if (dbl) {
            base += 2;
            s.lastHwnd = nullptr;
        } else {
            s.lastHwnd = target, s.lastButton = b, s.lastTime = now, s.lastPt = ev.pt, s.lastHit = hit;
        }
    }

    MSG m{target, base, KeyFlags(), 0, 0, ev.pt};
    if (client) {
        POINT p = ev.pt;
        ScreenToClient(target, &p);
        m.lParam = MAKELPARAM(p.x, p.y);
    } else {
        m.message = base - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        m.wParam = static_cast<WPARAM>(hit); // every hit code passes through unchanged
        m.lParam = MAKELPARAM(ev.pt.x, ev.pt.y);
    }
    out.push_back(m);
}

void ConvertKey(const display::RawInput& ev, std::deque<MSG>& out) {
    InputState& s = S();
    int vk = ev.vk & 0xFF;
    bool down = ev.kind == display::RawInput::KeyDown;
    bool wasDown = Down(vk);
    if (down) {
        if (!wasDown && (vk == VK_CAPITAL)) s.keys[vk] ^= 1;
        s.keys[vk] |= 0x80;
    } else {
        s.keys[vk] &= ~0x80;
    }
    HWND target = s.focus ? s.focus : s.active;
    if (!target) return;
    bool alt = Down(VK_MENU) || (vk == VK_MENU && !down);
    bool ctrl = Down(VK_CONTROL);
    // Keys with Alt (and without Ctrl), F10, and every key while no window has
    // the focus are system keys.
    bool sys = (alt && !ctrl) || vk == VK_F10 || !s.focus;
    UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lp = 1;
    if (alt && !ctrl) lp |= 1 << 29;
    if (down ? wasDown : true) lp |= 1 << 30;
    if (!down) lp |= static_cast<LPARAM>(static_cast<int32_t>(0x80000000u));
    out.push_back({target, msg, static_cast<WPARAM>(vk), lp, 0, s.cursor});
}

std::function<void()>& TrayCreatedHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

bool ConvertInput(std::deque<MSG>& out) {
    display::RawInput ev;
    while (display::Current().PollInput(ev)) {
        size_t before = out.size();
        switch (ev.kind) {
        case display::RawInput::KeyDown:
        case display::RawInput::KeyUp:
            ConvertKey(ev, out);
            break;
        case display::RawInput::Text: {
            HWND t = S().focus ? S().focus : S().active;
            bool alt = Down(VK_MENU) && !Down(VK_CONTROL);
            if (t)
                for (char32_t c : ev.text)
                    out.push_back({t, alt ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(c), 1, 0, S().cursor});
            break;
        }
        case display::RawInput::Moved: {
            // The desktop has already put the window there: follow it.
            HWND h = reinterpret_cast<HWND>(ev.window);
            WindowPtr w = Get(h);
            const RECT& r = ev.rect;
            if (w && !w->Child() && !EqualRect(&w->rect, &r))
                SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
        case display::RawInput::DisplayChange: {
            LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
            for (HWND t : TopLevels()) out.push_back({t, WM_DISPLAYCHANGE, 32, size, 0, S().cursor});
            break;
        }
        case display::RawInput::Minimize:
        case display::RawInput::Restore:
            // Asked as the task bar asks on Windows; a window already in that
            // state hears nothing.
            if (WindowPtr w = Get(reinterpret_cast<HWND>(ev.window))) {
                bool minimize = ev.kind == display::RawInput::Minimize;
                if (minimize != ((w->style & WS_MINIMIZE) != 0))
                    out.push_back(
                        {w->handle, WM_SYSCOMMAND, minimize ? SC_MINIMIZE : SC_RESTORE, 0, 0, S().cursor});
            }
            break;
        case display::RawInput::Activated: {
            // The desktop moved the keyboard to one of our windows: it becomes
            // the active one, as a click on it would make it.  A window a modal
            // dialog disabled stays behind it.
            HWND h = reinterpret_cast<HWND>(ev.window);
            WindowPtr w = Get(h);
            if (w && !w->Child() && !w->messageOnly && IsWindowVisible(h) && !(w->style & WS_DISABLED) &&
                !(w->exStyle & WS_EX_NOACTIVATE) && S().active != h)
                Activate(h, WA_ACTIVE);
            break;
        }
        case display::RawInput::Deactivated:
            // Another program has the keyboard: our active window is no longer.
            if (S().active) Activate(nullptr, WA_INACTIVE);
            break;
        case display::RawInput::TrayCreated:
            if (TrayCreatedHandler()) {
                TrayCreatedHandler()();
            } else {
                static const UINT created = RegisterWindowMessage("TaskbarCreated");
                for (HWND t : TopLevels()) out.push_back({t, created, 0, 0, 0, S().cursor});
            }
            break;
        case display::RawInput::Close:
            if (WindowPtr w = Get(reinterpret_cast<HWND>(ev.window)))
                out.push_back({w->handle, WM_SYSCOMMAND, SC_CLOSE, 0, 0, S().cursor});
            break;
        default:
            ConvertMouse(ev, out);
            break;
        }
        if (out.size() > before) return true;
    }
    return false;
}

void SetTrayCreatedHandler(std::function<void()> handler) {
    TrayCreatedHandler() = std::move(handler);
}

void OnWindowGone(HWND h, bool deactivate) {
    InputState& s = S();
    if (InSubtree(h, s.capture)) ReleaseCapture();
    // The window that takes over takes the focus as it is activated; what is
    // left in h is dropped.
    if (deactivate && s.active == h) Activate(NextToActivate(h), WA_ACTIVE);
    if (InSubtree(h, s.focus)) {
        HWND f = s.focus;
        s.focus = nullptr;
        if (Get(f)) SendMessage(f, WM_KILLFOCUS, 0, 0);
    }
    if (s.tracked && InSubtree(h, s.tracked)) s.tracked = nullptr;
    if (s.lastHwnd && InSubtree(h, s.lastHwnd)) s.lastHwnd = nullptr;
    if (s.caret.owner && InSubtree(h, s.caret.owner)) s.caret = {};
}

CaretState GetCaretState() {
    return S().caret;
}

bool SetClipboardText(const std::string& utf8) {
    display::Current().SetClipboardText(utf8);
    return true;
}
std::string GetClipboardText() {
    return display::Current().ClipboardText();
}
bool HasClipboardText() {
    return !display::Current().ClipboardText().empty();
}

} // namespace win

using namespace win;

HWND SetFocus(HWND h) {
    InputState& s = S();
    HWND old = s.focus;
    if (h) {
        WindowPtr w = Get(h);
        if (!w || (w->style & WS_DISABLED)) return nullptr;
        HWND root = RootOf(h);
        if (root != s.active) {
            Activate(root, WA_ACTIVE);
            if (s.active != root) return nullptr;
            old = s.focus;
        }
    }
    if (old == h) return old;
    s.focus = h;
    if (old && Get(old)) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(h), 0);
    if (h && s.focus == h && Get(h)) SendMessage(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() {
    return Get(S().focus) ? S().focus : nullptr;
}

HWND SetActiveWindow(HWND h) {
    HWND old = S().active;
    if (h) {
        h = RootOf(h);
        WindowPtr w = Get(h);
        if (!w || w->messageOnly || (w->style & WS_DISABLED)) return nullptr;
    }
    Activate(h, WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    return Get(S().active) ? S().active : nullptr;
}
BOOL SetForegroundWindow(HWND h) {
    return SetActiveWindow(h) != nullptr || GetActiveWindow() == RootOf(h);
}
HWND GetForegroundWindow() {
    return GetActiveWindow();
}

HWND SetCapture(HWND h) {
    InputState& s = S();
    HWND old = s.capture;
    if (h && !Get(h)) return nullptr;
    s.capture = h;
    if (old && old != h && Get(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(h));
    return old;
}

BOOL ReleaseCapture() {
    HWND old = S().capture;
    S().capture = nullptr;
    if (old && Get(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return Get(S().capture) ? S().capture : nullptr;
}

short GetKeyState(int vk) {
    BYTE k = S().keys[vk & 0xFF];
    return static_cast<short>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}
short GetAsyncKeyState(int vk) {
    return static_cast<short>(GetKeyState(vk) & 0x8000);
}

BOOL GetCursorPos(POINT* p) {
    if (!p) return FALSE;
    *p = S().cursor;
    return TRUE;
}
BOOL SetCursorPos(int x, int y) {
    S().cursor = {x, y};
    return TRUE;
}
HCURSOR SetCursor(HCURSOR c) {
    HCURSOR old = S().cursorShape;
    S().cursorShape = c;
    if (c != old) display::Current().SetCursor(StockCursorId(c));
    return old;
}
HCURSOR GetCursor() {
    return S().cursorShape;
}
UINT GetDoubleClickTime() {
    return 500;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* t) {
    if (!t) return FALSE;
    InputState& s = S();
    if (t->dwFlags & TME_CANCEL) {
        if (s.tracked == t->hwndTrack) s.tracked = nullptr;
        return TRUE;
    }
    if (!(t->dwFlags & TME_LEAVE) || !Get(t->hwndTrack)) return FALSE;
    s.tracked = t->hwndTrack;
    s.trackedNonClient = t->dwFlags & TME_NONCLIENT;
    // Already outside: the leave notice comes at once, as Win32 does.
    int hit = HTNOWHERE;
    HWND under = HitWindow(s.cursor, hit);
    if (under != s.tracked || (hit != HTCLIENT) != s.trackedNonClient)
        PostLeaveIfNeeded(under, hit != HTCLIENT);
    return TRUE;
}

BOOL CreateCaret(HWND h, HBITMAP, int w, int h2) {
    if (!Get(h)) return FALSE;
    S().caret = {
        h, {  },
         { w, h2},
         1
    };
    return TRUE;
}
BOOL DestroyCaret() {
    S().caret = {};
    return TRUE;
}
BOOL ShowCaret(HWND h) {
    CaretState& c = S().caret;
    if (!c.owner || (h && h != c.owner)) return FALSE;
    if (c.hideCount > 0) --c.hideCount;
    return TRUE;
}
BOOL HideCaret(HWND h) {
    CaretState& c = S().caret;
    if (!c.owner || (h && h != c.owner)) return FALSE;
    ++c.hideCount;
    return TRUE;
}
BOOL SetCaretPos(int x, int y) {
    if (!S().caret.owner) return FALSE;
    S().caret.pos = {x, y};
    return TRUE;
}
BOOL GetCaretPos(POINT* p) {
    if (!p) return FALSE;
    *p = S().caret.pos;
    return TRUE;
}

BOOL MessageBeep(UINT) {
    display::Current().Beep();
    return TRUE;
}
