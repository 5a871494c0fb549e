#include "skin/controls/SkinSpeedButton.h"

#include "skin/controls/SkinToolBar.h"
#include "skin/core/SkinData.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

#include <cctype>

namespace skin {

namespace {

bool Empty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

gui::TColor Rgb(int r, int g, int b) {
    return static_cast<gui::TColor>(RGB(r, g, b));
}

constexpr unsigned kRepeatDelay = 500, kMorphInterval = 20;

} // namespace

TbsSkinSpeedButton::TbsSkinSpeedButton(gui::TComponent* AOwner)
    : TbsGraphicSkinCustomControl(AOwner), FGlyph(std::make_unique<gui::TBitmap>()) {
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

void TbsSkinSpeedButton::SetGlyph(gui::TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<gui::TBitmap>();
    Invalidate();
}

void TbsSkinSpeedButton::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    Invalidate();
}

void TbsSkinSpeedButton::SetMargin(int Value) {
    if (Value < -1 || Value == FMargin) return;
    FMargin = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    Invalidate();
}

void TbsSkinSpeedButton::SetLayout(TbsButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
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
    FDown = Value;
    if (MorphOn()) {
        if (FDown) {
            FMorphKf = 1;
            StopMorph();
        } else {
            StartMorph();
        }
    }
    Invalidate();
    if (GroupIndex != 0 && FDown && !AllowAllUp && Parent()) {
        gui::TWinControl* p = Parent();
        for (int i = 0; i < p->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinSpeedButton*>(p->Controls(i));
            if (b && b != this && b->GroupIndex == GroupIndex && b->FDown) b->SetDown(false);
        }
    }
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
    if (!d) {
        // A nine-part entry of another class: its skin rectangle in every state.
        ActiveSkinRect = DownSkinRect = SkinRect;
        DisabledSkinRect = MenuMarkerRect = MenuMarkerActiveRect = MenuMarkerDownRect =
            MenuMarkerFlatRect = {};
        FontName.clear();
        FontColor = ActiveFontColor = DownFontColor = DefaultFont()->Color();
        DisabledFontColor = Rgb(128, 128, 128);
        Morphing = false;
        AnimateSkinRect = {};
        return;
    }
    FontName = d->FontName;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    DownFontColor = d->DownFontColor;
    DisabledFontColor = d->DisabledFontColor == d->FontColor ? Rgb(128, 128, 128) : d->DisabledFontColor;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    ActiveSkinRect = Empty(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
    DownSkinRect = Empty(d->DownSkinRect) ? ActiveSkinRect : d->DownSkinRect;
    DisabledSkinRect = d->DisabledSkinRect;
    Morphing = d->Morphing && !Transparent();
    MorphKind = d->MorphKind;
    MenuMarkerRect = d->MenuMarkerRect;
    MenuMarkerActiveRect = Empty(d->MenuMarkerActiveRect) ? MenuMarkerRect : d->MenuMarkerActiveRect;
    MenuMarkerDownRect = Empty(d->MenuMarkerDownRect) ? MenuMarkerActiveRect : d->MenuMarkerDownRect;
    MenuMarkerFlatRect = Empty(d->MenuMarkerFlatRect) ? MenuMarkerRect : d->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = d->MenuMarkerTransparentColor;
    AnimateSkinRect = d->AnimateSkinRect;
    FrameCount = d->FrameCount;
    AnimateInterval = d->AnimateInterval;
    // The running frame stands in for the look it leads to or from.
    if (FAnimation.Running() && FSD && FSD->EnableSkinEffects) {
        ActiveSkinRect = FAnimation.Apply(ActiveSkinRect, AnimateSkinRect, FrameCount, true);
        SkinRect = FAnimation.Apply(SkinRect, AnimateSkinRect, FrameCount, false);
    }
}

void TbsSkinSpeedButton::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (UseSkinSize || ResizeMode == 1) {
        TbsGraphicSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
        return;
    }
    int dw = AWidth - SkinRect.Width(), dh = AHeight - SkinRect.Height();
    NewClRect = {ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh};
}

void TbsSkinSpeedButton::ChangeSkinData() {
    FAnimation.Stop();
    StopMorph();
    TbsGraphicSkinCustomControl::ChangeSkinData();
    if (MorphOn() && FIndex != -1 && FMouseIn && !Transparent()) FMorphKf = 1;
}

// --- painting ------------------------------------------------------------------------------

gui::TColor TbsSkinSpeedButton::StateFontColor(bool ADown, bool AMouseIn) const {
    if (Enabled() && !UseSkinFontColor) return DefaultFont()->Color();
    if (!Enabled()) return DisabledFontColor;
    if (ADown && AMouseIn) return DownFontColor;
    if (AMouseIn) return ActiveFontColor;
    return FontColor;
}

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
    int frame = 1;
    if (ADown && AMouseIn && FNumGlyphs > 2)
        frame = 3;
    else if (AMouseIn && FNumGlyphs > 3)
        frame = 4;
    else if (!Enabled() && FNumGlyphs > 1)
        frame = 2;
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, ShownCaption(), FGlyph.get(), FNumGlyphs, frame,
                     Pressed, false, 0);
}

void TbsSkinSpeedButton::CreateButtonImage(gui::TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) {
    gui::TRect content;
    if (UseSkinSize || ResizeMode == 1) {
        CreateSkinImage(B, Picture, R);
        content = ToGuiRect(NewClRect);
    } else {
        gui::TRect all = gui::Rect(0, 0, B->Width(), B->Height());
        if (ResizeMode == 0)
            B->Canvas()->CopyRect(all, Picture->Canvas(), ToGuiRect(R));
        else
            BuildImageByClientRect(B, Picture, R, ClRect, true);
        int dw = B->Width() - R.Width(), dh = B->Height() - R.Height();
        content = gui::Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh);
    }
    gui::TCanvas* c = B->Canvas();
    ApplySkinFont(c);
    c->Font()->SetColor(StateFontColor(ADown, AMouseIn));
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
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (MorphOn() && FMorphKf > 0 && FMorphKf < 1 && !Transparent()) {
        gui::TBitmap active;
        active.SetSize(Width(), Height());
        CreateButtonImage(&b, SkinRect, false, false);
        CreateButtonImage(&active, ActiveSkinRect, false, true);
        auto from = TbsEffectBmp::CreateFromhWnd(b.Handle());
        auto to = TbsEffectBmp::CreateFromhWnd(active.Handle());
        if (from && to) {
            from->Transition(MorphKind, *to, FMorphKf);
            from->Draw(Canvas()->Handle(), 0, 0);
            return;
        }
    } else if (pressedLook) {
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
    auto framed = [&](gui::TColor frame, gui::TColor fill) {
        c->Brush()->SetColor(fill);
        c->FillRect(r);
        c->Brush()->SetColor(frame);
        c->FrameRect(r);
    };
    if (pressed) {
        framed(Rgb(0, 0, 128), Rgb(133, 147, 181));
    } else if (FMouseIn) {
        framed(Rgb(0, 0, 128), Rgb(182, 189, 210));
    } else if (Designing() || !FFlat) {
        framed(gui::clBtnShadow, gui::clBtnFace);
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
    } else if (FMouseIn && FMorphKf < 1) {
        FMorphKf += 0.2;
        Invalidate();
    } else if (!FMouseIn && FMorphKf > 0) {
        FMorphKf -= 0.2;
        Invalidate();
    } else {
        FMorphKf = FMouseIn ? 1 : 0;
        StopMorph();
        Invalidate();
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
    if (Button != gui::mbLeft) return;
    FAnimation.Stop();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (GroupIndex == 0 && RepeatMode) StartRepeat();
        if (GroupIndex != 0) ButtonClick();
        FAllowAllUpCheck = false;
    } else if (GroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsSkinSpeedButton::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    FMouseDown = false;
    bool wasDown = FDown;
    POINT p{X, Y};
    gui::TRect r = ClientRect();
    bool inside = PtInRect(&r, p);
    if (GroupIndex == 0) {
        StopRepeat();
        if (inside) {
            SetDown(false);
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
        }
    } else if (wasDown && AllowAllUp && FAllowAllUpCheck && inside) {
        SetDown(false);
        ButtonClick();
    }
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
    if (MorphOn()) {
        StopMorph();
        FMorphKf = 0;
    }
    FMouseIn = false;
    Invalidate();
}

void TbsSkinSpeedButton::CMTextChanged(gui::TMessage& m) {
    TbsGraphicSkinCustomControl::CMTextChanged(m);
    Invalidate();
}

// "&X" in the caption: Alt+X clicks it.
void TbsSkinSpeedButton::Dispatch(gui::TMessage& m) {
    if (m.Msg == gui::CM_DIALOGCHAR) {
        const std::string& c = Caption();
        size_t amp = c.find('&');
        while (amp != std::string::npos && amp + 1 < c.size() && c[amp + 1] == '&')
            amp = c.find('&', amp + 2);
        if (amp != std::string::npos && amp + 1 < c.size() && m.WParam < 128 &&
            std::toupper(static_cast<unsigned char>(c[amp + 1])) ==
                std::toupper(static_cast<int>(m.WParam)) &&
            Enabled() && Visible() && Parent() && Parent()->Showing()) {
            ButtonClick();
            m.Result = 1;
            return;
        }
    }
    TbsGraphicSkinCustomControl::Dispatch(m);
}

} // namespace skin
