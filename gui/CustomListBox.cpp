#include "gui/CustomListBox.h"

#include "controls/CommCtrl.h"
#include "gdi/Dc.h"
#include "gui/NativeMouse.h"
#include "gui/StringList.h"
#include "os/ScopeExit.h"
#include "win/Message.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>
#include <stdexcept>

namespace gui {

// The items: the window's own while it exists, the kept list before.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TCustomListBox* box) : box_(box) {}
    int Count() const override {
        if (!Window()) return box_->saved_->Count();
        return static_cast<int>(SendMessage(Window(), LB_GETCOUNT, 0, 0));
    }
    int Add(const std::string& s) override { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* object) override {
        if (!Window()) {
            int at = box_->sorted_ ? Sorted(s) : box_->saved_->Count();
            box_->saved_->InsertObject(at, s, object);
            return at;
        }
        auto at = SendMessage(Window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        if (at < 0) throw std::runtime_error("Unable to insert a line");
        SendMessage(Window(), LB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(object));
        return static_cast<int>(at);
    }
    void Insert(int index, const std::string& s) override {
        if (index < 0 || index > Count()) throw EStringListError("List index out of bounds");
        if (!Window()) return box_->saved_->Insert(index, s);
        if (SendMessage(Window(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(s.c_str())) < 0)
            throw std::runtime_error("Unable to insert a line");
    }
    void Delete(int index) override {
        Check(index);
        if (!Window()) {
            // The kept selection follows its row, as the window's would.
            box_->saved_->Delete(index);
            int& kept = box_->savedIndex_;
            if (kept == index)
                kept = -1;
            else if (kept > index)
                --kept;
            if (index < static_cast<int>(box_->savedSelection_.size()))
                box_->savedSelection_.erase(box_->savedSelection_.begin() + index);
            box_->savedTop_ = std::min(box_->savedTop_, std::max(0, box_->saved_->Count() - 1));
            return;
        }
        SendMessage(Window(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }
    void Clear() override {
        if (!Window()) {
            // Emptied before its window exists, the list keeps no selection for it either.
            box_->saved_->Clear();
            box_->savedIndex_ = -1;
            box_->savedTop_ = 0;
            box_->savedSelection_.clear();
            return;
        }
        SendMessage(Window(), LB_RESETCONTENT, 0, 0);
    }
    int IndexOf(const std::string& s) const override {
        if (!Window()) return box_->saved_->IndexOf(s);
        // The window's search ignores case, as every list of this library does.
        return static_cast<int>(SendMessage(Window(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(s.c_str())));
    }

protected:
    std::string Get(int index) const override {
        Check(index);
        if (!Window()) return box_->saved_->Strings(index);
        auto length = SendMessage(Window(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        std::string s(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        auto got =
            SendMessage(Window(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
        return s;
    }
    void Put(int index, const std::string& s) override {
        // Replacing keeps the row's object and its selection.
        TObject* object = GetObject(index);
        bool selected = box_->Selected(index);
        int current = box_->ItemIndex();
        Delete(index);
        if (box_->sorted_) {
            AddObject(s, object);
            return;
        }
        Insert(index, s);
        PutObject(index, object);
        if (selected) box_->SetSelected(index, true);
        if (current == index && !box_->multiSelect_) box_->SetItemIndex(index);
    }
    TObject* GetObject(int index) const override {
        Check(index);
        if (!Window()) return box_->saved_->Objects(index);
        return reinterpret_cast<TObject*>(
            SendMessage(Window(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }
    void PutObject(int index, TObject* object) override {
        Check(index);
        if (!Window()) return box_->saved_->SetObjects(index, object);
        SendMessage(Window(), LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
    }

private:
    HWND Window() const { return box_->HandleAllocated() ? box_->Handle() : nullptr; }
    void Check(int index) const {
        if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds");
    }
    int Sorted(const std::string& s) const {
        int i = 0;
        while (i < box_->saved_->Count() && CompareStrings(box_->saved_->Strings(i), s) <= 0) ++i;
        return i;
    }
    TCustomListBox* box_;
};

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListBoxStrings>(this)),
      saved_(std::make_unique<TStringList>()), canvas_(std::make_unique<TCanvas>()) {
    // Double clicks come from the window (LBN_DBLCLK), on a row only.
    ControlStyle = csSetCaption;
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTBOX);
    p.Style |= WS_VSCROLL;
    p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (sorted_) p.Style |= LBS_SORT;
    if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
    if (style_ == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
    if (columns_ > 0) p.Style |= DWORD{LBS_MULTICOLUMN} | DWORD{WS_HSCROLL};
    if (borderStyle_ == bsSingleBorder) p.Style |= WS_BORDER;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = Handle();
    if (style_ == lbOwnerDrawFixed) SendMessage(h, LB_SETITEMHEIGHT, 0, itemHeight_);
    if (columns_ > 0)
        SendMessage(h, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, Width() / columns_)), 0);
    // The kept items go in as they stand (a sorted list keeps its order).
    for (int i = 0; i < saved_->Count(); ++i) {
        std::string s = saved_->Strings(i);
        auto at = SendMessage(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        SendMessage(h, LB_SETITEMDATA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(saved_->Objects(i)));
    }
    saved_->Clear();
    if (multiSelect_) {
        for (size_t i = 0; i < savedSelection_.size(); ++i)
            if (savedSelection_[i]) SendMessage(h, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        if (savedIndex_ >= 0) SendMessage(h, LB_SETCARETINDEX, static_cast<WPARAM>(savedIndex_), 0);
    } else {
        SendMessage(h, LB_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    }
    SendMessage(h, LB_SETTOPINDEX, static_cast<WPARAM>(savedTop_), 0);
    savedSelection_.clear();
}

void TCustomListBox::DestroyWnd() {
    if (HandleAllocated() && !Destroying()) {
        savedIndex_ = ItemIndex();
        savedTop_ = TopIndex();
        savedSelection_.clear();
        saved_->Clear();
        for (int i = 0; i < Count(); ++i) {
            saved_->AddObject(items_->Strings(i), items_->Objects(i));
            savedSelection_.push_back(Selected(i));
        }
    }
    TWinControl::DestroyWnd();
}

void TCustomListBox::SetItems(const TStrings* items) {
    items_->Assign(items);
}

int TCustomListBox::Count() const {
    return items_->Count();
}

void TCustomListBox::Clear() {
    items_->Clear();
    savedIndex_ = -1;
    savedSelection_.clear();
}

int TCustomListBox::ItemIndex() const {
    auto* self = const_cast<TCustomListBox*>(this);
    if (!HandleAllocated()) return savedIndex_;
    if (multiSelect_) {
        int caret = static_cast<int>(SendMessage(self->Handle(), LB_GETCARETINDEX, 0, 0));
        return caret >= 0 && Selected(caret) ? caret : -1;
    }
    return static_cast<int>(SendMessage(self->Handle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
    if (value < -1 || value >= Count()) value = -1;
    if (!HandleAllocated()) {
        savedIndex_ = value;
        if (multiSelect_ && value >= 0) SetSelected(value, true);
        return;
    }
    if (multiSelect_) {
        if (value >= 0) {
            SendMessage(Handle(), LB_SETSEL, TRUE, value);
            SendMessage(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(value), 0);
        }
        return;
    }
    SendMessage(Handle(), LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (multiSelect_ == value) return;
    // The window keeps the selection of the old kind; the new kind starts from the focused row.
    int index = ItemIndex();
    bool had = HandleAllocated();
    if (had) {
        DestroyHandle();
        savedSelection_.assign(static_cast<size_t>(Count()), false);
    }
    multiSelect_ = value;
    savedIndex_ = index;
    if (index >= 0 && value) {
        savedSelection_.resize(std::max(savedSelection_.size(), static_cast<size_t>(index) + 1));
        savedSelection_[static_cast<size_t>(index)] = true;
    }
    if (had) CreateHandle();
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds");
    if (!HandleAllocated()) {
        if (multiSelect_)
            return static_cast<size_t>(index) < savedSelection_.size() &&
                   savedSelection_[static_cast<size_t>(index)];
        return index == savedIndex_;
    }
    return SendMessage(const_cast<TCustomListBox*>(this)->Handle(), LB_GETSEL, static_cast<WPARAM>(index),
                       0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds");
    if (!multiSelect_) {
        if (value)
            SetItemIndex(index);
        else if (ItemIndex() == index)
            SetItemIndex(-1);
        return;
    }
    if (!HandleAllocated()) {
        savedSelection_.resize(std::max(savedSelection_.size(), static_cast<size_t>(index) + 1));
        savedSelection_[static_cast<size_t>(index)] = value;
        return;
    }
    SendMessage(Handle(), LB_SETSEL, value, index);
}

int TCustomListBox::SelCount() const {
    if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
    if (!HandleAllocated())
        return static_cast<int>(std::count(savedSelection_.begin(), savedSelection_.end(), true));
    return static_cast<int>(SendMessage(const_cast<TCustomListBox*>(this)->Handle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex() const {
    if (!HandleAllocated()) return savedTop_;
    return static_cast<int>(SendMessage(const_cast<TCustomListBox*>(this)->Handle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value) {
    savedTop_ = std::max(value, 0);
    if (HandleAllocated()) SendMessage(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(savedTop_), 0);
}

void TCustomListBox::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    if (!HandleAllocated()) {
        if (value) saved_->Sort();
        return;
    }
    DestroyHandle();
    saved_->Sort(); // the window made anew sorts what it is given only as it arrives
    CreateHandle();
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (style_ == value) return;
    style_ = value;
    RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
    if (style_ == lbOwnerDrawFixed || !HandleAllocated()) return itemHeight_;
    return static_cast<int>(SendMessage(const_cast<TCustomListBox*>(this)->Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::SetItemHeight(int value) {
    if (value <= 0 || value == itemHeight_) return;
    itemHeight_ = value;
    if (style_ == lbOwnerDrawFixed && HandleAllocated()) {
        SendMessage(Handle(), LB_SETITEMHEIGHT, 0, value);
        Invalidate();
    }
}

void TCustomListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (columns_ == value) return;
    columns_ = value;
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existsOnly) {
    auto r = SendMessage(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(pos.x, pos.y));
    int index = LOWORD(static_cast<uintptr_t>(r));
    bool outside = HIWORD(static_cast<uintptr_t>(r)) != 0;
    if (index >= Count()) return existsOnly ? -1 : Count();
    if (outside && existsOnly) return -1;
    return index;
}

TRect TCustomListBox::ItemRect(int index) {
    RECT r{};
    if (index >= 0 && index < Count())
        SendMessage(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    else if (index == Count() && Count() > 0) {
        // Where one more row would go.
        SendMessage(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, RectHeight(r));
    }
    return r;
}

void TCustomListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) return OnDrawItem(this, index, rect, state);
    TCanvas* c = Canvas();
    c->FillRect(rect);
    if (index < 0 || index >= Count()) return;
    std::string s = items_->Strings(index);
    c->TextOut(rect.left + 2, rect.top + (RectHeight(rect) - c->TextHeight(s)) / 2, s);
}

void TCustomListBox::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

void TCustomListBox::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE:
            Click();
            break;
        case LBN_DBLCLK:
            DblClick();
            break;
        default:
            break;
        }
        return;
    case CN_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
        return;
    }
    case CN_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TOwnerDrawState state = 0;
        if (d->itemState & ODS_SELECTED) state |= odSelected;
        if (d->itemState & ODS_DISABLED) state |= odDisabled;
        if (d->itemState & ODS_FOCUS) state |= odFocused;
        canvas_->SetHandle(d->hDC);
        canvas_->Font()->Assign(Font());
        canvas_->Brush()->Assign(Brush());
        if (state & odSelected) {
            canvas_->Brush()->SetColor(clHighlight);
            canvas_->Font()->SetColor(clHighlightText);
        }
        {
            os::ScopeExit release([this] { canvas_->SetHandle(nullptr); });
            DrawItem(static_cast<int>(d->itemID), d->rcItem, state);
            if (state & odFocused) canvas_->DrawFocusRect(d->rcItem);
        }
        m.Result = TRUE;
        return;
    }
    case WM_PAINT:
    case WM_ERASEBKGND:
        return DefaultHandler(m);
    default:
        TWinControl::Dispatch(m);
    }
}

} // namespace gui
