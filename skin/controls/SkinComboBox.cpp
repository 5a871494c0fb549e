#include "skin/controls/SkinComboBox.h"

#include "skin/controls/SkinNumEdit.h"

#include "controls/Utf8Text.h"
#include "gdi/DcText.h"
#include "os/Clock.h"
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

namespace skin {

namespace {

constexpr uintptr_t kScrollTimer = 1;
constexpr UINT kScrollInterval = 25;
constexpr uint32_t kSearchPause = 500;
constexpr uint32_t kCompletionPause = 200;

bool Empty(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The first item from `from` on (wrapping) that begins with `prefix`, ignoring case; -1.
int FindPrefix(gui::TStrings* items, const std::string& prefix, int from) {
    int n = items->Count();
    if (prefix.empty() || n == 0) return -1;
    for (int k = 0; k < n; ++k) {
        int i = (from + k) % n;
        if (controls::text::StartsWithNoCase(items->Strings(i), prefix)) return i;
    }
    return -1;
}

} // namespace

// --- TbsPopupListBox -----------------------------------------------------------------------

TbsPopupListBox::TbsPopupListBox(TbsSkinCustomComboBox* AComboBox)
    : TbsSkinListBox(nullptr), FComboBox(AComboBox) {
    SetVisible(false);
    ListBox()->SetTabStop(false);
}

void TbsPopupListBox::CreateParams(gui::TCreateParams& p) {
    TbsSkinListBox::CreateParams(p);
    p.Style = WS_POPUP | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WndParent = FComboBox->HandleAllocated() ? GetAncestor(FComboBox->Handle(), GA_ROOT) : nullptr;
    p.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
}

void TbsPopupListBox::Show(gui::TPoint Origin) {
    HandleNeeded();
    const TbsSkinCustomComboBox& c = *FComboBox;
    FFade.Prepare(Handle(), c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
    SetBounds(Origin.x, Origin.y, Width(), Height());
    SetWindowPos(Handle(), HWND_TOPMOST, Origin.x, Origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisible(true);
    FShown = true;
    UpDateScrollBar();
    FFade.Start(Handle(), c.AlphaBlend, c.AlphaBlendValue, c.AlphaBlendAnimation);
}

void TbsPopupListBox::Hide() {
    if (HandleAllocated()) FFade.Stop(Handle());
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_HIDEWINDOW);
    SetVisible(false);
    FShown = false;
}

// A drop-down never takes the focus from its combo box.
void TbsPopupListBox::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_MOUSEACTIVATE) {
        m.Result = MA_NOACTIVATE;
        return;
    }
    if (m.Msg == WM_TIMER && FFade.Timer(Handle(), m.WParam)) return;
    TbsSkinListBox::Dispatch(m);
}

void TbsPopupListBox::ListBoxWndProc(gui::TMessage& m, bool& Continue) {
    TbsSkinListBox::ListBoxWndProc(m, Continue);
    if (!Continue) return;
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        Continue = false;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FComboBox->ListPress();
        Continue = false;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Continue = false;
        break;
    default:
        break;
    }
}

// --- TbsSkinCustomComboBox -----------------------------------------------------------------

TbsSkinCustomComboBox::TbsSkinCustomComboBox(gui::TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
    ControlStyle |= gui::csCaptureMouse | gui::csDoubleClicks | gui::csOpaque;
    // OnClick reports a choice, never a plain click on the box.
    ControlStyle &= ~gui::csClickEvents;
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(gui::clWindowText);
    FSkinDataName = "combobox";
    SetTabStop(true);
    FListBox = std::make_unique<TbsPopupListBox>(this);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 20);
}

TbsSkinCustomComboBox::~TbsSkinCustomComboBox() {
    StopTimer();
    OnChange = OnDropDown = OnCloseUp = nullptr;
    OnClick = nullptr;
    FEdit.reset();
    FListBox.reset();
}

// --- selection and text --------------------------------------------------------------------

void TbsSkinCustomComboBox::SetText(const std::string& Value) {
    if (Value == FText) return;
    FText = Value;
    if (FEdit && !FromEdit) {
        FToEdit = true;
        FEdit->SetText(Value);
        FToEdit = false;
    }
    Invalidate();
    if (OnChange) OnChange(this);
    if (FromEdit) Change();
}

int TbsSkinCustomComboBox::SelStart() const {
    return FEdit ? FEdit->SelStart() : 0;
}

void TbsSkinCustomComboBox::SetSelStart(int Value) {
    if (FEdit) FEdit->SetSelStart(Value);
}

int TbsSkinCustomComboBox::SelLength() const {
    return FEdit ? FEdit->SelLength() : 0;
}

void TbsSkinCustomComboBox::SetSelLength(int Value) {
    if (FEdit) FEdit->SetSelLength(Value);
}

void TbsSkinCustomComboBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    int index = FListBox->ItemIndex();
    if (Items()->Count() > 0 && index != -1) SetText(Items()->Strings(index));
    FOldItemIndex = index;
    if (!FEdit) Invalidate();
    if (!Loading() && !Designing()) {
        if (OnClick) OnClick(this);
        Change();
    }
}

// Moves the highlight (shown list) or selects as ItemIndex does (hidden list).
void TbsSkinCustomComboBox::SelectStep(int Index) {
    int n = Items()->Count();
    if (n == 0) return;
    Index = std::clamp(Index, 0, n - 1);
    if (IsPopupVisible())
        FListBox->SetItemIndex(Index);
    else if (Index != ItemIndex())
        SetItemIndex(Index);
}

// --- the list ------------------------------------------------------------------------------

void TbsSkinCustomComboBox::DropDown() {
    int n = Items()->Count();
    if (n == 0) return;
    WasInLB = false;
    StopTimer();
    if (OnDropDown) OnDropDown(this);
    // The window first: made later, amid the sizing below, it would come up without its rows.
    FListBox->HandleNeeded();
    FListBox->SetSkinData(FSD);
    FListBox->SetSkinDataName(FIndex == -1 ? "" : ListBoxName);
    FListBox->ChangeSkinData();
    FListBox->SetBounds(0, 0, ListBoxWidth > 0 ? ListBoxWidth : Width(), FListBox->Height());
    FListBox->SetRowCount(std::min(FDropDownCount, n));
    gui::TPoint origin = ClientToScreen({0, Height()});
    gui::TRect work{};
    GetMonitorArea(Handle(), true, work);
    // Near the bottom of the work area the list opens above.
    if (origin.y + FListBox->Height() > work.bottom) origin.y -= Height() + FListBox->Height();
    if (FEdit && FEdit->CanFocus()) FEdit->SetFocus();
    FOldItemIndex = FListBox->ItemIndex();
    FDropDown = true;
    if (FOldItemIndex >= 0) FListBox->SetTopIndex(FOldItemIndex);
    FListBox->Show(origin);
    // The combo box holds the mouse while the list is open: a press anywhere reaches it.
    SetMouseCapture(true);
    Invalidate();
}

void TbsSkinCustomComboBox::CloseUp(bool Accept) {
    StopTimer();
    if (!IsPopupVisible()) return;
    FListBox->Hide();
    if (MouseCapture()) SetMouseCapture(false);
    FLBDown = false;
    int index = FListBox->ItemIndex();
    if (index < 0) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else if (index < Items()->Count() && Accept) {
        if (FEdit) {
            FEdit->SetText(Items()->Strings(index));
            FEdit->SelectAll();
        } else {
            SetText(Items()->Strings(index));
            Invalidate();
        }
        if (OnClick) OnClick(this);
        Change();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    FDropDown = false;
    Invalidate();
    if (Accept && OnCloseUp) OnCloseUp(this);
}

void TbsSkinCustomComboBox::ListPress() {
    FLBDown = WasInLB = true;
    SetMouseCapture(true);
}

bool TbsSkinCustomComboBox::OverInnerList(gui::TPoint Screen) const {
    return IsPopupVisible() && WindowFromPoint(Screen) == FListBox->ListBox()->Handle();
}

// The combo box holds the mouse while its list is open, so a press on the list's own bar is
// handed to the bar; the mouse comes back to the combo box when the bar lets it go.
bool TbsSkinCustomComboBox::PressOnListBar(gui::TPoint Screen) {
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

void TbsSkinCustomComboBox::StopTimer() {
    if (TimerMode != 0 && HandleAllocated()) KillTimer(Handle(), kScrollTimer);
    TimerMode = 0;
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseDown(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
    if (!FEdit && !Focused() && CanFocus()) SetFocus();
    TbsSkinCustomControl::MouseDown(Btn, Shift, X, Y);
    if (Btn != gui::mbLeft) return;
    gui::TPoint screen = ClientToScreen({X, Y});
    if (PressOnListBar(screen)) return;
    if (OverInnerList(screen)) {
        ListPress();
        return;
    }
    if (FToolButtonStyle || Button.MouseIn || (!FEdit && Inside(CBItem, X, Y)) || Inside(Button.R, X, Y)) {
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

void TbsSkinCustomComboBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    if (IsPopupVisible()) {
        // Hot tracking in the list, and scrolling it while a press is dragged past its ends.
        TbsListBox* inner = FListBox->ListBox();
        gui::TPoint p = inner->ScreenToClient(ClientToScreen({X, Y}));
        bool across = p.x >= 0 && p.x < inner->Width();
        if (p.y >= 0 && p.y < inner->Height() && across) {
            StopTimer();
            int i = inner->ItemAtPos(p, true);
            if (i >= 0 && i != FListBox->ItemIndex()) FListBox->ListBox()->SetItemIndex(i);
            if (FLBDown) WasInLB = true;
        } else if (FLBDown && WasInLB && FListBox->ScrollBar()) {
            int mode = p.y < 0 ? 1 : p.y >= inner->Height() ? 2 : 0;
            if (mode != TimerMode && mode != 0) {
                TimerMode = mode;
                SetTimer(Handle(), kScrollTimer, kScrollInterval, nullptr);
            }
        }
        return;
    }
    bool over = Inside(Button.R, X, Y);
    if (over != Button.MouseIn) {
        Button.MouseIn = over;
        Invalidate();
    }
}

void TbsSkinCustomComboBox::MouseUp(gui::TMouseButton Btn, gui::TShiftState Shift, int X, int Y) {
    if (FLBDown && WasInLB) {
        FLBDown = false;
        CloseUp(OverInnerList(ClientToScreen({X, Y})));
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

void TbsSkinCustomComboBox::CMMouseEnter(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseEnter(m);
    FMouseIn = true;
    bool active = FIndex != -1 && !Empty(ActiveSkinRect);
    if (active && FEdit && !FEdit->Focused()) FEdit->Font()->SetColor(ActiveFontColor);
    if (active || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomComboBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    FMouseIn = false;
    if (Button.MouseIn) {
        Button.MouseIn = false;
        Invalidate();
    }
    bool active = FIndex != -1 && !Empty(ActiveSkinRect);
    if (active && FEdit && !FEdit->Focused()) FEdit->Font()->SetColor(FontColor);
    if (active || FToolButtonStyle) Invalidate();
}

// --- keys ----------------------------------------------------------------------------------

void TbsSkinCustomComboBox::KeyDown(WORD& Key, gui::TShiftState Shift) {
    TbsSkinCustomControl::KeyDown(Key, Shift);
    if (FEdit) return;
    bool alt = Shift & gui::ssAlt;
    int i = ItemIndex(), n = Items()->Count();
    switch (Key) {
    case VK_RETURN:
        if (IsPopupVisible()) CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible()) CloseUp(false);
        break;
    case VK_PRIOR:
        if (n > 0) SelectStep(std::max(i - FDropDownCount - 1, 0));
        break;
    case VK_NEXT:
        if (n > 0) SelectStep(std::min(i + FDropDownCount - 1, n - 1));
        break;
    case VK_LEFT:
    case VK_UP:
        if (alt) {
            if (IsPopupVisible()) CloseUp(false);
        } else if (i > 0) {
            SelectStep(i - 1);
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (alt) {
            if (!IsPopupVisible()) DropDown();
        } else if (i < n - 1) {
            SelectStep(i + 1);
        }
        break;
    default:
        break;
    }
}

void TbsSkinCustomComboBox::KeyPress(char32_t& Key) {
    TbsSkinCustomControl::KeyPress(Key);
    if (FEdit || Key < 32 || Key == 127) return;
    std::string search;
    if (AutoComplete) {
        uint32_t now = os::GetTickCount();
        if (now - FLastTime >= kSearchPause) FFilter.clear();
        FLastTime = now;
        FFilter += controls::text::Encode(Key);
        search = FFilter;
    } else {
        search = controls::text::Encode(Key);
    }
    int from = controls::text::CountChars(search) == 1 ? ItemIndex() + 1 : 0;
    int found = FindPrefix(Items(), search, std::max(from, 0));
    if (found >= 0) SetItemIndex(found);
}

bool TbsSkinCustomComboBox::DoMouseWheel(gui::TShiftState, int WheelDelta, gui::TPoint) {
    if (FEdit) return false;
    int i = ItemIndex();
    SelectStep(WheelDelta > 0 ? i - 1 : i + 1);
    return true;
}

void TbsSkinCustomComboBox::Dispatch(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kScrollTimer) {
            int i = FListBox->ItemIndex();
            if (TimerMode == 1 && i > 0) FListBox->SetItemIndex(i - 1);
            if (TimerMode == 2 && i < Items()->Count() - 1) FListBox->SetItemIndex(i + 1);
            return;
        }
        break;
    case WM_KILLFOCUS:
        // With an inner edit the focus moves on to it: the edit's own loss closes the list.
        if (!FEdit && IsPopupVisible()) CloseUp(false);
        Invalidate();
        break;
    case WM_SETFOCUS:
        if (FEdit && FEdit->CanFocus()) {
            TbsSkinCustomControl::Dispatch(m);
            FEdit->SetFocus();
            return;
        }
        Invalidate();
        break;
    case gui::CM_ENABLEDCHANGED:
        if (FEdit) ApplyEditFont();
        Invalidate();
        break;
    case gui::CM_CANCELMODE:
        EditCancelMode(reinterpret_cast<gui::TControl*>(m.LParam));
        break;
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

// --- skin and painting ---------------------------------------------------------------------

void TbsSkinCustomComboBox::GetSkinData() {
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
    ListBoxName = d->ListBoxName;
    ShowFocus = d->ShowFocus;
    CalcRects();
}

void TbsSkinCustomComboBox::CalcRects() {
    int W = Width(), H = Height();
    if (FIndex == -1 || FToolButtonStyle) {
        Button.R = {W - 19, 2, W - 2, H - 2};
        CBItem = {2, 2, Button.R.left - 1, H - 2};
    } else {
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
    if (FEdit) {
        // One line of the edit's font, centred in the item area.
        gui::TBitmap m;
        m.SetSize(1, 1);
        m.Canvas()->Font()->Assign(FEdit->Font());
        int lh = m.Canvas()->TextHeight("Wg");
        FEdit->SetBounds(CBItem.left, CBItem.top + (gui::RectHeight(CBItem) - lh) / 2, gui::RectWidth(CBItem),
                         lh);
    }
}

// Without the skin's size the control takes any size and no mask.
void TbsSkinCustomComboBox::AdjustSkinSize(int& AWidth, int& AHeight) {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::AdjustSkinSize(AWidth, AHeight);
        return;
    }
    int w = AWidth, h = AHeight;
    Adjust(w, h);
}

void TbsSkinCustomComboBox::UpdateMaskRegion() {
    if (FUseSkinSize && !FToolButtonStyle) {
        TbsSkinCustomControl::UpdateMaskRegion();
        return;
    }
    if (FRgnSet && HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
    FRgnSet = false;
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
    FToolButtonStyle = Value;
    if (Value) {
        SetStyle(TbsSkinCustomComboBoxStyle::bscbFixedStyle);
        FUseSkinSize = false;
    }
    CalcRects();
    UpdateMaskRegion();
    Invalidate();
}

void TbsSkinCustomComboBox::SetUseSkinSize(bool Value) {
    FUseSkinSize = Value;
    if (FSD) ChangeSkinData();
    Invalidate();
}

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    GetSkinData();
    if (FEdit) ApplyEditFont();
    Invalidate();
    if (FListBox) {
        FListBox->SetSkinDataName(FIndex == -1 ? "" : ListBoxName);
        FListBox->SetSkinData(FSD);
        FListBox->UpDateScrollBar();
    }
    CalcRects();
}

// --- the inner edit ------------------------------------------------------------------------

void TbsSkinCustomComboBox::SetStyle(TbsSkinCustomComboBoxStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    if (Value == TbsSkinCustomComboBoxStyle::bscbEditStyle) {
        FToolButtonStyle = false;
        bool hadFocus = Focused();
        if (!FEdit) CreateEditCtrl();
        // The tab stop moves to the edit.
        FEdit->SetTabStop(TabStop());
        SetTabStop(false);
        FToEdit = true;
        FEdit->SetText(FText);
        FToEdit = false;
        if (hadFocus && FEdit->CanFocus()) FEdit->SetFocus();
    } else if (FEdit) {
        bool tab = FEdit->TabStop();
        FEdit.reset();
        SetTabStop(tab);
    }
    CalcRects();
    Invalidate();
}

void TbsSkinCustomComboBox::CreateEditCtrl() {
    if (FNumEdit)
        FEdit = std::make_unique<TbsSkinNumEdit>(nullptr);
    else
        FEdit = std::make_unique<TbsCustomEdit>(nullptr);
    FEdit->SetParent(this);
    FEdit->SetColor(DefaultColor);
    FEdit->SetHideSelection(HideSelection);
    FEdit->SetCharCase(CharCase);
    FEdit->OnChange = [this](gui::TObject*) { EditChange(); };
    FEdit->OnEditCancelMode = [this](gui::TControl* C) { EditCancelMode(C); };
    // The edit's keys are the combo box's.
    FEdit->OnKeyDown = [this](gui::TObject*, WORD& Key, gui::TShiftState Shift) {
        if (OnKeyDown) OnKeyDown(this, Key, Shift);
    };
    FEdit->OnKeyPress = [this](gui::TObject*, char32_t& Key) {
        if (OnKeyPress) OnKeyPress(this, Key);
    };
    FEdit->OnKeyUp = [this](gui::TObject*, WORD& Key, gui::TShiftState Shift) {
        if (OnKeyUp) OnKeyUp(this, Key, Shift);
    };
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](gui::TMessage& m) { EditWindowProcHook(m); };
    ApplyEditFont();
    FEdit->SetVisible(true);
    CalcRects();
}

void TbsSkinCustomComboBox::ApplyEditFont() {
    gui::TFont* f = FEdit->Font();
    bool skinned = FIndex != -1;
    if (!skinned) {
        f->Assign(UseSkinFont ? Font() : DefaultFont());
    } else if (UseSkinFont) {
        f->SetName(FontName);
        f->SetStyle(FontStyle);
        f->SetHeight(FontHeight);
        f->SetColor(FontColor);
    } else {
        f->Assign(DefaultFont());
        f->SetColor(FontColor);
    }
    if (skinned && !Empty(ActiveSkinRect) && (FEdit->Focused() || FMouseIn)) f->SetColor(ActiveFontColor);
    if (!Enabled()) {
        int edit = FSD && skinned ? FSD->GetControlIndex("edit") : -1;
        auto* d = edit >= 0
                      ? dynamic_cast<TbsDataSkinEditControl*>(FSD->CtrlList[static_cast<size_t>(edit)].get())
                      : nullptr;
        f->SetColor(d ? d->DisabledFontColor : gui::clGrayText);
    }
    FEdit->SetEditTransparent(skinned);
    FEdit->SetColor(DefaultColor);
}

void TbsSkinCustomComboBox::EditChange() {
    if (FToEdit) return;
    FromEdit = true;
    std::string typed = FEdit->Text();
    if (!typed.empty()) {
        int found = FindPrefix(Items(), typed, 0);
        if (found >= 0) {
            if (AutoComplete)
                FListBox->SetItemIndex(found);
            else
                FListBox->SetTopIndex(found);
        }
    }
    SetText(typed);
    FromEdit = false;
}

// Moves the list's highlight by one; a selecting step takes the item as the text.
void TbsSkinCustomComboBox::EditStep(int Delta, bool Select) {
    int i = FListBox->ItemIndex(), n = Items()->Count();
    int to = i + Delta;
    if (n == 0 || to < 0 || to > n - 1) return;
    FListBox->SetItemIndex(to);
    if (!Select) return;
    SetText(Items()->Strings(to));
    FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TbsSkinCustomComboBox::TextCompletion() {
    uint32_t now = os::GetTickCount();
    if (now - FLastTime <= kCompletionPause) return;
    FLastTime = now;
    std::string typed = FEdit->Text();
    int from = controls::text::CountChars(typed) == 1 ? ItemIndex() + 1 : 0;
    int found = FindPrefix(Items(), typed, std::max(from, 0));
    if (found < 0) return;
    SetItemIndex(found);
    int len = static_cast<int>(typed.size());
    FEdit->SetSelStart(len);
    FEdit->SetSelLength(static_cast<int>(FEdit->Text().size()) - len);
}

void TbsSkinCustomComboBox::EditCancelMode(gui::TControl* C) {
    if (IsPopupVisible() && C != this && C != FListBox.get() && C != FListBox->ListBox() &&
        C != FListBox->ScrollBar() && C != FEdit.get())
        CloseUp(false);
}

void TbsSkinCustomComboBox::EditWindowProcHook(gui::TMessage& m) {
    bool active = FIndex != -1 && !Empty(ActiveSkinRect);
    switch (m.Msg) {
    case WM_SETFOCUS:
        if (active) {
            FEdit->Font()->SetColor(ActiveFontColor);
            Invalidate();
        }
        break;
    case WM_KILLFOCUS:
        if (IsPopupVisible()) CloseUp(false);
        if (active) {
            FEdit->Font()->SetColor(FontColor);
            Invalidate();
        }
        break;
    case WM_KEYDOWN: {
        int n = Items()->Count();
        switch (m.WParam) {
        case VK_RETURN:
            if (IsPopupVisible()) CloseUp(true);
            break;
        case VK_ESCAPE:
            if (IsPopupVisible()) CloseUp(false);
            break;
        case VK_PRIOR:
        case VK_NEXT:
            if (IsPopupVisible() && n > 0) {
                int i = FListBox->ItemIndex();
                i = m.WParam == VK_PRIOR ? i - FDropDownCount - 1 : i + FDropDownCount - 1;
                FListBox->SetItemIndex(std::clamp(i, 0, n - 1));
            }
            break;
        case VK_UP:
        case VK_DOWN:
            EditStep(m.WParam == VK_UP ? -1 : 1, true);
            return;
        default:
            break;
        }
        break;
    }
    case WM_KEYUP:
        // Completion follows typed characters; other keys edit as usual.
        if (m.WParam >= 0x30) {
            FEditWindowProc(m);
            if (AutoComplete) TextCompletion();
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (IsPopupVisible()) CloseUp(false);
        break;
    case WM_MOUSEWHEEL: {
        auto delta = static_cast<int16_t>(HIWORD(m.WParam));
        EditStep(delta > 0 ? -1 : 1, !IsPopupVisible());
        break;
    }
    default:
        break;
    }
    FEditWindowProc(m);
}

// --- painting ------------------------------------------------------------------------------

TbsComboToolButtonState TbsSkinCustomComboBox::ToolButtonState() const {
    TbsComboToolButtonState st;
    st.DropDown = FDropDown;
    st.Hot = FMouseIn || Focused();
    st.Enabled = Enabled();
    st.UseSkinFont = UseSkinFont;
    st.DefaultFont = DefaultFont();
    return st;
}

void TbsSkinCustomComboBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && FListBox && AComponent == FListBox->Images())
        SetImages(nullptr);
}

void TbsSkinCustomComboBox::SetImages(gui::TCustomImageList* Value) {
    FListBox->SetImages(Value);
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TbsSkinCustomComboBox::SetImageIndex(int Value) {
    FListBox->SetImageIndex(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::SetTabWidths(const gui::TStrings* Value) {
    FListBox->SetTabWidths(Value);
    Invalidate();
}

void TbsSkinCustomComboBox::PaintSkinTo(gui::TCanvas* Canvas, int X, int Y, const std::string& Text) {
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

void TbsSkinCustomComboBox::DrawItemText(gui::TCanvas* C, gui::TRect R) {
    int index = IsPopupVisible() ? FOldItemIndex : ItemIndex();
    C->Brush()->SetStyle(gui::bsClear);
    if (FPaintingTo) {
        TextOutVCenterOffset(C, FPaintText, R, 2);
        return;
    }
    if (index < 0 || index >= Items()->Count()) return;
    if (gui::TCustomImageList* images = Images()) {
        int image = ImageIndex() >= 0 ? ImageIndex() : index;
        if (image < images->Count())
            images->Draw(C, R.left, R.top + (gui::RectHeight(R) - images->Height()) / 2, image, Enabled());
        R.left += images->Width() + 2;
    }
    std::string s = Items()->Strings(index);
    std::vector<int> stops = FListBox->TabStops();
    if (!stops.empty()) {
        int th = C->TextHeight(s);
        TabbedTextOut(C->Handle(), R.left + 2, R.top + gui::RectHeight(R) / 2 - th / 2, s.c_str(),
                      static_cast<int>(s.size()), static_cast<int>(stops.size()), stops.data(), 0);
    } else {
        TextOutVCenterOffset(C, s, R, 2);
    }
}

void TbsSkinCustomComboBox::DrawItemArea(gui::TCanvas* C, bool Skinned) {
    if (FEdit && !FPaintingTo) return; // the edit shows the text
    int w = gui::RectWidth(CBItem), h = gui::RectHeight(CBItem);
    if (w <= 0 || h <= 0) return;
    bool focused = Focused() && !IsPopupVisible();
    gui::TBitmap b;
    gui::TRect text{2, 0, w - 2, h};
    if (!Skinned) {
        b.SetSize(w, h);
        b.Canvas()->Font()->Assign(Font());
        b.Canvas()->Brush()->SetColor(focused ? gui::clHighlight : DefaultColor);
        b.Canvas()->Font()->SetColor(focused ? gui::clHighlightText : DefaultFont()->Color());
        b.Canvas()->FillRect({0, 0, w, h});
    } else {
        bool hot = FMouseIn && !Empty(ActiveItemRect) && !Empty(ActiveSkinRect);
        const TRect& src = focused ? FocusItemRect : hot ? ActiveItemRect : SItemRect;
        text = ToGuiRect(ItemTextRect);
        text.right += w - (Empty(SItemRect) ? ClRect.Width() : SItemRect.Width());
        if (FUseSkinSize) {
            int ih = Empty(SItemRect) ? FocusItemRect.Height() : SItemRect.Height();
            b.SetSize(w, std::max(ih, 1));
            if (!Empty(src))
                BuildHorzThreePartImage(ItemLeftOffset, ItemRightOffset, &b, Picture, src, w, b.Height(),
                                        false);
            else
                b.Canvas()->CopyRect({0, 0, w, b.Height()}, C, CBItem);
        } else {
            b.SetSize(w, h);
            text.bottom += Height() - SkinRect.Height();
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
        b.Canvas()->Font()->SetColor(focused ? FocusFontColor : hot ? ActiveFontColor : FontColor);
        if (focused && ShowFocus) DrawDottedFocusRect(b.Canvas(), {0, 0, w, b.Height()});
    }
    ApplyCharset(b.Canvas()->Font(), DefaultFont());
    DrawItemText(b.Canvas(), text);
    if (!Skinned && focused) b.Canvas()->DrawFocusRect({0, 0, w, h});
    C->Draw(CBItem.left, CBItem.top, &b);
}

void TbsSkinCustomComboBox::CreateControlDefaultImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text = DrawComboToolButtonDefault(B, ToolButtonState());
        ApplyCharset(B->Canvas()->Font(), DefaultFont());
        DrawItemText(B->Canvas(), text);
        return;
    }
    gui::TCanvas* c = B->Canvas();
    int W = Width(), H = Height();
    c->Brush()->SetColor(gui::clBtnFace);
    c->FillRect({0, 0, W, H});
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect({0, 0, W, H});
    c->Brush()->SetColor(DefaultColor);
    c->FillRect({1, 1, W - 1, H - 1});
    bool hot = Button.MouseIn, down = Button.Down && Button.MouseIn;
    c->Brush()->SetColor(down ? gui::TColor(0xB59385) : hot ? gui::TColor(0xD2BDB6) : gui::clBtnFace);
    c->FillRect(Button.R);
    c->Brush()->SetColor(hot ? gui::clNavy : gui::clBtnShadow);
    c->FrameRect(Button.R);
    DrawDropDownArrow(c, Button.R, Enabled() ? gui::clBlack : gui::clBtnShadow);
    DrawItemArea(c, false);
}

void TbsSkinCustomComboBox::CreateControlSkinImage(gui::TBitmap* B) {
    CalcRects();
    if (FToolButtonStyle) {
        gui::TRect text;
        if (FSD && DrawComboToolButtonSkin(*FSD, B, ToolButtonState(), text)) {
            ApplyCharset(B->Canvas()->Font(), DefaultFont());
            DrawItemText(B->Canvas(), text);
        } else {
            // Neither button entry: nothing of the button is drawn.
            DrawParentBackground(this, B->Canvas());
        }
        return;
    }
    bool hot = (FMouseIn || Focused() || (FEdit && FEdit->Focused())) && !Empty(ActiveSkinRect);
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
