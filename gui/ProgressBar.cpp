#include "gui/ProgressBar.h"

#include <algorithm>

namespace gui {

TProgressBar::TProgressBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csOpaque;
    SetColor(clBtnFace);
    TControl::SetBounds(Left(), Top(), 150, 16);
}

void TProgressBar::SetRange(int min, int max) {
    if (max < min) std::swap(min, max);
    if (min == min_ && max == max_) return;
    min_ = min;
    max_ = max;
    position_ = std::clamp(position_, min_, max_);
    Invalidate();
}

void TProgressBar::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    Invalidate();
}

void TProgressBar::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(r.left, r.bottom - 1);
    c->LineTo(r.left, r.top);
    c->LineTo(r.right - 1, r.top);
    c->Pen()->SetColor(clBtnHighlight);
    c->LineTo(r.right - 1, r.bottom - 1);
    c->LineTo(r.left - 1, r.bottom - 1);
    InflateRect(&r, -2, -2);
    if (max_ <= min_ || RectWidth(r) <= 0) return;
    int64_t filled = int64_t{RectWidth(r)} * (position_ - min_) / (int64_t{max_} - min_);
    r.right = r.left + static_cast<int>(filled);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(r);
}

} // namespace gui
