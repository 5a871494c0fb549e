#include "controls/UpDown.h"

#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace controls {

namespace {
constexpr uintptr_t kRepeatTimer = 1;
constexpr UINT kFirstDelayMs = 400; // held this long, a button starts repeating
constexpr UINT kRepeatMs = 100;     // then steps this often
} // namespace

UpDown::UpDown(HWND h) : ControlWindow(h) {}

UpDown::~UpDown() {
    if (buddyProc_) FreeProcInstance(buddyProc_);
}

bool UpDown::Horizontal() const {
    return Style() & UDS_HORZ;
}

RECT UpDown::ButtonRect(int which) const {
    RECT c = Client();
    if (Horizontal()) {
        int mid = c.right / 2;
        return which > 0 ? RECT{mid, 0, c.right, c.bottom} : RECT{0, 0, mid, c.bottom};
    }
    int mid = c.bottom / 2;
    return which > 0 ? RECT{0, 0, c.right, mid} : RECT{0, mid, c.right, c.bottom};
}

int UpDown::ButtonAt(POINT p) const {
    RECT up = ButtonRect(1), down = ButtonRect(-1);
    if (PtInRect(&up, p)) return 1;
    if (PtInRect(&down, p)) return -1;
    return 0;
}

void UpDown::SetPos(int pos, bool tellBuddy) {
    pos_ = pos;
    if (tellBuddy) ShowInBuddy();
}

void UpDown::ShowInBuddy() {
    if (!buddy_ || !(Style() & UDS_SETBUDDYINT) || !IsWindow(buddy_)) return;
    // Numbers are written in the C locale: no thousands separators.
    char buf[32];
    if (base_ == 16)
        std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(pos_));
    else
        std::snprintf(buf, sizeof buf, "%d", pos_);
    SetWindowText(buddy_, buf);
}

int UpDown::PosFromBuddy(bool* error) {
    *error = false;
    if (!buddy_ || !(Style() & UDS_SETBUDDYINT) || !IsWindow(buddy_)) return pos_;
    std::string t = GetWindowTextString(buddy_);
    t.erase(std::remove(t.begin(), t.end(), ','), t.end());
    char* end = nullptr;
    long v = std::strtol(t.c_str(), &end, base_ == 16 ? 16 : 10);
    int lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
    if (t.empty() || !end || *end || v < lo || v > hi) {
        *error = true;
        return pos_;
    }
    pos_ = static_cast<int>(v);
    return pos_;
}

void UpDown::Step(int which) {
    bool error = false;
    PosFromBuddy(&error);
    int inc = 1;
    DWORD held = GetTickCount() - pressedAt_;
    for (const UDACCEL& a : accel_)
        if (held >= a.nSec * 1000) inc = static_cast<int>(a.nInc);
    if (!pressed_) inc = accel_.empty() ? 1 : static_cast<int>(accel_.front().nInc);
    int dir = (upper_ >= lower_ ? 1 : -1) * which;
    NMUPDOWN nm{{}, pos_, dir * inc};
    if (NotifyParent(nm.hdr, UDN_DELTAPOS)) return; // refused
    if (!IsWindow(Handle())) return;
    int lo = std::min(lower_, upper_), hi = std::max(lower_, upper_);
    int next = pos_ + nm.iDelta;
    if (next > hi || next < lo) {
        if (Style() & UDS_WRAP)
            next = next > hi ? lo : hi;
        else
            next = std::clamp(next, lo, hi);
    }
    if (next == pos_) return;
    SetPos(next, true);
    if (HWND p = Parent())
        SendMessage(p, Horizontal() ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos_ & 0xFFFF),
                    reinterpret_cast<LPARAM>(Handle()));
}

HWND UpDown::SetBuddy(HWND buddy) {
    HWND old = buddy_;
    ReleaseBuddy();
    buddy_ = buddy && IsWindow(buddy) ? buddy : nullptr;
    if (!buddy_) return old;
    if (Style() & UDS_ARROWKEYS) { // the buddy's Up and Down keys step us
        buddyProc_ =
            MakeProcInstance([this](HWND h, UINT m, WPARAM w, LPARAM l) { return BuddyProc(h, m, w, l); });
        buddyOld_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(buddy_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc_)));
    }
    if (Style() & (static_cast<DWORD>(UDS_ALIGNRIGHT) | static_cast<DWORD>(UDS_ALIGNLEFT))) {
        // Beside the buddy, as high as it, inside its old width.
        RECT br;
        GetWindowRect(buddy_, &br);
        POINT tl{br.left, br.top};
        if (HWND p = GetParent(buddy_)) ScreenToClient(p, &tl);
        int w = Client().right, bw = br.right - br.left, bh = br.bottom - br.top;
        bool right = Style() & UDS_ALIGNRIGHT;
        SetWindowPos(buddy_, nullptr, right ? tl.x : tl.x + w, tl.y, std::max(0, bw - w), bh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(Handle(), nullptr, right ? tl.x + bw - w : tl.x, tl.y, w, bh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowInBuddy();
    return old;
}

void UpDown::ReleaseBuddy() {
    if (buddy_ && buddyProc_ && IsWindow(buddy_) &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtr(buddy_, GWL_WNDPROC)) == buddyProc_)
        SetWindowLongPtr(buddy_, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(buddyOld_));
    // A procedure someone chained after ours may still call it: keep it until we go.
    buddy_ = nullptr;
}

LRESULT UpDown::BuddyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN && (wp == VK_UP || wp == VK_DOWN) && IsWindow(Handle())) {
        pressedAt_ = GetTickCount();
        Step(wp == VK_UP ? 1 : -1);
        return 0;
    }
    return CallWindowProc(buddyOld_, h, msg, wp, lp);
}

void UpDown::EndPress() {
    if (!pressed_) return;
    pressed_ = 0;
    over_ = false;
    repeating_ = false;
    KillTimer(Handle(), kRepeatTimer);
    if (GetCapture() == Handle()) ReleaseCapture();
    InvalidateRect(Handle(), nullptr, TRUE);
    if (HWND p = Parent())
        SendMessage(p, Horizontal() ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, pos_ & 0xFFFF),
                    reinterpret_cast<LPARAM>(Handle()));
}

void UpDown::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    for (int which : {1, -1}) {
        RECT r = ButtonRect(which);
        bool down = pressed_ == which && over_;
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(dc, &r, GetSysColorBrush(down ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW));
        // A small filled triangle pointing the button's way.
        int cx = (r.left + r.right) / 2 + (down ? 1 : 0), cy = (r.top + r.bottom) / 2 + (down ? 1 : 0);
        int s = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
        POINT pts[3];
        if (Horizontal()) {
            int d = which > 0 ? 1 : -1;
            pts[0] = {cx + d * s / 2, cy};
            pts[1] = {cx - d * s / 2, cy - s};
            pts[2] = {cx - d * s / 2, cy + s};
        } else {
            int d = which > 0 ? -1 : 1;
            pts[0] = {cx, cy + d * s / 2};
            pts[1] = {cx - s, cy - d * s / 2};
            pts[2] = {cx + s, cy - d * s / 2};
        }
        HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, pts, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    EndPaint(Handle(), &ps);
}

LRESULT UpDown::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        if (Style() & UDS_AUTOBUDDY) SetBuddy(GetWindow(Handle(), GW_HWNDNEXT)); // the sibling made before us
        return 0;
    case WM_DESTROY:
        EndPress();
        ReleaseBuddy();
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int which = ButtonAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (!which || !Enabled()) return 0;
        if (buddy_ && IsWindow(buddy_)) SetFocus(buddy_);
        SetCapture(Handle());
        pressed_ = which;
        over_ = true;
        pressedAt_ = GetTickCount();
        repeating_ = false;
        InvalidateRect(Handle(), nullptr, TRUE);
        Step(which);
        if (IsWindow(Handle()) && pressed_) SetTimer(Handle(), kRepeatTimer, kFirstDelayMs, nullptr);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (pressed_) {
            bool over = ButtonAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}) == pressed_;
            if (over != over_) over_ = over, InvalidateRect(Handle(), nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONUP:
        EndPress();
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        if (pressed_ && reinterpret_cast<HWND>(lp) != Handle()) EndPress();
        return 0;
    case WM_TIMER:
        if (wp != kRepeatTimer || !pressed_) return 0;
        if (!repeating_) {
            repeating_ = true;
            SetTimer(Handle(), kRepeatTimer, kRepeatMs, nullptr);
        }
        if (over_) Step(pressed_); // off the button the repeat pauses
        return 0;
    case WM_KEYDOWN:
        if ((Style() & UDS_ARROWKEYS) && (wp == VK_UP || wp == VK_DOWN)) {
            pressedAt_ = GetTickCount();
            Step(wp == VK_UP ? 1 : -1);
        }
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case UDM_SETRANGE:
        upper_ = static_cast<int16_t>(LOWORD(lp));
        lower_ = static_cast<int16_t>(HIWORD(lp));
        return 0;
    case UDM_SETRANGE32:
        lower_ = static_cast<int>(static_cast<intptr_t>(wp));
        upper_ = static_cast<int>(lp);
        return 0;
    case UDM_GETRANGE:
        return MAKELRESULT(upper_, lower_);
    case UDM_GETRANGE32:
        if (wp) *reinterpret_cast<int*>(wp) = lower_;
        if (lp) *reinterpret_cast<int*>(lp) = upper_;
        return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
        int old = pos_;
        int v = msg == UDM_SETPOS ? static_cast<int16_t>(LOWORD(lp)) : static_cast<int>(lp);
        SetPos(std::clamp(v, std::min(lower_, upper_), std::max(lower_, upper_)), true);
        return old;
    }
    case UDM_GETPOS: {
        bool error = false;
        int p = PosFromBuddy(&error);
        return MAKELRESULT(p, error ? 1 : 0);
    }
    case UDM_GETPOS32: {
        bool error = false;
        int p = PosFromBuddy(&error);
        if (lp) *reinterpret_cast<BOOL*>(lp) = error ? TRUE : FALSE;
        return p;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(reinterpret_cast<HWND>(wp)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(buddy_);
    case UDM_SETACCEL: {
        auto* a = reinterpret_cast<const UDACCEL*>(lp);
        if (!a || wp == 0) return FALSE;
        accel_.assign(a, a + wp);
        return TRUE;
    }
    case UDM_GETACCEL: {
        auto* out = reinterpret_cast<UDACCEL*>(lp);
        size_t n = std::min<size_t>(wp, accel_.size());
        for (size_t i = 0; i < n && out; ++i) out[i] = accel_[i];
        return static_cast<LRESULT>(accel_.size());
    }
    case UDM_SETBASE: {
        if (wp != 10 && wp != 16) return 0;
        int old = base_;
        base_ = static_cast<int>(wp);
        ShowInBuddy();
        return old;
    }
    case UDM_GETBASE:
        return base_;
    default:
        return ControlWindow::Proc(msg, wp, lp);
    }
}

} // namespace controls
