#include "gui/HintWindow.h"

#include "gdi/DcText.h"
#include "gui/Application.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/System.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace gui {

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WndParent = Application->Handle();
    p.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint, void*) {
    RECT r{0, 0, maxWidth > 0 ? maxWidth : 10000, 0};
    Canvas()->SetFont(Font());
    HDC dc = Canvas()->Handle();
    DrawText(dc, hint.c_str(), static_cast<int>(hint.size()), &r,
             DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    static_cast<TControlCanvas*>(Canvas())->FreeHandle(); // a no-op while painting
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint) {
    SetCaption(hint);
    // Kept on the monitor: moved left or up rather than cut.
    TRect work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    if (rect.right > work.right) OffsetRect(&rect, work.right - rect.right, 0);
    if (rect.bottom > work.bottom) OffsetRect(&rect, 0, work.bottom - rect.bottom);
    if (rect.left < work.left) OffsetRect(&rect, work.left - rect.left, 0);
    if (rect.top < work.top) OffsetRect(&rect, 0, work.top - rect.top);
    SetBounds(rect.left, rect.top, RectWidth(rect), RectHeight(rect));
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, RectWidth(rect), RectHeight(rect),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ActivateHintData(TRect rect, const std::string& hint, void*) {
    ActivateHint(rect, hint);
}

void THintWindow::ReleaseHandle() {
    DestroyHandle();
}

bool THintWindow::IsHintMsg(const MSG& msg) const {
    return (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSCHAR) ||
           (msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK) || msg.message == WM_ACTIVATE ||
           msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
}

void THintWindow::Dispatch(TMessage& m) {
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::Dispatch(m);
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    r.left += 2, r.top += 1;
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    HDC dc = Canvas()->Handle();
    DrawText(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r,
             DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

} // namespace gui
