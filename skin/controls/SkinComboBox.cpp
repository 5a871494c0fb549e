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

constexpr uint32_t kSearchPause = 500;
constexpr uint32_t kCompletionPause = 200;

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
    : TbsDropDownList<TbsSkinListBox>(AComboBox), FCombo(AComboBox) {
    ListBox()->SetTabStop(false);
}

void TbsPopupListBox::ListBoxWndProc(gui::TMessage& m, bool& Continue) {
    TbsDropDownList<TbsSkinListBox>::ListBoxWndProc(m, Continue);
    if (!Continue) return;
    switch (m.Msg) {
    case WM_MOUSEACTIVATE:
        m.Result = MA_NOACTIVATE;
        Continue = false;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FCombo->ListPress();
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

TbsSkinCustomComboBox::TbsSkinCustomComboBox(gui::TComponent* AOwner) : TbsSkinDropDownComboBox(AOwner) {
    FUseSkinSize = true;
    FListBox = std::make_unique<TbsPopupListBox>(this);
    TbsSkinDropDownComboBox::SetBounds(Left(), Top(), 120, 20);
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
        Chosen();
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
        Chosen();
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    ClosedUp(Accept);
}

bool TbsSkinCustomComboBox::OverList(gui::TPoint Screen) const {
    return IsPopupVisible() && WindowFromPoint(Screen) == FListBox->ListBox()->Handle();
}

// --- mouse ---------------------------------------------------------------------------------

void TbsSkinCustomComboBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinDropDownComboBox::MouseMove(Shift, X, Y);
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

void TbsSkinCustomComboBox::CMMouseEnter(gui::TMessage& m) {
    TbsSkinDropDownComboBox::CMMouseEnter(m);
    FMouseIn = true;
    bool active = FIndex != -1 && !Empty(ActiveSkinRect);
    if (active && FEdit && !FEdit->Focused()) FEdit->Font()->SetColor(ActiveFontColor);
    if (active || FToolButtonStyle) Invalidate();
}

void TbsSkinCustomComboBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinDropDownComboBox::CMMouseLeave(m);
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
    TbsSkinDropDownComboBox::KeyDown(Key, Shift);
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
    TbsSkinDropDownComboBox::KeyPress(Key);
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
            TbsSkinDropDownComboBox::Dispatch(m);
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
    default:
        break;
    }
    TbsSkinDropDownComboBox::Dispatch(m);
}

// --- skin and painting ---------------------------------------------------------------------

void TbsSkinCustomComboBox::GetSkinData() {
    TbsSkinDropDownComboBox::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinComboBox*>(Descriptor());
    if (d && FIndex != -1 && Picture) ListBoxName = d->ListBoxName;
}

void TbsSkinCustomComboBox::CalcRects() {
    TbsSkinDropDownComboBox::CalcRects();
    if (!FEdit) return;
    // One line of the edit's font, centred in the item area.
    gui::TBitmap m;
    m.SetSize(1, 1);
    m.Canvas()->Font()->Assign(FEdit->Font());
    int lh = m.Canvas()->TextHeight("Wg");
    FEdit->SetBounds(CBItem.left, CBItem.top + (gui::RectHeight(CBItem) - lh) / 2, gui::RectWidth(CBItem),
                     lh);
}

void TbsSkinCustomComboBox::SetToolButtonStyle(bool Value) {
    if (Value) SetStyle(TbsSkinCustomComboBoxStyle::bscbFixedStyle);
    TbsSkinDropDownComboBox::SetToolButtonStyle(Value);
}

void TbsSkinCustomComboBox::ChangeSkinData() {
    TbsSkinDropDownComboBox::ChangeSkinData();
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

void TbsSkinCustomComboBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinDropDownComboBox::Notification(AComponent, Operation);
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

void TbsSkinCustomComboBox::DrawItemText(gui::TCanvas* C, gui::TRect R, bool) {
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

} // namespace skin
