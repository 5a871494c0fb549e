#include "skin/controls/SkinSpeedButton.h"

#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

namespace skin {

namespace {

constexpr unsigned kRepeatDelay = 500, kMorphInterval = 20;

} // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(gui::TComponent* AOwner) : TbsGraphicSkinCustomControl(AOwner) {
    // No click-event flag: OnClick fires only through ButtonClick.
    ControlStyle = gui::csCaptureMouse | gui::csOpaque | gui::csDoubleClicks;
    SkinDataName = "toolbutton";
    FAnimation.OnFrame = [this] { Invalidate(); };
    TbsGraphicSkinCustomControl::SetBounds(Left(), Top(), 25, 25);
}

TbsSkinSpeedButton::~TbsSkinSpeedButton() {
    SetSkinImagesMenu(nullptr); // the menu outlives us: it must not call back
    FAnimation.OnFrame = nullptr;
    FAnimation.Stop();
    StopRepeat();
    StopMorph();
}

// Only with a skin entry, effects on and a strip to show; a flat button never animates.
void TbsSkinSpeedButton::StartAnimate(bool Forward) {
    if (FFlat || FIndex == -1 || !FSD || !FSD->EnableSkinEffects || Empty(AnimateSkinRect)) return;
    FAnimation.Start(Forward, FrameCount, AnimateInterval);
}

// --- properties ----------------------------------------------------------------------------

void TbsSkinSpeedButton::SetFlat(bool Value) {
    FFlat = Value;
    SetTransparent(Value);
}

void TbsSkinSpeedButton::SetTransparent(bool Value) {
    if (Value)
        ControlStyle &= ~gui::csOpaque;
    else
        ControlStyle |= gui::csOpaque;
    Invalidate();
}

void TbsSkinSpeedButton::SetShowCaption(bool Value) {
    if (FShowCaption == Value) return;
    FShowCaption = Value;
    if (WidthWithCaption > 0 && WidthWithoutCaption > 0)
        SetWidth(Value ? WidthWithCaption : WidthWithoutCaption);
    else
        Invalidate();
}

void TbsSkinSpeedButton::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsGraphicSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == ImageList) ImageList = nullptr;
    if (Operation == gui::TOperation::opRemove && FSkinImagesMenu && AComponent == FSkinImagesMenuComponent) {
        FSkinImagesMenu = nullptr;
        FSkinImagesMenuComponent = nullptr;
        Invalidate();
    }
}

void TbsSkinSpeedButton::SetDown(bool Value) {
    ShowDown(Value);
    ReleaseGroup(this, Parent());
}

void TbsSkinSpeedButton::RefreshButton() {
    FAnimation.Stop();
    FMouseIn = false;
    FDown = false;
    if (MorphOn()) FMorphKf = 0;
    Invalidate();
}

void TbsSkinSpeedButton::ButtonClick() {
    // Our own handler wins over the action's.
    if (OnClick)
        OnClick(this);
    else
        RunAction();
}

void TbsSkinSpeedButton::ActionChange(gui::TObject* Sender, bool CheckDefaults) {
    TbsGraphicSkinCustomControl::ActionChange(Sender, CheckDefaults);
    if (TakeActionGlyph(Action(), FGlyph.get())) Invalidate();
}

// --- skin ----------------------------------------------------------------------------------

bool TbsSkinSpeedButton::EffectsOn() const {
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TbsSkinSpeedButton::MorphOn() const {
    return Morphing && EffectsOn();
}

void TbsSkinSpeedButton::GetSkinData() {
    TbsGraphicSkinCustomControl::GetSkinData();
    if (FIndex == -1) {
        ActiveSkinRect = AnimateSkinRect = {};
        return;
    }
    auto* d = dynamic_cast<TbsDataSkinButtonControl*>(Descriptor());
    ReadLooks(d, SkinRect, DefaultFont()->Color());
    if (!d) {
        // A nine-part entry of another class: its skin rectangle in every state, no markers.
        MenuMarkerRect = MenuMarkerActiveRect = MenuMarkerDownRect = MenuMarkerFlatRect = {};
        return;
    }
    Morphing = Morphing && !Transparent();
    MenuMarkerRect = d->MenuMarkerRect;
    MenuMarkerActiveRect = Empty(d->MenuMarkerActiveRect) ? MenuMarkerRect : d->MenuMarkerActiveRect;
    MenuMarkerDownRect = Empty(d->MenuMarkerDownRect) ? MenuMarkerActiveRect : d->MenuMarkerDownRect;
    MenuMarkerFlatRect = Empty(d->MenuMarkerFlatRect) ? MenuMarkerRect : d->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = d->MenuMarkerTransparentColor;
    // The running frame stands in for the look it leads to or from.
    if (FAnimation.Running() && FSD && FSD->EnableSkinEffects) {
        ActiveSkinRect = FAnimation.Apply(ActiveSkinRect, AnimateSkinRect, FrameCount, true);
        SkinRect = FAnimation.Apply(SkinRect, AnimateSkinRect, FrameCount, false);
    }
}

void TbsSkinSpeedButton::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (!FollowFreeSize(*this, AWidth, AHeight)) TbsGraphicSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
}

void TbsSkinSpeedButton::ChangeSkinData() {
    FAnimation.Stop();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && FMouseIn && !Transparent()) FMorphKf = 1;
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinSpeedButton::ApplySkinFont(gui::TCanvas* C) const {
    if (UseSkinFont && FIndex != -1 && !FontName.empty()) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    ApplyCharset(C->Font(), DefaultFont());
}

void TbsSkinSpeedButton::SetSkinImagesMenu(TbsTrackImagesMenu* Value) {
    if (FSkinImagesMenu == Value) return;
    if (FSkinImagesMenu) {
        FSkinImagesMenu->OnInternalChange = nullptr;
        FSkinImagesMenu->OnInternalMenuClose = nullptr;
        FSkinImagesMenuComponent->RemoveFreeNotification(this);
    }
    FSkinImagesMenu = Value;
    FSkinImagesMenuComponent = Value ? Value->MenuComponent() : nullptr;
    if (Value) {
        FSkinImagesMenuComponent->FreeNotification(this);
        Value->OnInternalChange = [this](gui::TObject*) { Invalidate(); };
    }
    Invalidate();
}

void TbsSkinSpeedButton::DrawContents(gui::TCanvas* C, const gui::TRect& R, bool ADown, bool AMouseIn,
                                      bool Pressed) {
    C->Brush()->SetStyle(gui::bsClear);
    gui::TCustomImageList* menuImages = nullptr;
    int menuIndex = -1;
    std::string menuCaption;
    if (FSkinImagesMenu && UseImagesMenuImage &&
        FSkinImagesMenu->SelectedImage(menuImages, menuIndex, menuCaption)) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout,
                         UseImagesMenuCaption ? menuCaption : ShownCaption(), menuImages ? menuIndex : -1,
                         menuImages, ADown && AMouseIn, Enabled(), false, 0);
        return;
    }
    // On a tool bar without a glyph: the bar's pictures (hot ones under the mouse, its disabled
    // ones drawn as they are).
    auto* bar = FGlyph->Empty() ? dynamic_cast<TbsSkinToolBar*>(Parent()) : nullptr;
    if (bar && (bar->Images() || bar->HotImages || bar->DisabledImages)) {
        gui::TCustomImageList* list = bar->Images();
        bool enabledLook = Enabled();
        if ((AMouseIn || ADown) && bar->HotImages) list = bar->HotImages;
        if (!Enabled() && bar->DisabledImages) {
            list = bar->DisabledImages;
            enabledLook = true;
        }
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, ShownCaption(), list ? ImageIndex : -1, list,
                         ADown && AMouseIn, enabledLook, false, 0);
        return;
    }
    if (FGlyph->Empty() && ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count()) {
        DrawImageAndText(C, R, FMargin, FSpacing, FLayout, ShownCaption(), ImageIndex, ImageList,
                         ADown && AMouseIn, Enabled(), false, 0);
        return;
    }
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, ShownCaption(), FGlyph.get(), FNumGlyphs,
                     GlyphFrame(ADown, AMouseIn, Enabled()), Pressed, false, 0);
}

void TbsSkinSpeedButton::CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    gui::TRect content = BuildLook(B, R, *this, [&] { CreateSkinImage(B, Picture, R); });
    gui::TCanvas* c = B->Canvas();
    ApplySkinFont(c);
    c->Font()->SetColor(StateFontColor(Enabled(), DefaultFont()->Color(), ADown, AMouseIn));
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, content, ADown, AMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, content, ADown, AMouseIn, ADown && AMouseIn);
}

void TbsSkinSpeedButton::PaintContentsOnly(const gui::TRect& R, bool Skinned) {
    gui::TCanvas* c = Canvas();
    ApplySkinFont(c);
    if (Skinned) {
        const TbsSkinColors& colours = FSD->SkinColors();
        c->Font()->SetColor(!Enabled()         ? colours.cBtnShadow()
                            : UseSkinFontColor ? colours.cBtnText()
                                               : DefaultFont()->Color());
    } else if (!Enabled()) {
        c->Font()->SetColor(gui::clBtnShadow);
    }
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, R, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, R, FDown, FMouseIn, false);
}

void TbsSkinSpeedButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    bool pressedLook = FDown && (FMouseIn || GroupIndex != 0);
    if (FIndex == -1) {
        if (pressedLook || FMouseIn || !Transparent())
            TbsGraphicSkinControl::Paint();
        else
            PaintContentsOnly(gui::Rect(0, 0, Width(), Height()), false);
        return;
    }
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    if (MorphOn() && FMorphKf > 0 && FMorphKf < 1 && !Transparent()) {
        PaintMorph(Canvas(), Width(), Height(), SkinRect, ActiveSkinRect);
        return;
    }
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (pressedLook) {
        CreateButtonImage(&b, DownSkinRect, true, true);
    } else if (FMouseIn || (MorphOn() && FMorphKf == 1)) {
        CreateButtonImage(&b, ActiveSkinRect, false, true);
    } else if (Transparent()) {
        PaintContentsOnly(ToGuiRect(NewClRect), true);
        return;
    } else {
        const TRect& r = !Enabled() && !Empty(DisabledSkinRect) ? DisabledSkinRect : SkinRect;
        CreateButtonImage(&b, r, false, false);
    }
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinSpeedButton::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    gui::TRect r = gui::Rect(0, 0, B->Width(), B->Height());
    bool pressed = FDown && (FMouseIn || GroupIndex != 0);
    c->Brush()->SetStyle(gui::bsSolid);
    if (pressed) {
        FillFramed(c, r, kFocusFrame, kDownFill);
    } else if (FMouseIn) {
        FillFramed(c, r, kFocusFrame, kHotFill);
    } else if (Designing() || !FFlat) {
        FillFramed(c, r, gui::clBtnShadow, gui::clBtnFace);
    } else if (!Transparent()) {
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(r);
    } else {
        // Nothing under the contents but what the parent shows.
        DrawParentBackground(this, c);
    }
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    if (!Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, c, r, FDown, FMouseIn, drawDefault);
    if (!drawDefault) return;
    DrawContents(c, r, FDown, FMouseIn, pressed);
}

// --- timers --------------------------------------------------------------------------------

void TbsSkinSpeedButton::HoverChanged() {
    if (MorphOn() && FIndex != -1 && !Transparent())
        StartMorph();
    else
        Invalidate();
}

void TbsSkinSpeedButton::StartMorph() {
    if (!MorphOn() || FIndex == -1) {
        Invalidate();
        return;
    }
    if (MorphTimer) return;
    MorphTimer = std::make_unique<gui::TTimer>(nullptr);
    MorphTimer->SetInterval(kMorphInterval);
    MorphTimer->OnTimer = [this](gui::TObject*) { MorphTick(); };
}

void TbsSkinSpeedButton::StopMorph() {
    MorphTimer.reset();
}

void TbsSkinSpeedButton::MorphTick() {
    if (FIndex == -1 || !MorphOn()) {
        FMorphKf = FMouseIn ? 1 : 0;
        StopMorph();
    } else if (!MorphStep(FMouseIn)) {
        StopMorph();
    }
}

void TbsSkinSpeedButton::StartRepeat() {
    RepeatTimer = std::make_unique<gui::TTimer>(nullptr);
    RepeatTimer->SetInterval(kRepeatDelay);
    RepeatFirst = true;
    RepeatTimer->OnTimer = [this](gui::TObject*) {
        if (RepeatFirst) {
            RepeatFirst = false;
            RepeatTimer->SetInterval(static_cast<unsigned>(std::max(RepeatInterval, 1)));
            return;
        }
        ButtonClick();
    };
}

void TbsSkinSpeedButton::StopRepeat() {
    RepeatTimer.reset();
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinSpeedButton::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == gui::mbLeft) PressLeft();
}

void TbsSkinSpeedButton::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    POINT p{X, Y};
    gui::TRect r = ClientRect();
    ReleaseLeft(PtInRect(&r, p));
}

void TbsSkinSpeedButton::CMMouseEnter(gui::TMessage& m) {
    TbsGraphicSkinCustomControl::CMMouseEnter(m);
    if (!Enabled() || Designing()) return;
    FMouseIn = true;
    if (GroupIndex == 0 || !FDown) {
        if (FDown) {
            if (MorphOn()) FMorphKf = 1;
            Invalidate();
        } else {
            StartAnimate(true);
            HoverChanged();
        }
    }
    if (GroupIndex == 0 && RepeatMode && FDown) StartRepeat();
}

void TbsSkinSpeedButton::CMMouseLeave(gui::TMessage& m) {
    TbsGraphicSkinCustomControl::CMMouseLeave(m);
    if (!Enabled() || Designing()) return;
    FMouseIn = false;
    if (GroupIndex == 0 || !FDown) {
        StartAnimate(false);
        HoverChanged();
    }
    if (GroupIndex == 0 && RepeatMode && FDown) StopRepeat();
}

void TbsSkinSpeedButton::CMEnabledChanged(gui::TMessage& m) {
    TbsGraphicSkinCustomControl::CMEnabledChanged(m);
    EnabledChanged();
}

void TbsSkinSpeedButton::CMTextChanged(gui::TMessage& m) {
    TbsGraphicSkinCustomControl::CMTextChanged(m);
    Invalidate();
}

// "&X" in the caption: Alt+X clicks it.
void TbsSkinSpeedButton::Dispatch(gui::TMessage& m) {
    if (m.Msg == gui::CM_DIALOGCHAR) {
        if (IsCaptionAccelerator(Caption(), m.WParam) && Enabled() && Visible() && Parent() &&
            Parent()->Showing()) {
            ButtonClick();
            m.Result = 1;
            return;
        }
    }
    TbsGraphicSkinCustomControl::Dispatch(m);
}

} // namespace skin
