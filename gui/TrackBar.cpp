#include "gui/TrackBar.h"

#include "win/Input.h"

#include <algorithm>

namespace gui {

TTrackBar::TTrackBar(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks;
    SetParentColor(true);
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 150, 45);
}

void TTrackBar::SetRange(int min, int max) {
    if (max < min) std::swap(min, max);
    if (min == min_ && max == max_) return;
    min_ = min;
    max_ = max;
    Invalidate();
    SetPosition(position_);
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    if (value == position_) return;
    position_ = value;
    Invalidate();
    if (OnChange) OnChange(this);
}

int TTrackBar::XOf(int position) {
    int span = ChannelRight() - ChannelLeft();
    if (max_ <= min_ || span <= 0) return ChannelLeft();
    return ChannelLeft() + static_cast<int>(int64_t{span} * (position - min_) / (int64_t{max_} - min_));
}

int TTrackBar::PositionAt(int x) {
    int span = ChannelRight() - ChannelLeft();
    if (max_ <= min_ || span <= 0) return min_;
    int64_t range = int64_t{max_} - min_;
    // The nearest value, not the one below.
    int64_t offset = (int64_t{x - ChannelLeft()} * range * 2 + span) / (int64_t{span} * 2);
    if (x < ChannelLeft()) offset = 0;
    return static_cast<int>(std::clamp<int64_t>(min_ + offset, min_, max_));
}

TRect TTrackBar::ThumbRect() {
    int x = XOf(position_);
    return Bounds(x - ThumbWidth / 2, 4, ThumbWidth, ThumbHeight);
}

void TTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        TRect t = ThumbRect();
        if (PtInRect(&t, TPoint{x, y})) {
            dragging_ = true;
            dragOffset_ = x - XOf(position_);
            Invalidate();
        } else {
            SetPosition(position_ + (x < t.left ? -PageSize : PageSize));
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TTrackBar::MouseMove(TShiftState shift, int x, int y) {
    if (dragging_ && MouseCapture()) SetPosition(PositionAt(x - dragOffset_));
    TCustomControl::MouseMove(shift, x, y);
}

void TTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && dragging_) {
        dragging_ = false;
        Invalidate();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TTrackBar::CMCancelMode(TMessage& m) {
    TCustomControl::CMCancelMode(m);
    dragging_ = false;
}

void TTrackBar::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        SetPosition(position_ - LineSize);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPosition(position_ + LineSize);
        break;
    case VK_PRIOR:
        SetPosition(position_ - PageSize);
        break;
    case VK_NEXT:
        SetPosition(position_ + PageSize);
        break;
    case VK_HOME:
        SetPosition(min_);
        break;
    case VK_END:
        SetPosition(max_);
        break;
    default:
        return;
    }
    key = 0;
}

void TTrackBar::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(m);
}

void TTrackBar::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (Focused()) c->DrawFocusRect(r);
    // The sunken channel through the thumb's middle.
    int cy = 4 + ThumbHeight / 2;
    TRect ch{ChannelLeft() - ThumbWidth / 2, cy - 2, ChannelRight() + ThumbWidth / 2 + 1, cy + 2};
    c->Brush()->SetColor(clWindow);
    c->FillRect(ch);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(ch.left, ch.bottom - 1);
    c->LineTo(ch.left, ch.top);
    c->LineTo(ch.right, ch.top);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(ch.right - 1, ch.top + 1);
    c->LineTo(ch.right - 1, ch.bottom - 1);
    c->LineTo(ch.left, ch.bottom - 1);
    // A tick under every value, when they stand far enough apart.
    int ticksY = 4 + ThumbHeight + 3;
    c->Pen()->SetColor(clWindowText);
    int64_t range = int64_t{max_} - min_;
    int span = ChannelRight() - ChannelLeft();
    if (range > 0 && range <= span / 3) {
        for (int v = min_; v <= max_; ++v) {
            int x = XOf(v);
            c->MoveTo(x, ticksY);
            c->LineTo(x, ticksY + (v == min_ || v == max_ ? 4 : 3));
        }
    } else {
        for (int x : {ChannelLeft(), ChannelRight()}) {
            c->MoveTo(x, ticksY);
            c->LineTo(x, ticksY + 4);
        }
    }
    // The thumb: a raised block with a point downwards.
    TRect t = ThumbRect();
    int tip = t.bottom - ThumbWidth / 2 - 1;
    TPoint body[] = {
        {t.left,                  t.top       },
        {t.right - 1,             t.top       },
        {t.right - 1,             tip         },
        {t.left + ThumbWidth / 2, t.bottom - 1},
        {t.left,                  tip         }
    };
    c->Brush()->SetColor(dragging_ ? clBtnHighlight : clBtnFace);
    c->Pen()->SetColor(cl3DDkShadow);
    c->Polygon(body);
    c->Pen()->SetColor(clBtnHighlight);
    c->MoveTo(t.left + 1, tip);
    c->LineTo(t.left + 1, t.top + 1);
    c->LineTo(t.right - 2, t.top + 1);
}

} // namespace gui
