#include "skin/controls/SkinSlider.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Timers.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

constexpr uintptr_t kJumpTimer = 1;
constexpr UINT kJumpInterval = 400;
constexpr int kMargin = 6; // free band around ruler and thumb: the focus frame lies in it
const gui::TColor kKey = RGB(255, 0, 255);

int Nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

gui::TBitmap& Keyed(gui::TBitmap& b) {
    b.SetTransparentColor(kKey);
    return b;
}

// A thumb state `len` long pointing along its length (down or right), 9 across: a raised
// face, hatched when held.
void DrawBuiltInThumb(gui::TCanvas* c, bool vertical, int state, int len, bool hatched) {
    const int across = 9;
    auto put = [&](int a, int k, gui::TColor col) {
        if (vertical)
            c->SetPixels(state * len + a, k, col);
        else
            c->SetPixels(state * across + k, a, col);
    };
    int body = len - 4;
    auto inside = [&](int a, int k) {
        if (a < 0 || a >= len || k < 0 || k >= across) return false;
        return a < body || std::abs(k - 4) <= len - 1 - a;
    };
    for (int a = 0; a < len; ++a)
        for (int k = 0; k < across; ++k) {
            if (!inside(a, k)) continue;
            gui::TColor col = hatched && ((a + k) % 2) ? RGB(255, 255, 255) : RGB(192, 192, 192);
            bool lightEdge = !inside(a - 1, k) || !inside(a, k - 1);
            bool darkEdge = !inside(a + 1, k) || !inside(a, k + 1);
            if (darkEdge)
                col = RGB(64, 64, 64);
            else if (lightEdge)
                col = RGB(255, 255, 255);
            put(a, k, col);
        }
}

} // namespace

TbsSkinCustomSlider::TbsSkinCustomSlider(gui::TComponent* AOwner) : TbsSkinControl(AOwner) {
    ControlStyle |= gui::csClickEvents | gui::csDoubleClicks | gui::csCaptureMouse | gui::csOpaque |
                    gui::csAcceptsControls;
    SetTabStop(true);
    TbsSkinControl::SetBounds(Left(), Top(), 150, 40);
    FRuler = std::make_unique<gui::TBitmap>();
    for (int i = 0; i < 4; ++i) LoadBuiltInImage(static_cast<TbsSliderImage>(i));
    LayoutSlider();
    FSkinDataName = "slider";
    FConstructing = false;
}

TbsSkinCustomSlider::~TbsSkinCustomSlider() {
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), kJumpTimer);
}

// --- images --------------------------------------------------------------------------------

void TbsSkinCustomSlider::LoadBuiltInImage(TbsSliderImage Index) {
    auto b = std::make_unique<gui::TBitmap>();
    b->SetPixelFormat(gui::pf24bit);
    bool vertical = Index == siVThumb || Index == siVRuler;
    bool thumb = Index == siHThumb || Index == siVThumb;
    if (thumb)
        b->SetSize(vertical ? 38 : 18, vertical ? 9 : 17);
    else
        b->SetSize(vertical ? 8 : 10, vertical ? 10 : 8);
    gui::TCanvas* c = b->Canvas();
    c->Brush()->SetColor(kKey);
    c->FillRect({0, 0, b->Width(), b->Height()});
    if (thumb) {
        int len = vertical ? 19 : 17;
        DrawBuiltInThumb(c, vertical, 0, len, false);
        DrawBuiltInThumb(c, vertical, 1, len, true);
    } else {
        // A sunken groove four pixels deep: shadow, dark, face, light.
        const gui::TColor groove[4] = {RGB(128, 128, 128), RGB(64, 64, 64), RGB(212, 208, 200),
                                       RGB(255, 255, 255)};
        for (int i = 0; i < 4; ++i)
            for (int a = 0; a < 10; ++a) {
                if (vertical)
                    c->SetPixels(2 + i, a, groove[i]);
                else
                    c->SetPixels(a, 2 + i, groove[i]);
            }
    }
    Keyed(*b);
    FImages[Index] = std::move(b);
}

void TbsSkinCustomSlider::SetImage(TbsSliderImage Index, const gui::TBitmap* Bitmap) {
    if (Bitmap) {
        if (Bitmap != FImages[Index].get()) {
            auto b = std::make_unique<gui::TBitmap>();
            b->Assign(Bitmap);
            FImages[Index] = std::move(b);
        }
        FUserImages |= static_cast<uint8_t>(1u << Index);
    } else {
        LoadBuiltInImage(Index);
        FUserImages &= static_cast<uint8_t>(~(1u << Index));
        if (!Loading()) {
            bool thumb = Index == siHThumb || Index == siVThumb;
            FOptions &= static_cast<TbsSliderOptions>(~(thumb ? soThumbOpaque : soRulerOpaque));
            Invalidate();
        }
    }
    if (!FConstructing) LayoutSlider();
}

void TbsSkinCustomSlider::Loaded() {
    TbsSkinControl::Loaded();
    for (int i = 0; i < 4; ++i)
        if (FUserImages & (1u << i)) SetImage(static_cast<TbsSliderImage>(i), FImages[i].get());
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomSlider::GetSkinData() {
    TbsSkinControl::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinSlider*>(Descriptor());
    if (!d) return;
    Picture = SkinPictureAt(*FSD, d->PictureIndex);
    HRulerRect = d->HRulerRect;
    HThumbRect = d->HThumbRect;
    VRulerRect = d->VRulerRect;
    VThumbRect = d->VThumbRect;
    SkinEdgeSize = d->EdgeSize;
    BGColor = d->BGColor;
    PointsColor = d->PointsColor;
}

void TbsSkinCustomSlider::ChangeSkinData() {
    LayoutSlider();
}

// An entry of another class, or one without its picture, draws from the images: the skin
// rectangles would point into nothing.
bool TbsSkinCustomSlider::SkinThumb() const {
    return FIndex != -1 && Picture && UseSkinThumb;
}

gui::TPoint TbsSkinCustomSlider::ThumbSize() const {
    if (SkinThumb()) {
        const TRect& r = Horizontal() ? HThumbRect : VThumbRect;
        return {r.Width() / 2, r.Height()};
    }
    gui::TBitmap* b = FImages[Horizontal() ? siHThumb : siVThumb].get();
    return {b->Width() / FNumThumbStates, b->Height()};
}

// --- layout --------------------------------------------------------------------------------

void TbsSkinCustomSlider::BuildRuler() {
    bool h = Horizontal();
    if (FIndex != -1 && Picture) {
        const TRect& src = h ? HRulerRect : VRulerRect;
        int len = std::max(0, (h ? Width() : Height()) - 2 * kMargin);
        if (h) {
            FRuler->SetSize(len, src.Height());
            if (len > 0)
                BuildHorzThreePartImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, src, len,
                                        src.Height(), false);
        } else {
            FRuler->SetSize(src.Width(), len);
            if (len > 0)
                BuildVertThreePartImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), Picture, src, src.Width(),
                                        len, false);
        }
        return;
    }
    gui::TBitmap* I = FImages[h ? siHRuler : siVRuler].get();
    const int E = FEdgeSize;
    const int L = std::max(0, (h ? Width() : Height()) - 2 * kMargin);
    const int N = h ? I->Width() : I->Height();
    const int thick = h ? I->Height() : I->Width();
    const int M = N - 2 * E;
    if (h)
        FRuler->SetSize(L, thick);
    else
        FRuler->SetSize(thick, L);
    FRuler->Canvas()->Brush()->SetColor(kKey);
    FRuler->Canvas()->FillRect({0, 0, FRuler->Width(), FRuler->Height()});
    if (M <= 0 || L <= 0) return;
    const int A = L - 2 * E;
    const int k = A >= 0 ? A / M : -1;
    const int r = A >= 0 ? A % M : 0;
    auto copy = [&](int d0, int d1, int s0) {
        d1 = std::min(d1, L);
        if (d1 <= d0) return;
        gui::TRect dst = h ? gui::TRect{d0, 0, d1, thick} : gui::TRect{0, d0, thick, d1};
        gui::TRect src = h ? gui::TRect{s0, 0, s0 + d1 - d0, thick} : gui::TRect{0, s0, thick, s0 + d1 - d0};
        FRuler->Canvas()->CopyRect(dst, I->Canvas(), src);
    };
    // Too short for both caps: the start of the image, cut at the ruler's end.
    if (k < 0) {
        copy(0, N - E, 0);
        return;
    }
    copy(0, N - E, 0);
    for (int i = 1; i < k; ++i) copy(E + i * M, E + (i + 1) * M, E);
    if (k > 0) copy(E + k * M, E + k * M + E + r, E + M - r);
}

void TbsSkinCustomSlider::LayoutSlider() {
    GetSkinData();
    int value = FValue;
    BuildRuler();
    int RW = FRuler->Width(), RH = FRuler->Height();
    gui::TPoint t = ThumbSize();
    int TW = t.x, TH = t.y;
    const int m = kMargin;
    if (Horizontal()) {
        if (TH > RH) {
            FThumbRect = {m, m, m + TW, m + TH};
            FRulerOrg = {m, m + (TH - RH) / 2};
            FPointsRect = {m, m + TH + 1, m + RW, Height() - 1};
        } else {
            int Y = m + (RH - TH) / 2;
            FThumbRect = {m, Y, m + TW, Y + TH};
            FRulerOrg = {m, m};
            FPointsRect = {m, m + RH + 1, m + RW, Height() - 1};
        }
    } else if (TW > RW) {
        FThumbRect = {m, m, m + TW, m + TH};
        FRulerOrg = {m + (TW - RW) / 2, m};
        FPointsRect = {m + TW + 1, m, Width() - 1, m + RH};
    } else {
        int X = m + (RW - TW) / 2;
        FThumbRect = {X, m, X + TW, m + TH};
        FRulerOrg = {m, m};
        FPointsRect = {m + RW + 1, m, Width() - 1, m + RH};
    }
    SetValue(value);
    Invalidate();
}

// --- value and position --------------------------------------------------------------------

int TbsSkinCustomSlider::RulerLength() const {
    return Horizontal() ? FRuler->Width() - RectWidth(FThumbRect) : FRuler->Height() - RectHeight(FThumbRect);
}

int TbsSkinCustomSlider::OffsetOfValue(int Value) const {
    double part = static_cast<double>(Value - FMinValue) / (FMaxValue - FMinValue);
    int along = Nearest(RulerLength() * part);
    int o = Horizontal() ? kMargin + along : Height() - kMargin - along - RectHeight(FThumbRect);
    return std::max(o, kMargin);
}

// A slider too short for its thumb has no travel: every place is MinValue.
int TbsSkinCustomSlider::ValueAtOffset(int Offset) const {
    int T = RulerLength();
    if (T <= 0) return FMinValue;
    if (!Horizontal()) Offset = Height() - Offset - RectHeight(FThumbRect);
    double x = static_cast<double>(Offset - kMargin) * (FMaxValue - FMinValue) / T;
    int w = (FOptions & soSmooth) ? Nearest(x)
                                  : Nearest(Nearest(x) / static_cast<double>(FIncrement)) * FIncrement;
    return std::min(std::max(w, 0) + FMinValue, FMaxValue);
}

int TbsSkinCustomSlider::SnapThumbOffset(int Offset) const {
    int T = RulerLength();
    int o1 = std::min(std::max(Offset, kMargin), kMargin + T);
    // Without travel the thumb rests at the start.
    return std::max(std::min(OffsetOfValue(ValueAtOffset(o1)), kMargin + T), kMargin);
}

void TbsSkinCustomSlider::InvalidateThumb() {
    if (!HandleAllocated()) return;
    RECT r = FThumbRect;
    InvalidateRect(Handle(), &r, FALSE);
}

void TbsSkinCustomSlider::MoveThumbTo(int Offset) {
    int old = FValue;
    int o = SnapThumbOffset(Offset);
    InvalidateThumb();
    int w = RectWidth(FThumbRect), h = RectHeight(FThumbRect);
    if (Horizontal())
        FThumbRect = {o, FThumbRect.top, o + w, FThumbRect.top + h};
    else
        FThumbRect = {FThumbRect.left, o, FThumbRect.left + w, o + h};
    InvalidateThumb();
    if (FSliding) {
        FValue = ValueAtOffset(o);
        if (FValue != old) NotifyChange();
    }
}

void TbsSkinCustomSlider::SetValue(int Value) {
    Value = std::min(std::max(Value, FMinValue), FMaxValue);
    int old = FValue;
    FValue = Value;
    MoveThumbTo(OffsetOfValue(Value));
    if (FValue != old) NotifyChange();
}

void TbsSkinCustomSlider::SetValueRange(int AMin, int AMax) {
    if (!(AMin < AMax) && !Loading()) return;
    FMinValue = AMin;
    FMaxValue = AMax;
    if (!Loading() && FMaxValue < FMinValue + FIncrement) FIncrement = FMaxValue - FMinValue;
    if (FOptions & soShowPoints) Invalidate();
    SetValue(FValue);
    RangeUpdated();
}

void TbsSkinCustomSlider::SetMinValue(int Value) {
    if (Value != FMinValue) SetValueRange(Value, FMaxValue);
}

void TbsSkinCustomSlider::SetMaxValue(int Value) {
    if (Value != FMaxValue) SetValueRange(FMinValue, Value);
}

void TbsSkinCustomSlider::SetIncrement(int Value) {
    if (Value <= 0 || Value == FIncrement) return;
    FIncrement = Value;
    SetValue(FValue);
    Invalidate();
}

void TbsSkinCustomSlider::SetOrientation(TbsSliderOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    LayoutSlider();
    if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
}

void TbsSkinCustomSlider::SetOptions(TbsSliderOptions Value) {
    if (Value == FOptions) return;
    FOptions = Value;
    Invalidate();
}

void TbsSkinCustomSlider::SetEdgeSize(int Value) {
    if (Value == FEdgeSize || Value < 0) return;
    int len = Horizontal() ? FImages[siHRuler]->Width() : FImages[siVRuler]->Height();
    if (2 * Value >= len) return;
    FEdgeSize = Value;
    LayoutSlider();
}

void TbsSkinCustomSlider::SetNumThumbStates(int Value) {
    Value = std::clamp(Value, 1, 2);
    if (Value == FNumThumbStates) return;
    FNumThumbStates = Value;
    LayoutSlider();
}

void TbsSkinCustomSlider::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

// --- jumps ---------------------------------------------------------------------------------

void TbsSkinCustomSlider::JumpThumb(TbsJumpMode Mode) {
    int target;
    switch (Mode) {
    case TbsJumpMode::jmHome:
        target = FMinValue;
        break;
    case TbsJumpMode::jmEnd:
        target = FMaxValue;
        break;
    case TbsJumpMode::jmNext:
        target = Nearest(static_cast<double>(FValue) / FIncrement) * FIncrement + FIncrement;
        break;
    case TbsJumpMode::jmPrior:
        target = Nearest(static_cast<double>(FValue) / FIncrement) * FIncrement - FIncrement;
        break;
    default:
        return;
    }
    if (target >= FMaxValue)
        target = FMaxValue;
    else if (target <= FMinValue)
        target = FMinValue;
    if (target != FValue) SetValue(target);
}

TbsJumpMode TbsSkinCustomSlider::JumpDirectionAt(int X, int Y) const {
    if (Horizontal()) {
        if (X < FThumbRect.left) return TbsJumpMode::jmPrior;
        if (X > FThumbRect.right) return TbsJumpMode::jmNext;
    } else {
        if (Y < FThumbRect.top) return TbsJumpMode::jmNext;
        if (Y > FThumbRect.bottom) return TbsJumpMode::jmPrior;
    }
    return TbsJumpMode::jmNone;
}

void TbsSkinCustomSlider::TrackingStep() {
    if (JumpDirectionAt(FMousePos.x, FMousePos.y) != FStartJump) return;
    JumpThumb(FStartJump);
    if (!FTimerActive) {
        SetTimer(Handle(), kJumpTimer, kJumpInterval, nullptr);
        FTimerActive = true;
    }
}

void TbsSkinCustomSlider::StopTracking() {
    if (!FTracking) return;
    if (FTimerActive && HandleAllocated()) KillTimer(Handle(), kJumpTimer);
    FTimerActive = false;
    FTracking = false;
    SetMouseCapture(false);
    NotifyChanged();
}

// --- mouse and keys ------------------------------------------------------------------------

void TbsSkinCustomSlider::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != gui::mbLeft || (Shift & gui::ssDouble)) return;
    if (CanFocus()) SetFocus();
    if (Inside(FThumbRect, X, Y)) {
        ThumbPressed(Button, Shift, X, Y);
        return;
    }
    gui::TRect band{FRulerOrg.x, FRulerOrg.y, FRulerOrg.x + FRuler->Width(), FRulerOrg.y + FRuler->Height()};
    if (Horizontal()) {
        band.top -= 3;
        band.bottom += 3;
    } else {
        band.left -= 3;
        band.right += 3;
    }
    if (!Inside(band, X, Y) || !Modifiable()) return;
    SetMouseCapture(true);
    FTracking = true;
    FMousePos = {X, Y};
    FStartJump = JumpDirectionAt(X, Y);
    TrackingStep();
}

void TbsSkinCustomSlider::ThumbPressed(gui::TMouseButton Button, gui::TShiftState, int X, int Y) {
    if (CanFocus()) SetFocus();
    if (Button != gui::mbLeft || !Modifiable()) return;
    FSliding = FThumbDown = true;
    FHit = Horizontal() ? X - FThumbRect.left : Y - FThumbRect.top;
    InvalidateThumb();
    Update();
}

void TbsSkinCustomSlider::ThumbDragged(gui::TShiftState, int X, int Y) {
    if (!Modifiable()) return;
    MoveThumbTo(Horizontal() ? X - FHit : Y - FHit);
}

void TbsSkinCustomSlider::ThumbReleased(gui::TMouseButton Button, gui::TShiftState, int, int) {
    if (Button != gui::mbLeft) return;
    FSliding = FThumbDown = false;
    InvalidateThumb();
    Update();
    if (Modifiable()) NotifyChanged();
}

void TbsSkinCustomSlider::MouseMove(gui::TShiftState Shift, int X, int Y) {
    if ((Shift & gui::ssLeft) && FSliding)
        ThumbDragged(Shift, X, Y);
    else if (FTracking)
        FMousePos = {X, Y};
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinCustomSlider::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    StopTracking();
    if (FSliding) ThumbReleased(Button, Shift, X, Y);
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomSlider::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsJumpMode mode = TbsJumpMode::jmNone;
    if (!(Shift & (gui::ssShift | gui::ssCtrl | gui::ssAlt))) {
        if (Key == VK_HOME)
            mode = TbsJumpMode::jmHome;
        else if (Key == VK_END)
            mode = TbsJumpMode::jmEnd;
        else if (Horizontal() && Key == VK_LEFT)
            mode = TbsJumpMode::jmPrior;
        else if (Horizontal() && Key == VK_RIGHT)
            mode = TbsJumpMode::jmNext;
        else if (!Horizontal() && Key == VK_UP)
            mode = TbsJumpMode::jmNext;
        else if (!Horizontal() && Key == VK_DOWN)
            mode = TbsJumpMode::jmPrior;
    }
    if (mode != TbsJumpMode::jmNone && Modifiable()) {
        Key = 0;
        JumpThumb(mode);
        NotifyChanged();
    }
    TbsSkinControl::KeyDown(Key, Shift);
}

void TbsSkinCustomSlider::CMEnabledChanged(gui::TMessage& m) {
    TbsSkinControl::CMEnabledChanged(m);
    InvalidateThumb();
}

void TbsSkinCustomSlider::CMFocusChanged(gui::TMessage& m) {
    bool focused = reinterpret_cast<gui::TControl*>(m.LParam) == this;
    if (focused != FFocused) {
        FFocused = focused;
        if (FOptions & soShowFocus) Invalidate();
    }
    TbsSkinControl::CMFocusChanged(m);
}

void TbsSkinCustomSlider::CheckParentBackground() {
    if (FTransparent) Invalidate();
}

void TbsSkinCustomSlider::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kJumpTimer) {
            TrackingStep();
            return;
        }
        break;
    case WM_SIZE:
        TbsSkinControl::Dispatch(m);
        if (!Loading()) LayoutSlider();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(m);
        if (FTransparent) Invalidate();
        return;
    case gui::CM_WANTSPECIALKEY:
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) {
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TbsSkinControl::Dispatch(m);
}

// --- paint ---------------------------------------------------------------------------------

void TbsSkinCustomSlider::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    bool skinned = FIndex != -1 && Picture;
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    gui::TCanvas* c = b.Canvas();
    if (FTransparent) {
        DrawParentBackground(this, c);
    } else {
        c->Brush()->SetColor(skinned ? BGColor : Color());
        c->FillRect({0, 0, Width(), Height()});
    }
    if (FRuler->Width() >= 1 && FRuler->Height() >= 1) {
        bool opaque = (FOptions & soRulerOpaque) && !skinned;
        FRuler->SetTransparent(!opaque);
        FRuler->SetTransparentColor(skinned ? gui::clDefault : kKey);
        c->Draw(FRulerOrg.x, FRulerOrg.y, FRuler.get());
    }
    if ((FOptions & soShowFocus) && FFocused && !Designing()) {
        gui::TRect r = SliderBounds();
        r = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        c->Font()->SetColor(skinned ? FSD->SkinColors().cBtnText() : gui::clWindowText);
        DrawDottedFocusRect(c, r);
    }
    // Handlers draw their marks on the slider's own canvas: the picture so far goes to the
    // window first and the thumb follows on top of their marks.
    bool handlerPoints = (FOptions & soShowPoints) && OnDrawPoints;
    if ((FOptions & soShowPoints) && !handlerPoints) DrawPointMarks(c, FIncrement, 3, 5);
    if (handlerPoints) {
        Canvas()->Draw(0, 0, &b);
        c = Canvas();
        c->Pen()->SetColor(skinned ? PointsColor : gui::clWindowText);
        OnDrawPoints(this);
    }
    int state = (FThumbDown || !Enabled()) ? 1 : 0;
    gui::TBitmap thumb;
    if (SkinThumb()) {
        const TRect& src = Horizontal() ? HThumbRect : VThumbRect;
        int w = src.Width() / 2;
        thumb.SetSize(w, src.Height());
        thumb.Canvas()->CopyRect({0, 0, w, src.Height()}, Picture->Canvas(),
                                 {src.Left + state * w, src.Top, src.Left + (state + 1) * w, src.Bottom});
        thumb.SetTransparent(true);
    } else {
        gui::TBitmap* img = FImages[Horizontal() ? siHThumb : siVThumb].get();
        int w = img->Width() / FNumThumbStates;
        int s = FNumThumbStates == 2 ? state : 0;
        thumb.SetSize(w, img->Height());
        thumb.Canvas()->CopyRect({0, 0, w, img->Height()}, img->Canvas(),
                                 {s * w, 0, (s + 1) * w, img->Height()});
        thumb.SetTransparent(!(FOptions & soThumbOpaque));
        thumb.SetTransparentColor(img->TransparentColor());
    }
    if (thumb.Width() > 0 && thumb.Height() > 0) c->Draw(FThumbRect.left, FThumbRect.top, &thumb);
    if (!handlerPoints) Canvas()->Draw(0, 0, &b);
}

void TbsSkinCustomSlider::DefaultDrawPoints(int PointsStep, int PointsHeight, int ExtremePointsHeight) {
    DrawPointMarks(Canvas(), PointsStep, PointsHeight, ExtremePointsHeight);
}

void TbsSkinCustomSlider::DrawPointMarks(gui::TCanvas* C, int Step, int InnerLength, int EndLength) {
    if (Step <= 0) return;
    C->Pen()->SetColor(FIndex != -1 && Picture ? PointsColor : gui::clWindowText);
    int T = RulerLength();
    int range = FMaxValue - FMinValue;
    int h = 1, n = 0, s = 0;
    for (;; ++h) {
        n = Nearest(static_cast<double>(range) / (h * Step)) + 1;
        s = n <= 1 ? T : T / (n - 1);
        if (s >= 4 || s >= T) break;
    }
    for (int i = 0; i < n; ++i) {
        int v = i == n - 1 ? FMaxValue : std::min(FMinValue + i * h * Step, FMaxValue);
        int len = (v == FMinValue || v == FMaxValue) ? EndLength : InnerLength;
        if (Horizontal()) {
            int x = OffsetOfValue(v) + RectWidth(FThumbRect) / 2;
            C->MoveTo(x, FPointsRect.top);
            C->LineTo(x, FPointsRect.top + len);
        } else {
            int y = OffsetOfValue(v) + RectHeight(FThumbRect) / 2;
            C->MoveTo(FPointsRect.left, y);
            C->LineTo(FPointsRect.left + len, y);
        }
    }
}

} // namespace skin
