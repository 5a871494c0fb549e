#include "gui/CustomPanel.h"

#include "gdi/DcText.h"

namespace gui {

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    ControlStyle =
        csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    SetColor(clBtnFace);
    TControl::SetBounds(Left(), Top(), 185, 41);
}

void TCustomPanel::BevelChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (bevelOuter_ == value) return;
    bevelOuter_ = value;
    BevelChanged();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (bevelInner_ == value) return;
    bevelInner_ = value;
    BevelChanged();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& r) {
    TCustomControl::AdjustClientRect(r);
    int edge = (bevelOuter_ != bvNone ? 1 : 0) + (bevelInner_ != bvNone ? 1 : 0);
    InflateRect(&r, -edge, -edge);
}

void TCustomPanel::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone) return;
        TColor tl = b == bvRaised ? clBtnHighlight : clBtnShadow;
        TColor br = b == bvRaised ? clBtnShadow : clBtnHighlight;
        c->Pen()->SetColor(tl);
        c->MoveTo(r.left, r.bottom - 1);
        c->LineTo(r.left, r.top);
        c->LineTo(r.right - 1, r.top);
        c->Pen()->SetColor(br);
        c->LineTo(r.right - 1, r.bottom - 1);
        c->LineTo(r.left - 1, r.bottom - 1);
        InflateRect(&r, -1, -1);
    };
    bevel(bevelOuter_);
    bevel(bevelInner_);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (Caption().empty()) return;
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsClear);
    UINT align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
    RECT tr = r;
    DrawText(c->Handle(), Caption().c_str(), static_cast<int>(Caption().size()), &tr,
             align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

} // namespace gui
