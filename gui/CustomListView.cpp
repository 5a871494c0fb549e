#include "gui/CustomListView.h"

#include "controls/CommCtrlLists.h"
#include "gui/ImgList.h"
#include "gui/NativeMouse.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>
#include <stdexcept>

namespace gui {

namespace {

void CheckIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

// ---- item

// Sub-item texts: every change reaches the window.
class TListItem::TSubItems : public TStringList {
public:
    explicit TSubItems(TListItem* item) : item_(item) {}

protected:
    void Changed() override {
        TStringList::Changed();
        if (UpdateCount() == 0) item_->PushSubItems();
    }

private:
    TListItem* item_;
};

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TSubItems>(this)) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const {
    return owner_->owner_;
}

int TListItem::Index() const {
    return owner_->IndexOf(this);
}

void TListItem::SetCaption(const std::string& value) {
    caption_ = value;
    int i = Index();
    HWND h = ListView()->Window();
    if (!h || i < 0) return;
    LVITEM it{};
    it.iSubItem = 0;
    it.pszText = caption_.data();
    SendMessage(h, LVM_SETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

void TListItem::PushSubItems() {
    int i = Index();
    HWND h = ListView()->Window();
    if (!h || i < 0) return;
    // Columns past the last sub-item show nothing.
    int columns = std::max(ListView()->Columns()->Count(), subItems_->Count() + 1);
    for (int s = 1; s < columns; ++s) {
        std::string text = s - 1 < subItems_->Count() ? subItems_->Strings(s - 1) : "";
        LVITEM it{};
        it.iSubItem = s;
        it.pszText = text.data();
        SendMessage(h, LVM_SETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    }
}

void TListItem::SetImageIndex(int value) {
    imageIndex_ = value;
    int i = Index();
    HWND h = ListView()->Window();
    if (!h || i < 0) return;
    LVITEM it{};
    it.mask = LVIF_IMAGE;
    it.iItem = i;
    it.iImage = value;
    SendMessage(h, LVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));
}

bool TListItem::Selected() const {
    HWND h = ListView()->Window();
    int i = Index();
    if (h && i >= 0) return SendMessage(h, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0;
    return state_ & LVIS_SELECTED;
}

void TListItem::SetSelected(bool value) {
    HWND h = ListView()->Window();
    int i = Index();
    if (!h || i < 0) {
        state_ = value ? state_ | LVIS_SELECTED : state_ & ~LVIS_SELECTED;
        return;
    }
    LVITEM it{};
    it.stateMask = LVIS_SELECTED;
    it.state = value ? UINT{LVIS_SELECTED} : 0u;
    SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

bool TListItem::Focused() const {
    HWND h = ListView()->Window();
    int i = Index();
    if (h && i >= 0) return SendMessage(h, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_FOCUSED) != 0;
    return state_ & LVIS_FOCUSED;
}

void TListItem::SetFocused(bool value) {
    HWND h = ListView()->Window();
    int i = Index();
    if (!h || i < 0) {
        state_ = value ? state_ | LVIS_FOCUSED : state_ & ~LVIS_FOCUSED;
        return;
    }
    LVITEM it{};
    it.stateMask = LVIS_FOCUSED;
    it.state = value ? UINT{LVIS_FOCUSED} : 0u;
    SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
}

void TListItem::Delete() {
    owner_->Delete(Index());
}

void TListItem::MakeVisible() {
    if (HWND h = ListView()->Window()) SendMessage(h, LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), FALSE);
}

void TListItem::EditCaption() {
    ListView()->SetFocus();
    SendMessage(ListView()->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(Index()), 0);
}

TRect TListItem::DisplayRect() {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    if (HWND h = ListView()->Window())
        if (!SendMessage(h, LVM_GETITEMRECT, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&r)))
            r = {};
    return r;
}

// ---- items

TListItems::~TListItems() = default;

int TListItems::Count() const {
    return owner_->ownerData_ ? count_ : static_cast<int>(items_.size());
}

void TListItems::SetCount(int value) {
    value = std::max(value, 0);
    if (!owner_->ownerData_)
        throw std::logic_error("The count of a list view can be set only with owner data");
    count_ = value;
    if (HWND h = owner_->Window()) SendMessage(h, LVM_SETITEMCOUNT, static_cast<WPARAM>(value), 0);
}

TListItem* TListItems::Item(int index) {
    CheckIndex(index, Count());
    if (!owner_->ownerData_) return items_[static_cast<size_t>(index)].get();
    // A row asked for afresh each time: OnData fills it.
    temp_ = std::make_unique<TListItem>(this);
    temp_->Data = reinterpret_cast<void*>(static_cast<intptr_t>(index));
    if (owner_->OnData) owner_->OnData(owner_, temp_.get());
    return temp_.get();
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    if (owner_->ownerData_) throw std::logic_error("Items of an owner-data list view are counted, not added");
    if (index < 0 || index > Count()) CheckIndex(index, Count());
    items_.insert(items_.begin() + index, std::make_unique<TListItem>(this));
    PushItem(index);
    return items_[static_cast<size_t>(index)].get();
}

void TListItems::PushItem(int index) {
    HWND h = owner_->Window();
    if (!h) return;
    TListItem* item = items_[static_cast<size_t>(index)].get();
    LVITEM it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    it.iItem = index;
    it.pszText = item->caption_.data();
    it.iImage = item->imageIndex_;
    it.lParam = reinterpret_cast<LPARAM>(item);
    SendMessage(h, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&it));
    item->PushSubItems();
    if (item->state_) {
        LVITEM st{};
        st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        st.state = item->state_;
        SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&st));
    }
}

void TListItems::Delete(int index) {
    CheckIndex(index, Count());
    if (owner_->ownerData_) return SetCount(count_ - 1);
    if (HWND h = owner_->Window()) SendMessage(h, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    items_.erase(items_.begin() + index);
}

void TListItems::Clear() {
    if (owner_->ownerData_) return SetCount(0);
    if (HWND h = owner_->Window()) SendMessage(h, LVM_DELETEALLITEMS, 0, 0);
    items_.clear();
}

int TListItems::IndexOf(const TListItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0)
        if (HWND h = owner_->Window()) SendMessage(h, WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    if (HWND h = owner_->Window()) {
        SendMessage(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
}

// ---- columns

void TListColumn::Push() {
    HWND h = owner_->Window();
    if (!h) return;
    LVCOLUMN c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_MAXWIDTH | LVCF_IMAGE;
    c.pszText = caption_.data();
    c.cx = width_;
    c.cxMax = maxWidth_;
    c.fmt = alignment_ == taRightJustify ? LVCFMT_RIGHT
            : alignment_ == taCenter     ? LVCFMT_CENTER
                                         : LVCFMT_LEFT;
    c.iImage = imageIndex_;
    if (imageIndex_ >= 0) c.fmt |= LVCFMT_IMAGE;
    SendMessage(h, LVM_SETCOLUMN, static_cast<WPARAM>(index_), reinterpret_cast<LPARAM>(&c));
}

void TListColumn::SetCaption(const std::string& value) {
    caption_ = value;
    Push();
}

int TListColumn::Width() {
    // The user may have dragged it.
    if (HWND h = owner_->Window())
        width_ = static_cast<int>(SendMessage(h, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index_), 0));
    return width_;
}

void TListColumn::SetWidth(int value) {
    width_ = std::max(value, 0);
    if (HWND h = owner_->Window()) SendMessage(h, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index_), width_);
}

void TListColumn::SetMaxWidth(int value) {
    maxWidth_ = std::max(value, 0);
    Push();
}

void TListColumn::SetAlignment(TAlignment value) {
    alignment_ = value;
    Push();
}

void TListColumn::SetImageIndex(int value) {
    imageIndex_ = value;
    Push();
}

TListColumn* TListColumns::Add() {
    int index = Count();
    columns_.push_back(std::make_unique<TListColumn>(owner_, index));
    if (HWND h = owner_->Window()) {
        LVCOLUMN c{};
        c.mask = LVCF_WIDTH | LVCF_SUBITEM;
        c.cx = columns_.back()->width_;
        c.iSubItem = index;
        SendMessage(h, LVM_INSERTCOLUMN, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
        columns_.back()->Push();
    }
    return columns_.back().get();
}

void TListColumns::Delete(int index) {
    CheckIndex(index, Count());
    if (HWND h = owner_->Window()) SendMessage(h, LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0);
    columns_.erase(columns_.begin() + index);
    for (int i = 0; i < Count(); ++i) columns_[static_cast<size_t>(i)]->index_ = i;
}

void TListColumns::Clear() {
    while (Count() > 0) Delete(Count() - 1);
}

// ---- list view

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TListItems>(this)),
      columns_(std::make_unique<TListColumns>(this)) {
    ControlStyle = csSetCaption | csDoubleClicks;
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 250, 150);
}

TCustomListView::~TCustomListView() = default;

void TCustomListView::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEW);
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= views[viewStyle_] | WS_BORDER | LVS_SHAREIMAGELISTS;
    if (!multiSelect_) p.Style |= LVS_SINGLESEL;
    if (!readOnly_) p.Style |= LVS_EDITLABELS;
    if (!hideSelection_) p.Style |= LVS_SHOWSELALWAYS;
    if (!showColumnHeaders_) p.Style |= LVS_NOCOLUMNHEADER;
    if (ownerData_) p.Style |= LVS_OWNERDATA;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
    // The kept selection going back into a new window is no news.
    creating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{creating_};
    TWinControl::CreateWnd();
    HWND h = Handle();
    DWORD ex = (gridLines_ ? DWORD{LVS_EX_GRIDLINES} : 0u) | (rowSelect_ ? DWORD{LVS_EX_FULLROWSELECT} : 0u);
    SendMessage(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
    SendMessage(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessage(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    SendMessage(h, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
    PushImages();
    PushColumns();
    if (ownerData_) {
        SendMessage(h, LVM_SETITEMCOUNT, static_cast<WPARAM>(items_->count_), 0);
        return;
    }
    for (int i = 0; i < items_->Count(); ++i) items_->PushItem(i);
}

void TCustomListView::PushColumns() {
    HWND h = Handle();
    for (auto& c : columns_->columns_) {
        LVCOLUMN lc{};
        lc.mask = LVCF_WIDTH | LVCF_SUBITEM;
        lc.cx = c->width_;
        lc.iSubItem = c->index_;
        SendMessage(h, LVM_INSERTCOLUMN, static_cast<WPARAM>(c->index_), reinterpret_cast<LPARAM>(&lc));
        c->Push();
    }
}

void TCustomListView::PushImages() {
    HWND h = Window();
    if (!h) return;
    SendMessage(h, LVM_SETIMAGELIST, LVSIL_SMALL,
                reinterpret_cast<LPARAM>(smallImages_ ? smallImages_->Handle() : nullptr));
    SendMessage(h, LVM_SETIMAGELIST, LVSIL_NORMAL,
                reinterpret_cast<LPARAM>(largeImages_ ? largeImages_->Handle() : nullptr));
}

void TCustomListView::DestroyWnd() {
    if (HandleAllocated() && !Destroying()) {
        HWND h = Handle();
        for (auto& c : columns_->columns_) c->Width();
        for (size_t i = 0; i < items_->items_.size(); ++i)
            items_->items_[i]->state_ =
                static_cast<UINT>(SendMessage(h, LVM_GETITEMSTATE, i, LVIS_SELECTED | LVIS_FOCUSED));
    }
    TWinControl::DestroyWnd();
}

void TCustomListView::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

#define TARVIK_LV_FLAG(Setter, field)                                                                        \
    void TCustomListView::Setter(bool value) {                                                               \
        if (field == value) return;                                                                          \
        field = value;                                                                                       \
        RecreateWnd();                                                                                       \
    }
TARVIK_LV_FLAG(SetReadOnly, readOnly_)
TARVIK_LV_FLAG(SetHideSelection, hideSelection_)
TARVIK_LV_FLAG(SetShowColumnHeaders, showColumnHeaders_)
#undef TARVIK_LV_FLAG

void TCustomListView::SetViewStyle(TListViewStyle value) {
    if (viewStyle_ == value) return;
    viewStyle_ = value;
    RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool value) {
    if (multiSelect_ == value) return;
    multiSelect_ = value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool value) {
    rowSelect_ = value;
    if (HWND h = Window())
        SendMessage(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                    value ? DWORD{LVS_EX_FULLROWSELECT} : 0u);
}

void TCustomListView::SetGridLines(bool value) {
    gridLines_ = value;
    if (HWND h = Window())
        SendMessage(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, value ? DWORD{LVS_EX_GRIDLINES} : 0u);
}

void TCustomListView::SetOwnerData(bool value) {
    if (ownerData_ == value) return;
    // The items of one kind mean nothing to the other.
    items_->Clear();
    ownerData_ = value;
    items_->count_ = 0;
    RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* value) {
    if (smallImages_) smallImages_->RemoveFreeNotification(this);
    smallImages_ = value;
    if (value) value->FreeNotification(this);
    PushImages();
}

void TCustomListView::SetLargeImages(TCustomImageList* value) {
    if (largeImages_) largeImages_->RemoveFreeNotification(this);
    largeImages_ = value;
    if (value) value->FreeNotification(this);
    PushImages();
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == smallImages_) smallImages_ = nullptr, PushImages();
    if (component == largeImages_) largeImages_ = nullptr, PushImages();
}

int TCustomListView::ItemIndex() {
    if (HWND h = Window())
        return static_cast<int>(SendMessage(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    for (size_t i = 0; i < items_->items_.size(); ++i)
        if (items_->items_[i]->state_ & LVIS_SELECTED) return static_cast<int>(i);
    return -1;
}

void TCustomListView::SetItemIndex(int value) {
    SetSelected(value >= 0 && value < items_->Count() ? items_->Item(value) : nullptr);
}

TListItem* TCustomListView::Selected() {
    int i = ItemIndex();
    return i >= 0 ? items_->Item(i) : nullptr;
}

void TCustomListView::ClearSelection() {
    if (HWND h = Window()) {
        LVITEM it{};
        it.stateMask = LVIS_SELECTED;
        SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
        return;
    }
    for (auto& item : items_->items_) item->state_ &= ~LVIS_SELECTED;
}

void TCustomListView::SetSelected(TListItem* item) {
    // With owner data the row handed out is a copy: its index came in its data.
    int index = !item        ? -1
                : ownerData_ ? static_cast<int>(reinterpret_cast<intptr_t>(item->Data))
                             : item->Index();
    // A single selection moves by itself; several are cleared first.
    if (index < 0 || multiSelect_ || !HandleAllocated()) ClearSelection();
    if (index < 0) return;
    if (HWND h = Window()) {
        LVITEM it{};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&it));
        return;
    }
    if (!ownerData_) items_->Item(index)->state_ |= LVIS_SELECTED | LVIS_FOCUSED;
}

int TCustomListView::SelCount() {
    if (HWND h = Window()) return static_cast<int>(SendMessage(h, LVM_GETSELECTEDCOUNT, 0, 0));
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](auto& i) { return (i->state_ & LVIS_SELECTED) != 0; }));
}

TListItem* TCustomListView::ItemFocused() {
    int i = static_cast<int>(SendMessage(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return i >= 0 ? items_->Item(i) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* item) {
    if (item) item->SetFocused(true);
}

TListItem* TCustomListView::TopItem() {
    if (items_->Count() == 0) return nullptr;
    int i = static_cast<int>(SendMessage(Handle(), LVM_GETTOPINDEX, 0, 0));
    return i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr;
}

int TCustomListView::VisibleRowCount() {
    return static_cast<int>(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
}

TListItem* TCustomListView::GetItemAt(int x, int y) {
    LVHITTESTINFO info{};
    info.pt = {x, y};
    int i = static_cast<int>(SendMessage(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    return i >= 0 && (info.flags & LVHT_ONITEM) ? items_->Item(i) : nullptr;
}

void TCustomListView::Scroll(int dx, int dy) {
    SendMessage(Handle(), LVM_SCROLL, static_cast<WPARAM>(dx), dy);
}

bool TCustomListView::IsEditing() {
    HWND e =
        HandleAllocated() ? reinterpret_cast<HWND>(SendMessage(Handle(), LVM_GETEDITCONTROL, 0, 0)) : nullptr;
    return e && IsWindowVisible(e);
}

void TCustomListView::CNNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    switch (static_cast<int>(hdr->code)) {
    case LVN_ITEMCHANGED: {
        auto* n = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (!(n->uChanged & LVIF_STATE) || !((n->uNewState ^ n->uOldState) & LVIS_SELECTED)) return;
        if (!OnSelectItem || creating_) return;
        TListItem* item = n->iItem >= 0 && n->iItem < items_->Count() ? items_->Item(n->iItem) : nullptr;
        OnSelectItem(this, item, (n->uNewState & LVIS_SELECTED) != 0);
        return;
    }
    case LVN_GETDISPINFO: {
        auto* d = reinterpret_cast<NMLVDISPINFO*>(m.LParam);
        if (!ownerData_ || d->item.iItem < 0 || d->item.iItem >= items_->Count()) return;
        TListItem* item = items_->Item(d->item.iItem);
        if ((d->item.mask & LVIF_TEXT) && d->item.pszText && d->item.cchTextMax > 0) {
            int s = d->item.iSubItem;
            std::string text = s == 0                              ? item->Caption()
                               : s - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(s - 1)
                                                                   : "";
            size_t n = std::min(text.size(), static_cast<size_t>(d->item.cchTextMax - 1));
            text.copy(d->item.pszText, n);
            d->item.pszText[n] = 0;
        }
        if (d->item.mask & LVIF_IMAGE) d->item.iImage = item->ImageIndex();
        return;
    }
    case LVN_BEGINLABELEDIT: {
        auto* d = reinterpret_cast<NMLVDISPINFO*>(m.LParam);
        bool allow = !readOnly_;
        if (allow && OnEditing && d->item.iItem >= 0 && d->item.iItem < items_->Count())
            OnEditing(this, items_->Item(d->item.iItem), allow);
        m.Result = allow ? 0 : 1;
        return;
    }
    case LVN_ENDLABELEDIT: {
        auto* d = reinterpret_cast<NMLVDISPINFO*>(m.LParam);
        m.Result = 0;
        if (!d->item.pszText || d->item.iItem < 0 || d->item.iItem >= items_->Count()) return;
        TListItem* item = items_->Item(d->item.iItem);
        std::string s = d->item.pszText;
        if (OnEdited) OnEdited(this, item, s);
        if (!ownerData_) {
            item->caption_ = s;
            // The window shows what the handler left, not what was typed.
            LVITEM it{};
            it.pszText = item->caption_.data();
            SendMessage(Handle(), LVM_SETITEMTEXT, static_cast<WPARAM>(d->item.iItem),
                        reinterpret_cast<LPARAM>(&it));
        }
        return;
    }
    case LVN_ODFINDITEM: {
        // Type-ahead in a virtual list: only the owner knows the captions.
        auto* f = reinterpret_cast<NMLVFINDITEM*>(m.LParam);
        int index = -1;
        if (OnDataFind && (f->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && f->lvfi.psz)
            OnDataFind(this, f->lvfi.psz, f->iStart, (f->lvfi.flags & LVFI_PARTIAL) != 0,
                       (f->lvfi.flags & LVFI_WRAP) != 0, index);
        m.Result = index;
        return;
    }
    case LVN_COLUMNCLICK: {
        auto* n = reinterpret_cast<NMLISTVIEW*>(m.LParam);
        if (OnColumnClick && n->iSubItem >= 0 && n->iSubItem < columns_->Count())
            OnColumnClick(this, columns_->Items(n->iSubItem));
        return;
    }
    case NM_DBLCLK:
        DblClick();
        return;
    case NM_CLICK:
        Click();
        return;
    default:
        return;
    }
}

void TCustomListView::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY:
        return CNNotify(m);
    case CM_WANTSPECIALKEY:
        // Enter and Esc end an in-place edit; they are no dialog keys while one is open.
        if ((m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) && IsEditing()) {
            m.Result = 1;
            return;
        }
        TWinControl::Dispatch(m);
        return;
    case WM_PAINT:
    case WM_ERASEBKGND:
        return DefaultHandler(m);
    case CM_COLORCHANGED:
        TWinControl::Dispatch(m);
        if (HWND h = Window()) {
            SendMessage(h, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
            SendMessage(h, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
            InvalidateRect(h, nullptr, TRUE);
        }
        return;
    default:
        TWinControl::Dispatch(m);
    }
}

} // namespace gui
