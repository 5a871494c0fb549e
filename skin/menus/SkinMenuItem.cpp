#include "skin/menus/SkinMenuItem.h"

#include "gui/Bitmap.h"
#include "gui/Color.h"
#include "gui/ImgList.h"
#include "gui/ShortCuts.h"
#include "skin/core/ResourceStrData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinPopupWindow.h"

#include <algorithm>

namespace skin {

namespace {

// Centred horizontally in its rectangle; without DT_SINGLELINE the vertical centring has no
// effect, so each text starts at the top of its rectangle.
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER;

bool EmptyRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

bool SkinUsable(const TbsSkinData* sd) {
    return sd && !sd->Empty;
}

// A rectangle of the picture drawn with its bottom-left colour left out, centred in R (never
// left of or above it).
void DrawCutOut(gui::TCanvas* C, gui::TBitmap* Picture, const TRect& Src, const gui::TRect& R) {
    if (!Picture || EmptyRect(Src)) return;
    gui::TBitmap image;
    image.SetSize(Src.Width(), Src.Height());
    image.Canvas()->CopyRect(gui::Rect(0, 0, Src.Width(), Src.Height()), Picture->Canvas(), ToGuiRect(Src));
    image.SetTransparent(true);
    int x = std::max<int>(R.left, R.left + (R.right - R.left) / 2 - Src.Width() / 2);
    int y = std::max<int>(R.top, R.top + (R.bottom - R.top) / 2 - Src.Height() / 2);
    C->Draw(x, y, &image);
}

} // namespace

// --- glyphs ----------------------------------------------------------------------------------

void DrawCheckMark(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color) {
    Cnvs->Pen()->SetColor(Color);
    for (int i = 0; i <= 2; ++i) {
        Cnvs->MoveTo(X, Y + 5 - i);
        Cnvs->LineTo(X + 2, Y + 7 - i);
        Cnvs->LineTo(X + 7, Y + 2 - i);
    }
}

void DrawSubMenuArrow(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color) {
    Cnvs->Pen()->SetColor(Color);
    for (int i = 0; i <= 3; ++i) {
        Cnvs->MoveTo(X + i, Y + i);
        Cnvs->LineTo(X + i, Y + 7 - i);
    }
}

void DrawRadioMark(gui::TCanvas* Cnvs, int X, int Y, gui::TColor Color) {
    Cnvs->Pen()->SetColor(Color);
    Cnvs->Brush()->SetStyle(gui::bsSolid);
    Cnvs->Brush()->SetColor(Color);
    Cnvs->Ellipse(X, Y, X + 6, Y + 6);
}

// --- the row ---------------------------------------------------------------------------------

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, gui::TMenuItem* AMenuItem,
                                 TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem) {
    if (!AData) return;
    TbsSkinData* sd = AParent->SD;
    int index = AData->ActivePictureIndex;
    // The object belongs to the skin and every later menu reads it: a bad picture number only
    // leaves this row without a picture.
    if (sd && index >= 0 && index < static_cast<int>(sd->FActivePictures.size()))
        ActivePicture = &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
}

void TbsSkinMenuItem::SetMorphKf(double Value) {
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TbsSkinMenuItem::IsHeader() const {
    const std::string& c = MenuItem->Caption();
    return c.size() > 1 && c.front() == '-' && c.back() == '-' && !MenuItem->Enabled();
}

int TbsSkinMenuItem::RowHeight() const {
    if (Parent->Skinned() && Parent->DSMI)
        return IsSeparator() ? Parent->DSMI->DividerRect.Height() : Parent->DSMI->SkinRect.Height();
    return IsSeparator() ? 4 : Parent->ParentMenu->DefaultMenuItemHeight();
}

bool TbsSkinMenuItem::EnableMorphing() const {
    const TbsSkinData* sd = Parent->SD;
    return Skinned() && MI->Morphing && SkinUsable(sd) && sd->EnableSkinEffects;
}

bool TbsSkinMenuItem::EnableAnimation() const {
    const TbsSkinData* sd = Parent->SD;
    return Skinned() && !EmptyRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && SkinUsable(sd) &&
           sd->EnableSkinEffects;
}

bool TbsSkinMenuItem::CanMorphing() {
    if (!FVisible) {
        if (FMorphKf != 0) {
            Active = Down = false;
            SetMorphKf(0);
        }
        return false;
    }
    return (Selected() && FMorphKf < 1) || (!Selected() && FMorphKf > 0);
}

void TbsSkinMenuItem::DoMorphing() {
    SetMorphKf(FMorphKf + (Selected() ? 0.2 : -0.2));
    Parent->DrawRow(this);
}

void TbsSkinMenuItem::StartItemEffect() {
    if (EnableAnimation()) {
        Parent->MorphTimer.SetInterval(static_cast<unsigned>(std::max(MI->AnimateInterval, 1)));
        if (MI->InActiveAnimation || Active) {
            Parent->MorphTimer.SetEnabled(true);
        } else {
            CurrentFrame = 0;
            Parent->DrawRow(this);
        }
    } else if (EnableMorphing()) {
        Parent->MorphTimer.SetInterval(20);
        Parent->MorphTimer.SetEnabled(true);
    } else {
        Parent->DrawRow(this);
    }
}

// --- pointer and keys ------------------------------------------------------------------------

void TbsSkinMenuItem::MouseDown(int, int) {
    WaitCommand = false;
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->ItemAction(Parent, this, true, false);
}

void TbsSkinMenuItem::MouseEnter(bool Kb) {
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (int i = 0; i < Parent->ItemCount(); ++i) {
        TbsSkinMenuItem* other = Parent->Items(i);
        if (other != this && other->Down) {
            other->Down = false;
            other->StartItemEffect();
        }
    }
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        StartItemEffect();
    } else if (Down && menu->IndexOf(Parent) + 2 < menu->LevelCount()) {
        // The pointer came back to the row whose submenu is open: only the levels below that
        // submenu close.
        menu->Level(menu->IndexOf(Parent) + 1)->CloseChildLevels();
    } else {
        StartItemEffect();
        menu->ItemAction(Parent, this, false, Kb);
    }
    if (Parent->HintText != MenuItem->Hint) Parent->HintText = MenuItem->Hint;
}

void TbsSkinMenuItem::MouseLeave() {
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down) StartItemEffect();
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (menu->WItem() == this) menu->CancelWait();
}

// --- painting --------------------------------------------------------------------------------

bool TbsSkinMenuItem::HasImage() const {
    if (MenuItem->HasBitmap()) return true;
    gui::TCustomImageList* il = Parent->ImgL;
    return il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count();
}

int TbsSkinMenuItem::ImageHeight() const {
    if (MenuItem->HasBitmap()) return MenuItem->Bitmap()->Height();
    return Parent->ImgL ? Parent->ImgL->Height() : 0;
}

static int ImageWidthOf(gui::TMenuItem* item, gui::TCustomImageList* il) {
    if (item->HasBitmap()) return item->Bitmap()->Width();
    return il ? il->Width() : 0;
}

// The image, with a frame around it for a checked item.
void TbsSkinMenuItem::DrawImage(gui::TCanvas* C, int X, int Y) {
    int w = ImageWidthOf(MenuItem, Parent->ImgL), h = ImageHeight();
    if (MenuItem->Checked()) {
        C->Brush()->SetStyle(gui::bsClear);
        C->Pen()->SetColor(C->Font()->Color());
        C->Rectangle(X - 1, Y - 1, X + w + 1, Y + h + 1);
    }
    if (MenuItem->HasBitmap())
        C->Draw(X, Y, MenuItem->Bitmap());
    else
        Parent->ImgL->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
}

// The window commands of the system and tray menus show the frame's glyphs.
bool TbsSkinMenuItem::DrawNamedGlyph(gui::TCanvas* C, int X, int Y, gui::TColor Color) const {
    const std::string& n = MenuItem->Name();
    if (n == "BSF_CLOSE" || n == "TRAY_BSF_CLOSE")
        DrawCloseGlyph(C, X, Y, Color);
    else if (n == "BSF_MINITEM")
        DrawMinimizeGlyph(C, X, Y, Color);
    else if (n == "BSF_MAXITEM")
        DrawMaximizeGlyph(C, X, Y, Color);
    else if (n == "BSF_RESTORE" || n == "TRAY_BSF_RESTORE")
        DrawRestoreGlyph(C, X, Y, Color);
    else if (n == "BSF_ROLLUP")
        DrawRollUpGlyph(C, X, Y, Color);
    else if (n == "BSF_MINTOTRAY")
        DrawTrayGlyph(C, X, Y, Color);
    else
        return false;
    return true;
}

std::string TbsSkinMenuItem::ShortCutText() const {
    return MenuItem->ShortCut() ? gui::ShortCutToText(MenuItem->ShortCut()) : std::string();
}

void TbsSkinMenuItem::SetRowFont(gui::TCanvas* C, bool SkinFont) const {
    TbsSkinMenu* menu = Parent->ParentMenu;
    if (SkinFont && menu->UseSkinFont) {
        C->Font()->SetName(MI->FontName);
        C->Font()->SetStyle(MI->FontStyle);
        C->Font()->SetHeight(MI->FontHeight);
    } else {
        C->SetFont(menu->DefaultMenuItemFont());
    }
    TbsSkinData* sd = menu->SkinData();
    C->Font()->SetCharset(sd && sd->ResourceStrData() ? static_cast<uint8_t>(sd->ResourceStrData()->CharSet)
                                                      : menu->DefaultMenuItemFont()->Charset());
}

void TbsSkinMenuItem::Draw(gui::TCanvas* Cnvs) {
    if (!FVisible) return;
    DrawRow(Cnvs);
}

void TbsSkinMenuItem::DefaultDraw(gui::TCanvas* Cnvs) {
    DrawRow(Cnvs);
}

void TbsSkinMenuItem::DrawRow(gui::TCanvas* Cnvs) {
    int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    gui::TBitmap b;
    b.SetSize(w, h);
    if (!Skinned()) {
        DrawDefaultImage(b);
    } else if (IsSeparator()) {
        BuildHorzThreePartImage(MI->DividerLO, MI->DividerRO, &b, ActivePicture, MI->DividerRect, w, h,
                                MI->DividerStretchEffect);
    } else {
        bool s = Selected();
        if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
            BuildItemImage(b, s, CurrentFrame);
        } else if (EnableMorphing() && !((s && FMorphKf == 1) || (!s && FMorphKf == 0))) {
            gui::TBitmap active;
            active.SetSize(w, h);
            BuildItemImage(b, false, 0);
            BuildItemImage(active, true, 0);
            auto from = TbsEffectBmp::CreateFromhWnd(b.Handle());
            auto to = TbsEffectBmp::CreateFromhWnd(active.Handle());
            if (from && to) {
                from->Transition(MI->MorphKind, *to, FMorphKf);
                from->Draw(b.Canvas()->Handle(), 0, 0);
            }
        } else {
            BuildItemImage(b, s, 0);
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMenuItem::DrawDefaultImage(gui::TBitmap& B) {
    gui::TCanvas* c = B.Canvas();
    int W = B.Width(), H = B.Height();
    int G = Parent->ImgL ? Parent->GlyphWidth : 19;
    SetRowFont(c, false);
    bool selected = Selected() && !IsSeparator();
    c->Brush()->SetStyle(gui::bsSolid);
    if (selected) {
        c->Brush()->SetColor(gui::clNavy);
        c->FillRect(gui::Rect(0, 0, W, H));
        c->Brush()->SetColor(static_cast<gui::TColor>(13811126));
        c->FillRect(gui::Rect(1, 1, W - 1, H - 1));
        c->Font()->SetColor(gui::clWindowText);
    } else {
        c->Brush()->SetColor(gui::clBtnFace);
        c->FillRect(gui::Rect(0, 0, G, H));
        c->Brush()->SetColor(gui::clWindow);
        c->FillRect(gui::Rect(G, 0, W, H));
        c->Font()->SetColor(MenuItem->Enabled() ? gui::clWindowText : gui::clBtnShadow);
    }
    if (IsSeparator()) {
        c->Pen()->SetColor(gui::clBtnShadow);
        c->MoveTo(G, H / 2);
        c->LineTo(W, H / 2);
        return;
    }
    gui::TRect R = gui::Rect(2, 2, W - 2, H - 2);
    int cy = R.top + (R.bottom - R.top) / 2;
    c->Brush()->SetStyle(gui::bsClear);
    if (IsHeader()) {
        c->Brush()->SetStyle(gui::bsSolid);
        c->Brush()->SetColor(gui::clBtnShadow);
        c->FillRect(gui::Rect(0, 0, W, H));
        c->Brush()->SetStyle(gui::bsClear);
        c->Font()->SetColor(gui::clBtnHighlight);
        const std::string& cap = MenuItem->Caption();
        gui::TRect tr = R;
        DrawWideText(c, cap.substr(1, cap.size() - 2), tr, kTextFormat);
        return;
    }
    gui::TRect tr = gui::Rect(R.left + G, 0, R.right - 19, 0);
    DrawWideText(c, MenuItem->Caption(), tr, kTextFormat | DT_CALCRECT);
    int shift = cy - tr.bottom / 2;
    tr.top += shift, tr.bottom += shift, tr.right += 2;
    DrawWideText(c, MenuItem->Caption(), tr, kTextFormat);
    std::string sc = ShortCutText();
    if (!sc.empty()) {
        gui::TRect sr{};
        DrawWideText(c, sc, sr, kTextFormat | DT_CALCRECT);
        gui::TRect at = gui::Rect(R.right - (sr.right - sr.left) - 19, tr.top, R.right - 19, tr.bottom);
        DrawWideText(c, sc, at, kTextFormat);
    }
    gui::TColor textColor = c->Font()->Color();
    if (MenuItem->Count() > 0) DrawSubMenuArrow(c, R.right - 7, cy - 4, textColor);
    if (HasImage()) {
        DrawImage(c, R.left + 2, cy - ImageHeight() / 2);
    } else if (!DrawNamedGlyph(c, R.left + 2, cy - 4, textColor) && MenuItem->Checked()) {
        if (MenuItem->RadioItem())
            DrawRadioMark(c, R.left + 3, cy - 4, textColor);
        else
            DrawCheckMark(c, R.left + 3, cy - 4, textColor);
    }
}

void TbsSkinMenuItem::BuildItemImage(gui::TBitmap& B, bool S, int Frame) {
    gui::TCanvas* c = B.Canvas();
    int W = B.Width(), H = B.Height();
    TRect src = Frame > 0
                    ? AnimationFrameRect(MI->AnimateSkinRect, MI->FrameCount, MI->SkinRect.Height(), Frame)
                    : (S ? MI->ActiveSkinRect : MI->SkinRect);
    bool stretch = S ? MI->StretchEffect : MI->InActiveStretchEffect;
    if (Frame > 0 && !MI->InActiveStretchEffect && MI->StretchEffect) stretch = true;
    if (!S && MI->InActiveTransparent && Parent->FPaintBuffer)
        c->CopyRect(gui::Rect(0, 0, W, H), Parent->FPaintBuffer->Canvas(), ToGuiRect(ObjectRect));
    else
        BuildHorzThreePartImage(MI->ItemLO, MI->ItemRO, &B, ActivePicture, src, W, H, stretch);

    int G = !EmptyRect(MI->ImageRct) ? 0 : (Parent->ImgL ? Parent->GlyphWidth : 16);
    TRect T = MI->TextRct;
    T.Right = W - (MI->SkinRect.Width() - MI->TextRct.Right);
    SetRowFont(c, true);
    c->Font()->SetColor(S                     ? MI->ActiveFontColor
                        : MenuItem->Enabled() ? MI->FontColor
                                              : MI->UnEnabledFontColor);
    c->Brush()->SetStyle(gui::bsClear);
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(MenuItem, c, ToGuiRect(T), S);
        return;
    }
    if (IsHeader()) {
        DrawMenuHeader(B, MenuItem->Caption());
        return;
    }
    int tcy = T.Top + T.Height() / 2;
    gui::TRect tr = gui::Rect(T.Left + G, 0, T.Right - 16, 0);
    DrawWideText(c, MenuItem->Caption(), tr, kTextFormat | DT_CALCRECT);
    int shift = tcy - tr.bottom / 2;
    tr.top += shift, tr.bottom += shift, tr.right += 2;
    DrawWideText(c, MenuItem->Caption(), tr, kTextFormat);
    std::string sc = ShortCutText();
    if (!sc.empty()) {
        gui::TRect sr{};
        DrawWideText(c, sc, sr, kTextFormat | DT_CALCRECT);
        gui::TRect at = gui::Rect(T.Right - 16 - (sr.right - sr.left), tr.top, T.Right - 16, tr.bottom);
        DrawWideText(c, sc, at, kTextFormat);
    }
    gui::TColor color = c->Font()->Color();
    if (MenuItem->Count() > 0) {
        if (EmptyRect(MI->ArrowImageRect))
            DrawSubMenuArrow(c, T.Right - 7, tcy - 4, color);
        else
            DrawCutOut(c, ActivePicture, S ? MI->ActiveArrowImageRect : MI->ArrowImageRect,
                       gui::Rect(T.Right - MI->ArrowImageRect.Width() - 5, T.Top, T.Right, T.Bottom));
    }
    if (MI->UseImageColor) color = S ? MI->ActiveImageColor : MI->ImageColor;
    c->Font()->SetColor(color);
    bool noImageRect = EmptyRect(MI->ImageRct);
    if (HasImage()) {
        int iw = ImageWidthOf(MenuItem, Parent->ImgL), ih = ImageHeight();
        if (noImageRect)
            DrawImage(c, T.Left + 2, tcy - ih / 2);
        else
            DrawImage(c, MI->ImageRct.Left + MI->ImageRct.Width() / 2 - iw / 2,
                      MI->ImageRct.Top + MI->ImageRct.Height() / 2 - ih / 2);
        return;
    }
    int x = noImageRect ? T.Left + 2 : MI->ImageRct.Left + MI->ImageRct.Width() / 2 - 4;
    int y = noImageRect ? tcy - 4 : MI->ImageRct.Top + MI->ImageRct.Height() / 2 - 4;
    if (DrawNamedGlyph(c, x, y, color) || !MenuItem->Checked()) return;
    gui::TRect markArea = noImageRect ? gui::Rect(MI->TextRct.Left + 2, MI->TextRct.Top,
                                                  MI->TextRct.Left + 16, MI->TextRct.Bottom)
                                      : ToGuiRect(MI->ImageRct);
    if (MenuItem->RadioItem()) {
        if (EmptyRect(MI->RadioImageRect))
            DrawRadioMark(c, x, y + 1, color);
        else
            DrawCutOut(c, ActivePicture, S ? MI->ActiveRadioImageRect : MI->RadioImageRect, markArea);
    } else {
        if (EmptyRect(MI->CheckImageRect))
            DrawCheckMark(c, x, y, color);
        else
            DrawCutOut(c, ActivePicture, S ? MI->ActiveCheckImageRect : MI->CheckImageRect, markArea);
    }
}

void TbsSkinMenuItem::DrawMenuHeader(gui::TBitmap& B, const std::string& Caption) {
    TbsSkinData* sd = Parent->SD;
    if (!sd) return;
    int index = sd->GetControlIndex("menuheader");
    if (index < 0) index = sd->GetControlIndex("label");
    if (index < 0) return;
    auto* d = dynamic_cast<TbsDataSkinLabelControl*>(sd->CtrlList[static_cast<size_t>(index)].get());
    if (!d || d->PictureIndex < 0 || d->PictureIndex >= static_cast<int>(sd->FActivePictures.size())) return;
    gui::TBitmap* picture = &sd->FActivePictures[static_cast<size_t>(d->PictureIndex)]->Bitmap();
    int w = B.Width(), h = d->SkinRect.Height();
    gui::TBitmap header;
    header.SetSize(w, h);
    BuildHorzThreePartImage(d->LTPoint.X, d->SkinRect.Width() - d->RTPoint.X, &header, picture, d->SkinRect,
                            w, h, d->StretchEffect);
    gui::TCanvas* c = header.Canvas();
    c->Font()->SetColor(d->FontColor);
    c->Font()->SetName(d->FontName);
    c->Font()->SetHeight(d->FontHeight);
    c->Font()->SetStyle(d->FontStyle);
    c->Font()->SetCharset(B.Canvas()->Font()->Charset());
    c->Brush()->SetStyle(gui::bsClear);
    gui::TRect tr = gui::Rect(d->ClRect.Left, d->ClRect.Top, w + d->ClRect.Right - d->SkinRect.Width(), h);
    DrawWideText(c, Caption.substr(1, Caption.size() - 2), tr, kTextFormat);
    B.Canvas()->Draw(0, (B.Height() - h) / 2, &header);
}

} // namespace skin
