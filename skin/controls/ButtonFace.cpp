#include "skin/controls/ButtonFace.h"

#include "skin/core/DataSkinControls.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"

#include <algorithm>
#include <cctype>

namespace skin {

namespace {

constexpr gui::TColor kGreyText = static_cast<gui::TColor>(RGB(128, 128, 128));

} // namespace

bool IsCaptionAccelerator(const std::string& c, uintptr_t Key) {
    size_t amp = c.find('&');
    while (amp != std::string::npos && amp + 1 < c.size() && c[amp + 1] == '&') amp = c.find('&', amp + 2);
    return amp != std::string::npos && amp + 1 < c.size() && Key < 128 &&
           std::toupper(static_cast<unsigned char>(c[amp + 1])) == std::toupper(static_cast<int>(Key));
}

TbsButtonFace::TbsButtonFace() : FGlyph(std::make_unique<gui::TBitmap>()) {}

TbsButtonFace::~TbsButtonFace() = default;

// --- glyph ---------------------------------------------------------------------------------

void TbsButtonFace::SetGlyph(gui::TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph = std::make_unique<gui::TBitmap>();
    FaceChanged();
}

void TbsButtonFace::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 4);
    FaceChanged();
}

void TbsButtonFace::SetMargin(int Value) {
    if (Value < -1 || Value == FMargin) return;
    FMargin = Value;
    FaceChanged();
}

void TbsButtonFace::SetSpacing(int Value) {
    if (Value == FSpacing) return;
    FSpacing = Value;
    FaceChanged();
}

void TbsButtonFace::SetLayout(TbsButtonLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    FaceChanged();
}

int TbsButtonFace::GlyphFrame(bool ADown, bool AMouseIn, bool Enabled) const {
    if (ADown && AMouseIn && FNumGlyphs > 2) return 3;
    if (AMouseIn && FNumGlyphs > 3) return 4;
    if (!Enabled && FNumGlyphs > 1) return 2;
    return 1;
}

// --- looks ---------------------------------------------------------------------------------

void TbsButtonFace::ReadLooks(const TbsDataSkinButtonControl* d, const TRect& Skin,
                              gui::TColor DefaultColour) {
    if (!d) {
        ActiveSkinRect = DownSkinRect = Skin;
        DisabledSkinRect = {};
        FontName.clear();
        FontColor = ActiveFontColor = DownFontColor = DefaultColour;
        DisabledFontColor = kGreyText;
        Morphing = false;
        AnimateSkinRect = {};
        return;
    }
    FontName = d->FontName;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    DownFontColor = d->DownFontColor;
    DisabledFontColor = d->DisabledFontColor == d->FontColor ? kGreyText : d->DisabledFontColor;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    ActiveSkinRect = Empty(d->ActiveSkinRect) ? Skin : d->ActiveSkinRect;
    DownSkinRect = Empty(d->DownSkinRect) ? ActiveSkinRect : d->DownSkinRect;
    DisabledSkinRect = d->DisabledSkinRect;
    Morphing = d->Morphing;
    MorphKind = d->MorphKind;
    AnimateSkinRect = d->AnimateSkinRect;
    FrameCount = d->FrameCount;
    AnimateInterval = d->AnimateInterval;
}

gui::TColor TbsButtonFace::StateFontColor(bool Enabled, gui::TColor DefaultColour, bool ADown,
                                          bool AMouseIn) const {
    if (Enabled && !UseSkinFontColor) return DefaultColour;
    if (!Enabled) return DisabledFontColor;
    if (ADown && AMouseIn) return DownFontColor;
    if (AMouseIn) return ActiveFontColor;
    return FontColor;
}

gui::TRect TbsButtonFace::BuildLook(gui::TBitmap* B, const TRect& R, const TbsNinePartGeometry& G,
                                    const std::function<void()>& Build) const {
    if (UseSkinSize || G.ResizeMode == 1) {
        Build();
        return ToGuiRect(G.NewClRect);
    }
    gui::TRect all = gui::Rect(0, 0, B->Width(), B->Height());
    if (G.ResizeMode == 0)
        B->Canvas()->CopyRect(all, G.Picture->Canvas(), ToGuiRect(R));
    else
        BuildImageByClientRect(B, G.Picture, R, G.ClRect, true);
    int dw = B->Width() - R.Width(), dh = B->Height() - R.Height();
    return gui::Rect(G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dw, G.ClRect.Bottom + dh);
}

bool TbsButtonFace::FollowFreeSize(TbsNinePartGeometry& G, int Width, int Height) const {
    if (UseSkinSize || G.ResizeMode == 1) return false;
    int dw = Width - G.SkinRect.Width(), dh = Height - G.SkinRect.Height();
    G.NewClRect = {G.ClRect.Left, G.ClRect.Top, G.ClRect.Right + dw, G.ClRect.Bottom + dh};
    return true;
}

void TbsButtonFace::FillFramed(gui::TCanvas* C, const gui::TRect& R, gui::TColor Frame, gui::TColor Fill) {
    C->Brush()->SetStyle(gui::bsSolid);
    C->Brush()->SetColor(Fill);
    C->FillRect(R);
    C->Brush()->SetColor(Frame);
    C->FrameRect(R);
}

// --- morph ---------------------------------------------------------------------------------

void TbsButtonFace::ShowDown(bool Value) {
    FDown = Value;
    if (MorphOn()) {
        if (FDown) {
            FMorphKf = 1;
            StopMorph();
        } else {
            StartMorph();
        }
    }
    FaceChanged();
}

bool TbsButtonFace::MorphStep(bool Hot) {
    if (Hot && FMorphKf < 1) {
        FMorphKf += 0.2;
        FaceChanged();
        return true;
    }
    if (!Hot && FMorphKf > 0) {
        FMorphKf -= 0.2;
        FaceChanged();
        return true;
    }
    FMorphKf = Hot ? 1 : 0;
    FaceChanged();
    return false;
}

// Without the effect bitmaps the normal look stands.
void TbsButtonFace::PaintMorph(gui::TCanvas* C, int W, int H, const TRect& Normal, const TRect& Active) {
    gui::TBitmap b, active;
    b.SetSize(W, H);
    active.SetSize(W, H);
    CreateButtonImage(&b, Normal, false, false);
    CreateButtonImage(&active, Active, false, true);
    auto from = TbsEffectBmp::CreateFromhWnd(b.Handle());
    auto to = TbsEffectBmp::CreateFromhWnd(active.Handle());
    if (from && to) {
        from->Transition(MorphKind, *to, FMorphKf);
        from->Draw(C->Handle(), 0, 0);
        return;
    }
    C->Draw(0, 0, &b);
}

void TbsButtonFace::EnabledChanged() {
    if (MorphOn()) {
        StopMorph();
        FMorphKf = 0;
    }
    FMouseIn = false;
    FaceChanged();
}

// --- press ---------------------------------------------------------------------------------

void TbsButtonFace::PressLeft() {
    FAnimation.Stop();
    FMouseDown = true;
    int group = ButtonGroup();
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (group == 0 && RepeatMode) StartRepeat();
        if (group != 0) ButtonClick();
        FAllowAllUpCheck = false;
    } else if (group != 0) {
        FAllowAllUpCheck = true;
    }
}

void TbsButtonFace::ReleaseLeft(bool Inside) {
    FMouseDown = false;
    bool wasDown = FDown;
    if (ButtonGroup() == 0) {
        StopRepeat();
        if (Inside) {
            SetDown(false);
            if (wasDown) ButtonClick();
        } else {
            FDown = false;
        }
    } else if (wasDown && AllowAllUp && FAllowAllUpCheck && Inside) {
        SetDown(false);
        ButtonClick();
    }
}

} // namespace skin
