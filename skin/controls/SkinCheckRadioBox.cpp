#include "skin/controls/SkinCheckRadioBox.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"

#include <cctype>

namespace skin {

namespace {

const TRect& Or(const TRect& r, const TRect& fallback) {
    return Empty(r) ? fallback : r;
}

} // namespace

TbsSkinCheckRadioBox::TbsSkinCheckRadioBox(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    // A quick second click is another click.
    ControlStyle &= ~gui::csDoubleClicks;
    FSkinDataName = "checkbox";
    SetTabStop(false);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 150, 25);
}

TbsSkinCheckRadioBox::~TbsSkinCheckRadioBox() {
    StopMorph();
}

void TbsSkinCheckRadioBox::UpdateLook() {
    bool fade = FIndex != -1 && Morphing && FSD && !FSD->Empty && FSD->EnableSkinEffects;
    if (!fade) {
        Invalidate();
        return;
    }
    if (MorphTimer && MorphTimer->Enabled()) return;
    if (!MorphTimer) {
        MorphTimer = std::make_unique<gui::TTimer>(nullptr);
        MorphTimer->SetInterval(20);
        MorphTimer->OnTimer = [this](gui::TObject*) { MorphTick(); };
    }
    MorphTimer->SetEnabled(true);
}

void TbsSkinCheckRadioBox::StopMorph() {
    // Kept, not freed: a tick may stop it.
    if (MorphTimer) MorphTimer->SetEnabled(false);
}

void TbsSkinCheckRadioBox::MorphTick() {
    bool active = Hot();
    bool fade = FIndex != -1 && Morphing && FSD && !FSD->Empty && FSD->EnableSkinEffects;
    if (fade && active && FMorphKf < 1) {
        FMorphKf = std::min(1.0, FMorphKf + 0.2);
    } else if (fade && !active && FMorphKf > 0) {
        FMorphKf = std::max(0.0, FMorphKf - 0.2);
    } else {
        FMorphKf = active ? 1 : 0;
        StopMorph();
    }
    Invalidate();
}

// --- state ---------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::SetChecked(bool Value) {
    FChecked = Value;
    if (Value)
        FState = TCheckBoxState::cbChecked;
    else if (FState == TCheckBoxState::cbChecked)
        FState = TCheckBoxState::cbUnchecked;
    Invalidate();
    if (Value && GroupIndex != 0 && Parent()) {
        gui::TWinControl* p = Parent();
        for (int i = 0; i < p->ControlCount(); ++i) {
            auto* b = dynamic_cast<TbsSkinCheckRadioBox*>(p->Controls(i));
            if (b && b != this && b->GroupIndex == GroupIndex && b->FChecked) b->SetChecked(false);
        }
    }
    if ((!FRadio || FChecked) && OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::ActionChange(gui::TObject* Sender, bool CheckDefaults) {
    TbsSkinCustomControl::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<gui::TCustomAction*>(Sender);
    // Only a real change: setting the mark fires OnClick, which may change the action again.
    if (a && (!CheckDefaults || !FChecked) && a->Checked() != FChecked) SetChecked(a->Checked());
}

void TbsSkinCheckRadioBox::SetState(TCheckBoxState Value) {
    FState = Value;
    FChecked = Value == TCheckBoxState::cbChecked;
    Invalidate();
    if (OnClick) OnClick(this);
}

void TbsSkinCheckRadioBox::UserToggle() {
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TbsSkinCheckRadioBox::SetRadio(bool Value) {
    FRadio = Value;
    if (Designing() && !Loading()) {
        FSkinDataName = Value ? "radiobox" : "checkbox";
        GroupIndex = Value ? 1 : 0;
    }
    Invalidate();
}

void TbsSkinCheckRadioBox::SetFlat(bool Value) {
    FFlat = Value;
    Invalidate();
}

void TbsSkinCheckRadioBox::SetCanFocused(bool Value) {
    FCanFocused = Value;
    SetTabStop(Value);
}

void TbsSkinCheckRadioBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == Images) Images = nullptr;
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* d = FIndex != -1 ? dynamic_cast<TbsDataSkinCheckRadioControl*>(Descriptor()) : nullptr;
    if (!d) {
        // Nothing to take a check image from: the default look.
        FIndex = -1;
        return;
    }
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    FrameFontColor = d->FrameFontColor;
    UnEnabledFontColor = d->UnEnabledFontColor;
    ActiveSkinRect = Or(d->ActiveSkinRect, d->SkinRect);
    CheckImageArea = d->CheckImageArea;
    TextArea = d->TextArea;
    CheckImageRect = d->CheckImageRect;
    UnCheckImageRect = d->UnCheckImageRect;
    ActiveCheckImageRect = Or(d->ActiveCheckImageRect, d->CheckImageRect);
    ActiveUnCheckImageRect = Or(d->ActiveUnCheckImageRect, d->UnCheckImageRect);
    UnEnabledCheckImageRect = Or(d->UnEnabledCheckImageRect, d->CheckImageRect);
    UnEnabledUnCheckImageRect = Or(d->UnEnabledUnCheckImageRect, d->UnCheckImageRect);
    GrayedCheckImageRect = d->GrayedCheckImageRect;
    ActiveGrayedCheckImageRect = d->ActiveGrayedCheckImageRect;
    Morphing = d->Morphing && !FFlat;
    MorphKind = d->MorphKind;
    if (FFlat) MaskPicture = nullptr;
}

void TbsSkinCheckRadioBox::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (FFlat) return;
    TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
    int dw = AWidth - SkinRect.Width();
    NewTextArea = gui::Rect(TextArea.Left, TextArea.Top, TextArea.Right + dw, TextArea.Bottom);
    gui::TRect area = ToGuiRect(CheckImageArea);
    if (TextArea.Right <= CheckImageArea.Left) OffsetRect(&area, dw, 0);
    int w = CheckImageRect.Width(), h = CheckImageRect.Height();
    CIRect = gui::Rect(area.left + (gui::RectWidth(area) - w) / 2, area.top + (gui::RectHeight(area) - h) / 2,
                       0, 0);
    CIRect.right = CIRect.left + w;
    CIRect.bottom = CIRect.top + h;
}

void TbsSkinCheckRadioBox::ChangeSkinData() {
    if (!FFlat) {
        TbsSkinCustomControl::ChangeSkinData();
        return;
    }
    GetSkinData();
    Invalidate();
}

void TbsSkinCheckRadioBox::CheckParentBackground() {
    if (FFlat) Invalidate();
}

// --- painting ------------------------------------------------------------------------------

const TRect& TbsSkinCheckRadioBox::CheckImage() const {
    bool grayed = FState == TCheckBoxState::cbGrayed;
    if (!Enabled()) return FChecked || grayed ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    if (FMouseIn) return FChecked || grayed ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    return FChecked || grayed ? CheckImageRect : UnCheckImageRect;
}

void TbsSkinCheckRadioBox::DrawCheckImage(gui::TCanvas* C, int X, int Y) {
    TRect look = CheckImage();
    bool halfBright = false;
    if (FState == TCheckBoxState::cbGrayed) {
        if (Empty(GrayedCheckImageRect))
            halfBright = true;
        else
            look = FMouseIn && !Empty(ActiveGrayedCheckImageRect) ? ActiveGrayedCheckImageRect
                                                                  : GrayedCheckImageRect;
    }
    if (Empty(look) || !Picture) return;
    gui::TBitmap image;
    image.SetSize(look.Width(), look.Height());
    image.Canvas()->CopyRect(gui::Rect(0, 0, look.Width(), look.Height()), Picture->Canvas(),
                             ToGuiRect(look));
    if (halfBright) {
        if (auto e = TbsEffectBmp::CreateFromhWnd(image.Handle())) {
            e->ChangeBrightness(0.5);
            e->Draw(image.Canvas()->Handle(), 0, 0);
        }
    }
    image.SetTransparent(true);
    C->Draw(X, Y, &image);
}

void TbsSkinCheckRadioBox::DrawDefaultMark(gui::TCanvas* C, int Mid) {
    gui::TRect box = gui::Rect(3, Mid - 7, 17, Mid + 7);
    C->Brush()->SetStyle(gui::bsSolid);
    C->Brush()->SetColor(FMouseIn ? static_cast<gui::TColor>(RGB(0, 0, 128)) : gui::clBtnShadow);
    C->FrameRect(box);
    gui::TColor mark = Enabled() ? gui::clBlack : gui::clBtnShadow;
    if (FState == TCheckBoxState::cbGrayed && !FRadio)
        DrawCheckGlyph(C, 7, Mid - 4, gui::clGrayText);
    else if (FChecked && FRadio)
        DrawRadioDot(C, 7, Mid - 3, mark);
    else if (FChecked)
        DrawCheckGlyph(C, 7, Mid - 4, mark);
}

void TbsSkinCheckRadioBox::ApplyFont(gui::TCanvas* C, bool Skinned) const {
    if (Skinned && UseSkinFont && !FontName.empty()) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(DefaultFont());
    }
    ApplyCharset(C->Font(), DefaultFont());
}

void TbsSkinCheckRadioBox::DrawFocus(gui::TCanvas* C, const gui::TRect& TextRect) {
    if (FPaintingTo || !(FCanFocused && Focused())) return;
    gui::TRect r = TextRect;
    InflateRect(&r, 2, 1);
    r.right += 1;
    C->Brush()->SetStyle(gui::bsSolid);
    C->Brush()->SetColor(FIndex != -1 ? FSD->SkinColors().cBtnFace() : gui::clBtnFace);
    DrawDottedFocusRect(C, r);
}

void TbsSkinCheckRadioBox::PaintFlat(gui::TBitmap& B) {
    gui::TCanvas* c = B.Canvas();
    DrawParentBackground(this, c);
    int mid = Height() / 2;
    int textLeft = 22;
    bool skinned = FIndex != -1;
    if (skinned) {
        const TRect& look = CheckImage();
        DrawCheckImage(c, 3, mid - look.Height() / 2);
        textLeft = look.Width() + 7;
    } else {
        DrawDefaultMark(c, mid);
    }
    ApplyFont(c, skinned);
    if (!skinned)
        c->Font()->SetColor(Enabled() ? DefaultFont()->Color() : gui::clBtnShadow);
    else
        c->Font()->SetColor(!UseSkinFontColor ? DefaultFont()->Color()
                            : Enabled()       ? FrameFontColor
                                              : UnEnabledFontColor);
    if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
        Images->Draw(c, textLeft, mid - Images->Height() / 2, ImageIndex, Enabled());
        textLeft += Images->Width() + (skinned ? 8 : 5);
    }
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect text;
    if (WordWrap) {
        text = gui::Rect(textLeft, 0, Width() - 2, Height());
        gui::TRect measured = text;
        DrawWideText(c, Caption(), measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        int th = gui::RectHeight(measured);
        text.top = std::max(0, (Height() - th) / 2);
        text.bottom = text.top + th;
        DrawWideText(c, Caption(), text, DT_WORDBREAK | DT_EXPANDTABS);
    } else {
        int tw = c->TextWidth(Caption()), th = c->TextHeight(Caption());
        text = gui::Rect(textLeft, mid - th / 2, std::min(textLeft + tw, Width() - 2), mid - th / 2 + th);
        DrawTextVCenter(c, Caption(), text);
    }
    if (!Caption().empty()) DrawFocus(c, text);
}

void TbsSkinCheckRadioBox::PaintFramed(gui::TBitmap& B) {
    if (Morphing && FMorphKf > 0 && FMorphKf < 1 && Enabled() && !FPaintingTo) {
        gui::TBitmap active;
        active.SetSize(B.Width(), B.Height());
        PaintFrame(B, false);
        PaintFrame(active, true);
        auto from = TbsEffectBmp::CreateFromhWnd(B.Handle());
        auto to = TbsEffectBmp::CreateFromhWnd(active.Handle());
        if (from && to) {
            from->Transition(MorphKind, *to, FMorphKf);
            from->Draw(B.Canvas()->Handle(), 0, 0);
        }
        return;
    }
    PaintFrame(B, Hot());
}

void TbsSkinCheckRadioBox::PaintFrame(gui::TBitmap& B, bool active) {
    int w = Width(), h = Height();
    AdjustSkinSize(w, h);
    CreateSkinImage(&B, Picture, active ? ActiveSkinRect : SkinRect);
    gui::TCanvas* c = B.Canvas();
    const TRect& look = CheckImage();
    DrawCheckImage(c, CIRect.left, CIRect.top + (gui::RectHeight(CIRect) - look.Height()) / 2);
    ApplyFont(c, true);
    c->Font()->SetColor(!Enabled() ? UnEnabledFontColor : active ? ActiveFontColor : FontColor);
    c->Brush()->SetStyle(gui::bsClear);
    DrawTextVCenter(c, Caption(), NewTextArea);
}

void TbsSkinCheckRadioBox::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (!FFlat && FIndex == -1) {
        PaintThroughBitmap();
        return;
    }
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (FFlat)
        PaintFlat(b);
    else
        PaintFramed(b);
    Canvas()->Draw(0, 0, &b);
}

void TbsSkinCheckRadioBox::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    int w = B->Width(), h = B->Height(), mid = h / 2;
    c->Brush()->SetStyle(gui::bsSolid);
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect(gui::Rect(0, 0, w, h));
    if (Hot()) {
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FrameRect(gui::Rect(0, 0, w, h));
    }
    DrawDefaultMark(c, mid);
    ApplyFont(c, false);
    if (!Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    c->Brush()->SetStyle(gui::bsClear);
    DrawTextVCenter(c, Caption(), gui::Rect(19, 0, w, h));
}

void TbsSkinCheckRadioBox::PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, bool AChecked) {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    if (!FFlat && FIndex == -1) return;
    TCheckBoxState state = FState;
    bool checked = FChecked;
    FState = AChecked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
    FChecked = AChecked;
    FPaintingTo = true;
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    if (FFlat)
        PaintFlat(b);
    else
        PaintFrame(b, false);
    FPaintingTo = false;
    FState = state;
    FChecked = checked;
    Canvas->Draw(X, Y, &b);
}

// --- input ---------------------------------------------------------------------------------

void TbsSkinCheckRadioBox::CMMouseEnter(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseEnter(m);
    if (Designing()) return;
    FMouseIn = true;
    UpdateLook();
}

void TbsSkinCheckRadioBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    if (Designing()) return;
    FMouseIn = false;
    UpdateLook();
}

void TbsSkinCheckRadioBox::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (!FMouseIn) {
        FMouseIn = true;
        Invalidate();
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCheckRadioBox::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft || !FMouseIn) return;
    if (AllowGrayed && !FRadio && FState == TCheckBoxState::cbUnchecked) {
        FState = TCheckBoxState::cbGrayed;
        Invalidate();
        if (OnClick) OnClick(this);
        return;
    }
    UserToggle();
}

void TbsSkinCheckRadioBox::CMEnabledChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMEnabledChanged(m);
    StopMorph();
    FMorphKf = 0;
    FMouseIn = false;
    Invalidate();
}

void TbsSkinCheckRadioBox::CMTextChanged(gui::TMessage& m) {
    TbsSkinCustomControl::CMTextChanged(m);
    Invalidate();
}

void TbsSkinCheckRadioBox::CMDialogChar(gui::TMessage& m) {
    const std::string& c = Caption();
    size_t amp = c.find('&');
    while (amp != std::string::npos && amp + 1 < c.size() && c[amp + 1] == '&') amp = c.find('&', amp + 2);
    if (amp != std::string::npos && amp + 1 < c.size() && m.WParam < 128 &&
        std::toupper(static_cast<unsigned char>(c[amp + 1])) == std::toupper(static_cast<int>(m.WParam)) &&
        CanFocus() && FCanFocused) {
        SetFocus();
        UserToggle();
        m.Result = 1;
        return;
    }
    TbsSkinCustomControl::CMDialogChar(m);
}

void TbsSkinCheckRadioBox::WndProc(gui::TMessage& m) {
    if (FCanFocused && !Designing()) {
        if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && !Focused()) {
            if (CanFocus()) SetFocus();
            if (!Focused()) return;
        }
        if (m.Msg == WM_KEYUP && m.WParam == VK_SPACE) UserToggle();
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinCheckRadioBox::Dispatch(gui::TMessage& m) {
    if ((m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) && FCanFocused) {
        if (FFlat)
            Invalidate();
        else
            UpdateLook();
    }
    if (m.Msg == WM_MOVE && FFlat) Invalidate();
    TbsSkinCustomControl::Dispatch(m);
}

} // namespace skin
