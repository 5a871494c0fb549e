#include "skin/controls/SkinScrollBar.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Timers.h"

#include <cmath>

namespace skin {

namespace {

constexpr uintptr_t kRepeatTimer = 1;
constexpr UINT kFirstDelay = 500, kRepeat = 50;

int Nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}

} // namespace

TbsSkinScrollBar::TbsSkinScrollBar(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = "hscrollbar";
    // A quick second press is another press (with the capture a drag needs).
    ControlStyle &= ~gui::csDoubleClicks;
    FDefaultHeight = 19;
    SetTabStop(false);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 200, 19);
}

TbsSkinScrollBar::~TbsSkinScrollBar() {
    if (TimerOn && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
}

// --- values --------------------------------------------------------------------------------

// The upper bound first, then Min: when the page is larger than the range the upper bound
// lies below Min, and the position stays at Min rather than below it (an owner takes the
// position as a row or pixel offset, which must never be negative past Min).
int TbsSkinScrollBar::Clamp(int Value) const {
    int upper = FPageSize != 0 ? FMax - FPageSize + 1 : FMax;
    if (Value > upper) Value = upper;
    if (Value < FMin) Value = FMin;
    return Value;
}

void TbsSkinScrollBar::SetRange(int AMin, int AMax, int APageSize, int APosition) {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = Clamp(APosition);
    Invalidate();
}

void TbsSkinScrollBar::SetPosition(int Value) {
    Value = Clamp(Value);
    if (Value == FPosition) return;
    FPosition = Value;
    Invalidate();
    if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SimplySetPosition(int Value) {
    FPosition = Clamp(Value);
    Invalidate();
}

void TbsSkinScrollBar::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
    Invalidate();
}

void TbsSkinScrollBar::SetMax(int Value) {
    FMax = Value;
    if (FPageSize == 0) {
        if (FPosition > FMax) FPosition = FMax;
    } else if (FMax - FMin < FPageSize + FPosition) {
        FPosition = FMax - FMin - FPageSize + 1;
        if (FPosition < FMin) FPosition = FMin;
    }
    Invalidate();
}

void TbsSkinScrollBar::SetPageSize(int Value) {
    if (FPosition + Value <= FMax - FMin + 1) FPageSize = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetSmallChange(int Value) {
    FSmallChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetLargeChange(int Value) {
    FLargeChange = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value) {
    if (FKind == Value) return;
    FKind = Value;
    Invalidate();
}

void TbsSkinScrollBar::SetBoth(bool Value) {
    if (FBoth == Value) return;
    FBoth = Value;
    if (!Designing()) {
        if (FBoth) {
            FNormalSkinDataName = FSkinDataName;
            FSkinDataName = BothSkinDataName;
        } else if (!FNormalSkinDataName.empty()) {
            FSkinDataName = FNormalSkinDataName;
        }
    }
    if (FIndex == -1)
        Invalidate();
    else
        ChangeSkinData();
}

void TbsSkinScrollBar::SetBothMarkerWidth(int Value) {
    if (Value < 0) return;
    FBothMarkerWidth = Value;
    if (FIndex == -1) Invalidate();
}

void TbsSkinScrollBar::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

bool TbsSkinScrollBar::ShowsFocus() {
    return FCanFocused && Focused();
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinScrollBar::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* d = FIndex != -1 ? dynamic_cast<TbsDataSkinScrollBarControl*>(Descriptor()) : nullptr;
    if (!d) return;
    STrackArea = d->TrackArea;
    UpButtonRect = d->UpButtonRect;
    ActiveUpButtonRect = d->ActiveUpButtonRect;
    DownUpButtonRect = Empty(d->DownUpButtonRect) ? d->ActiveUpButtonRect : d->DownUpButtonRect;
    DownButtonRect = d->DownButtonRect;
    ActiveDownButtonRect = d->ActiveDownButtonRect;
    DownDownButtonRect = Empty(d->DownDownButtonRect) ? d->ActiveDownButtonRect : d->DownDownButtonRect;
    ThumbRect = d->ThumbRect;
    ActiveThumbRect = Empty(d->ActiveThumbRect) ? d->ThumbRect : d->ActiveThumbRect;
    DownThumbRect = Empty(d->DownThumbRect) ? ActiveThumbRect : d->DownThumbRect;
    ThumbOffset1 = d->ThumbOffset1;
    ThumbOffset2 = d->ThumbOffset2;
    ThumbTransparent = d->ThumbTransparent;
    ThumbTransparentColor = d->ThumbTransparentColor;
    ThumbStretchEffect = d->ThumbStretchEffect;
    ThumbMinSize = d->ThumbMinSize;
    ThumbMinPageSize = d->ThumbMinPageSize;
    GlyphRect = d->GlyphRect;
    ActiveGlyphRect = Empty(d->ActiveGlyphRect) ? d->GlyphRect : d->ActiveGlyphRect;
    DownGlyphRect = Empty(d->DownGlyphRect) ? ActiveGlyphRect : d->DownGlyphRect;
    GlyphTransparent = d->GlyphTransparent;
    GlyphTransparentColor = d->GlyphTransparentColor;
}

void TbsSkinScrollBar::AdjustSkinSize(int& AWidth, int& AHeight) {
    TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
    LayoutParts();
}

// --- layout --------------------------------------------------------------------------------

void TbsSkinScrollBar::LayoutParts() {
    bool vertical = FKind == TScrollBarKind::sbVertical;
    double range = FMax - FMin;
    double k = range != 0 ? (FPosition - FMin) / range : 0;
    bool page = FPageSize != 0;
    double pageSpan = FMax - FPageSize + 1 - FMin;
    // A thumb longer than the track lines up with the end of a horizontal bar and the start
    // of a vertical one.
    double k2 = pageSpan > 0 ? (FPosition - FMin) / pageSpan : (vertical ? 0 : 1);
    auto pageLength = [&](int trackLength) {
        double divisor = FMax - FMin + 1;
        return divisor != 0 ? Nearest(trackLength * FPageSize / divisor) : 0;
    };
    gui::TRect& thumb = Buttons[0].R;
    gui::TRect& inc = Buttons[1].R;
    gui::TRect& dec = Buttons[2].R;
    gui::TRect& track = NewTrackArea;
    int half = 0;
    if (FIndex == -1) {
        int W = Width(), H = Height();
        if (!vertical) {
            if (FBoth) W -= FBothMarkerWidth;
            dec = gui::Rect(1, 1, 17, H - 1);
            inc = gui::Rect(W - 17, 1, W - 1, H - 1);
            track = gui::Rect(17, 1, W - 17, H - 1);
        } else {
            dec = gui::Rect(1, 1, W - 1, 17);
            inc = gui::Rect(1, H - 17, W - 1, H - 1);
            track = gui::Rect(1, 17, W - 1, H - 17);
        }
        int length = 16;
        if (page)
            length = std::max(pageLength(vertical ? gui::RectHeight(track) : gui::RectWidth(track)), 16);
        half = length / 2;
    } else {
        int tw = ThumbRect.Width(), th = ThumbRect.Height();
        int along = vertical ? th : tw;
        if (ThumbMinSize != 0) along = ThumbMinSize;
        if (!vertical) {
            int d = Width() - SkinRect.Width();
            track = gui::Rect(STrackArea.Left, STrackArea.Top, STrackArea.Right + d, STrackArea.Bottom);
            inc = ToGuiRect(UpButtonRect);
            dec = ToGuiRect(DownButtonRect);
            if (inc.left > RTPt.X) OffsetRect(&inc, d, 0);
            if (dec.left > RTPt.X) OffsetRect(&dec, d, 0);
        } else {
            int d = Height() - SkinRect.Height();
            track = gui::Rect(STrackArea.Left, STrackArea.Top, STrackArea.Right, STrackArea.Bottom + d);
            inc = ToGuiRect(UpButtonRect);
            dec = ToGuiRect(DownButtonRect);
            if (inc.top > LBPt.Y) OffsetRect(&inc, 0, d);
            if (dec.top > LBPt.Y) OffsetRect(&dec, 0, d);
        }
        int length = along;
        if (!page) {
            if (ThumbMinPageSize != 0) length = ThumbMinPageSize;
        } else {
            length = std::max(pageLength(vertical ? gui::RectHeight(track) : gui::RectWidth(track)), along);
        }
        half = length / 2;
    }
    int start = vertical ? track.top : track.left, end = vertical ? track.bottom : track.right;
    Offset1 = start + half;
    Offset2 = end - half;
    BOffset = Nearest((Offset2 - Offset1) * (page ? k2 : k));
    int a = Offset1 + BOffset - half, b = Offset1 + BOffset + half;
    if (FIndex == -1) {
        thumb =
            vertical ? gui::Rect(track.left, a, track.right, b) : gui::Rect(a, track.top, b, track.bottom);
    } else if (!vertical) {
        int th = ThumbRect.Height();
        int top = track.top + gui::RectHeight(track) / 2 - th / 2;
        thumb = gui::Rect(a, top, b, top + th);
    } else {
        int tw = ThumbRect.Width();
        int left = track.left + gui::RectWidth(track) / 2 - tw / 2;
        thumb = gui::Rect(left, a, left + tw, b);
    }
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinScrollBar::DrawDefaultPart(gui::TCanvas* C, int i) {
    const Part& p = Buttons[i];
    gui::TRect r = p.R;
    if (r.right <= r.left || r.bottom <= r.top) return;
    bool pressed = (p.Down && p.MouseIn) || (i == 0 && (p.Down || ShowsFocus()));
    gui::TColor frame = gui::clBtnShadow, fill = gui::clBtnFace;
    if (pressed) {
        frame = static_cast<gui::TColor>(RGB(0, 0, 128));
        fill = static_cast<gui::TColor>(RGB(133, 147, 181));
    } else if (p.MouseIn) {
        frame = static_cast<gui::TColor>(RGB(0, 0, 128));
        fill = static_cast<gui::TColor>(RGB(182, 189, 210));
    }
    C->Brush()->SetStyle(gui::bsSolid);
    C->Brush()->SetColor(frame);
    C->FrameRect(r);
    InflateRect(&r, -1, -1);
    C->Brush()->SetColor(fill);
    C->FillRect(r);
    if (i == 0) return;
    bool vertical = FKind == TScrollBarKind::sbVertical;
    int direction = vertical ? (i == 1 ? 4 : 3) : (i == 1 ? 2 : 1);
    DrawArrow(C, r, gui::clBlack, direction);
}

void TbsSkinScrollBar::CreateControlDefaultImage(gui::TBitmap* B) {
    LayoutParts();
    gui::TCanvas* c = B->Canvas();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
    if (Enabled()) DrawDefaultPart(c, 0);
    DrawDefaultPart(c, 1);
    DrawDefaultPart(c, 2);
}

void TbsSkinScrollBar::CreateControlSkinImage(gui::TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    LayoutParts();
    gui::TCanvas* c = B->Canvas();
    auto copy = [&](const gui::TRect& to, const TRect& from) {
        if (Empty(from) || to.right <= to.left || to.bottom <= to.top) return;
        c->CopyRect(to, Picture->Canvas(), ToGuiRect(from));
    };
    for (int i : {1, 2}) {
        const Part& p = Buttons[i];
        if (!p.MouseIn) continue;
        const TRect& look = i == 1 ? (p.Down ? DownUpButtonRect : ActiveUpButtonRect)
                                   : (p.Down ? DownDownButtonRect : ActiveDownButtonRect);
        copy(p.R, look);
    }
    if (!Enabled()) return;
    const Part& t = Buttons[0];
    int w = gui::RectWidth(t.R), h = gui::RectHeight(t.R);
    if (w <= 0 || h <= 0) return;
    bool down = t.Down || ShowsFocus();
    const TRect& look = down ? DownThumbRect : t.MouseIn ? ActiveThumbRect : ThumbRect;
    if (Empty(look)) return;
    bool vertical = FKind == TScrollBarKind::sbVertical;
    gui::TBitmap thumb;
    thumb.SetSize(w, h);
    if (FPageSize != 0 || ThumbMinPageSize != 0) {
        if (vertical)
            BuildVertThreePartImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, look, w, h,
                                    ThumbStretchEffect);
        else
            BuildHorzThreePartImage(ThumbOffset1, ThumbOffset2, &thumb, Picture, look, w, h,
                                    ThumbStretchEffect);
    } else {
        thumb.Canvas()->CopyRect(gui::Rect(0, 0, w, h), Picture->Canvas(), ToGuiRect(look));
    }
    const TRect& glyph = down ? DownGlyphRect : t.MouseIn ? ActiveGlyphRect : GlyphRect;
    int gl = vertical ? glyph.Height() : glyph.Width();
    if (!Empty(glyph) && gl < (vertical ? h : w)) {
        gui::TBitmap g;
        g.SetSize(glyph.Width(), glyph.Height());
        g.Canvas()->CopyRect(gui::Rect(0, 0, glyph.Width(), glyph.Height()), Picture->Canvas(),
                             ToGuiRect(glyph));
        if (GlyphTransparent) {
            g.SetTransparent(true);
            g.TransparentMode = gui::tmFixed;
            g.SetTransparentColor(GlyphTransparentColor);
        }
        thumb.Canvas()->Draw((w - glyph.Width()) / 2, (h - glyph.Height()) / 2, &g);
    }
    if (ThumbTransparent) {
        thumb.SetTransparent(true);
        thumb.TransparentMode = gui::tmFixed;
        thumb.SetTransparentColor(ThumbTransparentColor);
    }
    c->Draw(t.R.left, t.R.top, &thumb);
}

// --- mouse ---------------------------------------------------------------------------------

int TbsSkinScrollBar::PartAt(int X, int Y) const {
    for (int i = 0; i < 3; ++i) {
        POINT p{X, Y};
        if (PtInRect(&Buttons[i].R, p)) return i;
    }
    return -1;
}

void TbsSkinScrollBar::StartTimer(UINT Interval) {
    SetTimer(Handle(), kRepeatTimer, Interval, nullptr);
    TimerOn = true;
}

void TbsSkinScrollBar::StopTimer() {
    if (TimerOn && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    TimerOn = false;
}

void TbsSkinScrollBar::StepUp() {
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::StepDown() {
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(FPosition - FSmallChange);
}

void TbsSkinScrollBar::PressPart(int i) {
    Buttons[i].Down = true;
    Invalidate();
    bool vertical = FKind == TScrollBarKind::sbVertical;
    switch (i) {
    case 0:
        OMPos = vertical ? MY : MX;
        OldBOffset = BOffset;
        FDown = true;
        break;
    case 1:
        StepUp();
        TimerMode = 2;
        StartTimer(kFirstDelay);
        break;
    case 2:
        StepDown();
        TimerMode = 1;
        StartTimer(kFirstDelay);
        break;
    default:
        break;
    }
}

void TbsSkinScrollBar::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    MouseD = true;
    MX = X;
    MY = Y;
    LayoutParts();
    TimerMode = 0;
    WaitMode = true;
    int i = PartAt(X, Y);
    if (i != -1) {
        CaptureButton = i;
        PressPart(i);
        return;
    }
    POINT p{X, Y};
    if (!PtInRect(&NewTrackArea, p)) return;
    const gui::TRect& thumb = Buttons[0].R;
    bool before = FKind == TScrollBarKind::sbVertical ? Y < thumb.top : X < thumb.left;
    if (before) {
        SetPosition(FPosition - FLargeChange);
        TimerMode = 3;
        StartTimer(kFirstDelay);
        if (OnPageUp) OnPageUp(this);
    } else {
        SetPosition(FPosition + FLargeChange);
        TimerMode = 4;
        StartTimer(kFirstDelay);
        if (OnPageDown) OnPageDown(this);
    }
}

void TbsSkinScrollBar::UpdateHover(int X, int Y) {
    OldActiveButton = ActiveButton;
    ActiveButton = PartAt(X, Y);
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        // A held arrow pauses while the pointer is off it.
        if (Buttons[OldActiveButton].Down && OldActiveButton != 0) StopTimer();
        Invalidate();
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        if (Buttons[ActiveButton].Down && ActiveButton != 0 && (TimerMode == 1 || TimerMode == 2)) {
            WaitMode = false;
            StartTimer(kRepeat);
        }
        Invalidate();
    }
}

void TbsSkinScrollBar::PositionFromOffset(int C) {
    bool vertical = FKind == TScrollBarKind::sbVertical;
    double f = 0;
    if (FPageSize == 0) {
        int span = Offset2 - Offset1;
        if (span > 0) f = static_cast<double>(C - OMPos + OldBOffset) / span;
        f = std::clamp(f, 0.0, 1.0);
        SetPosition(FMin + Nearest((FMax - FMin) * f));
    } else {
        const gui::TRect& t = Buttons[0].R;
        int length = vertical ? gui::RectHeight(t) : gui::RectWidth(t);
        int start = vertical ? NewTrackArea.top : NewTrackArea.left;
        int end = vertical ? NewTrackArea.bottom : NewTrackArea.right;
        Offset1 = start + length / 2;
        Offset2 = end - length / 2;
        int span = Offset2 - Offset1;
        if (span > 0) f = static_cast<double>(C - OMPos + OldBOffset) / span;
        f = std::clamp(f, 0.0, 1.0);
        SetPosition(FMin + Nearest((FMax - FMin - FPageSize + 1) * f));
    }
}

void TbsSkinScrollBar::MouseMove(gui::TShiftState Shift, int X, int Y) {
    MX = X;
    MY = Y;
    UpdateHover(X, Y);
    if (FDown) PositionFromOffset(FKind == TScrollBarKind::sbVertical ? Y : X);
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    MouseD = false;
    if (TimerMode >= 3) {
        StopTimer();
        TimerMode = 0;
    }
    int captured = CaptureButton;
    if (captured != -1) {
        Part& p = Buttons[captured];
        p.Down = false;
        if (ActiveButton != captured) p.MouseIn = false;
        Invalidate();
        if (captured == 0) {
            FDown = false;
        } else {
            StopTimer();
            TimerMode = 0;
        }
    }
    CaptureButton = -1;
    if (captured == 0 && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    if (Designing()) return;
    if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
        Buttons[ActiveButton].MouseIn = false;
        ActiveButton = -1;
        Invalidate();
    }
}

void TbsSkinScrollBar::CMEnabledChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMEnabledChanged(m);
    Invalidate();
}

// --- keys, wheel, timer --------------------------------------------------------------------

void TbsSkinScrollBar::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (!FCanFocused) return;
    if (Key == VK_LEFT || Key == VK_UP)
        SetPosition(FPosition - FSmallChange);
    else if (Key == VK_RIGHT || Key == VK_DOWN)
        SetPosition(FPosition + FSmallChange);
}

bool TbsSkinScrollBar::DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) {
    if (FCanFocused && Focused()) {
        SetPosition(FPosition + (WheelDelta > 0 ? -FSmallChange : FSmallChange));
        return true;
    }
    return TbsSkinCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}

// A press on an unfocused bar that wants the focus takes it first; one that cannot get it is
// dropped.
void TbsSkinScrollBar::WndProc(gui::TMessage& m) {
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && FCanFocused && !Focused() && !Designing()) {
        if (CanFocus()) SetFocus();
        if (!Focused()) return;
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinScrollBar::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam != kRepeatTimer) break;
        if (WaitMode) {
            WaitMode = false;
            StartTimer(kRepeat);
            return;
        }
        switch (TimerMode) {
        case 1:
            StepDown();
            break;
        case 2:
            StepUp();
            break;
        case 3:
        case 4: {
            UpdateHover(MX, MY);
            LayoutParts();
            const gui::TRect& t = Buttons[0].R;
            bool vertical = FKind == TScrollBarKind::sbVertical;
            bool go = TimerMode == 3 ? (vertical ? MY < t.top : MX < t.left)
                                     : (vertical ? MY > t.bottom : MX > t.right);
            if (!go) {
                StopTimer();
                TimerMode = 0;
            } else if (TimerMode == 3) {
                SetPosition(FPosition - FLargeChange);
                if (OnPageUp) OnPageUp(this);
            } else {
                SetPosition(FPosition + FLargeChange);
                if (OnPageDown) OnPageDown(this);
            }
            break;
        }
        default:
            break;
        }
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case gui::CM_WANTSPECIALKEY:
        if (FCanFocused &&
            (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN)) {
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

} // namespace skin
