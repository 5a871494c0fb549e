#include "gui/Splitter.h"

#include "gui/WinControl.h"

#include <algorithm>

namespace gui {

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    ControlStyle = csCaptureMouse;
    SetAlign(alLeft);
    TControl::SetBounds(Left(), Top(), 3, 100);
    SetCursor(crSizeWE);
    SetParentColor(true);
}

void TSplitter::SetMinSize(int value) {
    minSize_ = std::max(value, 1);
}

void TSplitter::SetBeveled(bool value) {
    if (beveled_ == value) return;
    beveled_ = value;
    Invalidate();
}

void TSplitter::RequestAlign() {
    TGraphicControl::RequestAlign();
    SetCursor(Horizontal() ? crSizeNS : crSizeWE);
}

TControl* TSplitter::FindResizeControl() {
    TWinControl* p = Parent();
    if (!p) return nullptr;
    // A point just outside the leading side.
    TPoint at{Left(), Top()};
    switch (Align()) {
    case alLeft:
        at.x -= 1;
        break;
    case alRight:
        at.x = Left() + Width();
        break;
    case alTop:
        at.y -= 1;
        break;
    case alBottom:
        at.y = Top() + Height();
        break;
    default:
        return nullptr;
    }
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = c->BoundsRect();
        // A control collapsed to nothing is still found at its edge.
        if (RectWidth(r) == 0) r.right += 1;
        if (RectHeight(r) == 0) r.bottom += 1;
        if (PtInRect(&r, at)) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Parent()) return;
    control_ = FindResizeControl();
    if (!control_) return;
    TPoint s = ClientToScreen({x, y});
    downPos_ = Horizontal() ? s.y : s.x;
    startSize_ = Horizontal() ? control_->Height() : control_->Width();
    // The rest of the parent keeps at least MinSize.
    TRect client = Parent()->ClientRect();
    int room = Horizontal() ? RectHeight(client) : RectWidth(client);
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == control_ || !c->Visible()) continue;
        if (Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) room -= c->Height();
        if (!Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) room -= c->Width();
    }
    maxSize_ = std::max(room - minSize_, minSize_);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!control_ || !MouseCapture()) return;
    // The resized control may have gone while the mouse was held.
    TWinControl* p = Parent();
    bool alive = false;
    for (int i = 0; p && i < p->ControlCount() && !alive; ++i) alive = p->Controls(i) == control_;
    if (!alive) {
        control_ = nullptr;
        return;
    }
    TPoint s = ClientToScreen({x, y});
    int delta = (Horizontal() ? s.y : s.x) - downPos_;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = std::clamp(startSize_ + delta, std::min(minSize_, startSize_), std::max(maxSize_, startSize_));
    if (Horizontal()) {
        if (size != control_->Height()) {
            int top = Align() == alBottom ? control_->Top() + control_->Height() - size : control_->Top();
            control_->SetBounds(control_->Left(), top, control_->Width(), size);
        }
    } else if (size != control_->Width()) {
        int left = Align() == alRight ? control_->Left() + control_->Width() - size : control_->Left();
        control_->SetBounds(left, control_->Top(), size, control_->Height());
    }
    if (p) p->Update();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    control_ = nullptr;
}

void TSplitter::CMCancelMode(TMessage& m) {
    TGraphicControl::CMCancelMode(m);
    control_ = nullptr;
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (!beveled_) return;
    // A raised ridge along the split.
    if (Horizontal()) {
        int mid = RectHeight(r) / 2;
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(0, mid - 1);
        c->LineTo(r.right, mid - 1);
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(0, mid);
        c->LineTo(r.right, mid);
    } else {
        int mid = RectWidth(r) / 2;
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(mid - 1, 0);
        c->LineTo(mid - 1, r.bottom);
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(mid, 0);
        c->LineTo(mid, r.bottom);
    }
}

} // namespace gui
