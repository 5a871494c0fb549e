#include "skin/controls/SkinDropDownComboBox.h"

#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinOfficeListBox.h"
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

// --- TbsDropDownList -----------------------------------------------------------------------

template <class TList>
TbsDropDownList<TList>::TbsDropDownList(TbsSkinDropDownComboBox* AComboBox)
    : TList(nullptr), FComboBox(AComboBox) {
    this->SetVisible(false);
}

template <class TList> void TbsDropDownList<TList>::CreateParams(gui::TCreateParams& p) {
    TList::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WndParent = FComboBox->HandleAllocated() ? GetAncestor(FComboBox->Handle(), GA_ROOT) : nullptr;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

template <class TList> void TbsDropDownList<TList>::Show(gui::TPoint Origin) {
    this->HandleNeeded();
    const TbsSkinDropDownComboBox& c = *FComboBox;
    HWND wnd = this->Handle();
    FFade.Prepare(wnd, c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
    this->SetBounds(Origin.x, Origin.y, this->Width(), this->Height());
    SetWindowPos(wnd, HWND_TOPMOST, Origin.x, Origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    this->SetVisible(true);
    FShown = true;
    Showing();
    FFade.Start(wnd, c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
}

template <class TList> void TbsDropDownList<TList>::Hide() {
    if (this->HandleAllocated()) {
        FFade.Stop(this->Handle());
        SetWindowPos(this->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_HIDEWINDOW);
    }
    this->SetVisible(false);
    FShown = false;
}

// A drop-down never takes the focus from its combo box.
template <class TList> void TbsDropDownList<TList>::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    if (m.Msg == WM_TIMER && FFade.Timer(this->Handle(), m.WParam)) return;
    TList::Dispatch(m);
}

template class TbsDropDownList<TbsSkinListBox>;
template class TbsDropDownList<TbsSkinOfficeListBox>;

// --- TbsSkinDropDownComboBox ---------------------------------------------------------------

TbsSkinDropDownComboBox::TbsSkinDropDownComboBox(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    ControlStyle |= gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque;
    // OnClick reports a choice, never a plain click on the box.
    ControlStyle &= ~gui::csClickEvents;
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(gui::clWindowText);
    FSkinDataName = "combobox";
    SetTabStop(true);
}

TbsSkinDropDownComboBox::~TbsSkinDropDownComboBox() = default;

void TbsSkinDropDownComboBox::SetToolButtonStyle(bool Value) {
    FToolButtonStyle = Value;
    if (Value) FUseSkinSize = false;
    CalcRects();
    UpdateMaskRegion();
    Invalidate();
}

void TbsSkinDropDownComboBox::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FSD) ChangeSkinData();
    Invalidate();
}

// --- the list ------------------------------------------------------------------------------

void TbsSkinDropDownComboBox::Chosen() {
    if (OnClick) OnClick(this);
    Change();
}

void TbsSkinDropDownComboBox::ClosedUp(bool Accept) {
    FDropDown = false;
    Invalidate();
    if (Accept && OnCloseUp) OnCloseUp(this);
}

void TbsSkinDropDownComboBox::ListPress() {
    FLBDown = WasInLB = true;
    SetMouseCapture(true);
}

// The combo box holds the mouse while its list is open, so a press on the list's own bar is
// handed to the bar; the mouse comes back to the combo box when the bar lets it go.
bool TbsSkinDropDownComboBox::PressOnListBar(gui::TPoint Screen) {
    TbsSkinScrollBar* bar = PopupScrollBar();
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

void TbsSkinDropDownComboBox::StopTimer() {
    if (TimerMode != 0 && HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

// --- mouse and keys ------------------------------------------------------------------------

void TbsSkinDropDownComboBox::MouseDown(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
    bool edit = HasInnerEdit();
    if (!edit && !Focused() && CanFocus()) SetFocus();
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (Btn != gui::mbLeft) return;
    gui::TPoint screen = ClientToScreen({X, Y});
    if (PressOnListBar(screen)) return;
    if (OverList(screen)) {
        ListPress();
        return;
    }
    // Without an inner edit the item area counts as part of the button.
    if (FToolButtonStyle || Button.MouseIn || (!edit && Inside(CBItem, X, Y)) || Inside(Button.R, X, Y)) {
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

void TbsSkinDropDownComboBox::MouseUp(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
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

void TbsSkinDropDownComboBox::Dispatch(gui::TMessage& m) {
    if (m.Msg == gui::CM_WANTSPECIALKEY &&
        (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN ||
         (IsPopupVisible() && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE)))) {
        m.Result = 1;
        return;
    }
    TbsSkinCustomControl::Dispatch(m);
}

// --- skin and size -------------------------------------------------------------------------

void TbsSkinDropDownComboBox::GetSkinData() {
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
    ShowFocus = d->ShowFocus;
    CalcRects();
}

void TbsSkinDropDownComboBox::CalcRects() {
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
void TbsSkinDropDownComboBox::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
        return;
    }
    int w = AWidth, h = AHeight;
    Adjust(w, h);
}

void TbsSkinDropDownComboBox::UpdateMaskRegion() {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::UpdateMaskRegion();
        return;
    }
    if (FRgnSet && HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    FRgnSet = false;
}

// --- painting ------------------------------------------------------------------------------

TbsComboToolButtonState TbsSkinDropDownComboBox::ToolButtonState() const {
    TbsComboToolButtonState st;
    st.DropDown = FDropDown;
    st.Hot = Hot();
    st.Enabled = Enabled();
    st.UseSkinFont = UseSkinFont;
    st.DefaultFont = DefaultFont();
    return st;
}

void TbsSkinDropDownComboBox::PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text) {
    if (Width() <= 0 || Height() <= 0) return;
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

void TbsSkinDropDownComboBox::DrawItemArea(gui::TCanvas* C, bool Skinned) {
    if (HasInnerEdit() && !FPaintingTo) return; // the edit shows the text
    int w = gui::RectWidth(CBItem), h = gui::RectHeight(CBItem);
    if (w <= 0 || h <= 0) return;
    bool focused = Focused() && !IsPopupVisible();
    gui::TBitmap b;
    gui::TRect text{2, 0, w - 2, h};
    bool withTitle = true;
    if (!Skinned) {
        b.SetSize(w, h);
        b.Canvas()->Font()->Assign(Font());
        b.Canvas()->Brush()->SetColor(focused ? gui::clHighlight : BoxColor());
        b.Canvas()->Font()->SetColor(focused ? gui::clHighlightText : DefaultFont()->Color());
        b.Canvas()->FillRect({0, 0, w, h});
    } else {
        bool hot = FMouseIn && !Empty(ActiveItemRect) && !Empty(ActiveSkinRect);
        const TRect& src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
        text = ToGuiRect(ItemTextRect);
        text.right += w - (Empty(SItemRect) ? ClRect.Width() : SItemRect.Width());
        if (FUseSkinSize) {
            // Three parts across; a title has no room in the skin's own height.
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
            text.left += FItemTextInset;
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
        if (FGrayDisabledItem && FUseSkinSize && !Enabled()) colour = gui::clGrayText;
        b.Canvas()->Font()->SetColor(colour);
        if (focused && ShowFocus) DrawDottedFocusRect(b.Canvas(), {0, 0, w, b.Height()});
    }
    ApplyCharset(b.Canvas()->Font(), DefaultFont());
    DrawItemText(b.Canvas(), text, withTitle);
    if (!Skinned && focused) b.Canvas()->DrawFocusRect({0, 0, w, h});
    C->Draw(CBItem.left, CBItem.top, &b);
}

void TbsSkinDropDownComboBox::CreateControlDefaultImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text = DrawComboToolButtonDefault(B, ToolButtonState());
        ApplyCharset(B->Canvas()->Font(), DefaultFont());
        DrawItemText(B->Canvas(), text, true);
        return;
    }
    gui::TCanvas* c = B->Canvas();
    int W = Width(), H = Height();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect({0, 0, W, H});
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect({0, 0, W, H});
    c->Brush()->SetColor(BoxColor());
    c->FillRect({1, 1, W - 1, H - 1});
    bool hot = Button.MouseIn, down = Button.Down && Button.MouseIn;
    c->Brush()->SetColor(down ? gui::TColor(0xB59385) : hot ? gui::TColor(0xD2BDB6) : gui::clBtnFace);
    c->FillRect(Button.R);
    c->Brush()->SetColor(hot ? gui::clNavy : gui::clBtnShadow);
    c->FrameRect(Button.R);
    DrawDropDownArrow(c, Button.R, Enabled() ? gui::clBlack : gui::clBtnShadow);
    DrawItemArea(c, false);
}

void TbsSkinDropDownComboBox::CreateControlSkinImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text;
        if (FSD && DrawComboToolButtonSkin(*FSD, B, ToolButtonState(), text)) {
            ApplyCharset(B->Canvas()->Font(), DefaultFont());
            DrawItemText(B->Canvas(), text, true);
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
        DrawItemArea(B->Canvas(), true);
        return;
    }
    if (hot)
        BuildHorzThreePartImage(LTPt.X, ActiveSkinRect.Width() - RTPt.X, B, Picture, ActiveSkinRect, Width(),
                                ActiveSkinRect.Height(), StretchEffect);
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
    DrawItemArea(B->Canvas(), true);
}

} // namespace skin
