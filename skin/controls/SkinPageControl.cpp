#include "skin/controls/SkinPageControl.h"

#include "controls/CommCtrl.h"
#include "controls/TabControl.h"
#include "gui/Forms.h"
#include "gui/NativeMouse.h"
#include "skin/controls/NinePartGeometry.h"
#include "skin/controls/SkinControl.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/EffectBmp.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <cstring>

namespace skin {

namespace {

constexpr int kPaintIntoAnswer = 12851;
const gui::TColor kNavy = 0x800000;

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

gui::TRect Offset(gui::TRect r, int dx, int dy) {
    return gui::Rect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

enum class Turn { None, Counter, Clockwise };

// The bitmap turned a quarter (or not), drawn at (x, y).
void DrawTurned(gui::TCanvas* C, gui::TBitmap& I, int x, int y, Turn turn) {
    if (turn == Turn::None) {
        C->Draw(x, y, &I);
        return;
    }
    auto src = TbsEffectBmp::CreateFromhWnd(I.Handle());
    TbsEffectBmp dst(src->Height, src->Width);
    if (turn == Turn::Counter)
        src->Rotate90_1(dst);
    else
        src->Rotate90_2(dst);
    dst.Draw(C->Handle(), x, y);
}

void TurnInPlace(gui::TBitmap& I, Turn turn) {
    gui::TBitmap t;
    t.SetSize(I.Height(), I.Width());
    DrawTurned(t.Canvas(), I, 0, 0, turn);
    I.Assign(&t);
}

void FlipInPlace(gui::TBitmap& I) {
    auto src = TbsEffectBmp::CreateFromhWnd(I.Handle());
    TbsEffectBmp dst(src->Width, src->Height);
    src->FlipVert(dst);
    dst.Draw(I.Canvas()->Handle(), 0, 0);
}

// A picture over W x H: stretched by the stretch type, or tiled from the corner.
void FillWithPicture(gui::TCanvas* C, gui::TBitmap* P, int W, int H, bool Stretch, TbsStretchType Type) {
    int pw = P->Width(), ph = P->Height();
    if (pw <= 0 || ph <= 0) return;
    if (Stretch) {
        switch (Type) {
        case TbsStretchType::bsstFull:
            C->StretchDraw(gui::Rect(0, 0, W, H), P);
            break;
        case TbsStretchType::bsstHorz:
            for (int i = 0; i <= W / pw; ++i) C->StretchDraw(gui::Rect(i * pw, 0, (i + 1) * pw, H), P);
            break;
        case TbsStretchType::bsstVert:
            for (int j = 0; j <= H / ph; ++j) C->StretchDraw(gui::Rect(0, j * ph, W, (j + 1) * ph), P);
            break;
        }
        return;
    }
    for (int i = 0; i <= W / pw; ++i)
        for (int j = 0; j <= H / ph; ++j) C->Draw(i * pw, j * ph, P);
}

void CutPiece(gui::TBitmap& Out, gui::TBitmap* Picture, const TRect& R) {
    Out.SetSize(R.Width(), R.Height());
    Out.Canvas()->CopyRect(gui::Rect(0, 0, R.Width(), R.Height()), Picture->Canvas(), ToGuiRect(R));
}

} // namespace

// --- sheet ---------------------------------------------------------------------------------

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(gui::TComponent* AOwner)
    : gui::TTabSheet(AOwner), FWallPaper(std::make_unique<gui::TBitmap>()) {}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet() {
    SetPageControl(nullptr);
}

void TbsSkinCustomTabSheet::SetWallPaper(gui::TBitmap* Value) {
    FWallPaper->Assign(Value);
    if (Designing()) Invalidate();
}

void TbsSkinCustomTabSheet::CreateParams(gui::TCreateParams& p) {
    gui::TTabSheet::CreateParams(p);
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TbsSkinPageControl* TbsSkinCustomTabSheet::SkinPageControl() const {
    return dynamic_cast<TbsSkinPageControl*>(PageControl());
}

void TbsSkinCustomTabSheet::PaintBackground(HDC DC) {
    TbsSkinPageControl* pc = SkinPageControl();
    if (Width() < 1 || Height() < 1 || !pc) return;
    gui::TCanvas c;
    c.SetHandle(DC);
    pc->GetSkinData();
    if (!FWallPaper->Empty())
        FillWithPicture(&c, FWallPaper.get(), Width(), Height(), false, TbsStretchType::bsstFull);
    else
        pc->PaintSheetBackground(&c, Width(), Height());
    c.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_SIZE: {
        gui::TTabSheet::Dispatch(m);
        Invalidate();
        TbsSkinPageControl* pc = SkinPageControl();
        if (pc && pc->SkinData() && !pc->SkinData()->Empty && pc->FIndex != -1 && pc->FSkin.StretchEffect)
            for (int i = 0; i < ControlCount(); ++i)
                if (auto* w = dynamic_cast<gui::TWinControl*>(Controls(i)); w && w->HandleAllocated())
                    SendMessage(w->Handle(), WM_CHECKPARENTBG, 0, 0);
        return;
    }
    case 45513:
        m.Result = kPaintIntoAnswer;
        return;
    default:
        gui::TTabSheet::Dispatch(m);
    }
}

// --- page control: creation and properties --------------------------------------------------

TbsSkinPageControl::TbsSkinPageControl(gui::TComponent* AOwner)
    : gui::TPageControl(AOwner), FDefaultFont(std::make_unique<gui::TFont>()),
      FTempImages(std::make_unique<gui::TImageList>(nullptr)) {
    for (gui::TFont* f : {FDefaultFont.get(), Font()}) {
        f->SetName("Arial");
        f->SetHeight(14);
        f->SetColor(gui::clBtnText);
        f->SetStyle(0);
    }
    FTempImages->SetSize(1, 1);
}

TbsSkinPageControl::~TbsSkinPageControl() {
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FImages) FImages->RemoveFreeNotification(this);
    gui::TCustomTabControl::SetImages(nullptr);
}

void TbsSkinPageControl::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    gui::TPageControl::Notification(AComponent, Operation);
    if (Operation != gui::TOperation::opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FSkinUpDown) FSkinUpDown = nullptr;
    if (AComponent == FPressedPage) FPressedPage = nullptr;
}

void TbsSkinPageControl::SetSkinData(TbsSkinData* Value) {
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !Designing()) ChangeSkinData();
}

void TbsSkinPageControl::SetTabExtededDraw(bool Value) {
    FTabExtededDraw = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTextInHorizontal(bool Value) {
    FTextInHorizontal = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabsBGTransparent(bool Value) {
    FTabsBGTransparent = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabLayout(TbsButtonLayout Value) {
    if (FTabLayout == Value) return;
    FTabLayout = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabSpacing(int Value) {
    if (FTabSpacing == Value) return;
    FTabSpacing = Value;
    Invalidate();
}

void TbsSkinPageControl::SetTabMargin(int Value) {
    if (Value < -1 || FTabMargin == Value) return;
    FTabMargin = Value;
    Invalidate();
}

void TbsSkinPageControl::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    GetSkinData();
    if (FIndex == -1) {
        SetTabSize();
        Realign();
    }
}

void TbsSkinPageControl::SetTabsInCenter(bool Value) {
    if (Value && TabWidth() <= 0) Value = false;
    FTabsInCenter = Value;
    if (Value) {
        SetTabPosition(gui::tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

void TbsSkinPageControl::SetTabsOffset(int Value) {
    FTabsOffset = Value;
    if (Value > 0) {
        SetTabPosition(gui::tpTop);
        SetMultiLine(false);
        FTabsBGTransparent = true;
    }
    Invalidate();
}

// The platform widens every captioned tab by the width of its image list and the gap after
// an image: a list of our own, as wide as the images and the close button together less that
// gap, reserves exactly their room.
void TbsSkinPageControl::UpdateReserved() {
    int reserved = (FImages ? FImages->Width() : 0) + (FShowCloseButtons ? FCloseSize : 0);
    if (reserved == FReserved) return;
    FReserved = reserved;
    FTempImages->SetSize(std::max(reserved - controls::TabControl::kImageGap, 1), 1);
    gui::TCustomTabControl::SetImages(nullptr);
    gui::TCustomTabControl::SetImages(FTempImages.get());
    UpdateTabImages();
    Realign();
    Invalidate();
}

void TbsSkinPageControl::SetImages(gui::TCustomImageList* Value) {
    if (FImages == Value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
    UpdateReserved();
}

void TbsSkinPageControl::SetShowCloseButtons(bool Value) {
    if (FShowCloseButtons == Value) return;
    FShowCloseButtons = Value;
    UpdateReserved();
}

int TbsSkinPageControl::GetImageIndex(int) {
    return FReserved > 0 ? 0 : -1;
}

int TbsSkinPageControl::UsedTabHeight() const {
    if (TabHeight() > 0) return TabHeight();
    return FIndex == -1 ? FDefaultItemHeight : FSkin.TabRect.Height();
}

void TbsSkinPageControl::SetTabSize() {
    if (HandleAllocated()) SendMessage(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(TabWidth(), 0), 0));
}

void TbsSkinPageControl::CreateWnd() {
    gui::TPageControl::CreateWnd();
    GetSkinData();
    if (FReserved > 0) gui::TCustomTabControl::SetImages(FTempImages.get());
    SetTabSize();
    CheckScroller();
}

void TbsSkinPageControl::Loaded() {
    gui::TPageControl::Loaded();
    GetSkinData();
    if (FIndex == -1) {
        SetTabSize();
        PlaceUpDown();
        Realign();
    }
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinPageControl::GetSkinData() {
    BGPictureIndex = -1;
    Picture = nullptr;
    FIndex = -1;
    if (!FSD || FSD->Empty) return;
    int index = FSD->GetControlIndex(FSkinDataName);
    if (index == -1) return;
    auto* d = dynamic_cast<TbsDataSkinTabControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
    // Without a picture there is nothing to draw from: the plain look serves.
    gui::TBitmap* picture = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
    if (!picture || Empty(d->SkinRect) || Empty(d->TabRect)) return;
    FIndex = index;
    FSkin = *d;
    Picture = picture;
    BGPictureIndex = d->BGPictureIndex;
    if (Empty(FSkin.ActiveTabRect)) FSkin.ActiveTabRect = FSkin.TabRect;
    if (Empty(FSkin.FocusTabRect)) FSkin.FocusTabRect = d->ActiveTabRect;
    if (Empty(FSkin.CloseButtonActiveRect)) FSkin.CloseButtonActiveRect = FSkin.CloseButtonRect;
    if (Empty(FSkin.CloseButtonDownRect)) FSkin.CloseButtonDownRect = FSkin.CloseButtonActiveRect;
}

void TbsSkinPageControl::ChangeSkinData() {
    GetSkinData();
    if (FShowCloseButtons) {
        FCloseSize = FIndex == -1 || Empty(FSkin.CloseButtonRect) ? 14 : FSkin.CloseButtonRect.Width();
        UpdateReserved();
    }
    uint8_t charset = FSD && FSD->ResourceStrData() ? static_cast<uint8_t>(FSD->ResourceStrData()->CharSet)
                                                    : FDefaultFont->Charset();
    if (FIndex == -1) {
        Font()->Assign(FDefaultFont.get());
    } else {
        if (UseSkinFont) {
            Font()->SetName(FSkin.FontName);
            Font()->SetHeight(FSkin.FontHeight);
            Font()->SetStyle(FSkin.FontStyle);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        Font()->SetColor(FSkin.FontColor);
    }
    Font()->SetCharset(charset);
    SetTabSize();
    PlaceUpDown();
    Realign();
    if (FSkinUpDown) {
        RemoveUpDown();
        CheckScroller();
    }
    // The sheet paints its background when erased, and an opaque sheet's own invalidation
    // does not erase: without this it would keep the old skin's background.
    if (ActivePage() && ActivePage()->HandleAllocated())
        InvalidateRect(ActivePage()->Handle(), nullptr, TRUE);
    Invalidate();
}

// --- geometry ------------------------------------------------------------------------------

int TbsSkinPageControl::VisibleTabCount() const {
    int n = 0;
    for (int i = 0; i < PageCount(); ++i) n += Pages(i)->TabVisible() ? 1 : 0;
    return n;
}

gui::TTabSheet* TbsSkinPageControl::PageOfTab(int TabIndex) const {
    if (TabIndex < 0) return nullptr;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible() && TabIndex-- == 0) return Pages(i);
    return nullptr;
}

int TbsSkinPageControl::RowOffset() {
    if (FTabsOffset > 0) return FTabsOffset;
    if (FTabsInCenter && TabWidth() > 0) return std::max(0, Width() / 2 - TabWidth() * VisibleTabCount() / 2);
    return 0;
}

void TbsSkinPageControl::CorrectTabRect(RECT& r) {
    if (Style() != gui::tsTabs) return;
    switch (TabPosition()) {
    case gui::tpTop: {
        if (!MultiLine()) r.left -= 2, r.right -= 2;
        r.top -= 2, r.bottom -= 2;
        int off = RowShifted() ? RowOffset() : 0;
        r.left += off, r.right += off;
        break;
    }
    case gui::tpBottom:
        if (!MultiLine()) r.left -= 2, r.right -= 2;
        r.top += 2, r.bottom += 2;
        break;
    case gui::tpLeft:
        r.left -= 2, r.right -= 2;
        break;
    case gui::tpRight:
        r.left += 2, r.right += 2;
        break;
    }
}

void TbsSkinPageControl::CorrectPageArea(RECT& r) {
    RECT c{};
    GetClientRect(Handle(), &c);
    int cw = c.right, ch = c.bottom;
    if (FHideBorder) {
        r = {0, -2, cw, ch};
        return;
    }
    GetSkinData();
    bool skinned = FIndex != -1;
    int L = 0, T = 0, Rw = 0, Bh = 0;
    if (skinned) {
        L = FSkin.ClRect.Left;
        T = FSkin.ClRect.Top;
        Rw = FSkin.SkinRect.Width() - FSkin.ClRect.Right;
        Bh = FSkin.SkinRect.Height() - FSkin.ClRect.Bottom;
    }
    switch (TabPosition()) {
    case gui::tpTop:
        if (skinned)
            r = {L, r.top + T - 6, cw - Rw, ch - Bh};
        else
            r = {1, r.top - 5, cw - 1, ch - 1};
        if (FHideTabs) r.top -= 1;
        break;
    case gui::tpBottom:
        if (skinned)
            r = {L, r.top + T - 4, cw - Rw, r.bottom + 4 - Bh};
        else
            r = {1, 1, cw - 1, r.bottom + 3};
        if (FHideTabs && skinned) r.bottom += 1;
        break;
    case gui::tpLeft:
        if (skinned)
            r = {r.left + L - 4, r.top + T - 4, cw - Rw, ch - Bh};
        else
            r = {r.left - 3, r.top - 5, cw - 1, ch - 1};
        if (FHideTabs) r.left -= 1;
        break;
    case gui::tpRight:
        if (skinned)
            r = {L, r.top + T - 4, r.right - Rw + 4, ch - Bh};
        else
            r = {r.left - 3, r.top - 5, r.right + 3, ch - 1};
        if (FHideTabs) r.right += 1;
        break;
    }
    // Our tab control's page inset differs from the one these corrections were made for:
    // the pages never reach into the border.
    if (!FHideTabs) {
        r.left = std::max<LONG>(r.left, skinned ? L : 1);
        r.top = std::max<LONG>(r.top, skinned ? T : 1);
        r.right = std::min<LONG>(r.right, cw - (skinned ? Rw : 1));
        r.bottom = std::min<LONG>(r.bottom, ch - (skinned ? Bh : 1));
    }
}

gui::TRect TbsSkinPageControl::GetTabRect(int Index) {
    if (!HandleAllocated() || Index < 0 || Index >= Tabs()->Count()) return {};
    gui::TRect r = TabRect(Index);
    if (Index == 0 && !MultiLine()) r.left += 1;
    return r;
}

gui::TRect TbsSkinPageControl::PageFrame() {
    gui::TRect a = DisplayRect();
    int L = FSkin.ClRect.Left, T = FSkin.ClRect.Top, Rw = FSkin.SkinRect.Width() - FSkin.ClRect.Right,
        Bh = FSkin.SkinRect.Height() - FSkin.ClRect.Bottom;
    return gui::Rect(a.left - L, a.top - T, a.right + Rw, a.bottom + Bh);
}

gui::TRect TbsSkinPageControl::ActiveTabRect() {
    int sel = TabIndex();
    if (FHideTabs || sel < 0 || sel >= PageCount() || VisibleTabCount() == 0 || !ActivePage()) return {};
    gui::TRect r = GetTabRect(sel);
    int d = FIndex == -1 ? 0 : FSkin.ActiveTabRect.Height() - FSkin.TabRect.Height();
    switch (TabPosition()) {
    case gui::tpTop:
        r.bottom += d;
        break;
    case gui::tpBottom:
        r.top -= d;
        break;
    case gui::tpLeft:
        r.right += d;
        break;
    case gui::tpRight:
        r.left -= d;
        break;
    }
    return r;
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinPageControl::PaintSheetBackground(gui::TCanvas* C, int W, int H) {
    if (FIndex != -1 && BGPictureIndex != -1) {
        if (gui::TBitmap* p = SkinPictureAt(*FSD, BGPictureIndex)) {
            FillWithPicture(C, p, W, H, FSkin.StretchEffect, FSkin.StretchType);
            return;
        }
    }
    if (FIndex == -1) {
        C->Brush()->SetColor(gui::clBtnFace);
        C->FillRect(gui::Rect(0, 0, W, H));
        return;
    }
    TRect piece{FSkin.SkinRect.Left + FSkin.ClRect.Left, FSkin.SkinRect.Top + FSkin.ClRect.Top,
                FSkin.SkinRect.Left + FSkin.ClRect.Right, FSkin.SkinRect.Top + FSkin.ClRect.Bottom};
    if (Empty(piece)) {
        C->Brush()->SetColor(gui::clBtnFace);
        C->FillRect(gui::Rect(0, 0, W, H));
        return;
    }
    gui::TBitmap bg;
    CutPiece(bg, Picture, piece);
    if (FSkin.StretchEffect)
        FillWithPicture(C, &bg, Width(), Height(), true, FSkin.StretchType);
    else
        FillWithPicture(C, &bg, W, H, false, FSkin.StretchType);
}

void TbsSkinPageControl::PaintWindow(HDC DC) {
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    gui::TCanvas c;
    c.SetHandle(DC);
    int saved = SaveDC(DC);
    if (FIndex == -1) {
        c.Brush()->SetColor(gui::clBtnFace);
        c.FillRect(gui::Rect(0, 0, Width(), Height()));
        if (!FHideBorder) {
            gui::TRect a = DisplayRect();
            c.Brush()->SetColor(gui::clBtnShadow);
            c.FrameRect(gui::Rect(a.left - 1, a.top - 1, a.right + 1, a.bottom + 1));
        }
    } else if (!FHideBorder) {
        gui::TRect f = PageFrame();
        int fw = gui::RectWidth(f), fh = gui::RectHeight(f);
        int dw = fw - FSkin.SkinRect.Width(), dh = fh - FSkin.SkinRect.Height();
        TPoint nrt{FSkin.RTPoint.X + dw, FSkin.RTPoint.Y}, nlb{FSkin.LBPoint.X, FSkin.LBPoint.Y + dh},
            nrb{FSkin.RBPoint.X + dw, FSkin.RBPoint.Y + dh};
        TRect ncl{FSkin.ClRect.Left, FSkin.ClRect.Top, FSkin.ClRect.Right + dw, FSkin.ClRect.Bottom + dh};
        gui::TBitmap left, top, right, bottom;
        BuildBorderImages(FSkin.LTPoint, FSkin.RTPoint, FSkin.LBPoint, FSkin.RBPoint, FSkin.ClRect,
                          FSkin.LTPoint, nrt, nlb, nrb, ncl, &left, &top, &right, &bottom, Picture,
                          FSkin.SkinRect, fw, fh, FSkin.LeftStretch, FSkin.TopStretch, FSkin.RightStretch,
                          FSkin.BottomStretch);
        int border = SaveDC(DC);
        gui::TRect sel = ActiveTabRect();
        if (gui::RectWidth(sel) > 0 && gui::RectHeight(sel) > 0)
            ExcludeClipRect(DC, sel.left, sel.top, sel.right, sel.bottom);
        c.Draw(f.left, f.top, &top);
        c.Draw(f.left, f.top + top.Height(), &left);
        c.Draw(f.left + fw - right.Width(), f.top + top.Height(), &right);
        c.Draw(f.left, f.top + fh - bottom.Height(), &bottom);
        RestoreDC(DC, border);
    }
    DrawTabs(&c);
    RestoreDC(DC, saved);
    c.SetHandle(nullptr);
}

void TbsSkinPageControl::DrawTabs(gui::TCanvas* C) {
    if (FHideTabs || PageCount() == 0) return;
    int n = Tabs()->Count(), sel = TabIndex();
    if (FIndex == -1) {
        for (int k = 0; k < n; ++k) DrawTab(C, k, GetTabRect(k), k == FActiveTabIndex, k == sel);
        return;
    }
    gui::TRect f = PageFrame();
    int cw = Width(), ch = Height();
    gui::TRect strip{};
    switch (TabPosition()) {
    case gui::tpTop:
        strip = gui::Rect(0, 0, cw, f.top);
        break;
    case gui::tpBottom:
        strip = gui::Rect(0, f.bottom, cw, ch);
        break;
    case gui::tpLeft:
        strip = gui::Rect(0, 0, f.left, ch);
        break;
    case gui::tpRight:
        strip = gui::Rect(f.right, 0, cw, ch);
        break;
    }
    int bw = gui::RectWidth(strip), bh = gui::RectHeight(strip);
    if (bw > 0 && bh > 0) {
        gui::TBitmap b;
        b.SetSize(bw, bh);
        TRect bgRect = FSkin.TabsBGRect;
        if (Empty(bgRect))
            bgRect = {FSkin.ClRect.Left + FSkin.SkinRect.Left, FSkin.ClRect.Top + FSkin.SkinRect.Top,
                      FSkin.ClRect.Right + FSkin.SkinRect.Left, FSkin.ClRect.Bottom + FSkin.SkinRect.Top};
        if (FTabsBGTransparent) {
            DrawParentBackgroundRect(this, b.Canvas(), strip);
        } else if (!Empty(bgRect)) {
            gui::TBitmap piece;
            CutPiece(piece, Picture, bgRect);
            FillWithPicture(b.Canvas(), &piece, bw, bh, false, TbsStretchType::bsstFull);
        }
        for (int k = 0; k < n; ++k)
            if (k != sel)
                DrawTab(b.Canvas(), k, Offset(GetTabRect(k), -strip.left, -strip.top), k == FActiveTabIndex,
                        false);
        HDC dc = C->Handle();
        int saved = SaveDC(dc);
        gui::TRect act = ActiveTabRect();
        if (gui::RectWidth(act) > 0 && gui::RectHeight(act) > 0)
            ExcludeClipRect(dc, act.left, act.top, act.right, act.bottom);
        C->Draw(strip.left, strip.top, &b);
        RestoreDC(dc, saved);
    }
    if (sel >= 0 && sel < n) {
        gui::TRect r = GetTabRect(sel);
        int d = FSkin.TabRect.Height() - FSkin.ActiveTabRect.Height();
        if (TabPosition() == gui::tpBottom) r = Offset(r, 0, d);
        if (TabPosition() == gui::tpRight) r = Offset(r, d, 0);
        DrawTab(C, sel, r, sel == FActiveTabIndex, true);
    }
}

void TbsSkinPageControl::SetTabFont(gui::TCanvas* C) {
    C->Font()->Assign(Font());
    if (FIndex != -1 && !UseSkinFont) C->Font()->Assign(FDefaultFont.get());
    if (FIndex != -1 && UseSkinFont) {
        C->Font()->SetName(FSkin.FontName);
        C->Font()->SetHeight(FSkin.FontHeight);
        C->Font()->SetStyle(FSkin.FontStyle);
    }
    if (FSD && FSD->ResourceStrData())
        C->Font()->SetCharset(static_cast<uint8_t>(FSD->ResourceStrData()->CharSet));
}

void TbsSkinPageControl::DrawTabImageAndText(gui::TCanvas* C, int W, int H, const std::string& Caption,
                                             int ImageIndex, bool Enabled, int Shift) {
    int tw = Caption.empty() ? 0 : WideTextWidth(C, Caption) + 2;
    int th = WideTextHeight(C, Caption);
    int iw = FImages ? FImages->Width() : 0, ih = FImages ? FImages->Height() : 0;
    int x0 = W / 2 - (tw + iw + 2) / 2;
    if (FImages) FImages->Draw(C, x0, H / 2 + Shift - ih / 2, ImageIndex, Enabled);
    gui::TRect r =
        gui::Rect(x0 + iw + 2, H / 2 + Shift - th / 2, x0 + iw + 2 + tw, H / 2 + Shift - th / 2 + th);
    DrawWideText(C, Caption, r, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

void TbsSkinPageControl::DrawTab(gui::TCanvas* C, int TabIndex, const gui::TRect& R, bool Hot,
                                 bool Selected) {
    gui::TTabSheet* page = PageOfTab(TabIndex);
    if (FHideTabs || !page) return;
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(page);
    bool hasImage = FImages && page->ImageIndex() >= 0 && page->ImageIndex() < FImages->Count();
    gui::TTabPosition pos = TabPosition();
    bool side = pos == gui::tpLeft || pos == gui::tpRight;
    int iw = side ? gui::RectHeight(R) : gui::RectWidth(R),
        ih = side ? gui::RectWidth(R) : gui::RectHeight(R);
    if (iw <= 0 || ih <= 0) return;
    bool focused = Focused();
    bool plain = FIndex == -1;
    gui::TBitmap I;
    gui::TCanvas* ic = I.Canvas();
    if (plain) {
        I.SetSize(iw, ih);
        gui::TRect all = gui::Rect(0, 0, iw, ih);
        if (Hot && !Selected) {
            ic->Brush()->SetColor(0xD2BDB6);
            ic->FillRect(all);
        } else if (!Selected) {
            ic->Brush()->SetColor(gui::clBtnFace);
            ic->FillRect(all);
        } else {
            ic->Brush()->SetColor(focused ? 0xB59385 : 0xD2BDB6);
            ic->FillRect(all);
            ic->Brush()->SetColor(kNavy);
            ic->FrameRect(all);
        }
        SetTabFont(ic);
    } else {
        TRect s = Hot && !Selected && !Empty(FSkin.MouseInTabRect) ? FSkin.MouseInTabRect
                  : Selected && focused                            ? FSkin.FocusTabRect
                  : !Selected                                      ? FSkin.TabRect
                                                                   : FSkin.ActiveTabRect;
        if (Empty(s)) s = Selected ? FSkin.ActiveTabRect : FSkin.TabRect;
        if (TabHeight() > 0) {
            int h = ih;
            int da = FSkin.ActiveTabRect.Height() - FSkin.TabRect.Height();
            int df = FSkin.FocusTabRect.Height() - FSkin.TabRect.Height();
            if (Selected && da > 0)
                h += da;
            else if (Selected && focused && df > 0)
                h += df;
            I.SetSize(iw, h);
            int q = FSkin.TabRect.Height() / 4;
            BuildImageByClientRect(
                &I, Picture, s,
                TRect{FSkin.TabLeftOffset, q, s.Width() - FSkin.TabRightOffset, s.Height() - q}, true);
        } else {
            I.SetSize(iw, s.Height());
            BuildHorzThreePartImage(FSkin.TabLeftOffset, FSkin.TabRightOffset, &I, Picture, s, iw, s.Height(),
                                    FSkin.TabStretchEffect);
        }
        if (pos == gui::tpBottom) FlipInPlace(I);
        SetTabFont(ic);
        ic->Font()->SetColor(Hot && !Selected      ? FSkin.MouseInFontColor
                             : Selected && focused ? FSkin.FocusFontColor
                             : !Selected           ? FSkin.FontColor
                                                   : FSkin.ActiveFontColor);
    }
    ic->Brush()->SetStyle(gui::bsClear);
    if (FTextInHorizontal && side) TurnInPlace(I, pos == gui::tpLeft ? Turn::Counter : Turn::Clockwise);
    gui::TRect c = gui::Rect(0, 0, I.Width(), I.Height());
    if (!plain && FSkin.ShowFocus && focused && Selected) {
        ic->Brush()->SetStyle(gui::bsSolid);
        ic->Brush()->SetColor(FSD->SkinColors().cBtnFace());
        DrawDottedFocusRect(ic, gui::Rect(c.left + FSkin.FocusOffsetX, c.top + FSkin.FocusOffsetY,
                                          c.right - FSkin.FocusOffsetX, c.bottom - FSkin.FocusOffsetY));
        ic->Brush()->SetStyle(gui::bsClear);
    }
    int shift = 0;
    if (!plain && !Selected && FSkin.TabRect.Height() != FSkin.ActiveTabRect.Height()) {
        int d = pos == gui::tpTop || pos == gui::tpLeft ? 2 : -2;
        c.top += d;
        shift = hasImage ? d : 0;
    }
    int k = FShowCloseButtons ? FCloseSize + 2 : 0;
    int cut = plain ? k : k + 3;
    if (OnDrawSkinTab) {
        OnDrawSkinTab(page->PageIndex(), gui::Rect(0, 0, I.Width(), I.Height()), Selected, Hot, ic);
    } else if (hasImage || FTabExtededDraw) {
        if (FTabExtededDraw)
            DrawImageAndText(ic, gui::Rect(c.left, c.top, c.right - k, c.bottom), FTabMargin, FTabSpacing,
                             FTabLayout, page->Caption(), page->ImageIndex(), FImages, false, page->Enabled(),
                             false, 0);
        else
            DrawTabImageAndText(ic, I.Width() - k, I.Height(), page->Caption(), page->ImageIndex(),
                                page->Enabled(), shift);
        c.right -= cut;
    } else {
        if (k != 0) c.right -= cut;
        gui::TRect t = c;
        DrawWideText(ic, page->Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (FShowCloseButtons) {
        if (sheet && !Hot) sheet->ButtonMouseIn = false;
        DrawCloseButton(ic, gui::Rect(c.right, c.top + shift, I.Width(), c.bottom), page, I.Width(),
                        I.Height());
    }
    Turn turn = Turn::None;
    if (side && !FTextInHorizontal) turn = pos == gui::tpLeft ? Turn::Counter : Turn::Clockwise;
    DrawTurned(C, I, R.left, R.top, turn);
}

void TbsSkinPageControl::DrawCloseButton(gui::TCanvas* C, gui::TRect A, gui::TTabSheet* Page, int Wi,
                                         int Hi) {
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page);
    bool in = sheet && sheet->ButtonMouseIn, down = sheet && sheet->ButtonMouseDown;
    int vc = (A.top + A.bottom) / 2;
    gui::TRect r{};
    if (FIndex == -1) {
        r = gui::Rect(A.left, vc - 7, A.left + 14, vc + 7);
        DrawCloseGlyph(C, r.left + 2, r.top + 2, in ? gui::clWhite : gui::clBlack);
    } else if (Empty(FSkin.CloseButtonRect)) {
        int size = FCloseSize;
        r = gui::Rect(A.left, vc - size / 2, A.left + size, vc - size / 2 + size);
        int index = FSD->GetControlIndex("resizetoolbutton");
        auto* d =
            index < 0
                ? nullptr
                : dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
        gui::TBitmap* picture = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
        if (picture && !Empty(d->SkinRect)) {
            TRect active = Empty(d->ActiveSkinRect) ? d->SkinRect : d->ActiveSkinRect;
            TRect pressed = Empty(d->DownSkinRect) ? active : d->DownSkinRect;
            TRect src = in && down ? pressed : in ? active : d->SkinRect;
            gui::TColor colour = in && down ? d->DownFontColor : in ? d->ActiveFontColor : d->FontColor;
            int dw = size - d->SkinRect.Width(), dh = size - d->SkinRect.Height();
            TPoint nrt{d->RTPoint.X + dw, d->RTPoint.Y}, nlb{d->LBPoint.X, d->LBPoint.Y + dh},
                nrb{d->RBPoint.X + dw, d->RBPoint.Y + dh};
            TRect ncl{d->ClRect.Left, d->ClRect.Top, d->ClRect.Right + dw, d->ClRect.Bottom + dh};
            gui::TBitmap img;
            img.SetSize(size, size);
            BuildNinePartImage(d->LTPoint, d->RTPoint, d->LBPoint, d->RBPoint, d->ClRect, d->LTPoint, nrt,
                               nlb, nrb, ncl, &img, picture, src, size, size, true, d->LeftStretch,
                               d->TopStretch, d->RightStretch, d->BottomStretch, d->StretchEffect,
                               d->StretchType);
            DrawCloseGlyph(img.Canvas(), size / 2 - 5, size / 2 - 5, colour);
            C->Draw(r.left, r.top, &img);
        }
    } else {
        TRect src = in && down ? FSkin.CloseButtonDownRect
                    : in       ? FSkin.CloseButtonActiveRect
                               : FSkin.CloseButtonRect;
        r = gui::Rect(A.left, vc - src.Height() / 2, A.left + src.Width(),
                      vc - src.Height() / 2 + src.Height());
        gui::TBitmap img;
        CutPiece(img, Picture, src);
        if (FSkin.ButtonTransparent) {
            img.SetTransparent(true);
            img.SetTransparentColor(FSkin.ButtonTransparentColor);
        }
        C->Draw(r.left, r.top, &img);
    }
    if (!sheet) return;
    gui::TTabPosition pos = TabPosition();
    if (pos == gui::tpLeft && !FTextInHorizontal)
        r = gui::Rect(r.top, Wi - r.right, r.bottom, Wi - r.left);
    else if (pos == gui::tpRight && !FTextInHorizontal)
        r = gui::Rect(Hi - r.bottom, r.left, Hi - r.top, r.right);
    sheet->ButtonRect = r;
}

// --- pointer -------------------------------------------------------------------------------

void TbsSkinPageControl::RedrawTabs() {
    Invalidate();
}

void TbsSkinPageControl::TestActive(int X, int Y, bool) {
    if (FHideTabs || Designing()) return;
    FOldActiveTab = FActiveTab;
    FOldActiveTabIndex = FActiveTabIndex;
    FActiveTabIndex = -1;
    int n = HandleAllocated() ? Tabs()->Count() : 0;
    for (int k = 0; k < n; ++k)
        if (Inside(GetTabRect(k), X, Y)) {
            FActiveTabIndex = k;
            break;
        }
    gui::TTabSheet* hot = PageOfTab(FActiveTabIndex);
    FActiveTab = hot ? hot->PageIndex() : -1;
    int sel = TabIndex();
    if (FActiveTabIndex != FOldActiveTabIndex) {
        if (FOldActiveTabIndex != -1 && FOldActiveTabIndex != sel && FOldActiveTabIndex < n) {
            if (auto* old = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfTab(FOldActiveTabIndex)))
                old->ButtonMouseIn = old->ButtonMouseDown = false;
            RedrawTabs();
        }
        if (FActiveTabIndex != sel) RedrawTabs();
    }
    if (FActiveTabIndex == -1 || !FShowCloseButtons) return;
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(hot);
    if (!sheet) return;
    gui::TRect t = GetTabRect(FActiveTabIndex);
    bool in = Inside(Offset(sheet->ButtonRect, t.left, t.top), X, Y);
    if (in && !sheet->ButtonMouseIn) {
        sheet->ButtonMouseIn = true;
        RedrawTabs();
    } else if (!in && (sheet->ButtonMouseIn || sheet->ButtonMouseDown)) {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
        RedrawTabs();
    }
}

void TbsSkinPageControl::CloseButtonLogic(int X, int Y, bool Press) {
    gui::TTabSheet* pressed = FPressedPage;
    if (!Press) FPressedPage = nullptr;
    if (FActiveTabIndex == -1 || !FShowCloseButtons) return;
    auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(PageOfTab(FActiveTabIndex));
    if (!sheet) return;
    gui::TRect t = GetTabRect(FActiveTabIndex);
    int off = RowShifted() ? RowOffset() : 0;
    bool in = Inside(Offset(sheet->ButtonRect, t.left - off, t.top), X, Y);
    if (Press) {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = in;
        FPressedPage = in ? sheet : nullptr;
        RedrawTabs();
        return;
    }
    // The page whose button went down closes: the selection may have moved (or been refused)
    // between the press and the release.
    if (!in || pressed != sheet) {
        sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
        RedrawTabs();
        return;
    }
    sheet->ButtonMouseIn = true;
    sheet->ButtonMouseDown = false;
    RedrawTabs();
    ClosePage(sheet);
}

void TbsSkinPageControl::ClosePage(gui::TTabSheet* Page) {
    bool canClose = true;
    if (OnClose) OnClose(Page, canClose);
    if (canClose) {
        FActiveTabIndex = FActiveTab = -1;
        Page->SetTabVisible(false);
        if (FreeOnClose) delete Page;
        if (OnAfterClose) OnAfterClose(this);
        return;
    }
    POINT p{};
    GetCursorPos(&p);
    if (WindowFromPoint(p) != Handle()) {
        if (auto* sheet = dynamic_cast<TbsSkinCustomTabSheet*>(Page))
            sheet->ButtonMouseIn = sheet->ButtonMouseDown = false;
        RedrawTabs();
    }
}

void TbsSkinPageControl::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TPageControl::MouseDown(Button, Shift, X, Y);
    if (!RowShifted()) TestActive(X, Y, true);
    if (Button == gui::mbLeft) CloseButtonLogic(X, Y, true);
}

void TbsSkinPageControl::MouseMove(gui::TShiftState Shift, int X, int Y) {
    gui::TPageControl::MouseMove(Shift, X, Y);
    TestActive(X, Y, false);
}

void TbsSkinPageControl::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TPageControl::MouseUp(Button, Shift, X, Y);
    if (!RowShifted()) TestActive(X, Y, false);
    if (Button == gui::mbLeft) CloseButtonLogic(X, Y, false);
}

bool TbsSkinPageControl::DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) {
    bool handled = gui::TPageControl::DoMouseWheel(Shift, WheelDelta, MousePos);
    if (!MouseWheelSupport || !ActivePage()) return handled;
    int i = ActivePage()->PageIndex();
    int step = WheelDelta < 0 ? 1 : -1;
    for (int k = i + step; k >= 0 && k < PageCount(); k += step)
        if (Pages(k)->TabVisible()) {
            if (CanChange()) {
                SetActivePage(Pages(k));
                Change();
            }
            break;
        }
    return true;
}

// --- the tab scroller ----------------------------------------------------------------------

int TbsSkinPageControl::CountTabsOff(bool OnlyLeft) {
    int n = 0, w = Width();
    for (int k = 0; k < Tabs()->Count(); ++k) {
        gui::TRect r = GetTabRect(k);
        if (r.right <= 0 || (!OnlyLeft && r.right > w - 3)) ++n;
    }
    return n;
}

void TbsSkinPageControl::RemoveUpDown() {
    if (!FSkinUpDown) return;
    TbsSkinUpDown* u = FSkinUpDown;
    FSkinUpDown = nullptr;
    delete u;
}

void TbsSkinPageControl::PlaceUpDown() {
    if (!FSkinUpDown) return;
    int top = TabPosition() == gui::tpTop ? 0 : Height() - FSkinUpDown->Height();
    FSkinUpDown->SetBounds(Width() - FSkinUpDown->Width(), top, FSkinUpDown->Width(), FSkinUpDown->Height());
}

void TbsSkinPageControl::CheckScroller() {
    if (FInCheckScroller || !HandleAllocated() || Destroying()) return;
    FInCheckScroller = true;
    // The platform's own scroller goes: the skinned pair takes its place.
    for (HWND h = GetWindow(Handle(), GW_CHILD); h;) {
        HWND next = GetWindow(h, GW_HWNDNEXT);
        char name[64] = {};
        GetClassName(h, name, sizeof name);
        if (std::strcmp(name, "msctls_updown32") == 0) DestroyWindow(h);
        h = next;
    }
    int n = CountTabsOff(false);
    if (n == 0 || MultiLine()) {
        RemoveUpDown();
    } else if (!FSkinUpDown && !FHideTabs) {
        auto* u = new TbsSkinUpDown(this);
        u->SetParent(this);
        u->SetUseSkinSize(true);
        u->SetBounds(0, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
        u->SetMin(0);
        u->SetMax(n);
        u->SetPosition(CountTabsOff(true));
        u->SetIncrement(1);
        u->SetSkinDataName(FIndex != -1 && !FSkin.UpDown.empty() ? FSkin.UpDown : "hupdown");
        u->SetSkinData(FSD);
        u->OnChange = [this](gui::TObject*) { UpDownChange(); };
        FSkinUpDown = u;
        u->FreeNotification(this);
    }
    if (FSkinUpDown) {
        FSkinUpDown->SetMax(n);
        PlaceUpDown();
    }
    FInCheckScroller = false;
}

void TbsSkinPageControl::UpDownChange() {
    if (!FSkinUpDown || !HandleAllocated()) return;
    SendMessage(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, FSkinUpDown->Position()), 0);
    FSkinUpDown->SetMax(CountTabsOff(false));
    Invalidate();
}

void TbsSkinPageControl::Change() {
    if (FSkinUpDown) FSkinUpDown->SetPosition(CountTabsOff(true));
    gui::TPageControl::Change();
    Invalidate();
    if (ActivePage()) ActivePage()->Invalidate();
}

void TbsSkinPageControl::UpDateTabs() {
    SetTabSize();
    if (RowCount() > 1) RemoveUpDown();
    Realign();
}

void TbsSkinPageControl::HideTabs() {
    if (FOldTabHeight != -1 || VisibleTabCount() == 0) return;
    FHideTabs = true;
    FOLdTabPosition = TabPosition();
    FOldMultiLine = MultiLine();
    if (FOLdTabPosition == gui::tpLeft || FOLdTabPosition == gui::tpRight) SetTabPosition(gui::tpTop);
    SetMultiLine(false);
    FOldTabHeight = TabHeight();
    SetTabHeight(1);
    RemoveUpDown();
    Realign();
    Invalidate();
}

void TbsSkinPageControl::ShowTabs() {
    if (FOldTabHeight == -1) return;
    SetTabPosition(FOLdTabPosition);
    SetMultiLine(FOldMultiLine);
    FHideTabs = false;
    SetTabHeight(FOldTabHeight);
    FOldTabHeight = -1;
    SetTabSize();
    if (!MultiLine()) CheckScroller();
    Realign();
    Invalidate();
}

void TbsSkinPageControl::HideBorderAndTabs() {
    SetTabPosition(gui::tpTop);
    FHideTabs = FHideBorder = true;
    RemoveUpDown();
    Realign();
    Invalidate();
}

void TbsSkinPageControl::ShowBorderAndTabs() {
    FHideBorder = FHideTabs = false;
    ShowTabs();
    Realign();
    Invalidate();
}

// --- messages ------------------------------------------------------------------------------

void TbsSkinPageControl::WndProc(gui::TMessage& m) {
    if (gui::IsNativeMouse(m.Msg) && RowShifted()) {
        int x = static_cast<int16_t>(LOWORD(m.LParam)) - RowOffset();
        m.LParam = MAKELPARAM(x, HIWORD(m.LParam));
    }
    if (m.Msg == TCM_SETITEMSIZE) {
        GetSkinData();
        m.LParam = MAKELPARAM(LOWORD(m.LParam), UsedTabHeight());
    }
    gui::TPageControl::WndProc(m);
    switch (m.Msg) {
    case TCM_ADJUSTRECT:
        if (!m.WParam && m.LParam) CorrectPageArea(*reinterpret_cast<RECT*>(m.LParam));
        break;
    case TCM_GETITEMRECT:
        if (m.Result && m.LParam) CorrectTabRect(*reinterpret_cast<RECT*>(m.LParam));
        break;
    case WM_SIZE:
        if (!MultiLine() && !Designing()) CheckScroller();
        PlaceUpDown();
        Invalidate();
        break;
    // Every new layout of the tabs may bring the platform's scroller back.
    case TCM_INSERTITEM:
    case TCM_DELETEITEM:
    case TCM_DELETEALLITEMS:
    case TCM_SETITEMSIZE:
    case TCM_SETIMAGELIST:
    case WM_SETFONT:
        if (!MultiLine()) CheckScroller();
        Invalidate();
        break;
    case WM_HSCROLL:
        Invalidate();
        break;
    case TCM_SETCURSEL: {
        gui::TCustomForm* form = gui::GetParentForm(this);
        if (!form || !form->Loading()) Invalidate();
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    default:
        break;
    }
}

void TbsSkinPageControl::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        PaintHandler(m);
        return;
    case WM_ERASEBKGND: {
        if (PageCount() > 0 && VisibleTabCount() > 0) {
            m.Result = 1;
            return;
        }
        GetSkinData();
        if (FIndex == -1) {
            gui::TWinControl::WMEraseBkgnd(m);
            return;
        }
        gui::TCanvas c;
        c.SetHandle(reinterpret_cast<HDC>(m.WParam));
        PaintSheetBackground(&c, Width(), Height());
        c.SetHandle(nullptr);
        m.Result = 1;
        return;
    }
    case WM_CHECKPARENTBG:
        if (FTabsBGTransparent) Invalidate();
        return;
    case 45513:
        m.Result = kPaintIntoAnswer;
        return;
    case gui::CM_MOUSELEAVE:
        gui::TPageControl::Dispatch(m);
        if (!FHideTabs) {
            TestActive(-1, -1, false);
            int sel = TabIndex();
            if ((FOldActiveTabIndex != -1 && FOldActiveTabIndex != sel) ||
                (FActiveTabIndex != -1 && FActiveTabIndex != sel)) {
                FActiveTabIndex = FActiveTab = -1;
                RedrawTabs();
            }
        }
        return;
    default:
        gui::TPageControl::Dispatch(m);
    }
}

} // namespace skin
