#include "skin/forms/MenuBarObjects.h"

#include "gui/Color.h"
#include "gui/Forms.h"
#include "gui/Menu.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/forms/SkinForm.h"
#include "skin/forms/SkinMainMenuBar.h"
#include "skin/menus/SkinMenu.h"

#include <algorithm>

namespace skin {

namespace {

bool EmptyRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

bool SkinUsable(const TbsSkinData* sd) {
    return sd && !sd->Empty;
}

// The default look's hot and pressed fills.
constexpr gui::TColor kHotFill = static_cast<gui::TColor>(13811126);
constexpr gui::TColor kDownFill = static_cast<gui::TColor>(11899781);

void FrameFill(gui::TCanvas* c, const gui::TRect& r, gui::TColor fill) {
    c->Brush()->SetStyle(gui::bsSolid);
    c->Brush()->SetColor(gui::clNavy);
    c->FillRect(r);
    c->Brush()->SetColor(fill);
    c->FillRect(gui::Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1));
}

// Two images of the same size blended by Kf with the object's effect, drawn at (X, Y).
void DrawBlend(gui::TCanvas* c, gui::TBitmap& from, gui::TBitmap& to, TbsMorphKind kind, double kf, int x,
               int y) {
    auto a = TbsEffectBmp::CreateFromhWnd(from.Handle());
    auto b = TbsEffectBmp::CreateFromhWnd(to.Handle());
    if (!a || !b) return;
    a->Transition(kind, *b, kf);
    a->Draw(c->Handle(), x, y);
}

} // namespace

// --- the common object -----------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent) {
    if (!AData) return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ObjectRect = SkinRect;
    TbsSkinData* sd = AParent->SkinData();
    int index = AData->ActivePictureIndex;
    if (sd && index >= 0 && index < static_cast<int>(sd->FActivePictures.size()))
        Picture = &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
    if (Morphing && EmptyRect(ActiveSkinRect)) Morphing = false;
}

void TbsMenuBarObject::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TbsMenuBarObject::EnableMorphing() const {
    const TbsSkinData* sd = Parent->SkinData();
    return Morphing && SkinUsable(sd) && sd->EnableSkinEffects;
}

void TbsMenuBarObject::StartObjectEffect() {
    if (EnableMorphing())
        Parent->StartMorphTimer();
    else
        Parent->RedrawObject(this);
}

void TbsMenuBarObject::MouseEnter() {
    FMouseIn = true;
    Active = true;
    StartObjectEffect();
}

void TbsMenuBarObject::MouseLeave() {
    FMouseIn = false;
    Active = false;
    StartObjectEffect();
}

bool TbsMenuBarObject::CanMorphing() {
    if (FDown && !EmptyRect(DownRect)) return false;
    return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TbsMenuBarObject::DoMorphing() {
    SetMorphKf(FMorphKf + (Active ? 0.2 : -0.2));
    Parent->RedrawObject(this);
}

// --- the MDI child's buttons -----------------------------------------------------------------

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent,
                                                   TbsDataSkinMainMenuBarButton* AData)
    : TbsMenuBarObject(AParent, AData) {
    if (!AData) return;
    Command = AData->Command;
    DownRect = AData->DownRect;
    FSkinSupport = true;
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, gui::TMouseButton Button) {
    if (!Enabled || Button != gui::mbLeft || FDown) return;
    FDown = true;
    if (EnableMorphing() && !EmptyRect(DownRect)) SetMorphKf(1);
    Parent->RedrawObject(this);
    if (Command == TbsStdCommand::cmSysMenu) ButtonAction();
}

void TbsSkinMainMenuBarButton::MouseUp(int, int, gui::TMouseButton Button) {
    if (!Enabled || Button != gui::mbLeft || Command == TbsStdCommand::cmSysMenu) return;
    FDown = false;
    if (EnableMorphing())
        StartObjectEffect();
    else
        Parent->RedrawObject(this);
    if (Active) ButtonAction();
}

void TbsSkinMainMenuBarButton::MouseEnter() {
    if (FDown && Command == TbsStdCommand::cmSysMenu) {
        FMouseIn = Active = true;
    } else if (FDown && EnableMorphing()) {
        FMouseIn = Active = true;
        Parent->RedrawObject(this);
    } else {
        TbsMenuBarObject::MouseEnter();
    }
}

void TbsSkinMainMenuBarButton::MouseLeave() {
    if (FDown && Command == TbsStdCommand::cmSysMenu) {
        if (EnableMorphing()) SetMorphKf(1);
        FMouseIn = Active = false;
    } else if (FDown && EnableMorphing()) {
        FMouseIn = Active = false;
        Parent->RedrawObject(this);
    } else {
        TbsMenuBarObject::MouseLeave();
    }
}

void TbsSkinMainMenuBarButton::DblClick() {
    if (Command != TbsStdCommand::cmSysMenu) return;
    TbsSkinForm* child = TbsSkinMainMenuBar::MaximizedChild();
    if (!child) return;
    if (TbsSkinForm* bsf = Parent->SkinForm()) {
        bsf->SkinMenu()->Hide();
        bsf->SkinMenuClose();
    }
    child->Form()->Close();
}

// Acts on the maximised child, if there is one.
void TbsSkinMainMenuBarButton::ButtonAction() {
    TbsSkinForm* child = TbsSkinMainMenuBar::MaximizedChild();
    if (!child) return;
    switch (Command) {
    case TbsStdCommand::cmClose:
        child->Form()->Close();
        break;
    case TbsStdCommand::cmMaximize:
        child->SetWindowState(gui::wsNormal);
        break;
    case TbsStdCommand::cmMinimize:
        child->SetWindowState(gui::wsMinimized);
        break;
    case TbsStdCommand::cmSysMenu: {
        Parent->Invalidate();
        TbsSkinForm* bsf = Parent->SkinForm();
        if (!bsf) return;
        gui::TPoint p = Parent->ClientToScreen({ObjectRect.Left, ObjectRect.Top});
        TRect r = Rect(p.x, p.y, p.x + ObjectRect.Width(), p.y + ObjectRect.Height());
        gui::TMenuItem* items = child->GetSystemMenuItems();
        bsf->SkinMenuOpen();
        bsf->SkinMenu()->Popup(Parent, bsf->MenusSkinData() ? bsf->MenusSkinData() : bsf->SkinData(), 0, r,
                               items, Parent->PopupToUp);
        break;
    }
    default:
        break;
    }
}

void TbsSkinMainMenuBarButton::DefaultDraw(gui::TCanvas* C) {
    gui::TRect r = ToGuiRect(ObjectRect);
    bool pressed = FDown && Active;
    if (pressed)
        FrameFill(C, r, kDownFill);
    else if (Active)
        FrameFill(C, r, kHotFill);
    else {
        C->Brush()->SetStyle(gui::bsSolid);
        C->Brush()->SetColor(gui::clBtnFace);
        C->FillRect(r);
    }
    gui::TColor colour = Enabled ? gui::clBtnText : gui::clBtnShadow;
    int x = r.left + ObjectRect.Width() / 2 - (pressed ? 4 : 5);
    int y = r.top + ObjectRect.Height() / 2 - (pressed ? 3 : 4);
    switch (Command) {
    case TbsStdCommand::cmClose:
        DrawCloseGlyph(C, x, y, colour);
        break;
    case TbsStdCommand::cmMaximize:
        DrawRestoreGlyph(C, x, y, colour);
        break;
    case TbsStdCommand::cmMinimize:
        DrawMinimizeGlyph(C, x, y, colour);
        break;
    case TbsStdCommand::cmSysMenu:
        DrawSysMenuGlyph(C, x, y, colour);
        break;
    default:
        break;
    }
}

void TbsSkinMainMenuBarButton::Draw(gui::TCanvas* C) {
    if (!FSkinSupport || !Picture) {
        DefaultDraw(C);
        return;
    }
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    auto image = [&](const TRect& src, gui::TBitmap& b) {
        b.SetSize(w, h);
        b.Canvas()->CopyRect(gui::Rect(0, 0, w, h), Picture->Canvas(), ToGuiRect(src));
    };
    gui::TBitmap b;
    if (FDown && Active && !EmptyRect(DownRect)) {
        image(DownRect, b);
    } else if (EnableMorphing() && !((Active && FMorphKf == 1) || (!Active && FMorphKf == 0))) {
        gui::TBitmap to;
        image(SkinRect, b);
        image(ActiveSkinRect, to);
        DrawBlend(C, b, to, MorphKind, FMorphKf, ObjectRect.Left, ObjectRect.Top);
        return;
    } else {
        image(Active && !EmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect, b);
    }
    C->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

// --- the bar items ---------------------------------------------------------------------------

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuItem* AData)
    : TbsMenuBarObject(AParent, AData) {
    if (AData) {
        FSkinSupport = true;
        FontName = AData->FontName;
        FontHeight = AData->FontHeight;
        FontStyle = AData->FontStyle;
        FontColor = AData->FontColor;
        ActiveFontColor = AData->ActiveFontColor;
        DownFontColor = AData->DownFontColor;
        UnEnabledFontColor = AData->UnEnabledFontColor;
        TextRct = AData->TextRct;
        DownRect = AData->DownRect;
        LO = AData->ItemLO;
        RO = AData->ItemRO;
        StretchEffect = AData->StretchEffect;
        AnimateSkinRect = AData->AnimateSkinRect;
        FrameCount = AData->FrameCount;
        AnimateInterval = AData->AnimateInterval;
        InActiveAnimation = AData->InActiveAnimation;
        if (EmptyRect(DownRect)) DownRect = EmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
        if (EmptyRect(ActiveSkinRect)) Morphing = false;
    }
    OldEnabled = Enabled;
    FFits = true;
    CurrentFrame = 0;
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const {
    const TbsSkinData* sd = Parent->SkinData();
    return !EmptyRect(AnimateSkinRect) && FrameCount > 0 && SkinUsable(sd) && sd->EnableSkinEffects;
}

void TbsSkinMainMenuBarItem::StartObjectEffect() {
    if (EnableAnimation())
        Parent->StartAnimateTimer(AnimateInterval);
    else
        TbsMenuBarObject::StartObjectEffect();
}

void TbsSkinMainMenuBarItem::SetDown(bool Value) {
    if (Value) {
        FDown = true;
        SetMorphKf(1);
        Parent->RedrawObject(this);
        TbsSkinForm* bsf = Parent->SkinForm();
        if (bsf && !bsf->InMainMenu() && bsf->OnMainMenuEnter) bsf->OnMainMenuEnter(Parent);
        OpenMenu();
        return;
    }
    FDown = false;
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            StartObjectEffect();
            return;
        }
        CurrentFrame = 0;
    } else if (EnableMorphing()) {
        SetMorphKf(1);
        StartObjectEffect();
        return;
    }
    Parent->RedrawObject(this);
}

void TbsSkinMainMenuBarItem::OpenMenu() {
    TbsSkinForm* bsf = Parent->SkinForm();
    if (!bsf) return;
    gui::TPoint p = Parent->ClientToScreen({ObjectRect.Left, ObjectRect.Top});
    TRect r = Rect(p.x, p.y, p.x + ObjectRect.Width(), p.y + ObjectRect.Height());
    bsf->SkinMenuOpen();
    bsf->SetInMainMenu(true);
    bsf->SkinMenu()->Popup(nullptr, Parent->SkinData(), 0, r, MenuItem, Parent->PopupToUp);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, gui::TMouseButton Button) {
    TbsSkinForm* bsf = Parent->SkinForm();
    if (!Enabled || !bsf || Button != gui::mbLeft || !MenuItem) return;
    if (MenuItem->Count() > 0) {
        Parent->MenuActive = true;
        SetDown(true);
        return;
    }
    if (bsf->InMainMenu()) bsf->ExitMainMenu();
    bsf->SetInMenu(false);
    StartObjectEffect();
    gui::TMenu* menu = MenuItem->GetParentMenu();
    if (!menu || !menu->DispatchCommand(MenuItem->Command())) MenuItem->Click();
}

// Other items are told apart by identity, not by name: menu items made in code often have none.
void TbsSkinMainMenuBarItem::MouseEnter() {
    for (int i = 0; i < Parent->BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* other = Parent->BarItem(i);
        if (other == this || !other->FDown) continue;
        // A menu of the bar is open: this item's menu takes its place.
        other->SetDown(false);
        Active = FMouseIn = true;
        if (EnableMorphing()) SetMorphKf(1);
        SetDown(true);
        return;
    }
    for (int i = 0; i < Parent->BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* other = Parent->BarItem(i);
        if (other != this && other->Active) {
            other->MouseLeave();
            break;
        }
    }
    FMouseIn = Active = true;
    StartObjectEffect();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (MenuItem && Parent->Hint != MenuItem->Hint) Parent->Hint = MenuItem->Hint;
}

void TbsSkinMainMenuBarItem::MouseLeave() {
    Active = FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent->RedrawObject(this);
    }
    if (EnableMorphing() && FDown) SetMorphKf(0);
    StartObjectEffect();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

// --- placing and painting --------------------------------------------------------------------

void TbsSkinMainMenuBarItem::SetItemFont(gui::TCanvas* C) const {
    if (FSkinSupport && Parent->UseSkinFont) {
        C->Font()->SetName(FontName);
        C->Font()->SetStyle(FontStyle);
        C->Font()->SetHeight(FontHeight);
    } else {
        C->SetFont(Parent->DefItemFont());
    }
    Parent->ApplyItemCharset(C->Font());
}

int TbsSkinMainMenuBarItem::CaptionWidth(gui::TCanvas* C) const {
    if (!MenuItem) return 0;
    gui::TRect r{};
    DrawWideText(C, MenuItem->Caption(), r, DT_CALCRECT | DT_CENTER);
    return r.right - r.left;
}

void TbsSkinMainMenuBarItem::CalcObjectRect(gui::TCanvas* C) {
    const TRect& N = Parent->NewItemsRect;
    int left = 0;
    for (int i = 0; i < Parent->BarItemCount(); ++i) {
        TbsSkinMainMenuBarItem* item = Parent->BarItem(i);
        if (item == this) break;
        left = item->ObjectRect.Right;
    }
    if (left == 0) left = N.Left;
    SetItemFont(C);
    int width = CaptionWidth(C);
    if (FSkinSupport) {
        width += 2 + TextRct.Left + (SkinRect.Width() - TextRct.Right);
        ObjectRect = Rect(left, N.Top, left + width, N.Top + SkinRect.Height());
    } else {
        ObjectRect = Rect(left, N.Top, left + width + 12, N.Bottom);
    }
    int end = Parent->ScrollMenu() ? N.Right - 5 : N.Right;
    if (ObjectRect.Right > end) {
        Parent->Scroll = true;
        if (FFits) {
            OldEnabled = Enabled;
            Enabled = false;
            FFits = false;
        }
    } else if (!FFits) {
        FFits = true;
        Enabled = OldEnabled;
    }
}

void TbsSkinMainMenuBarItem::Draw(gui::TCanvas* C) {
    if (!FFits || !MenuItem) return;
    if (FSkinSupport && Picture)
        SkinnedDraw(C);
    else
        DefaultDraw(C);
}

void TbsSkinMainMenuBarItem::DefaultDraw(gui::TCanvas* C) {
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* c = b.Canvas();
    gui::TRect r = gui::Rect(0, 0, w, h);
    if (FDown)
        FrameFill(c, r, kDownFill);
    else if (Active)
        FrameFill(c, r, kHotFill);
    else {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(r);
    }
    c->SetFont(Parent->DefItemFont());
    Parent->ApplyItemCharset(c->Font());
    if (!MenuItem->Enabled()) c->Font()->SetColor(gui::clBtnShadow);
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect tr{};
    DrawWideText(c, MenuItem->Caption(), tr, DT_CALCRECT | DT_CENTER);
    int th = tr.bottom - tr.top;
    tr = gui::Rect(0, h / 2 - th / 2, w, h / 2 - th / 2 + th);
    if (FDown) tr = gui::Rect(tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1);
    if (MenuItem->OnDrawItem)
        MenuItem->OnDrawItem(MenuItem, c, tr, Active);
    else
        DrawWideText(c, MenuItem->Caption(), tr, DT_CENTER);
    C->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

TRect TbsSkinMainMenuBarItem::AnimateFrameRect(int Frame) const {
    int n = std::max(FrameCount, 1);
    const TRect& a = AnimateSkinRect;
    if (a.Height() > SkinRect.Height()) {
        int fh = a.Height() / n;
        return Rect(a.Left, a.Top + (Frame - 1) * fh, a.Right, a.Top + Frame * fh);
    }
    int fw = a.Width() / n;
    return Rect(a.Left + (Frame - 1) * fw, a.Top, a.Left + Frame * fw, a.Bottom);
}

// The item's look from a source rectangle of the picture, with its caption.
void TbsSkinMainMenuBarItem::BuildImage(gui::TBitmap& B, gui::TCanvas* Bar, const TRect& Src, bool Hot) {
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (Parent->ItemTransparent && Src == SkinRect) {
        B.SetSize(w, h);
        B.Canvas()->CopyRect(gui::Rect(0, 0, w, h), Bar, ToGuiRect(ObjectRect));
    } else {
        BuildHorzThreePartImage(LO, RO, &B, Picture, Src, w, h, Hot && StretchEffect);
    }
    gui::TCanvas* c = B.Canvas();
    SetItemFont(c);
    c->Font()->SetColor(FDown                 ? DownFontColor
                        : Hot                 ? ActiveFontColor
                        : MenuItem->Enabled() ? FontColor
                                              : UnEnabledFontColor);
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect tr = gui::Rect(TextRct.Left, TextRct.Top, TextRct.Left, TextRct.Top);
    DrawWideText(c, MenuItem->Caption(), tr, DT_CALCRECT | DT_CENTER);
    tr.right += 2;
    tr.top = TextRct.Top;
    tr.bottom = TextRct.Bottom;
    if (MenuItem->OnDrawItem)
        MenuItem->OnDrawItem(MenuItem, c, tr, Hot);
    else
        DrawWideText(c, MenuItem->Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TbsSkinMainMenuBarItem::SkinnedDraw(gui::TCanvas* C) {
    if (EmptyRect(SkinRect) || EmptyRect(TextRct) || ObjectRect.Width() <= 0) return;
    gui::TBitmap b;
    if (FDown) {
        BuildImage(b, C, DownRect, true);
    } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        BuildImage(b, C, AnimateFrameRect(CurrentFrame), true);
    } else if (EnableMorphing() && !((Active && FMorphKf == 1) || (!Active && FMorphKf == 0))) {
        gui::TBitmap to;
        BuildImage(b, C, SkinRect, false);
        BuildImage(to, C, ActiveSkinRect, true);
        DrawBlend(C, b, to, MorphKind, FMorphKf, ObjectRect.Left, ObjectRect.Top);
        return;
    } else if (Active) {
        BuildImage(b, C, EmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
    } else {
        BuildImage(b, C, SkinRect, false);
    }
    C->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

} // namespace skin
