#include "gui/Bevel.h"

namespace gui {

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    TControl::SetBounds(Left(), Top(), 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    if (shape_ == value) return;
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (style_ == value) return;
    style_ = value;
    Invalidate();
}

void TBevel::BevelLine(TColor color, int x1, int y1, int x2, int y2) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

void TBevel::BevelRect(const TRect& r, TColor first, TColor second) {
    TCanvas* c = Canvas();
    c->Pen()->SetColor(first);
    c->MoveTo(r.left, r.bottom);
    c->LineTo(r.left, r.top);
    c->LineTo(r.right, r.top);
    c->Pen()->SetColor(second);
    c->LineTo(r.right, r.bottom);
    c->LineTo(r.left, r.bottom); // lines leave out their end point: that corner keeps the first colour
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    switch (shape_) {
    case bsBox:
        BevelRect({0, 0, w - 1, h - 1}, first, second);
        break;
    case bsFrame:
        BevelRect({1, 1, w - 1, h - 1}, second, second);
        BevelRect({0, 0, w - 2, h - 2}, first, first);
        break;
    case bsTopLine:
        BevelLine(first, 0, 0, w, 0);
        BevelLine(second, 0, 1, w, 1);
        break;
    case bsBottomLine:
        BevelLine(first, 0, h - 2, w, h - 2);
        BevelLine(second, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        BevelLine(first, 0, 0, 0, h);
        BevelLine(second, 1, 0, 1, h);
        break;
    case bsRightLine:
        BevelLine(first, w - 2, 0, w - 2, h);
        BevelLine(second, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

} // namespace gui
