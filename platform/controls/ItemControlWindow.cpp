#include "controls/ItemControlWindow.h"

#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

namespace controls {

HWND ItemControlWindow::OpenLabelEdit(const std::string& text, int x, int y, int w, int h,
                                      const std::function<void()>& remember) {
    HWND e = CreateWindowEx(0, WC_EDIT, text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, x, y, w, h,
                            Handle(), nullptr, nullptr, nullptr);
    if (!e) return nullptr;
    SendMessage(e, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), 0);
    if (!editProc_) {
        editOldProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtr(e, GWLP_WNDPROC));
        editProc_ = MakeProcInstance([this](HWND hw, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_GETDLGCODE) return DLGC_WANTALLKEYS | CallWindowProc(editOldProc_, hw, m, wp, lp);
            if (m == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_ESCAPE) && hw == edit_) {
                EndEdit(wp == VK_RETURN);
                return 0;
            }
            if (m == WM_CHAR && (wp == '\r' || wp == '\n' || wp == VK_ESCAPE)) return 0;
            return CallWindowProc(editOldProc_, hw, m, wp, lp);
        });
    }
    SetWindowLongPtr(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
    edit_ = e;
    remember();
    ShowWindow(e, SW_SHOW);
    SendMessage(e, EM_SETSEL, 0, -1);
    SetFocus(e);
    return e;
}

void ItemControlWindow::DestroyLabelEdit(uintptr_t editTimer) {
    KillTimer(Handle(), editTimer);
    if (edit_) {
        HWND e = edit_;
        edit_ = nullptr;
        SetWindowLongPtr(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editOldProc_));
        DestroyWindow(e);
    }
}

void ItemControlWindow::NotifyClick(int code, POINT) {
    NMHDR hdr{};
    NotifyParent(hdr, code);
}

bool ItemControlWindow::ItemViewProc(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!redraw_ && msg == WM_PAINT && !wp) { // held back: the update waits for redrawing to resume
            PAINTSTRUCT ps{};
            BeginPaint(Handle(), &ps);
            EndPaint(Handle(), &ps);
            return true;
        }
        Paint(reinterpret_cast<HDC>(wp));
        return true;
    case WM_SETREDRAW:
        redraw_ = wp != 0;
        if (redraw_) {
            UpdateScrollInfo();
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        InvalidateRect(Handle(), nullptr, TRUE);
        NMHDR hdr{};
        NotifyParent(hdr, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
        return true;
    }
    case WM_KEYDOWN:
        OnKey(static_cast<int>(wp));
        return true;
    case WM_CHAR:
        OnChar(static_cast<char32_t>(wp));
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)},
                     msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK,
                     msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK);
        return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        bool& down = msg == WM_LBUTTONUP ? clickDown_ : rightDown_;
        if (down) {
            down = false;
            NotifyClick(msg == WM_LBUTTONUP ? NM_CLICK : NM_RCLICK,
                        POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        }
        result = msg == WM_RBUTTONUP && IsWindow(Handle()) ? Default(msg, wp, lp) : 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace controls
