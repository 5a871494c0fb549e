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

namespace {

constexpr uintptr_t kScrollTimer = 1;
constexpr UINT kScrollInterval = 25;

bool Empty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

// --- TbsPopupOfficeListBox -----------------------------------------------------------------

TbsPopupOfficeListBox::TbsPopupOfficeListBox(TbsSkinCustomOfficeComboBox* AComboBox)
    : TbsSkinOfficeListBox(nullptr), FComboBox(AComboBox) {
    SetVisible(false);
    SetTabStop(false);
    MouseMoveChangeIndex = true;
}

void TbsPopupOfficeListBox::CreateParams(gui::TCreateParams& p) {
    TbsSkinOfficeListBox::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WndParent = FComboBox->HandleAllocated() ? GetAncestor(FComboBox->Handle(), GA_ROOT) : nullptr;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void TbsPopupOfficeListBox::Show(gui::TPoint Origin) {
    HandleNeeded();
    const TbsSkinCustomOfficeComboBox& c = *FComboBox;
    FFade.Prepare(Handle(), c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
    SetBounds(Origin.x, Origin.y, Width(), Height());
    SetWindowPos(Handle(), HWND_TOPMOST, Origin.x, Origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    FShown = true;
    FFade.Start(Handle(), c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
}

void TbsPopupOfficeListBox::Hide() {
    if (HandleAllocated()) {
        FFade.Stop(Handle());
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_HIDEWINDOW);
    }
    SetVisible(false);
    FShown = false;
}

void TbsPopupOfficeListBox::TrackAt(int X, int Y) {
    int i = ItemAtPos(X, Y);
    if (i >= 0 && !(*Items())[i]->Header() && i != ItemIndex()) SelectQuietly(i);
}

void TbsPopupOfficeListBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        // A drop-down never takes the focus from its combo box.
        m.Result = MA_NOACTIVATE;
        return;
    case WM_TIMER:
        if (FFade.Timer(Handle(), m.WParam)) return;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FComboBox->ListPress();
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
    TbsSkinOfficeListBox::Dispatch(m);
}

// --- TbsSkinCustomOfficeComboBox -----------------------------------------------------------

TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox(gui::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner) {
    ControlStyle |= gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque;
    // OnClick reports a choice, never a plain click on the box.
    ControlStyle &= ~gui::csClickEvents;
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(gui::clWindowText);
    FSkinDataName = "combobox";
    SetTabStop(true);
    FListBox = std::make_unique<TbsPopupOfficeListBox>(this);
    FListBox->SetSkinDataName(FListBoxSkinDataName);
    FListBox->SetBounds(0, 0, 120, 150);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 41);
}

TbsSkinCustomOfficeComboBox::~TbsSkinCustomOfficeComboBox() {
    StopTimer();
    OnChange = OnDropDown = OnCloseUp = nullptr;
    OnClick = nullptr;
    OnDrawItem = nullptr;
    FListBox.reset();
}

void TbsSkinCustomOfficeComboBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
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

void TbsSkinCustomOfficeComboBox::SetToolButtonStyle(bool Value) {
    FToolButtonStyle = Value;
    if (Value) FUseSkinSize = false;
    CalcRects();
    UpdateMaskRegion();
    Invalidate();
}

void TbsSkinCustomOfficeComboBox::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FSD) ChangeSkinData();
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
        if (OnClick) OnClick(this);
        Change();
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
        if (OnClick) OnClick(this);
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Invalidate();
    if (Accept && OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomOfficeComboBox::ListPress() {
    FLBDown = WasInLB = true;
    SetMouseCapture(true);
}

bool TbsSkinCustomOfficeComboBox::OverList(gui::TPoint Screen) const {
    return IsPopupVisible() && WindowFromPoint(Screen) == FListBox->Handle();
}

// The combo box holds the mouse while its list is open, so a press on the list's own bar is
// handed to the bar; the mouse comes back to the combo box when the bar lets it go.
bool TbsSkinCustomOfficeComboBox::PressOnListBar(gui::TPoint Screen) {
    TbsSkinScrollBar* bar = FListBox->ScrollBar();
    if (!IsPopupVisible() || !bar || !bar->HandleAllocated() || WindowFromPoint(Screen) != bar->Handle())
        return false;
    if (FHookedBar != bar) {
        gui::TWndMethod previous = bar->WindowProc;
        bar->WindowProc = [this, previous](gui::TMessage& m) {
            auto* combo = this;
            bool release = m.Msg == WM_LBUTTONUP;
            previous(m);
            if (release && combo->IsPopupVisible() && !combo->MouseCapture()) combo->SetMouseCapture(true);
        };
        FHookedBar = bar;
    }
    SetMouseCapture(false);
    gui::TPoint p = bar->ScreenToClient(Screen);
    SendMessage(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    return true;
}

void TbsSkinCustomOfficeComboBox::StopTimer() {
    if (TimerMode != 0 && HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::MouseDown(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
    if (!Focused() && CanFocus()) SetFocus();
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (Btn != gui::mbLeft) return;
    if (PressOnListBar(ClientToScreen({X, Y}))) return;
    if (OverList(ClientToScreen({X, Y}))) {
        ListPress();
        return;
    }
    // The item area counts as part of the button.
    if (FToolButtonStyle || Button.MouseIn || Inside(CBItem, X, Y) || Inside(Button.R, X, Y)) {
        Button.Down = true;
        Invalidate();
        if (!IsPopupVisible()) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else {
            CloseUp(false);
        }
    } else if (IsPopupVisible()) {
        CloseUp(false);
    }
}

void TbsSkinCustomOfficeComboBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
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

void TbsSkinCustomOfficeComboBox::MouseUp(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        FLBDown = false;
        CloseUp(OverList(ClientToScreen({X, Y})));
    } else {
        FLBDown = false;
    }
    if (Button.Down) {
        Button.Down = false;
        Invalidate();
    }
    TbsSkinCustomControl::MouseUp(Btn, Shift, X, Y);
    // The release gave up the mouse; the open list keeps it.
    if (IsPopupVisible() && !MouseCapture()) SetMouseCapture(true);
}

void TbsSkinCustomOfficeComboBox::CMMouseEnter(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseEnter(m);
    FMouseIn = true;
    if (FToolButtonStyle || (FIndex != -1 && !Empty(ActiveSkinRect))) Invalidate();
}

void TbsSkinCustomOfficeComboBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    FMouseIn = false;
    if (Button.MouseIn) Button.MouseIn = false;
    Invalidate();
}

// --- keys ----------------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
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
    TbsSkinCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
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
    case gui::CM_WANTSPECIALKEY:
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN ||
            (IsPopupVisible() && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE))) {
            m.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TbsSkinCustomControl::Dispatch(m);
}

// --- skin and size -------------------------------------------------------------------------

void TbsSkinCustomOfficeComboBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinComboBox*>(Descriptor());
    if (!d || FIndex == -1 || !Picture) {
        if (!Picture) FIndex = -1;
        CalcRects();
        return;
    }
    ActiveSkinRect = d->ActiveSkinRect;
    SItemRect = d->SItemRect;
    ActiveItemRect = d->ActiveItemRect;
    FocusItemRect = Empty(d->FocusItemRect) ? d->SItemRect : d->FocusItemRect;
    ItemLeftOffset = d->ItemLeftOffset;
    ItemRightOffset = d->ItemRightOffset;
    ItemTextRect = d->ItemTextRect;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    FocusFontColor = d->FocusFontColor;
    ActiveFontColor = d->ActiveFontColor;
    SkinButtonRect = d->ButtonRect;
    ActiveButtonRect = d->ActiveButtonRect;
    DownButtonRect = Empty(d->DownButtonRect) ? d->ActiveButtonRect : d->DownButtonRect;
    UnEnabledButtonRect = d->UnEnabledButtonRect;
    ItemStretchEffect = d->ItemStretchEffect;
    FocusItemStretchEffect = d->FocusItemStretchEffect;
    ShowFocus = d->ShowFocus;
    CalcRects();
}

void TbsSkinCustomOfficeComboBox::CalcRects() {
    int W = Width(), H = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = {W - 19, 2, W - 2, H - 2};
        CBItem = {2, 2, Button.R.left - 1, H - 2};
        return;
    }
    int dW = W - SkinRect.Width();
    Button.R = ToGuiRect(SkinButtonRect);
    if (SkinButtonRect.Left >= RTPt.X) {
        Button.R.left += dW;
        Button.R.right += dW;
    }
    CBItem = ToGuiRect(ClRect);
    CBItem.right += dW;
    if (!FUseSkinSize) {
        int dH = H - SkinRect.Height();
        Button.R.bottom += dH;
        CBItem.bottom += dH;
    }
}

// Without the skin's size the control takes any size and no mask.
void TbsSkinCustomOfficeComboBox::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
        return;
    }
    int w = AWidth, h = AHeight;
    Adjust(w, h);
}

void TbsSkinCustomOfficeComboBox::UpdateMaskRegion() {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::UpdateMaskRegion();
        return;
    }
    if (FRgnSet && HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    FRgnSet = false;
}

void TbsSkinCustomOfficeComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
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

void TbsSkinCustomOfficeComboBox::DrawItemContent(gui::TCanvas* C, gui::TRect R, bool WithTitle) {
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

void TbsSkinCustomOfficeComboBox::DrawItemArea(gui::TCanvas* C) {
    int w = gui::RectWidth(CBItem), h = gui::RectHeight(CBItem);
    if (w <= 0 || h <= 0) return;
    bool focused = Focused() && !IsPopupVisible();
    gui::TBitmap b;
    gui::TRect text{2, 0, w - 2, h};
    bool withTitle = true;
    if (FIndex == -1) {
        b.SetSize(w, h);
        b.Canvas()->Font()->Assign(Font());
        b.Canvas()->Brush()->SetColor(focused ? gui::clHighlight : FDefaultColor);
        b.Canvas()->Font()->SetColor(focused ? gui::clHighlightText : DefaultFont()->Color());
        b.Canvas()->FillRect({0, 0, w, h});
    } else {
        bool hot = FMouseIn && !Empty(ActiveItemRect) && !Empty(ActiveSkinRect);
        const TRect& src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
        int dW = w - (Empty(SItemRect) ? ClRect.Width() : SItemRect.Width());
        text = ToGuiRect(ItemTextRect);
        text.right += dW;
        if (FUseSkinSize) {
            // Three parts across; the title has no room in the skin's own height.
            withTitle = false;
            int ih = Empty(SItemRect) ? FocusItemRect.Height() : SItemRect.Height();
            b.SetSize(w, std::max(ih, 1));
            if (!Empty(src))
                BuildHorzThreePartImage(ItemLeftOffset, ItemRightOffset, &b, Picture, src, w, b.Height(),
                                        focused ? FocusItemStretchEffect : ItemStretchEffect);
            else
                b.Canvas()->CopyRect({0, 0, w, b.Height()}, C, CBItem);
        } else {
            b.SetSize(w, h);
            text.bottom += Height() - SkinRect.Height();
            text.left += 1;
            if (!Empty(src)) {
                TRect around = ItemTextRect;
                if (&src != &SItemRect)
                    around = {around.Left - 1, around.Top - 1,
                              around.Right + 1 + src.Width() - SItemRect.Width(),
                              around.Bottom + 1 + src.Height() - SItemRect.Height()};
                BuildImageByClientRect(&b, Picture, src, around, true);
            } else {
                b.Canvas()->CopyRect({0, 0, w, h}, C, CBItem);
            }
        }
        if (UseSkinFont) {
            b.Canvas()->Font()->SetName(FontName);
            b.Canvas()->Font()->SetStyle(FontStyle);
            b.Canvas()->Font()->SetHeight(FontHeight);
        } else {
            b.Canvas()->Font()->Assign(DefaultFont());
        }
        gui::TColor colour = focused ? FocusFontColor : hot ? ActiveFontColor : FontColor;
        if (FUseSkinSize && !Enabled()) colour = gui::clGrayText;
        b.Canvas()->Font()->SetColor(colour);
        if (focused && ShowFocus) DrawDottedFocusRect(b.Canvas(), {0, 0, w, b.Height()});
    }
    ApplyCharset(b.Canvas()->Font(), DefaultFont());
    DrawItemContent(b.Canvas(), text, withTitle);
    if (FIndex == -1 && focused) b.Canvas()->DrawFocusRect({0, 0, w, h});
    C->Draw(CBItem.left, CBItem.top, &b);
}

TbsComboToolButtonState TbsSkinCustomOfficeComboBox::ToolButtonState() const {
    TbsComboToolButtonState st;
    st.DropDown = FDropDown;
    st.Hot = Hot();
    st.Enabled = Enabled();
    st.UseSkinFont = UseSkinFont;
    st.DefaultFont = DefaultFont();
    return st;
}

void TbsSkinCustomOfficeComboBox::CreateControlDefaultImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text = DrawComboToolButtonDefault(B, ToolButtonState());
        ApplyCharset(B->Canvas()->Font(), DefaultFont());
        DrawItemContent(B->Canvas(), text, true);
        return;
    }
    gui::TCanvas* c = B->Canvas();
    int W = Width(), H = Height();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect({0, 0, W, H});
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect({0, 0, W, H});
    c->Brush()->SetColor(FDefaultColor);
    c->FillRect({1, 1, W - 1, H - 1});
    bool hot = Button.MouseIn, down = Button.Down && Button.MouseIn;
    c->Brush()->SetColor(down ? gui::TColor(0xB59385) : hot ? gui::TColor(0xD2BDB6) : gui::clBtnFace);
    c->FillRect(Button.R);
    c->Brush()->SetColor(hot ? gui::clNavy : gui::clBtnShadow);
    c->FrameRect(Button.R);
    DrawDropDownArrow(c, Button.R, Enabled() ? gui::clBlack : gui::clBtnShadow);
    DrawItemArea(c);
}

void TbsSkinCustomOfficeComboBox::CreateControlSkinImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text;
        if (FSD && DrawComboToolButtonSkin(*FSD, B, ToolButtonState(), text)) {
            ApplyCharset(B->Canvas()->Font(), DefaultFont());
            DrawItemContent(B->Canvas(), text, true);
        } else {
            // Neither button entry: nothing of the button is drawn.
            DrawParentBackground(this, B->Canvas());
        }
        return;
    }
    bool hot = Hot() && !Empty(ActiveSkinRect);
    if (!FUseSkinSize) {
        BuildImageByClientRect(B, Picture, hot ? ActiveSkinRect : SkinRect, ClRect, false);
        if (FSD)
            DrawComboSkinButton(*FSD, B->Canvas(), Button.R, Button.Down && Button.MouseIn, Button.MouseIn,
                                Enabled());
    } else {
        if (hot)
            BuildHorzThreePartImage(LTPt.X, ActiveSkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect,
                                    Width(), ActiveSkinRect.Height(), StretchEffect);
        else
            TbsSkinCustomControl::CreateControlSkinImage(B);
        TRect state{};
        if (!Enabled() && !Empty(UnEnabledButtonRect))
            state = UnEnabledButtonRect;
        else if (Button.Down && Button.MouseIn)
            state = DownButtonRect;
        else if (Button.MouseIn)
            state = ActiveButtonRect;
        if (!Empty(state))
            B->Canvas()->CopyRect(
                {Button.R.left, Button.R.top, Button.R.left + state.Width(), Button.R.top + state.Height()},
                Picture->Canvas(), ToGuiRect(state));
    }
    DrawItemArea(B->Canvas());
}

void TbsSkinCustomOfficeComboBox::PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text) {
    gui::TBitmap b;
    b.SetSize(Width(), Height());
    FPaintText = Text;
    FPaintingTo = true;
    GetSkinData();
    if (FIndex == -1)
        CreateControlDefaultImage(&b);
    else
        CreateControlSkinImage(&b);
    FPaintingTo = false;
    FPaintText.clear();
    Canvas->Draw(X, Y, &b);
}

} // namespace skin
