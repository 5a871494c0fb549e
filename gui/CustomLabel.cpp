#include "gui/CustomLabel.h"

#include "gdi/Dc.h"
#include "gdi/DcText.h"
#include "gui/WinControl.h"
#include "os/ScopeExit.h"

#include <algorithm>

namespace gui {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    SetParentColor(true);
    TControl::SetBounds(Left(), Top(), 65, 17);
    SetAutoSize(true);
}

std::string TCustomLabel::GetLabelText() {
    return Caption();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (showAccelChar_ == value) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value) return;
    if (value)
        ControlStyle &= ~csOpaque;
    else
        ControlStyle |= csOpaque;
    // The parent paints again what now shows through, or no longer does.
    InvalidateControl(Visible(), false);
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = control;
    if (control) control->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
    std::string text = GetLabelText();
    // An empty label still has the height of a line; a lone "&" would vanish as a prefix.
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += " ";
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    RECT r = rect;
    if (Enabled() || (flags & DT_CALCRECT)) {
        DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    } else {
        // Engraved, as Win32 draws disabled static text.
        OffsetRect(&r, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        c->Font()->SetColor(clBtnShadow);
        DrawText(c->Handle(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    }
    rect = r;
}

namespace {
UINT AlignFlag(TAlignment a) {
    return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : DT_LEFT;
}
} // namespace

void TCustomLabel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!Transparent()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    UINT flags = DT_EXPANDTABS | AlignFlag(alignment_) | (wordWrap_ ? DT_WORDBREAK : 0);
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int free = RectHeight(r) - RectHeight(calc);
        OffsetRect(&r, 0, layout_ == tlBottom ? free : free / 2);
    }
    DoDrawText(r, flags);
}

TSize TCustomLabel::MeasureText(int width) {
    TCanvas* c = Canvas();
    // Measuring needs no window: a memory DC has the same text metrics as the screen.
    HDC mem = nullptr;
    if (!c->HandleAllocated()) {
        mem = CreateCompatibleDC(nullptr);
        c->SetHandle(mem);
    }
    TRect r{0, 0, width > 0 ? width : 0x3FFFFFFF, 0};
    {
        os::ScopeExit release([c, mem] {
            if (mem) c->SetHandle(nullptr), DeleteDC(mem);
        });
        DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ && width > 0 ? DT_WORDBREAK : 0));
    }
    return {RectWidth(r), RectHeight(r)};
}

bool TCustomLabel::CanAutoSize(int& width, int& height) {
    TSize s = MeasureText(wordWrap_ ? width : 0);
    width = s.cx;
    height = s.cy;
    return true;
}

void TCustomLabel::AdjustBounds() {
    if (!AutoSize() || Loading() || adjusting_) return;
    adjusting_ = true;
    TSize s = MeasureText(wordWrap_ ? Width() : 0);
    int left = Left();
    if (alignment_ == taRightJustify) left = Left() + Width() - s.cx;
    SetBounds(left, Top(), s.cx, s.cy);
    adjusting_ = false;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& m) {
    TGraphicControl::CMTextChanged(m);
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& m) {
    TGraphicControl::CMFontChanged(m);
    AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR && focusControl_ && showAccelChar_ && Enabled() &&
        IsAccel(m.WParam, Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(m);
}

} // namespace gui
