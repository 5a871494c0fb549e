#include "skin/controls/SkinButton.h"

#include "gui/ImgList.h"
#include "skin/core/SkinData.h"
#include "skin/engine/EngineSetup.h"
#include "skin/engine/LayerManager.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Timers.h"

namespace skin {

namespace {

constexpr uintptr_t kRepeatTimer = 2, kMorphTimer = 3;
constexpr UINT kRepeatDelay = 500, kMorphInterval = 20;

} // namespace

TbsSkinButton::TbsSkinButton(gui::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FLayerManager(std::make_unique<TbsLayerManager>(nullptr)) {
    // Only ButtonClick fires OnClick: the class library's own click is left out.
    ControlStyle = gui::csCaptureMouse | gui::csSetCaption | gui::csOpaque;
    FSkinDataName = "button";
    SetTabStop(true);
    FAnimation.OnFrame = [this] { Invalidate(); };
    TbsSkinCustomControl::SetBounds(Left(), Top(), 75, 25);
}

TbsSkinButton::~TbsSkinButton() {
    FAnimation.OnFrame = nullptr;
    StopAnimate();
    StopMorph();
    StopRepeat();
}

// Only with a skin entry, effects on and a strip to show.
void TbsSkinButton::StartAnimate(bool Forward) {
    if (FIndex == -1 || !EffectsOn() || Empty(AnimateSkinRect)) return;
    FAnimation.Start(Forward, FrameCount, AnimateInterval);
}

// --- properties ----------------------------------------------------------------------------

void TbsSkinButton::SetGroupIndex(int Value) {
    FGroupIndex = Value;
    if (Value != 0) SetCanFocused(false);
}

void TbsSkinButton::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinButton::SetDefault(bool Value) {
    FDefault = Value;
    FActive = Value;
    if (HandleAllocated() && FCanFocused)
        if (gui::TCustomForm* form = gui::GetParentForm(this))
            form->Perform(gui::CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TbsSkinButton::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Invalidate();
}

void TbsSkinButton::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == ImageList) ImageList = nullptr;
}

void TbsSkinButton::SetDown(bool Value) {
    ShowDown(Value);
    ReleaseGroup(this, Parent());
}

// --- conditions ----------------------------------------------------------------------------

bool TbsSkinButton::EffectsOn() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinButton::MorphOn() const {
    return Morphing && EffectsOn();
}

bool TbsSkinButton::FocusedHere() const {
    return FCanFocused && Focused();
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinButton::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        AnimateSkinRect = {};
        return;
    }
    auto* d = dynamic_cast<TbsDataSkinButtonControl*>(Descriptor());
    ReadLooks(d, SkinRect, DefaultFont()->Color());
    if (!d) {
        // A nine-part entry of another class: every look is its skin rectangle, without focus
        // look or glow.
        FocusedSkinRect = {};
        ShowFocus = false;
        GlowLayerPictureIndex = GlowLayerMaskPictureIndex = -1;
        return;
    }
    if (!UseSkinSize) MaskPicture = nullptr;
    FocusedSkinRect = d->FocusedSkinRect;
    ShowFocus = d->ShowFocus;
    GlowLayerPictureIndex = d->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = d->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = d->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = d->GlowLayerOffsetRight;
    GlowLayerOffsetTop = d->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = d->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = d->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = d->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = d->GlowLayerAlphaBlendValue;
    // The running frame stands in for the look it leads to or from.
    if (FAnimation.Running() && EffectsOn()) {
        ActiveSkinRect = FAnimation.Apply(ActiveSkinRect, AnimateSkinRect, FrameCount, true);
        SkinRect = FAnimation.Apply(SkinRect, AnimateSkinRect, FrameCount, false);
    }
}

void TbsSkinButton::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (!FollowFreeSize(*this, AWidth, AHeight)) TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
}

void TbsSkinButton::BeforeChangeSkinData() {
    TbsSkinCustomControl::BeforeChangeSkinData();
    HideLayer();
}

void TbsSkinButton::ChangeSkinData() {
    StopAnimate();
    StopMorph();
    FMorphKf = 0;
    TbsSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && (FocusedHere() || FMouseIn)) FMorphKf = 1;
    if (FMouseIn && HandleAllocated()) PostMessage(Handle(), WM_SHOWLAYER, 0, 0);
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinButton::ChooseLook(TRect& R, bool& ADown, bool& AMouseIn) {
    ADown = AMouseIn = false;
    if (!Enabled() && !Empty(DisabledSkinRect)) {
        R = DisabledSkinRect;
    } else if (FDown && (FMouseIn || (FocusedHere() && !FMouseDown) || FGroupIndex != 0)) {
        R = DownSkinRect;
        ADown = AMouseIn = true;
    } else if (FocusedHere() && !Empty(FocusedSkinRect) && !FAnimation.Running()) {
        R = FocusedSkinRect;
        AMouseIn = true;
    } else if (FocusedHere() || FMouseIn || (MorphOn() && FMorphKf == 1)) {
        R = ActiveSkinRect;
        AMouseIn = true;
    } else {
        R = SkinRect;
    }
}

void TbsSkinButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (FIndex == -1) {
        PaintThroughBitmap();
        return;
    }
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    if (MorphOn() && FMorphKf > 0 && FMorphKf < 1 && Enabled()) {
        PaintMorph(Canvas(), Width(), Height(), SkinRect, ActiveSkinRect);
        return;
    }
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    TRect r;
    bool down = false, in = false;
    ChooseLook(r, down, in);
    CreateButtonImage(&b, r, down, in);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinButton::DrawContents(gui::TCanvas* C, const gui::TRect& R, bool ADown, bool AMouseIn,
                                 bool Pressed) {
    if (ImageList && FImageIndex >= 0 && FImageIndex < ImageList->Count()) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FImageIndex, ImageList,
                         ADown && AMouseIn, Enabled(), false, 0);
        return;
    }
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs,
                     GlyphFrame(ADown, AMouseIn, Enabled()), Pressed, false, 0);
}

void TbsSkinButton::CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    gui::TRect content = BuildLook(B, R, *this, [&] { CreateSkinImage(B, Picture, R); });
    gui::TCanvas* c = B->Canvas();
    if (UseSkinFont && !FontName.empty()) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
    } else {
        c->Font()->Assign(DefaultFont());
    }
    ApplyCharset(c->Font(), DefaultFont());
    c->Font()->SetColor(StateFontColor(Enabled(), DefaultFont()->Color(), ADown, AMouseIn));
    if (ShowFocus && Focused()) {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(FSD->SkinColors().cBtnFace());
        DrawDottedFocusRect(c, content);
    }
    c->Brush()->SetStyle(gui::bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, content, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, content, ADown, AMouseIn, ADown && AMouseIn);
}

void TbsSkinButton::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    gui::TRect r = gui::Rect(0, 0, B->Width(), B->Height());
    bool pressed = FDown && (FGroupIndex != 0 || FMouseIn || (FocusedHere() && !FMouseDown));
    gui::TColor frame = gui::clBtnShadow, fill = gui::clBtnFace;
    if (pressed) {
        frame = kFocusFrame;
        fill = kDownFill;
    } else if (FMouseIn || FocusedHere()) {
        frame = kFocusFrame;
        fill = kHotFill;
    }
    FillFramed(c, r, frame, fill);
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    if (!Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    c->Brush()->SetStyle(gui::bsClear);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, r, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, r, FDown, FMouseIn, pressed);
}

// --- timers --------------------------------------------------------------------------------

void TbsSkinButton::StartMorph() {
    if (MorphOn() && FIndex != -1) {
        if (!MorphTimerOn) SetTimer(Handle(), kMorphTimer, kMorphInterval, nullptr);
        MorphTimerOn = true;
    } else {
        Invalidate();
    }
}

void TbsSkinButton::StopMorph() {
    if (MorphTimerOn && HandleAllocated()) KillTimer(Handle(), kMorphTimer);
    MorphTimerOn = false;
}

void TbsSkinButton::StartRepeat() {
    StopRepeat();
    SetTimer(Handle(), kRepeatTimer, kRepeatDelay, nullptr);
    RepeatTimerOn = true;
    RepeatFirst = true;
}

void TbsSkinButton::StopRepeat() {
    if (RepeatTimerOn && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    RepeatTimerOn = false;
}

void TbsSkinButton::RefreshButton() {
    StopAnimate();
    FMouseIn = false;
    FDown = false;
    if (MorphOn()) FMorphKf = 0;
    Invalidate();
}

// --- clicks --------------------------------------------------------------------------------

void TbsSkinButton::ButtonClick() {
    if (FCanFocused)
        if (gui::TCustomForm* form = gui::GetParentForm(this)) form->SetModalResult(ModalResult);
    // Our own handler wins over the action's.
    if (OnClick)
        OnClick(this);
    else
        RunAction();
}

void TbsSkinButton::ActionChange(gui::TObject* Sender, bool CheckDefaults) {
    TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
    if (TakeActionGlyph(Action(), FGlyph.get())) Invalidate();
}

bool TakeActionGlyph(gui::TBasicAction* Action, gui::TBitmap* Glyph) {
    auto* a = dynamic_cast<gui::TCustomAction*>(Action);
    if (!a || !Glyph->Empty() || !a->ActionList()) return false;
    gui::TCustomImageList* images = a->ActionList()->Images();
    if (!images || a->ImageIndex() < 0 || a->ImageIndex() >= images->Count()) return false;
    Glyph->SetSize(images->Width(), images->Height());
    Glyph->Canvas()->Brush()->SetColor(static_cast<gui::TColor>(RGB(255, 0, 255)));
    Glyph->Canvas()->FillRect(gui::Rect(0, 0, images->Width(), images->Height()));
    images->Draw(Glyph->Canvas(), 0, 0, a->ImageIndex());
    return true;
}

void TbsSkinButton::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == gui::mbLeft) PressLeft();
}

void TbsSkinButton::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (Button == gui::mbLeft) {
        POINT p{X, Y};
        gui::TRect r = ClientRect();
        ReleaseLeft(PtInRect(&r, p));
    }
    if (HandleAllocated() && Visible()) TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinButton::CMMouseEnter(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseEnter(m);
    if (Designing()) return;
    FMouseIn = true;
    if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!FocusedHere() || FDown))) {
        if (FDown) {
            if (MorphOn()) FMorphKf = 1;
            Invalidate();
        } else {
            StartAnimate(true);
            StartMorph();
        }
    }
    if (FGroupIndex == 0 && RepeatMode && FDown) StartRepeat();
    PostMessage(Handle(), WM_SHOWLAYER, 0, 0);
}

void TbsSkinButton::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    if (Designing()) return;
    // The default button keeps its hot look while the focus rests on a control that is not
    // a button.
    if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
    if ((FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!FocusedHere() || FDown))) {
        StartAnimate(false);
        StartMorph();
    }
    if (FGroupIndex == 0 && RepeatMode && FDown) StopRepeat();
    PostMessage(Handle(), WM_HIDELAYER, 0, 0);
}

void TbsSkinButton::CMEnabledChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMEnabledChanged(m);
    EnabledChanged();
}

void TbsSkinButton::CMTextChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMTextChanged(m);
    Invalidate();
}

// --- keys and focus ------------------------------------------------------------------------

void TbsSkinButton::WndProc(gui::TMessage& m) {
    if (FCanFocused && !Designing()) {
        switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!Focused()) {
                if (CanFocus()) SetFocus();
                if (!Focused()) return;
            }
            break;
        case WM_KEYDOWN:
            // Enter comes as a dialog key (CM_DIALOGKEY), to the focused button as to the
            // default one.
            if (m.WParam == VK_SPACE) {
                StopAnimate();
                SetDown(true);
                if (RepeatMode) ButtonClick();
            }
            break;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE) {
                SetDown(false);
                ButtonClick();
            }
            break;
        default:
            break;
        }
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinButton::CMDialogKey(gui::TMessage& m) {
    if (m.WParam == VK_RETURN && FActive && Enabled()) {
        ButtonClick();
        m.Result = 1;
        return;
    }
    if (m.WParam == VK_ESCAPE && Cancel && FCanFocused && gui::KeyDataToShiftState(m.LParam) == 0 &&
        CanFocus()) {
        ButtonClick();
        m.Result = 1;
        return;
    }
    TbsSkinCustomControl::CMDialogKey(m);
}

// "&X" in the caption: Alt+X focuses and clicks it.
void TbsSkinButton::CMDialogChar(gui::TMessage& m) {
    if (IsCaptionAccelerator(Caption(), m.WParam) && CanFocus() && FCanFocused) {
        SetFocus();
        ButtonClick();
        m.Result = 1;
        return;
    }
    TbsSkinCustomControl::CMDialogChar(m);
}

void TbsSkinButton::CMFocusChanged(gui::TMessage& m) {
    auto* sender = reinterpret_cast<gui::TControl*>(m.LParam);
    auto* button = dynamic_cast<TbsSkinButton*>(sender);
    FActive = button ? button == this : FDefault;
    if (FCanFocused && FDefault) {
        if (button && button != this && FMouseIn) {
            FMouseIn = false;
            StartMorph();
        } else if (!button && !FMouseIn) {
            if (MorphOn()) FMorphKf = 1;
            FMouseIn = true;
            StartMorph();
        }
    }
    TbsSkinCustomControl::CMFocusChanged(m);
}

void TbsSkinButton::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kRepeatTimer) {
            if (RepeatFirst) {
                RepeatFirst = false;
                SetTimer(Handle(), kRepeatTimer, static_cast<UINT>(std::max(RepeatInterval, 1)), nullptr);
            } else {
                ButtonClick();
            }
            return;
        }
        if (m.WParam == kMorphTimer) {
            bool hot = FMouseIn || FocusedHere();
            if (FIndex == -1 || !MorphOn()) {
                FMorphKf = hot ? 1 : 0;
                StopMorph();
            } else if (!MorphStep(hot)) {
                StopMorph();
            }
            return;
        }
        break;
    case WM_SHOWLAYER:
        ShowLayer();
        return;
    case WM_HIDELAYER:
        HideLayer();
        return;
    case WM_GETDLGCODE:
        m.Result = 0;
        return;
    case WM_SETFOCUS:
        TbsSkinCustomControl::Dispatch(m);
        if (FCanFocused) {
            StartAnimate(true);
            StartMorph();
        }
        return;
    case WM_KILLFOCUS:
        if (RepeatMode) StopRepeat();
        if (FGroupIndex == 0 && FDown) FDown = false;
        TbsSkinCustomControl::Dispatch(m);
        if (FCanFocused) {
            StartAnimate(false);
            if (MorphOn() && FIndex != -1)
                StartMorph();
            else
                Invalidate();
        }
        return;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

// --- glow frame ----------------------------------------------------------------------------

bool TbsSkinButton::LayerVisible() const {
    return FLayerManager->IsVisible;
}

// A glow needs its picture and its mask: without the mask it would cover the button's
// surroundings with an opaque block.
void TbsSkinButton::ShowLayer() {
    if (!FSD || FSD->Empty || !IsLayeredWindowSupported()) return;
    if (!FSD->ShowButtonGlowFrames && !AlwaysShowLayeredFrame) return;
    GetSkinData();
    if (FIndex == -1 || GlowLayerPictureIndex == -1) return;
    gui::TBitmap* glow = SkinPictureAt(*FSD, GlowLayerPictureIndex);
    gui::TBitmap* mask = SkinPictureAt(*FSD, GlowLayerMaskPictureIndex);
    if (!glow || !mask) return;
    if (gui::TCustomForm* form = gui::GetParentForm(this))
        FLayerManager->TopMostMode = form->FormStyle() == gui::fsStayOnTop;
    gui::TPoint at = ClientToScreen({0, 0});
    at.x -= GlowLayerShowOffsetX;
    at.y -= GlowLayerShowOffsetY;
    int dw = Width() - SkinRect.Width(), dh = Height() - SkinRect.Height();
    gui::TBitmap image, imageMask;
    TRect all{0, 0, glow->Width(), glow->Height()};
    TRect allMask{0, 0, mask->Width(), mask->Height()};
    if (ResizeMode == 0) {
        FLayerManager->Show(at.x, at.y, glow, mask, GlowLayerAlphaBlendValue);
        return;
    }
    if (ResizeMode == 2 && UseSkinSize) {
        BuildHorzThreePartImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &image, glow, all,
                                glow->Width() + dw, glow->Height(), true);
        BuildHorzThreePartImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &imageMask, mask, allMask,
                                mask->Width() + dw, mask->Height(), true);
    } else if (ResizeMode == 1) {
        TRect client{GlowLayerOffsetLeft, GlowLayerOffsetTop, glow->Width() - GlowLayerOffsetRight,
                     glow->Height() - GlowLayerOffsetBottom};
        image.SetSize(glow->Width() + dw, glow->Height() + dh);
        imageMask.SetSize(mask->Width() + dw, mask->Height() + dh);
        BuildImageByClientRect(&image, glow, all, client, true);
        BuildImageByClientRect(&imageMask, mask, allMask, client, true);
    } else {
        return;
    }
    FLayerManager->Show(at.x, at.y, &image, &imageMask, GlowLayerAlphaBlendValue);
}

// Whatever showed the glow, a visible one is hidden.
void TbsSkinButton::HideLayer() {
    if (FLayerManager->IsVisible) FLayerManager->Hide();
}

} // namespace skin
