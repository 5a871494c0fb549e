#include "skin/controls/SkinOfficeComboBox.h"

#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace skin {

// --- TbsPopupOfficeListBox -----------------------------------------------------------------

TbsPopupOfficeListBox::TbsPopupOfficeListBox(TbsSkinCustomOfficeComboBox* AComboBox)
    : TbsDropDownList<TbsSkinOfficeListBox>(AComboBox), FCombo(AComboBox) {
    SetTabStop(false);
    MouseMoveChangeIndex = true;
}

void TbsPopupOfficeListBox::TrackAt(int X, int Y) {
    int i = ItemAtPos(X, Y);
    if (i >= 0 && !(*Items())[i]->Header() && i != ItemIndex()) SelectQuietly(i);
}

void TbsPopupOfficeListBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FCombo->ListPress();
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    default:
        break;
    }
    TbsDropDownList<TbsSkinOfficeListBox>::Dispatch(m);
}

// --- TbsSkinCustomOfficeComboBox -----------------------------------------------------------

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(gui::TComponent* AOwner)
    : TbsSkinDropDownComboBox(AOwner) {
    FItemTextInset = 1;
    FGrayDisabledItem = true;
    FListBox = std::make_unique<TbsPopupOfficeListBox>(this);
    FListBox->SetSkinDataName(FListBoxSkinDataName);
    FListBox->SetBounds(0, 0, 120, 150);
    TbsSkinDropDownComboBox::SetBounds(Left(), Top(), 120, 41);
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
    StopTimer();
    OnChange = OnDropDown = OnCloseUp = nullptr;
    OnClick = nullptr;
    OnDrawItem = nullptr;
    FListBox.reset();
}

void TbsSkinCustomOfficeComboBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinDropDownComboBox::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FImages) SetImages(nullptr);
}

void TbsSkinCustomOfficeComboBox::SetImages(gui::TCustomImageList* Value) {
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    if (FListBox) FListBox->Images = Value;
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetListBoxSkinDataName(const std::string& Value) {
    FListBoxSkinDataName = Value;
    FListBox->SetSkinDataName(Value);
    FListBox->Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetShowItemTitle(bool Value) {
    if (Value == FShowItemTitle) return;
    FShowItemTitle = Value;
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetShowItemImage(bool Value) {
    if (Value == FShowItemImage) return;
    FShowItemImage = Value;
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetShowItemText(bool Value) {
    if (Value == FShowItemText) return;
    FShowItemText = Value;
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetDefaultColor(gui::TColor Value) {
    FDefaultColor = Value;
    if (FIndex == -1) Invalidate();
}

// --- selection -----------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    FOldItemIndex = FListBox->ItemIndex();
    Invalidate();
    // No comparison with the old index: every set is a choice.
    if (!Loading() && !Designing()) {
        Chosen();
    }
}

void TbsSkinCustomOfficeComboBox::Change() {
    if (OnChange) OnChange(this);
}

// --- the list ------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::DropDown() {
    if (Items()->Count() == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) OnDropDown(this);
    int listWidth = ListBoxWidth > 0 ? ListBoxWidth : Width();
    FListBox->HandleNeeded();
    FListBox->OnDrawItem = OnDrawItem;
    FOldItemIndex = FListBox->ItemIndex();
    FDropDown = true;
    Invalidate();
    FListBox->SetSkinData(FSD);
    int listHeight = FListBox->Height();
    if (ListBoxHeight > 0)
        listHeight = ListBoxHeight;
    else if (FDropDownCount > 0)
        listHeight = FListBox->CalcHeight(FDropDownCount);
    FListBox->SetBounds(FListBox->Left(), FListBox->Top(), listWidth, listHeight);
    // Right edges line up.
    gui::TPoint origin = ClientToScreen({Width() - listWidth, Height()});
    gui::TRect work{};
    GetMonitorArea(Handle(), true, work);
    // Near the bottom of the work area the list opens above.
    if (origin.y + listHeight > work.bottom) origin.y -= Height() + listHeight;
    if (FOldItemIndex >= 0) FListBox->ScrollToItem(FOldItemIndex);
    FListBox->Show(origin);
    // The combo box holds the mouse while the list is open: a press anywhere reaches it.
    SetMouseCapture(true);
}

void TbsSkinCustomOfficeComboBox::CloseUp(bool Accept) {
    StopTimer();
    if (!IsPopupVisible()) return;
    FListBox->Hide();
    if (MouseCapture()) SetMouseCapture(false);
    FLBDown = false;
    int index = FListBox->ItemIndex();
    if (index >= 0 && index < Items()->Count() && Accept) {
        FOldItemIndex = index;
        Invalidate();
        Chosen();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    ClosedUp(Accept);
}

bool TbsSkinCustomOfficeComboBox::OverList(gui::TPoint Screen) const {
    return IsPopupVisible() && WindowFromPoint(Screen) == FListBox->Handle();
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinDropDownComboBox::MouseMove(Shift, X, Y);
    bool over = Inside(Button.R, X, Y) || Inside(CBItem, X, Y);
    if (over != Button.MouseIn) {
        Button.MouseIn = over;
        Invalidate();
    }
    if (!IsPopupVisible()) return;
    // Hot tracking in the list, and scrolling it while the mouse is past its ends.
    gui::TPoint p = FListBox->ScreenToClient(ClientToScreen({X, Y}));
    if (p.y >= 0 && p.y < FListBox->Height()) {
        if (p.x < 0 || p.x >= FListBox->Width()) return;
        StopTimer();
        FListBox->TrackAt(p.x, p.y);
        if (FLBDown) WasInLB = true;
    } else if (WasInLB && FListBox->ScrollBar()) {
        int mode = p.y < 0 ? 1 : 2;
        if (mode != TimerMode) {
            TimerMode = mode;
            SetTimer(Handle(), kScrollTimer, kScrollInterval, nullptr);
        }
    }
}

void TbsSkinCustomOfficeComboBox::CMMouseEnter(gui::TMessage& m) {
    TbsSkinDropDownComboBox::CMMouseEnter(m);
    FMouseIn = true;
    if (FToolButtonStyle || (FIndex != -1 && !Empty(ActiveSkinRect))) Invalidate();
}

void TbsSkinCustomOfficeComboBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinDropDownComboBox::CMMouseLeave(m);
    FMouseIn = false;
    if (Button.MouseIn) Button.MouseIn = false;
    Invalidate();
}

// --- keys ----------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsSkinDropDownComboBox::KeyDown(Key, Shift);
    bool alt = Shift & gui::ssAlt;
    // The list moves first; the combo box then takes its index as a choice, moved or not.
    switch (Key) {
    case VK_RETURN:
        if (IsPopupVisible()) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible()) CloseUp(false);
        break;
    case VK_PRIOR:
        FListBox->FindPageUp();
        SetItemIndex(FListBox->ItemIndex());
        break;
    case VK_NEXT:
        FListBox->FindPageDown();
        SetItemIndex(FListBox->ItemIndex());
        break;
    case VK_LEFT:
    case VK_UP:
        if (alt) {
            if (IsPopupVisible()) CloseUp(false);
        } else {
            FListBox->FindUp();
            SetItemIndex(FListBox->ItemIndex());
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (alt) {
            if (!IsPopupVisible()) DropDown();
        } else {
            FListBox->FindDown();
            SetItemIndex(FListBox->ItemIndex());
        }
        break;
    default:
        break;
    }
}

bool TbsSkinCustomOfficeComboBox::DoMouseWheel(gui::TShiftState Shift, int WheelDelta, gui::TPoint MousePos) {
    TbsSkinDropDownComboBox::DoMouseWheel(Shift, WheelDelta, MousePos);
    if (WheelDelta > 0)
        FListBox->FindUp();
    else
        FListBox->FindDown();
    if (!IsPopupVisible()) SetItemIndex(FListBox->ItemIndex());
    return true;
}

void TbsSkinCustomOfficeComboBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kScrollTimer) {
            if (TimerMode == 1) FListBox->FindUp();
            if (TimerMode == 2) FListBox->FindDown();
            return;
        }
        break;
    case WM_KILLFOCUS:
        if (IsPopupVisible()) CloseUp(false);
        Invalidate();
        break;
    case WM_SETFOCUS:
    case gui::CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case gui::CM_CANCELMODE: {
        auto* c = reinterpret_cast<gui::TControl*>(m.LParam);
        if (IsPopupVisible() && c != this && c != FListBox.get() && c != FListBox->ScrollBar())
            CloseUp(false);
        break;
    }
    default:
        break;
    }
    TbsSkinDropDownComboBox::Dispatch(m);
}

// --- skin and size -------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::GetSkinData() {
    TbsSkinDropDownComboBox::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinComboBox*>(Descriptor());
    if (!d || FIndex == -1 || !Picture) return;
    ItemStretchEffect = d->ItemStretchEffect;
    FocusItemStretchEffect = d->FocusItemStretchEffect;
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinDropDownComboBox::ChangeSkinData();
    CalcRects();
    Invalidate();
    if (FListBox) {
        // The name stays ours: a skin without our entry does not lose it for the next skin.
        FListBox->SetSkinDataName(FIndex == -1 ? "" : FListBoxSkinDataName);
        FListBox->SetSkinData(FSD);
    }
    CalcRects();
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::DrawItemText(gui::TCanvas* C, gui::TRect R, bool WithTitle) {
    int index = IsPopupVisible() ? FOldItemIndex : ItemIndex();
    if (FPaintingTo) {
        C->Brush()->SetStyle(gui::bsClear);
        TextOutVCenterOffset(C, FPaintText, R, 2);
        return;
    }
    if (index < 0 || index >= Items()->Count()) return;
    const TbsSkinOfficeItem& item = *(*Items())[index];
    C->Brush()->SetStyle(gui::bsClear);
    if (OnDrawItem) {
        OnDrawItem(C, index, R);
        return;
    }
    if (FShowItemText && FShowItemTitle && WithTitle && !item.Title().empty()) {
        uint8_t style = C->Font()->Style();
        C->Font()->SetStyle(style | gui::fsBold);
        int th = C->TextHeight(item.Title());
        gui::TRect t{R.left, R.top, R.right, R.top + th};
        DrawWideText(C, item.Title(), t, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        C->Font()->SetStyle(style);
        R.top = R.top + th - 2;
    }
    if (FShowItemImage) {
        DrawImageAndTextLeft(C, R, 0, 2, TbsButtonLayout::blGlyphLeft, FShowItemText ? item.Caption() : "",
                             item.ImageIndex(), FImages, false, Enabled(), false, 0);
    } else if (FShowItemText) {
        gui::TRect t{R.left + 2, R.top, R.right, R.bottom};
        DrawWideText(C, item.Caption(), t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

} // namespace skin
