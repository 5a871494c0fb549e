#include "skin/controls/SkinUpDown.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Message.h"
#include "win/Timers.h"
#include "win/WindowPos.h"

namespace skin {

namespace {

constexpr uintptr_t kRepeatTimer = 1;
constexpr UINT kFirstDelay = 500, kRepeat = 100, kBackOn = 50;
const gui::TColor kNavy = RGB(0, 0, 128);
constexpr int kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4;

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

TbsSkinUpDown::TbsSkinUpDown(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    FSkinDataName = "hupdown";
    TbsSkinCustomControl::SetBounds(Left(), Top(), 50, 25);
    CalcButtonRects();
}

TbsSkinUpDown::~TbsSkinUpDown() {
    StopTimer();
}

void TbsSkinUpDown::SetUseSkinSize(bool Value) {
    if (FUseSkinSize == Value) return;
    FUseSkinSize = Value;
    ChangeSkinData();
    CalcButtonRects();
}

void TbsSkinUpDown::SetOrientation(gui::TUDOrientation Value) {
    FOrientation = Value;
    if (Designing() && !Loading()) FSkinDataName = Value == gui::udVertical ? "vupdown" : "hupdown";
    CalcButtonRects();
    Invalidate();
}

void TbsSkinUpDown::SetPosition(int Value) {
    if (Value > FMax || Value < FMin) return;
    FPosition = Value;
    if (!Designing() && OnChange) OnChange(this);
}

void TbsSkinUpDown::SetMin(int Value) {
    FMin = Value;
    if (FPosition < FMin) FPosition = FMin;
}

void TbsSkinUpDown::SetMax(int Value) {
    FMax = Value;
    if (FPosition > FMax) FPosition = FMax;
}

void TbsSkinUpDown::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex != -1) {
        if (auto* d = dynamic_cast<TbsDataSkinUpDownControl*>(Descriptor())) {
            UpButtonRect = d->UpButtonRect;
            ActiveUpButtonRect = d->ActiveUpButtonRect;
            DownUpButtonRect = Empty(d->DownUpButtonRect) ? d->ActiveUpButtonRect : d->DownUpButtonRect;
            DownButtonRect = d->DownButtonRect;
            ActiveDownButtonRect = d->ActiveDownButtonRect;
            DownDownButtonRect =
                Empty(d->DownDownButtonRect) ? d->ActiveDownButtonRect : d->DownDownButtonRect;
            // The pair is always shown at the picture's own size.
            LTPt = RTPt = LBPt = RBPt = TPoint{};
            ClRect = TRect{};
            ResizeMode = 0;
        } else {
            FIndex = -1;
        }
    }
    CalcButtonRects();
}

void TbsSkinUpDown::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize) TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
}

void TbsSkinUpDown::UpdateMaskRegion() {
    if (FUseSkinSize) {
        TbsSkinCustomControl::UpdateMaskRegion();
    } else if (FRgnSet && HandleAllocated()) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        FRgnSet = false;
    }
}

void TbsSkinUpDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    CalcButtonRects();
}

void TbsSkinUpDown::CalcButtonRects() {
    int w = Width(), h = Height();
    if (FIndex != -1 && FUseSkinSize) {
        Buttons[0].R = ToGuiRect(UpButtonRect);
        Buttons[1].R = ToGuiRect(DownButtonRect);
    } else if (FOrientation == gui::udVertical) {
        Buttons[0].R = gui::Rect(0, 0, w, h / 2);
        Buttons[1].R = gui::Rect(0, h / 2, w, h);
    } else {
        Buttons[1].R = gui::Rect(0, 0, w / 2, h);
        Buttons[0].R = gui::Rect(w / 2, 0, w, h);
    }
}

int TbsSkinUpDown::ArrowDirection(int i) const {
    if (FOrientation == gui::udVertical) return i == 0 ? kArrowUp : kArrowDown;
    return i == 0 ? kArrowRight : kArrowLeft;
}

void TbsSkinUpDown::DrawDefaultButton(gui::TCanvas* C, int i) {
    const TbsCBButtonX& b = Buttons[i];
    bool pressed = b.Down && b.MouseIn;
    C->Brush()->SetColor(pressed ? RGB(133, 147, 181) : b.MouseIn ? RGB(182, 189, 210) : gui::clBtnFace);
    C->FillRect(b.R);
    C->Brush()->SetColor(b.MouseIn ? kNavy : gui::clBtnShadow);
    C->FrameRect(b.R);
    DrawArrow(C, b.R, gui::clBlack, ArrowDirection(i));
}

void TbsSkinUpDown::CreateControlDefaultImage(gui::TBitmap* B) {
    CalcButtonRects();
    B->Canvas()->Brush()->SetColor(gui::clBtnFace);
    B->Canvas()->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
    for (int i = 0; i < 2; ++i) DrawDefaultButton(B->Canvas(), i);
}

// A button from the skin's "resizebutton" at any size; without one the plain look serves.
void TbsSkinUpDown::DrawResizeButton(gui::TCanvas* C, int i) {
    const TbsCBButtonX& b = Buttons[i];
    int w = gui::RectWidth(b.R), h = gui::RectHeight(b.R);
    if (w <= 0 || h <= 0) return;
    int index = FSD->GetControlIndex("resizebutton");
    auto* d = index < 0
                  ? nullptr
                  : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
    gui::TBitmap* picture = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
    if (!d || !picture || Empty(d->SkinRect)) {
        DrawDefaultButton(C, i);
        return;
    }
    bool pressed = b.Down && b.MouseIn;
    TRect src = d->SkinRect;
    gui::TColor colour = d->FontColor;
    if (pressed) {
        src = !Empty(d->DownSkinRect)     ? d->DownSkinRect
              : !Empty(d->ActiveSkinRect) ? d->ActiveSkinRect
                                          : d->SkinRect;
        colour = d->DownFontColor;
    } else if (b.MouseIn && !Empty(d->ActiveSkinRect)) {
        src = d->ActiveSkinRect;
        colour = d->ActiveFontColor;
    }
    int dw = w - d->SkinRect.Width(), dh = h - d->SkinRect.Height();
    TPoint nrt{d->RTPoint.X + dw, d->RTPoint.Y}, nlb{d->LBPoint.X, d->LBPoint.Y + dh},
        nrb{d->RBPoint.X + dw, d->RBPoint.Y + dh};
    TRect ncl{d->ClRect.Left, d->ClRect.Top, d->ClRect.Right + dw, d->ClRect.Bottom + dh};
    gui::TBitmap img;
    img.SetSize(w, h);
    BuildNinePartImage(d->LTPoint, d->RTPoint, d->LBPoint, d->RBPoint, d->ClRect, d->LTPoint, nrt, nlb, nrb,
                       ncl, &img, picture, src, w, h, true, d->LeftStretch, d->TopStretch, d->RightStretch,
                       d->BottomStretch, d->StretchEffect, d->StretchType);
    C->Draw(b.R.left, b.R.top, &img);
    gui::TRect ar = b.R;
    if (pressed) {
        ar.left += 2;
        ar.top += 2;
    }
    DrawArrow(C, ar, colour, ArrowDirection(i));
}

void TbsSkinUpDown::CreateControlSkinImage(gui::TBitmap* B) {
    CalcButtonRects();
    if (!FUseSkinSize) {
        B->Canvas()->Brush()->SetColor(gui::clBtnFace);
        B->Canvas()->FillRect(gui::Rect(0, 0, B->Width(), B->Height()));
        for (int i = 0; i < 2; ++i) DrawResizeButton(B->Canvas(), i);
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    const TRect active[2] = {ActiveUpButtonRect, ActiveDownButtonRect};
    const TRect down[2] = {DownUpButtonRect, DownDownButtonRect};
    for (int i = 0; i < 2; ++i) {
        const TbsCBButtonX& b = Buttons[i];
        TRect src = b.Down && b.MouseIn ? down[i] : b.MouseIn ? active[i] : TRect{};
        if (Empty(src) || !Picture) continue;
        B->Canvas()->CopyRect(gui::Rect(b.R.left, b.R.top, b.R.left + src.Width(), b.R.top + src.Height()),
                              Picture->Canvas(), ToGuiRect(src));
    }
}

// --- pointer and repeat --------------------------------------------------------------------

void TbsSkinUpDown::StartTimer(UINT Interval) {
    if (!HandleAllocated()) return;
    SetTimer(Handle(), kRepeatTimer, Interval, nullptr);
    FTimerOn = true;
}

void TbsSkinUpDown::StopTimer() {
    if (FTimerOn && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    FTimerOn = false;
}

void TbsSkinUpDown::TestActive(int X, int Y) {
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 2; ++i)
        if (Inside(Buttons[i].R, X, Y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        if (TimerMode != 0 && Buttons[OldActiveButton].Down) StopTimer();
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        Buttons[1 - ActiveButton].MouseIn = false;
        if (TimerMode != 0 && Buttons[ActiveButton].Down) StartTimer(kBackOn);
    }
    Invalidate();
}

void TbsSkinUpDown::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    TestActive(X, Y);
    if (ActiveButton == -1) return;
    int i = ActiveButton;
    Buttons[1 - i].MouseIn = false;
    CaptureButton = i;
    Buttons[i].Down = Buttons[i].MouseIn = true;
    Invalidate();
    if (FIncrement == 0) return;
    TimerMode = i == 0 ? 2 : 1;
    WaitMode = true;
    StartTimer(kFirstDelay);
}

void TbsSkinUpDown::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsSkinUpDown::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (FIncrement != 0) {
        StopTimer();
        TimerMode = 0;
    }
    int i = CaptureButton;
    if (i == -1) return;
    CaptureButton = -1;
    Buttons[i].Down = false;
    bool over = Inside(Buttons[i].R, X, Y);
    if (!over) Buttons[i].MouseIn = false;
    Invalidate();
    if (!over) return;
    if (i == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
    } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
    }
}

void TbsSkinUpDown::CMMouseEnter(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseEnter(m);
    ActiveButton = OldActiveButton = -1;
}

void TbsSkinUpDown::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    ActiveButton = OldActiveButton = -1;
    if (Buttons[0].MouseIn || Buttons[1].MouseIn) {
        Buttons[0].MouseIn = Buttons[1].MouseIn = false;
        Invalidate();
    }
}

void TbsSkinUpDown::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == kRepeatTimer) {
        if (WaitMode) {
            WaitMode = false;
            StartTimer(kRepeat);
            return;
        }
        if (TimerMode == 2) SetPosition(FPosition + FIncrement);
        if (TimerMode == 1) SetPosition(FPosition - FIncrement);
        return;
    }
    TbsSkinCustomControl::Dispatch(m);
}

} // namespace skin
