#include "gui/StdCtrls.h"

#include "gdi/DcText.h"
#include "gdi/Draw.h"
#include "win/Input.h"

#include <cctype>

namespace gui {

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csOpaque;
    SetColor(clBtnFace);
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 75, 25);
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form && ModalResult != mrNone)
        form->SetModalResult(ModalResult);
    TCustomControl::Click();
}

// Pressed, a push button takes the focus, as a native one does, before the press is reported.
void TButton::WndProc(TMessage& m) {
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && !Focused() && CanFocus()) SetFocus();
    TCustomControl::WndProc(m);
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE || key == VK_RETURN) {
        key = 0;
        Click();
    }
}

void TButton::CMDialogKey(TMessage& m) {
    // A focused button is the one Enter presses; otherwise the default button is.
    TWinControl* focus = FindControl(GetFocus());
    bool active = dynamic_cast<TButton*>(focus) ? focus == this : Default;
    if (((m.WParam == VK_RETURN && active) || (m.WParam == VK_ESCAPE && Cancel)) &&
        KeyDataToShiftState(m.LParam) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TCustomControl::CMDialogKey(m);
}

// "&X" in the caption makes Alt+X (or X alone when the focus wants no characters) click it.
void TButton::CMDialogChar(TMessage& m) {
    const std::string& c = Caption();
    size_t amp = c.find('&');
    while (amp != std::string::npos && amp + 1 < c.size() && c[amp + 1] == '&') amp = c.find('&', amp + 2);
    if (amp != std::string::npos && amp + 1 < c.size() && m.WParam < 128 &&
        std::toupper(static_cast<unsigned char>(c[amp + 1])) == std::toupper(static_cast<int>(m.WParam)) &&
        CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(m);
}

void TButton::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_GETDLGCODE:
        m.Result = 0;
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(m);
}

void TButton::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    bool down = MouseCapture() && (ControlState & csClicked);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Brush()->SetColor(down ? clBtnShadow : (Default || Focused()) ? cl3DDkShadow : clBtnShadow);
    c->FrameRect(r);
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    RECT tr = r;
    if (down) OffsetRect(&tr, 1, 1);
    HDC dc = c->Handle();
    DrawText(dc, Caption().c_str(), static_cast<int>(Caption().size()), &tr,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
        InflateRect(&r, -3, -3);
        c->DrawFocusRect(r);
    }
}

} // namespace gui
