#include "gui/ComboBox.h"

#include "controls/CommCtrl.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "win/Input.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"
#include "win/WindowPos.h"

#include <algorithm>

namespace gui {

namespace {
constexpr int ButtonWidth = 17;
} // namespace

// The drop-down list: a popup that never takes the focus or activation from the form; while
// it is down it holds the mouse, so a click anywhere else closes it.
class TComboBox::TDropList : public TCustomListBox {
public:
    explicit TDropList(TComboBox* combo) : TCustomListBox(nullptr), combo_(combo) {}
    void WndProc(TMessage& m) override {
        auto at = [&] { return TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}; };
        auto inside = [&] {
            TRect c = ClientRect();
            return PtInRect(&c, at()) != 0;
        };
        switch (m.Msg) {
        case WM_MOUSEACTIVATE:
            m.Result = MA_NOACTIVATE;
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
            if (!inside()) return combo_->CloseUp(false);
            Track(at());
            return;
        case WM_MOUSEMOVE:
            if (inside()) Track(at());
            return;
        case WM_LBUTTONUP:
            if (inside()) combo_->CloseUp(true);
            return;
        case WM_CAPTURECHANGED:
            if (combo_->dropped_ && reinterpret_cast<HWND>(m.LParam) != Handle()) combo_->CloseUp(false);
            break;
        default:
            break;
        }
        TCustomListBox::WndProc(m);
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomListBox::CreateParams(p);
        p.Style = (p.Style & ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP)) | WS_POPUP | WS_BORDER;
        p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
        p.WndParent = nullptr;
        p.WinClassName = "TComboDropList";
    }

private:
    // The row under the pointer is the one Enter or the release takes.
    void Track(TPoint p) {
        int i = ItemAtPos(p, true);
        if (i >= 0 && i != ItemIndex()) SetItemIndex(i);
    }
    TComboBox* combo_;
};

TComboBox::TComboBox(TComponent* owner) : TCustomControl(owner), list_(std::make_unique<TDropList>(this)) {
    ControlStyle = csSetCaption | csFixedHeight | csDoubleClicks | csOpaque;
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 145, 21);
    edit_ = new TEdit(this);
    edit_->SetBorderStyle(bsNoBorder);
    edit_->SetParent(this);
    edit_->AutoSelect = true;
    edit_->OnChange = [this](TObject*) {
        if (showing_) return;
        // Typing chooses the item it names, if any.
        list_->SetItemIndex(list_->Items()->IndexOf(edit_->Text()));
        Change();
    };
    edit_->OnKeyDown = [this](TObject*, WORD& key, TShiftState shift) { KeyDown(key, shift); };
    edit_->OnExit = [this](TObject*) {
        if (!OwnsFocus(GetFocus())) CloseUp(false);
    };
    PlaceEdit();
}

TComboBox::~TComboBox() {
    if (dropped_ && list_->HandleAllocated() && GetCapture() == list_->Handle()) ReleaseCapture();
    dropped_ = false;
}

TStrings* TComboBox::Items() const {
    return list_->Items();
}

void TComboBox::SetItems(const TStrings* items) {
    list_->SetItems(items);
}

int TComboBox::ItemIndex() const {
    return list_->ItemIndex();
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= Items()->Count()) value = -1;
    list_->SetItemIndex(value);
    ShowItem(value);
}

void TComboBox::ShowItem(int index) {
    if (style_ == csDropDown) {
        showing_ = true;
        edit_->SetText(index >= 0 ? Items()->Strings(index) : "");
        showing_ = false;
        if (edit_->Focused()) edit_->SelectAll();
    }
    Invalidate();
}

std::string TComboBox::Text() const {
    if (style_ == csDropDown) return edit_->Text();
    int i = ItemIndex();
    return i >= 0 ? Items()->Strings(i) : "";
}

void TComboBox::SetText(const std::string& value) {
    int i = Items()->IndexOf(value);
    if (style_ == csDropDownList) return SetItemIndex(i);
    list_->SetItemIndex(i);
    showing_ = true;
    edit_->SetText(value);
    showing_ = false;
    Invalidate();
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    edit_->SetVisible(value == csDropDown);
    ShowItem(ItemIndex());
}

void TComboBox::Clear() {
    Items()->Clear();
    SetItemIndex(-1);
}

TRect TComboBox::ButtonRect() {
    TRect c = ClientRect();
    return {c.right - ButtonWidth - 1, c.top + 1, c.right - 1, c.bottom - 1};
}

void TComboBox::PlaceEdit() {
    TRect b = ButtonRect();
    edit_->SetBounds(3, 2, std::max(b.left - 4, 0), std::max(ClientHeight() - 4, 0));
}

void TComboBox::Resize() {
    PlaceEdit();
    TCustomControl::Resize();
}

void TComboBox::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    c->FillRect(r);
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    TRect b = ButtonRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(b);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(b.left, b.top);
    c->LineTo(b.left, b.bottom);
    // The arrow: a small triangle pointing down.
    int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2 - 1;
    TPoint arrow[] = {
        {cx - 4, cy - 1},
        {cx + 4, cy - 1},
        {cx,     cy + 3}
    };
    TColor ink = Enabled() ? clWindowText : clGrayText;
    c->Brush()->SetColor(ink);
    c->Pen()->SetColor(ink);
    c->Polygon(arrow);
    if (style_ != csDropDownList) return;
    TRect line{2, 2, b.left - 1, r.bottom - 2};
    bool focused = Focused() && !dropped_;
    c->Brush()->SetColor(focused ? clHighlight : Color());
    c->FillRect(line);
    c->Font()->Assign(Font());
    if (focused) c->Font()->SetColor(clHighlightText);
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    std::string s = Text();
    c->Brush()->SetStyle(bsClear);
    c->TextRect(line, line.left + 2, line.top + (RectHeight(line) - c->TextHeight(s)) / 2, s);
    if (focused) c->DrawFocusRect(line);
}

void TComboBox::SetDroppedDown(bool value) {
    if (value == dropped_) return;
    if (!value) return CloseUp(false);
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    if (OnDropDown) OnDropDown(this);
    list_->SetFont(Font());
    int rows = std::clamp(Items()->Count(), 1, std::max(DropDownCount, 1));
    int height = rows * list_->ItemHeight() + 2;
    TPoint at = ClientToScreen({0, Height()});
    // Above the box when there is no room below it.
    TRect work = Screen->WorkAreaRect();
    if (at.y + height > work.bottom) at.y = ClientToScreen({0, 0}).y - height;
    list_->SetBounds(at.x, at.y, Width(), height);
    HWND h = list_->Handle();
    SetWindowPos(h, HWND_TOPMOST, at.x, at.y, Width(), height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    droppedIndex_ = list_->ItemIndex();
    if (droppedIndex_ >= 0)
        SendMessage(h, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(droppedIndex_ - rows + 1, 0)), 0);
    dropped_ = true;
    if (CanFocus() && !OwnsFocus(GetFocus())) SetFocus();
    SetCapture(h);
    Invalidate();
}

void TComboBox::CloseUp(bool accept) {
    if (!dropped_) return;
    dropped_ = false;
    HWND h = list_->Handle();
    if (GetCapture() == h) ReleaseCapture();
    ShowWindow(h, SW_HIDE);
    int chosen = list_->ItemIndex();
    // Leaving puts the list back where it stood.
    list_->SetItemIndex(droppedIndex_);
    if (accept && chosen >= 0) Choose(chosen);
    Invalidate();
    if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::Choose(int index) {
    bool changed = index != ItemIndex() || (style_ == csDropDown && edit_->Text() != Items()->Strings(index));
    list_->SetItemIndex(index);
    ShowItem(index);
    if (changed) Change();
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

bool TComboBox::OwnsFocus(HWND window) {
    return window && (window == Handle() || (edit_->HandleAllocated() && window == edit_->Handle()));
}

void TComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (CanFocus() && !OwnsFocus(GetFocus())) {
        if (style_ == csDropDown)
            edit_->SetFocus();
        else
            SetFocus();
    }
    TRect b = ButtonRect();
    if (style_ == csDropDownList || PtInRect(&b, TPoint{x, y})) SetDroppedDown(!dropped_);
}

void TComboBox::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    bool alt = shift & ssAlt;
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        SetDroppedDown(!dropped_);
        key = 0;
        return;
    }
    int count = Items()->Count();
    int step = 0;
    switch (key) {
    case VK_UP:
        step = -1;
        break;
    case VK_DOWN:
        step = 1;
        break;
    case VK_PRIOR:
        step = -std::max(DropDownCount - 1, 1);
        break;
    case VK_NEXT:
        step = std::max(DropDownCount - 1, 1);
        break;
    case VK_RETURN:
        if (dropped_) CloseUp(true), key = 0;
        return;
    case VK_ESCAPE:
        if (dropped_) CloseUp(false), key = 0;
        return;
    default:
        return;
    }
    key = 0;
    if (count == 0) return;
    int from = list_->ItemIndex();
    int to = from < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(from + step, 0, count - 1);
    if (dropped_)
        list_->SetItemIndex(to);
    else if (to != from)
        Choose(to);
}

void TComboBox::CMCancelMode(TMessage& m) {
    TCustomControl::CMCancelMode(m);
    if (reinterpret_cast<TControl*>(m.LParam) != this) CloseUp(false);
}

void TComboBox::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        // While down Enter and Escape belong to the list, not to the form.
        if (dropped_) m.Result |= DLGC_WANTALLKEYS;
        return;
    case CM_WANTSPECIALKEY:
        m.Result = dropped_ && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE);
        return;
    case WM_SETFOCUS:
        TCustomControl::Dispatch(m);
        // The edit takes the focus of an editable box.
        if (style_ == csDropDown && edit_->CanFocus()) edit_->SetFocus();
        Invalidate();
        return;
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(m);
        if (!OwnsFocus(reinterpret_cast<HWND>(m.WParam)) &&
            !(list_->HandleAllocated() && reinterpret_cast<HWND>(m.WParam) == list_->Handle()))
            CloseUp(false);
        Invalidate();
        return;
    default:
        TCustomControl::Dispatch(m);
    }
}

} // namespace gui
