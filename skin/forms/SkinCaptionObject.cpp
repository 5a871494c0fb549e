#include "skin/forms/SkinCaptionObject.h"

#include "gui/Bitmap.h"
#include "gui/ImgList.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/GlowText.h"
#include "skin/engine/NinePart.h"
#include "skin/forms/QuickButtonItems.h"
#include "skin/forms/SkinForm.h"
#include "skin/hints/SkinHint.h"

#include <algorithm>

namespace skin {

TbsSkinCaptionObject::TbsSkinCaptionObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData) {
    auto* d = dynamic_cast<const TbsDataSkinCaption*>(AData);
    if (!d) return;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    ShadowColor = d->ShadowColor;
    ActiveShadowColor = d->ActiveShadowColor;
    Shadow = d->Shadow;
    LightColor = d->LightColor;
    ActiveLightColor = d->ActiveLightColor;
    Light = d->Light;
    Alignment = d->Alignment;
    TextRct = d->TextRct;
    FrameRect = d->FrameRect;
    ActiveFrameRect = d->ActiveFrameRect;
    FrameLeftOffset = d->FrameLeftOffset;
    FrameRightOffset = d->FrameRightOffset;
    FrameTextRect = d->FrameTextRect;
    StretchEffect = d->StretchEffect;
    FullFrame = d->FullFrame;
    AnimateSkinRect = d->AnimateSkinRect;
    FrameCount = d->FrameCount;
    AnimateInterval = d->AnimateInterval;
    InActiveAnimation = d->InActiveAnimation;
    VistaGlowEffect = d->VistaGlowEffect;
    VistaGlowInActiveEffect = d->VistaGlowInActiveEffect;
    GlowEffect = d->GlowEffect;
    GlowInActiveEffect = d->GlowInActiveEffect;
    GlowSize = d->GlowSize;
    GlowColor = d->GlowColor;
    GlowActiveColor = d->GlowActiveColor;
    GlowOffset = d->GlowOffset;
    ReflectionEffect = d->ReflectionEffect;
    ReflectionColor = d->ReflectionColor;
    ReflectionActiveColor = d->ReflectionActiveColor;
    ReflectionOffset = d->ReflectionOffset;
}

bool TbsSkinCaptionObject::EnableAnimation() const {
    // A strip without frames would be divided by zero and never finish.
    return HasSkin() && SD->EnableSkinEffects && !IsEmptySkinRect(AnimateSkinRect) && FrameCount >= 1 &&
           ActivePicture;
}

bool TbsSkinCaptionObject::HasQuickButtons() const {
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

TRect TbsSkinCaptionObject::TextArea() const {
    TRect tr = TextRct;
    if (IsEmptySkinRect(TextRct)) return tr;
    if (HasQuickButtons())
        tr.Left += Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8);
    // The text keeps its right margin when the caption is wider than in the skin.
    tr.Right = ObjectRect.Width() - (SkinRect.Width() - TextRct.Right);
    if (!IsEmptySkinRect(FrameRect)) {
        tr.Top += FrameTextRect.Top;
        tr.Left += FrameTextRect.Left;
        tr.Right -= FrameRect.Width() - FrameTextRect.Right;
    }
    return tr;
}

void TbsSkinCaptionObject::SetCaptionFont(gui::TCanvas* c, TColor colour) const {
    gui::TFont* f = c->Font();
    f->SetName(FontName.empty() ? "Arial" : FontName);
    f->SetStyle(FontStyle);
    f->SetHeight(FontHeight);
    f->SetColor(colour);
    if (SD && SD->ResourceStrData())
        f->SetCharset(SD->ResourceStrData()->CharSet);
    else
        f->SetCharset(Parent->DefCaptionFont()->Charset());
}

void TbsSkinCaptionObject::BuildImage(gui::TBitmap& target, const TbsPicture* picture,
                                      const TRect& source) const {
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    target.SetSize(std::max(w, 0), std::max(h, 0));
    if (!picture || IsEmptySkinRect(source) || w <= 0 || h <= 0) return;
    // The parts of the caption in the frame's fixed corners stay fixed.
    int lc = std::max(0, SD->LTPoint.X - SkinRect.Left), rc = std::max(0, SkinRect.Right - SD->RTPoint.X);
    if (lc != 0 || rc != 0)
        BuildHorzThreePartImage(lc, rc, &target, &picture->Bitmap(), source, w, h, StretchEffect);
    else
        CopyPictureRect(target.Canvas(), picture, source, {0, 0, w, h});
}

void TbsSkinCaptionObject::ApplyInActiveEffect(gui::TBitmap& b) const {
    auto e = TbsEffectBmp::CreateFromhWnd(b.Handle());
    if (!e) return;
    e->InActiveEffect(SD->InActiveEffect);
    e->Draw(b.Canvas()->Handle(), 0, 0);
}

void TbsSkinCaptionObject::DrawCaptionText(gui::TCanvas* c, int dx, int dy, bool active) {
    // The application paints where the text would go: into the composed image when there is
    // one, so that drawing the image does not paint over it.
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(c, gui::Rect(dx, dy, dx + ObjectRect.Width(), dy + ObjectRect.Height()),
                               active);
        return;
    }
    std::string text = Parent->CaptionText();
    if (text.empty() || IsEmptySkinRect(TextRct)) return;
    TRect tr = TextArea();
    TrimWideTextToWidth(c, text, tr.Width());
    int tw = WideTextWidth(c, text), th = WideTextHeight(c, text);
    int ty = tr.Top + tr.Height() / 2 - th / 2, tx;
    if (HasQuickButtons() || Alignment == TAlignment::taCenter)
        tx = tr.Left + tr.Width() / 2 - tw / 2;
    else if (Alignment == TAlignment::taRightJustify)
        tx = tr.Right - tw;
    else
        tx = tr.Left;
    tx += dx;
    ty += dy;
    c->Brush()->SetStyle(gui::bsClear);
    if (!IsEmptySkinRect(FrameRect) && ActivePicture) {
        const TRect& f = active && !IsEmptySkinRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        gui::TBitmap frame;
        int fw = FullFrame ? ObjectRect.Width() - 2 * SD->ButtonsOffset
                           : FrameRect.Width() + tw - FrameTextRect.Width();
        if (fw > 0) {
            frame.SetSize(fw, FrameRect.Height());
            BuildHorzThreePartImage(FrameLeftOffset, FrameRightOffset, &frame, &ActivePicture->Bitmap(), f,
                                    fw, FrameRect.Height(), false);
            int fx = FullFrame ? dx + SD->ButtonsOffset : tx - FrameTextRect.Left;
            c->Draw(fx, ty - FrameTextRect.Top, &frame);
        }
    }
    gui::TColor colour = c->Font()->Color();
    auto copy = [&](int x, int y, TColor col) {
        c->Font()->SetColor(col);
        gui::TRect r = gui::Rect(x, y, x + tw, y + th);
        DrawWideText(c, text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        c->Font()->SetColor(colour);
    };
    if (Light) copy(tx - 1, ty - 1, active ? ActiveLightColor : LightColor);
    if (Shadow) copy(tx + 1, ty + 1, active ? ActiveShadowColor : ShadowColor);
    gui::TRect r = gui::Rect(tx, ty, tx + tw, ty + th);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (ReflectionEffect)
        DrawReflectionText(c, r, text, active ? ReflectionActiveColor : ReflectionColor, ReflectionOffset,
                           flags);
    else if (VistaGlowEffect && (active || VistaGlowInActiveEffect))
        DrawVistaGlowText(c, r, text, active ? GlowActiveColor : GlowColor, flags);
    else if (GlowEffect && (active || GlowInActiveEffect))
        DrawGlowText(c, r, text, GlowSize, active ? GlowActiveColor : GlowColor, GlowOffset, flags);
    else
        DrawWideText(c, text, r, flags);
}

void TbsSkinCaptionObject::DrawQuickButtons(gui::TCanvas* c) {
    gui::TCustomImageList* images = Parent->QuickImageList();
    int iw = images->Width(), ih = images->Height();
    int x = ObjectRect.Left, y = ObjectRect.Top + ObjectRect.Height() / 2 - ih / 2 - 2;
    const TbsDataSkinButtonControl* look = nullptr;
    for (const char* name : {"officequickbutton", "resizetoolbutton"}) {
        int i = SD->GetControlIndex(name);
        if (i >= 0) {
            look = dynamic_cast<const TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)].get());
            break;
        }
    }
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        TbsQuickButtonItem* item = items->Items(i);
        if (!item->Visible()) continue;
        item->ItemRect = {x, y, x + iw + 4, y + ih + 4};
        const TRect& r = item->ItemRect;
        const TbsPicture* picture = look ? ActivePictureAt(SD, look->PictureIndex) : nullptr;
        if (item->Active && picture) {
            gui::TBitmap b;
            b.SetSize(r.Width(), r.Height());
            BuildImageByClientRect(&b, &picture->Bitmap(),
                                   item->Down ? look->DownSkinRect : look->ActiveSkinRect, look->ClRect,
                                   true);
            c->Draw(r.Left, r.Top, &b);
        }
        images->Draw(c, r.Left + r.Width() / 2 - iw / 2, r.Top + r.Height() / 2 - ih / 2, item->ImageIndex(),
                     item->Enabled());
        x += iw + 8;
    }
}

void TbsSkinCaptionObject::Draw(gui::TCanvas* Cnvs, bool) {
    if (!HasSkin()) return;
    if (HasQuickButtons()) DrawQuickButtons(Cnvs);
    SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
    const TbsPicture* normal = Picture;
    auto composed = [&](const TbsPicture* picture, const TRect& source, bool textActive, bool effect,
                        auto&& blend) {
        gui::TBitmap image;
        BuildImage(image, picture, source);
        SetCaptionFont(image.Canvas(), textActive ? ActiveFontColor : FontColor);
        DrawCaptionText(image.Canvas(), 0, 0, textActive);
        blend(image);
        if (effect) ApplyInActiveEffect(image);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
    };
    auto none = [](gui::TBitmap&) {};
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        TRect f;
        if (SkinRect.Height() < AnimateSkinRect.Height()) {
            int fh = AnimateSkinRect.Height() / FrameCount;
            f = {AnimateSkinRect.Left, AnimateSkinRect.Top + fh * (CurrentFrame - 1), AnimateSkinRect.Right,
                 AnimateSkinRect.Top + fh * CurrentFrame};
        } else {
            int fw = AnimateSkinRect.Width() / FrameCount;
            f = {AnimateSkinRect.Left + fw * (CurrentFrame - 1), AnimateSkinRect.Top,
                 AnimateSkinRect.Left + fw * CurrentFrame, AnimateSkinRect.Bottom};
        }
        // The text keeps the look of the state being left until the frames are done.
        composed(ActivePicture, f, !Active, false, none);
        return;
    }
    if (EnableMorphing() && ((FMorphKf > 0 && !Active) || (FMorphKf < 1 && Active))) {
        composed(normal, SkinRect, false, SD->AutoRenderingInActiveImage && !Active,
                 [&](gui::TBitmap& image) {
                     gui::TBitmap hover;
                     BuildImage(hover, ActivePicture, ActiveSkinRect);
                     SetCaptionFont(hover.Canvas(), ActiveFontColor);
                     DrawCaptionText(hover.Canvas(), 0, 0, true);
                     auto a = TbsEffectBmp::CreateFromhWnd(image.Handle());
                     auto b = TbsEffectBmp::CreateFromhWnd(hover.Handle());
                     if (!a || !b) return;
                     a->Transition(MorphKind, *b, FMorphKf);
                     a->Draw(image.Canvas()->Handle(), 0, 0);
                 });
        return;
    }
    if (IsEmptySkinRect(ActiveSkinRect) || (!Active && !Morphing && !EnableAnimation() && !StretchEffect)) {
        DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active);
        return;
    }
    if (!Active)
        composed(normal, SkinRect, false, SD->AutoRenderingInActiveImage, none);
    else
        composed(ActivePicture, ActiveSkinRect, true, false, none);
}

void TbsSkinCaptionObject::TestActiveQuickButton(int X, int Y) {
    if (!HasQuickButtons()) return;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (int i = 0; i < items->Count() && ActiveQuickButton < 0; ++i) {
        TbsQuickButtonItem* item = items->Items(i);
        const TRect& r = item->ItemRect;
        if (item->Enabled() && item->Visible() && X >= r.Left && Y >= r.Top && X < r.Right && Y < r.Bottom)
            ActiveQuickButton = i;
    }
    bool flagChanged = false;
    for (int i = 0; i < items->Count(); ++i) {
        bool a = i == ActiveQuickButton;
        flagChanged = flagChanged || items->Items(i)->Active != a;
        items->Items(i)->Active = a;
    }
    if (ActiveQuickButton != OldActiveQuickButton || flagChanged) Parent->RepaintFrame();
    TbsSkinHint* hint = Parent->QuickButtonsShowHint ? Parent->SkinHint() : nullptr;
    if (!hint) return;
    if (ActiveQuickButton != OldActiveQuickButton && ActiveQuickButton >= 0 &&
        !items->Items(ActiveQuickButton)->Hint.empty())
        hint->ActivateHint2(items->Items(ActiveQuickButton)->Hint);
    else if (flagChanged && ActiveQuickButton < 0)
        hint->HideHint();
}

void TbsSkinCaptionObject::MouseEnter() {
    FMouseIn = true;
    Parent->DoMouseEnterEvent(IDName);
}

void TbsSkinCaptionObject::MouseLeave() {
    FMouseIn = false;
    Parent->DoMouseLeaveEvent(IDName);
    ActiveQuickButton = OldActiveQuickButton = -1;
    TestActiveQuickButton(-1, -1);
}

void TbsSkinCaptionObject::MouseMove(int X, int Y) {
    TbsActiveSkinObject::MouseMove(X, Y);
    TestActiveQuickButton(X, Y);
}

void TbsSkinCaptionObject::MouseDown(int X, int Y, gui::TMouseButton Button) {
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons()) return;
    TestActiveQuickButton(X, Y);
    if (ActiveQuickButton < 0) return;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) {
        items->Items(i)->Down = i == ActiveQuickButton;
        if (i != ActiveQuickButton) items->Items(i)->Active = false;
    }
    Parent->RepaintFrame();
    if (Parent->QuickButtonsShowHint && Parent->SkinHint()) Parent->SkinHint()->HideHint();
}

void TbsSkinCaptionObject::MouseUp(int X, int Y, gui::TMouseButton Button) {
    Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
    if (!HasQuickButtons()) return;
    TestActiveQuickButton(X, Y);
    if (ActiveQuickButton < 0) return;
    TbsQuickButtonItems* items = Parent->QuickButtons();
    for (int i = 0; i < items->Count(); ++i) items->Items(i)->Down = false;
    Parent->RepaintFrame();
    if (auto& click = items->Items(ActiveQuickButton)->OnClick) click(this);
}

} // namespace skin
