#include "gui/ButtonControl.h"

#include "gdi/DcText.h"
#include "gui/Forms.h"
#include "win/Input.h"

namespace gui {

// ---- common

TButtonControl::TButtonControl(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csCaptureMouse | csSetCaption | csOpaque | csDoubleClicks;
    SetParentColor(true);
    SetTabStop(true);
}

void TButtonControl::SetPressed(bool pressed, bool hot) {
    if (pressed == pressed_ && hot == hot_) return;
    pressed_ = pressed;
    hot_ = hot;
    Invalidate();
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        SetPressed(true, true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButtonControl::MouseMove(TShiftState shift, int x, int y) {
    if (pressed_ && MouseCapture()) {
        TRect c = ClientRect();
        SetPressed(true, PtInRect(&c, TPoint{x, y}));
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && pressed_) {
        TRect c = ClientRect();
        bool inside = PtInRect(&c, TPoint{x, y});
        SetPressed(false, false);
        if (inside) Toggle();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TButtonControl::CMCancelMode(TMessage& m) {
    TCustomControl::CMCancelMode(m);
    spaceDown_ = false;
    SetPressed(false, false);
}

// Space presses the box; its release toggles, as a Win32 button does.
void TButtonControl::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE && !spaceDown_) {
        spaceDown_ = true;
        SetPressed(true, true);
        key = 0;
    }
}

void TButtonControl::KeyUp(WORD& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        SetPressed(false, false);
        key = 0;
        Toggle();
    }
}

void TButtonControl::CMDialogChar(TMessage& m) {
    if (IsAccel(m.WParam, Caption()) && CanFocus()) {
        SetFocus();
        Toggle();
        m.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(m);
}

void TButtonControl::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_KILLFOCUS:
        spaceDown_ = false;
        SetPressed(false, false);
        Invalidate();
        break;
    case WM_SETFOCUS:
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

void TButtonControl::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    TRect box = Bounds(0, (RectHeight(r) - BoxSize) / 2, BoxSize, BoxSize);
    DrawBox(box);
    DrawMark(box);
    if (Caption().empty()) return;
    c->Font()->Assign(Font());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(bsClear);
    HDC dc = c->Handle();
    RECT text{BoxSize + 4, 0, r.right, r.bottom};
    RECT calc = text;
    DrawText(dc, Caption().c_str(), static_cast<int>(Caption().size()), &calc, DT_SINGLELINE | DT_CALCRECT);
    // The caption's own box, centred on the control's middle.
    OffsetRect(&calc, 0, (RectHeight(r) - RectHeight(calc)) / 2);
    calc.right = std::min(calc.right, r.right);
    DrawText(dc, Caption().c_str(), static_cast<int>(Caption().size()), &calc, DT_SINGLELINE);
    if (Focused()) {
        InflateRect(&calc, 1, 1);
        c->Brush()->SetStyle(bsSolid);
        c->DrawFocusRect(calc);
    }
}

// ---- check box

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
    TControl::SetBounds(Left(), Top(), 97, 17);
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    Invalidate();
    Click();
}

void TCheckBox::SetChecked(bool value) {
    if (value)
        SetState(cbChecked);
    else if (state_ == cbChecked)
        SetState(cbUnchecked);
}

void TCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked:
        SetState(AllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCheckBox::DrawBox(const TRect& b) {
    TCanvas* c = Canvas();
    // A sunken square, as Win32 draws a classic check box.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor((Pressed() || !Enabled() || state_ == cbGrayed) ? clBtnFace : clWindow);
    c->FillRect(b);
    auto edge = [&](const TRect& r, TColor tl, TColor br) {
        c->Pen()->SetColor(tl);
        c->MoveTo(r.left, r.bottom - 1);
        c->LineTo(r.left, r.top);
        c->LineTo(r.right, r.top);
        c->Pen()->SetColor(br);
        c->MoveTo(r.right - 1, r.top + 1);
        c->LineTo(r.right - 1, r.bottom - 1);
        c->LineTo(r.left - 1, r.bottom - 1);
    };
    edge(b, clBtnShadow, clBtnHighlight);
    edge({b.left + 1, b.top + 1, b.right - 1, b.bottom - 1}, cl3DDkShadow, cl3DLight);
}

void TCheckBox::DrawMark(const TRect& b) {
    if (state_ == cbUnchecked) return;
    TCanvas* c = Canvas();
    c->Pen()->SetColor((state_ == cbGrayed || !Enabled()) ? clGrayText : clWindowText);
    // A tick three pixels thick.
    for (int d = 0; d < 3; ++d) {
        c->MoveTo(b.left + 3, b.top + 5 + d);
        c->LineTo(b.left + 5, b.top + 7 + d);
        c->LineTo(b.left + 10, b.top + 2 + d);
    }
}

// ---- radio button

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    TControl::SetBounds(Left(), Top(), 113, 17);
    // Tab reaches a group at its checked button.
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    Invalidate();
    if (!value) return;
    if (TWinControl* p = Parent())
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this) r->SetChecked(false);
    Click();
}

void TRadioButton::Toggle() {
    if (!checked_) SetChecked(true);
}

void TRadioButton::KeyDown(WORD& key, TShiftState shift) {
    TButtonControl::KeyDown(key, shift);
    bool forward = key == VK_DOWN || key == VK_RIGHT;
    if (!forward && key != VK_UP && key != VK_LEFT) return;
    key = 0;
    TWinControl* p = Parent();
    if (!p) return;
    // The next radio button of the parent that can take the focus, going round.
    int n = p->ControlCount(), self = 0;
    while (self < n && p->Controls(self) != this) ++self;
    for (int k = 1; k < n; ++k) {
        int i = forward ? (self + k) % n : (self - k + n) % n;
        auto* r = dynamic_cast<TRadioButton*>(p->Controls(i));
        if (r && r->CanFocus()) {
            r->SetFocus();
            r->SetChecked(true);
            return;
        }
    }
}

void TRadioButton::Dispatch(TMessage& m) {
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    TButtonControl::Dispatch(m);
}

void TRadioButton::DrawBox(const TRect& b) {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor((Pressed() || !Enabled()) ? clBtnFace : clWindow);
    c->Pen()->SetColor(clBtnShadow);
    c->Ellipse(b.left, b.top, b.right - 1, b.bottom - 1);
}

void TRadioButton::DrawMark(const TRect& b) {
    if (!checked_) return;
    TCanvas* c = Canvas();
    TColor mark = Enabled() ? clWindowText : clGrayText;
    c->Brush()->SetColor(mark);
    c->Pen()->SetColor(mark);
    c->Ellipse(b.left + 4, b.top + 4, b.left + 8, b.top + 8);
}

} // namespace gui
