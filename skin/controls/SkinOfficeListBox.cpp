#include "skin/controls/SkinOfficeListBox.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"

#include <algorithm>

namespace skin {

// --- items ---------------------------------------------------------------------------------

void TbsSkinOfficeItem::Changed() {
    if (FOwner) FOwner->ItemsChanged();
}

void TbsSkinOfficeItem::SetTitle(const std::string& Value) {
    FTitle = Value;
    Changed();
}

void TbsSkinOfficeItem::SetCaption(const std::string& Value) {
    FCaption = Value;
    Changed();
}

void TbsSkinOfficeItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed();
}

void TbsSkinOfficeItem::SetEnabled(bool Value) {
    FEnabled = Value;
    Changed();
}

void TbsSkinOfficeItem::SetHeader(bool Value) {
    FHeader = Value;
    Changed();
}

void TbsSkinOfficeItem::Assign(const TbsSkinOfficeItem& s) {
    FImageIndex = s.FImageIndex;
    FCaption = s.FCaption;
    FTitle = s.FTitle;
    FEnabled = s.FEnabled;
    FHeader = s.FHeader;
    Changed();
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Add() {
    return Insert(Count());
}

TbsSkinOfficeItem* TbsSkinOfficeItems::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto item = std::make_unique<TbsSkinOfficeItem>(OfficeListBox);
    item->Active = Index == OfficeListBox->ItemIndex();
    TbsSkinOfficeItem* r = item.get();
    FItems.insert(FItems.begin() + Index, std::move(item));
    OfficeListBox->ItemsChanged();
    return r;
}

void TbsSkinOfficeItems::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FItems.erase(FItems.begin() + Index);
    OfficeListBox->ItemsChanged();
}

void TbsSkinOfficeItems::Clear() {
    FItems.clear();
    OfficeListBox->ItemsChanged();
}

void TbsSkinOfficeItems::Assign(const TbsSkinOfficeItems& Source) {
    FItems.clear();
    for (int i = 0; i < Source.Count(); ++i) Add()->Assign(*Source[i]);
    OfficeListBox->ItemsChanged();
}

// --- list box ------------------------------------------------------------------------------

TbsSkinOfficeListBox::TbsSkinOfficeListBox(gui::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FItems(std::make_unique<TbsSkinOfficeItems>(this)) {
    ControlStyle |= gui::csAcceptsControls;
    FSkinDataName = "listbox";
    SetTabStop(true);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 150, 150);
}

TbsSkinOfficeListBox::~TbsSkinOfficeListBox() {
    OnItemClick = nullptr;
    FScrollBar.reset();
}

void TbsSkinOfficeListBox::ItemsChanged() {
    Invalidate();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::SetShowItemTitles(bool Value) {
    if (Value == FShowItemTitles) return;
    FShowItemTitles = Value;
    Invalidate();
}

void TbsSkinOfficeListBox::SetItemHeight(int Value) {
    if (Value == FItemHeight || Value < 1) return;
    FItemHeight = Value;
    ItemsChanged();
}

void TbsSkinOfficeListBox::SetHeaderHeight(int Value) {
    if (Value == FHeaderHeight || Value < 1) return;
    FHeaderHeight = Value;
    ItemsChanged();
}

void TbsSkinOfficeListBox::SetShowLines(bool Value) {
    if (Value == FShowLines) return;
    FShowLines = Value;
    Invalidate();
}

gui::TRect TbsSkinOfficeListBox::AreaRect() {
    GetSkinData();
    if (FIndex == -1) return {2, 2, Width() - 2, Height() - 2};
    int w = Width(), h = Height();
    Adjust(w, h);
    return ToGuiRect(NewClRect);
}

void TbsSkinOfficeListBox::CalcItemRects() {
    FRealMax = 0;
    FItemsRect = AreaRect();
    if (FScrollBar) FItemsRect.right -= FScrollBar->Width();
    int top = FItemsRect.top;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsSkinOfficeItem* item = (*FItems)[i];
        int h = item->Header() ? FHeaderHeight : FItemHeight;
        item->ItemRect = {FItemsRect.left, top - FScrollOffset, FItemsRect.right, top + h - FScrollOffset};
        const gui::TRect& r = item->ItemRect;
        auto within = [&](int y) { return y >= FItemsRect.top && y <= FItemsRect.bottom; };
        item->IsVisible =
            within(r.top) || within(r.bottom) || (r.top <= FItemsRect.top && r.bottom >= FItemsRect.bottom);
        if (item->IsVisible) FRealMax = r.bottom;
        top += h;
    }
    FMax = top;
}

int TbsSkinOfficeListBox::ItemAtPos(int X, int Y) {
    CalcItemRects();
    for (int i = 0; i < FItems->Count(); ++i) {
        const TbsSkinOfficeItem* item = (*FItems)[i];
        const gui::TRect& r = item->ItemRect;
        if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom) return item->Enabled() ? i : -1;
    }
    return -1;
}

int TbsSkinOfficeListBox::CalcHeight(int Count) {
    Count = std::min(Count, FItems->Count());
    GetSkinData();
    if (FIndex == -1) return Count * FItemHeight + 5;
    return Count * FItemHeight + (Height() - gui::RectHeight(AreaRect())) + 1;
}

// --- scrolling -----------------------------------------------------------------------------

void TbsSkinOfficeListBox::GetScrollInfo(int& Min, int& Max, int& Pos, int& Page) {
    CalcItemRects();
    Min = 0;
    Max = FMax - FItemsRect.top;
    Page = gui::RectHeight(FItemsRect);
    if (Page >= Max) Max = Page = 0;
    Pos = FScrollOffset;
}

void TbsSkinOfficeListBox::UpdateScrollInfo() {
    int min, max, pos, page;
    // Measured without the bar: whether it is needed does not depend on its own width.
    GetScrollInfo(min, max, pos, page);
    if (max != 0) {
        if (!FScrollBar) {
            FScrollBar = std::make_unique<TbsSkinScrollBar>(nullptr);
            FScrollBar->SetVisible(false);
            FScrollBar->SetDefaultHeight(0);
            FScrollBar->SetDefaultWidth(19);
            FScrollBar->SetKind(TScrollBarKind::sbVertical);
            FScrollBar->SetSkinDataName("vscrollbar");
            FScrollBar->SetSkinData(FSD);
            FScrollBar->SetParent(this);
            FScrollBar->OnChange = [this](gui::TObject*) { Scroll(FScrollBar->Position()); };
            AdjustScrollBar();
            FScrollBar->SetVisible(true);
            Invalidate();
        }
        FScrollBar->SetSmallChange(FItemHeight);
        FScrollBar->SetRange(min, max, page, pos);
        FScrollBar->SetLargeChange(page);
    } else if (FScrollBar) {
        FScrollBar.reset();
        Invalidate();
    }
}

void TbsSkinOfficeListBox::AdjustScrollBar() {
    if (!FScrollBar) return;
    gui::TRect r = AreaRect();
    int w = FScrollBar->Width();
    FScrollBar->SetBounds(r.right - w, r.top, w, gui::RectHeight(r));
}

void TbsSkinOfficeListBox::Scroll(int Offset) {
    FScrollOffset = std::max(0, Offset);
    Invalidate();
    UpdateScrollInfo();
}

void TbsSkinOfficeListBox::ScrollToItem(int Index) {
    if (Index < 0 || Index >= FItems->Count()) return;
    CalcItemRects();
    gui::TRect r = (*FItems)[Index]->ItemRect;
    int contentTop = r.top + FScrollOffset, contentBottom = r.bottom + FScrollOffset;
    if (r.top <= FItemsRect.top) {
        FScrollOffset = (Index == 1 && (*FItems)[0]->Header()) ? 0 : contentTop - FItemsRect.top;
        CalcItemRects();
        Invalidate();
    } else if (r.bottom >= FItemsRect.bottom) {
        FScrollOffset = std::max(0, contentBottom + FItemsRect.top - Height() + 1);
        CalcItemRects();
        Invalidate();
    }
    UpdateScrollInfo();
}

// --- selection -----------------------------------------------------------------------------

bool TbsSkinOfficeListBox::Selectable(int Index) const {
    if (Index < 0 || Index >= FItems->Count()) return false;
    const TbsSkinOfficeItem* item = (*FItems)[Index];
    return item->Enabled() && !item->Header();
}

void TbsSkinOfficeListBox::SelectQuietly(int Index) {
    FItemIndex = Index;
    for (int i = 0; i < FItems->Count(); ++i) (*FItems)[i]->Active = i == Index;
    Invalidate();
    ScrollToItem(Index);
}

void TbsSkinOfficeListBox::SetItemIndex(int Value) {
    // Beyond the items there is nothing to select.
    if (Value >= FItems->Count()) return;
    if (Value < 0) {
        // No selection: nothing stays highlighted.
        FItemIndex = -1;
        for (int i = 0; i < FItems->Count(); ++i) (*FItems)[i]->Active = false;
        Invalidate();
        return;
    }
    SelectQuietly(Value);
    if (Designing()) return;
    TbsSkinOfficeItem* item = (*FItems)[Value];
    if (item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
}

void TbsSkinOfficeListBox::FindUp() {
    for (int i = FItemIndex - 1; FItemIndex > 0 && i >= 0; --i)
        if (Selectable(i)) return SetItemIndex(i);
}

void TbsSkinOfficeListBox::FindDown() {
    for (int i = FItemIndex < 0 ? 0 : FItemIndex + 1; i < FItems->Count(); ++i)
        if (Selectable(i)) return SetItemIndex(i);
}

void TbsSkinOfficeListBox::FindPageUp() {
    if (FItemIndex <= 0) return;
    CalcItemRects();
    int page = std::max(1, gui::RectHeight(FItemsRect) / FItemHeight);
    int found = -1;
    bool passedHeader = false;
    for (int i = FItemIndex - 1; i >= std::max(0, FItemIndex - page); --i) {
        if ((*FItems)[i]->Header()) passedHeader = true;
        if (!Selectable(i)) continue;
        found = i;
        if (passedHeader) break;
    }
    if (found >= 0) SetItemIndex(found);
}

void TbsSkinOfficeListBox::FindPageDown() {
    int start = FItemIndex < 0 ? 0 : FItemIndex + 1;
    int n = FItems->Count();
    if (start >= n) return;
    CalcItemRects();
    int page = std::max(1, gui::RectHeight(FItemsRect) / FItemHeight);
    int found = -1;
    bool passedHeader = false;
    for (int i = start; i <= std::min(n - 1, start - 1 + page); ++i) {
        if ((*FItems)[i]->Header()) passedHeader = true;
        if (!Selectable(i)) continue;
        found = i;
        if (passedHeader) break;
    }
    if (found >= 0) SetItemIndex(found);
}

// --- input ---------------------------------------------------------------------------------

void TbsSkinOfficeListBox::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (!Focused() && CanFocus() && !Designing()) SetFocus();
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    int i = ItemAtPos(X, Y);
    if (!Selectable(i)) return;
    SelectQuietly(i);
    FMouseDown = true;
    FMouseActive = i;
}

void TbsSkinOfficeListBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (!FMouseDown && !MouseMoveChangeIndex) return;
    int i = ItemAtPos(X, Y);
    if (Selectable(i) && i != FMouseActive) {
        SelectQuietly(i);
        FMouseActive = i;
    }
}

void TbsSkinOfficeListBox::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    bool pressed = FMouseDown;
    FMouseDown = false;
    int i = ItemAtPos(X, Y);
    if (pressed && Selectable(i)) SetItemIndex(i);
}

void TbsSkinOfficeListBox::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_NEXT:
        FindPageDown();
        break;
    case VK_PRIOR:
        FindPageUp();
        break;
    case VK_UP:
    case VK_LEFT:
        FindUp();
        break;
    case VK_DOWN:
    case VK_RIGHT:
        FindDown();
        break;
    default:
        break;
    }
}

bool TbsSkinOfficeListBox::DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) {
    TbsSkinCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
    if (FScrollBar)
        FScrollBar->SetPosition(FScrollBar->Position() +
                                (WheelDelta < 0 ? FScrollBar->SmallChange() : -FScrollBar->SmallChange()));
    return true;
}

void TbsSkinOfficeListBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        if (FOldHeight != -1 && FOldHeight != Height()) {
            CalcItemRects();
            if (FItemsRect.bottom >= FRealMax && FScrollOffset > 0) {
                FScrollOffset = std::max(0, FScrollOffset - (FItemsRect.bottom - FRealMax));
                CalcItemRects();
                Invalidate();
            }
        }
        AdjustScrollBar();
        UpdateScrollInfo();
        FOldHeight = Height();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case gui::CM_WANTSPECIALKEY:
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) {
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

void TbsSkinOfficeListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    if (FScrollBar) {
        FScrollBar->SetSkinData(FSD);
        AdjustScrollBar();
    }
    CalcItemRects();
    UpdateScrollInfo();
    Invalidate();
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinOfficeListBox::DrawContent(gui::TCanvas* C, const TbsSkinOfficeItem& Item, gui::TRect R) {
    C->Brush()->SetStyle(gui::bsClear);
    if (!Item.Title().empty() && FShowItemTitles) {
        uint8_t style = C->Font()->Style();
        C->Font()->SetStyle(style | gui::fsBold);
        int th = C->TextHeight(Item.Title());
        gui::TRect t{R.left, R.top, R.right, R.top + th};
        C->TextRect(t, t.left, t.top, Item.Title());
        C->Font()->SetStyle(style);
        R.top = t.bottom;
    }
    if (Images && Item.ImageIndex() >= 0 && Item.ImageIndex() < Images->Count()) {
        DrawImageAndText(C, R, 0, 2, TbsButtonLayout::blGlyphLeft, Item.Caption(), Item.ImageIndex(), Images,
                         false, Item.Enabled(), false, 0);
        return;
    }
    if (FShowItemTitles) R.left += 10;
    gui::TRect m = R;
    DrawWideText(C, Item.Caption(), m, DT_CALCRECT | DT_WORDBREAK);
    int top = std::max(R.top, R.top + (gui::RectHeight(R) - gui::RectHeight(m)) / 2);
    gui::TRect d{R.left, top, R.right, R.bottom};
    DrawWideText(C, Item.Caption(), d, DT_WORDBREAK | DT_EXPANDTABS);
}

void TbsSkinOfficeListBox::DrawItem(int Index, gui::TCanvas* C, bool Skinned) {
    const TbsSkinOfficeItem& item = *(*FItems)[Index];
    const gui::TRect& r = item.ItemRect;
    int w = gui::RectWidth(r), h = gui::RectHeight(r);
    if (w <= 0 || h <= 0) return;
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* c = b.Canvas();
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    gui::TColor fill = gui::clWindow, text = item.Enabled() ? gui::clWindowText : gui::clGray;
    if (item.Header()) {
        fill = gui::clBtnShadow;
        text = gui::clBtnHighlight;
    } else if (item.Active) {
        fill = gui::clHighlight;
        text = gui::clHighlightText;
    }
    // Items other than headers draw from the "listbox" entry whatever this list's name is.
    TbsDataSkinListBox* d = nullptr;
    gui::TBitmap* itemPicture = nullptr;
    if (Skinned && FSD) {
        int li = FSD->GetControlIndex("listbox");
        d = li >= 0 ? dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[static_cast<size_t>(li)].get())
                    : nullptr;
        itemPicture = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
    }
    bool drawn = false;
    if (Skinned && item.Header()) {
        if (!DrawSkinHeader(c, item, w, h)) return; // no header entry: nothing drawn
        C->Draw(r.left, r.top, &b);
        return;
    }
    if (d && itemPicture) {
        if (UseSkinFont) {
            c->Font()->SetName(d->FontName);
            c->Font()->SetHeight(d->FontHeight);
            c->Font()->SetStyle(d->FontStyle);
        }
        bool own = FSkinDataName == "listbox" || FSkinDataName == "memo";
        text = !item.Enabled() ? DisabledFontColor() : own ? d->FontColor : FSD->SkinColors().cBtnText();
        if (item.Active && item.Enabled()) {
            TRect src = Focused() ? d->FocusItemRect : d->ActiveItemRect;
            if (src.Width() <= 0) src = d->SItemRect;
            // Nine parts around the text rectangle: an item taller than the skin's row keeps its edges.
            TRect client = d->ItemTextRect;
            if (client.Width() > 2 && client.Height() > 2)
                client = {client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1};
            BuildImageByClientRect(&b, itemPicture, src, client, true);
            text = Focused() ? d->FocusFontColor : d->ActiveFontColor;
            drawn = true;
        } else {
            c->CopyRect({0, 0, w, h}, C, r); // the list's own skin under the item
            drawn = true;
        }
    } else if (Skinned) {
        return; // no "listbox" entry: the item is not drawn
    }
    if (!drawn) {
        c->Brush()->SetColor(fill);
        c->FillRect({0, 0, w, h});
    }
    c->Font()->SetColor(text);
    gui::TRect inner{2, 2, w - 2, h - 2};
    if (item.Header()) {
        c->Brush()->SetStyle(gui::bsClear);
        gui::TRect t = inner;
        DrawWideText(c, item.Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else if (OnDrawItem) {
        OnDrawItem(c, Index, inner);
    } else {
        DrawContent(c, item, inner);
    }
    if (FShowLines && !item.Header()) {
        c->Pen()->SetColor(Skinned && FSD ? FSD->SkinColors().cBtnShadow() : gui::clBtnFace);
        c->MoveTo(0, h - 1);
        c->LineTo(w, h - 1);
    }
    if (!Skinned && item.Active && Focused()) c->DrawFocusRect({0, 0, w, h});
    C->Draw(r.left, r.top, &b);
}

// The disabled colour of skinned items: the skin's edit entry's, else its button shadow.
gui::TColor TbsSkinOfficeListBox::DisabledFontColor() const {
    int ei = FSD->GetControlIndex("edit");
    auto* e = ei >= 0 ? dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[static_cast<size_t>(ei)].get())
                      : nullptr;
    gui::TColor c = e ? e->DisabledFontColor : FSD->SkinColors().cBtnShadow();
    // Black on black would hide the text.
    int li = FSD->GetControlIndex("listbox");
    auto* d =
        li >= 0 ? dynamic_cast<TbsDataSkinListBox*>(FSD->CtrlList[static_cast<size_t>(li)].get()) : nullptr;
    if (d && d->FontColor == 0 && c == 0) c = gui::clGray;
    return c;
}

// A header row from the "menuheader" entry, else the "label" one; false when the skin has neither.
bool TbsSkinOfficeListBox::DrawSkinHeader(gui::TCanvas* C, const TbsSkinOfficeItem& Item, int W, int H) {
    TbsDataSkinCustomControl* d = nullptr;
    for (const char* name : {"menuheader", "label"}) {
        int i = FSD ? FSD->GetControlIndex(name) : -1;
        if (i >= 0) d = dynamic_cast<TbsDataSkinCustomControl*>(FSD->CtrlList[static_cast<size_t>(i)].get());
        if (d) break;
    }
    gui::TBitmap* picture = d ? SkinPictureAt(*FSD, d->PictureIndex) : nullptr;
    if (!picture || d->SkinRect.Width() <= 0 || d->SkinRect.Height() <= 0) return false;
    gui::TBitmap image;
    image.SetSize(W, H);
    BuildImageByClientRect(&image, picture, d->SkinRect, d->ClRect, true);
    C->Draw(0, 0, &image);
    if (auto* f = dynamic_cast<TbsDataSkinLabelControl*>(d)) {
        C->Font()->SetName(f->FontName);
        C->Font()->SetHeight(f->FontHeight);
        C->Font()->SetStyle(f->FontStyle);
        C->Font()->SetColor(f->FontColor);
    }
    ApplyCharset(C->Font(), DefaultFont());
    C->Brush()->SetStyle(gui::bsClear);
    gui::TRect t{1, 1, W - 1, H - 1};
    DrawWideText(C, Item.Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return true;
}

void TbsSkinOfficeListBox::DrawItems(gui::TCanvas* C, bool Skinned) {
    CalcItemRects();
    HDC dc = C->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, FItemsRect.left, FItemsRect.top, FItemsRect.right, FItemsRect.bottom);
    for (int i = 0; i < FItems->Count(); ++i)
        if ((*FItems)[i]->IsVisible) DrawItem(i, C, Skinned);
    RestoreDC(dc, saved);
}

void TbsSkinOfficeListBox::CreateControlDefaultImage(gui::TBitmap* B) {
    gui::TCanvas* c = B->Canvas();
    c->Brush()->SetColor(gui::clWindow);
    c->FillRect({0, 0, Width(), Height()});
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect({0, 0, Width(), Height()});
    DrawItems(c, false);
}

void TbsSkinOfficeListBox::CreateControlSkinImage(gui::TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    DrawItems(B->Canvas(), true);
}

} // namespace skin
