#include "controls/ControlWindow.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "win/DefWindowProc.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <unordered_map>

namespace controls {

namespace {
std::unordered_map<HWND, std::shared_ptr<ControlWindow>>& Objects() {
    static std::unordered_map<HWND, std::shared_ptr<ControlWindow>> objects;
    return objects;
}
} // namespace

ControlWindow::ControlWindow(HWND h) : hwnd_(h) {
    measure_ = CreateCompatibleDC(nullptr);
    SetFont(nullptr);
}

ControlWindow::~ControlWindow() {
    if (measure_) DeleteDC(measure_);
}

void ControlWindow::RegisterControlClass(const char* name, UINT classStyle, const char* cursor,
                                         WNDPROC proc) {
    WNDCLASS wc{};
    wc.hCursor = LoadCursor(nullptr, cursor);
    wc.style = classStyle | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

LRESULT ControlWindow::Route(HWND h, UINT msg, WPARAM wp, LPARAM lp, Factory make) {
    auto& objects = Objects();
    if (msg == WM_NCCREATE) objects[h] = make(h);
    auto it = objects.find(h);
    if (it == objects.end()) return DefWindowProc(h, msg, wp, lp);
    std::shared_ptr<ControlWindow> self = it->second; // alive until this message is done
    LRESULT r = self->Proc(msg, wp, lp);
    if (msg == WM_NCDESTROY) Objects().erase(h);
    return r;
}

LRESULT ControlWindow::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wp));
        if (LOWORD(lp)) InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    default:
        return Default(msg, wp, lp);
    }
}

LRESULT ControlWindow::Default(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(hwnd_, msg, wp, lp);
}

DWORD ControlWindow::Style() const {
    return static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
}

int ControlWindow::CtrlId() const {
    return static_cast<int>(GetWindowLongPtr(hwnd_, GWL_ID));
}

HWND ControlWindow::Parent() const {
    return GetParent(hwnd_);
}

RECT ControlWindow::Client() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

bool ControlWindow::Focused() const {
    return GetFocus() == hwnd_;
}

bool ControlWindow::Enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

void ControlWindow::NotifyCommand(WORD code) {
    if (HWND p = Parent())
        SendMessage(p, WM_COMMAND, MAKEWPARAM(CtrlId() & 0xFFFF, code), reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT ControlWindow::NotifyParent(NMHDR& hdr, int code) {
    hdr.hwndFrom = hwnd_;
    hdr.idFrom = static_cast<uintptr_t>(CtrlId());
    hdr.code = static_cast<UINT>(code);
    HWND p = Parent();
    return p ? SendMessage(p, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr)) : 0;
}

void ControlWindow::SetFont(HFONT f) {
    font_ = f;
    SelectObject(measure_, f ? static_cast<HGDIOBJ>(f) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRIC tm{};
    GetTextMetrics(measure_, &tm);
    lineHeight_ = std::max<int>(1, tm.tmHeight);
    aveCharWidth_ = std::max<int>(1, tm.tmAveCharWidth);
}

int ControlWindow::TextWidth(const std::string& s) const {
    SIZE sz{};
    GetTextExtentPoint32(measure_, s.c_str(), static_cast<int>(s.size()), &sz);
    return sz.cx;
}

HGDIOBJ ControlWindow::SelectFont(HDC dc) const {
    return SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
}

void ControlWindow::SetScroll(int bar, int min, int max, int page, int pos) {
    SCROLLINFO si{
        sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, min, max, static_cast<UINT>(std::max(0, page)), pos, 0};
    SetScrollInfo(hwnd_, bar, &si, TRUE);
}

int ControlWindow::ScrollTarget(int code, int thumbPos, int pos, int min, int max, int page, int line) {
    int p = pos;
    int pageStep = std::max(1, page);
    switch (code) {
    case SB_LINEUP:
        p -= line;
        break;
    case SB_LINEDOWN:
        p += line;
        break;
    case SB_PAGEUP:
        p -= pageStep;
        break;
    case SB_PAGEDOWN:
        p += pageStep;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        p = thumbPos;
        break;
    case SB_TOP:
        p = min;
        break;
    case SB_BOTTOM:
        p = max;
        break;
    default:
        break;
    }
    int last = std::max(min, max - std::max(0, page - 1));
    return std::clamp(p, min, last);
}

} // namespace controls
