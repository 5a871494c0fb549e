#include "gui/CustomTreeView.h"

#include "controls/CommCtrlLists.h"
#include "gui/ImgList.h"
#include "gui/NativeMouse.h"
#include "gui/Strings.h"
#include "win/Message.h"
#include "win/Paint.h"
#include "win/Styles.h"
#include "win/Window.h"

#include <algorithm>
#include <cstring>

namespace gui {

namespace {

HTREEITEM H(TREEITEM_* item) {
    return item;
}

// Every node of a subtree, children before their parent.
void PostOrder(TTreeNode* node, std::vector<TTreeNode*>& out) {
    for (int i = 0; i < node->Count(); ++i) PostOrder(node->Item(i), out);
    out.push_back(node);
}

bool Inside(const TTreeNode* node, const TTreeNode* top) {
    for (const TTreeNode* n = node; n; n = n->Parent())
        if (n == top) return true;
    return false;
}

} // namespace

// ---- node

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::Tree() const {
    return owner_->owner_;
}

HWND TTreeNode::Window() const {
    return item_ ? Tree()->Window() : nullptr;
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::Siblings() const {
    return parent_ ? parent_->children_ : owner_->roots_;
}

void TTreeNode::PushItem(UINT mask) {
    HWND h = Window();
    if (!h) return;
    TVITEM it{};
    it.mask = mask | TVIF_HANDLE;
    it.hItem = H(item_);
    it.pszText = text_.data();
    it.iImage = imageIndex_;
    it.iSelectedImage = selectedIndex_;
    it.cChildren = HasChildren() ? 1 : 0;
    SendMessage(h, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&it));
}

void TTreeNode::SetText(const std::string& value) {
    text_ = value;
    PushItem(TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int value) {
    imageIndex_ = value;
    PushItem(TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int value) {
    selectedIndex_ = value;
    PushItem(TVIF_SELECTEDIMAGE);
}

bool TTreeNode::HasChildren() const {
    return hasChildren_ || !children_.empty();
}

void TTreeNode::SetHasChildren(bool value) {
    hasChildren_ = value;
    PushItem(TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const {
    if (HWND h = Window())
        return SendMessage(h, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) != 0;
    return expanded_;
}

void TTreeNode::SetExpanded(bool value) {
    expanded_ = value;
    if (HWND h = Window())
        SendMessage(h, TVM_EXPAND, value ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::Expand(bool recurse) {
    SetExpanded(true);
    if (recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    if (recurse)
        for (int i = 0; i < Count(); ++i) Item(i)->Collapse(true);
    SetExpanded(false);
}

bool TTreeNode::Selected() const {
    return Tree()->Selected() == this;
}

void TTreeNode::SetSelected(bool value) {
    if (value)
        Tree()->SetSelected(this);
    else if (Selected())
        Tree()->SetSelected(nullptr);
}

int TTreeNode::Level() const {
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::Index() const {
    auto& s = Siblings();
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i].get() == this) return static_cast<int>(i);
    return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    auto& s = Siblings();
    size_t i = static_cast<size_t>(Index()) + 1;
    return i < s.size() ? s[i].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
    int i = Index();
    return i > 0 ? Siblings()[static_cast<size_t>(i) - 1].get() : nullptr;
}

void TTreeNode::Delete() {
    owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty()) owner_->Delete(children_.back().get());
}

void TTreeNode::MakeVisible() {
    if (HWND h = Window()) SendMessage(h, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

void TTreeNode::EditText() {
    Tree()->SetFocus();
    SendMessage(Tree()->Handle(), TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(item_));
}

TRect TTreeNode::DisplayRect(bool textOnly) {
    RECT r{};
    HWND h = Window();
    if (!h) return r;
    // The rectangle carries the item in; copied, as a RECT is no HTREEITEM to the optimizer.
    const HTREEITEM item = H(item_);
    std::memcpy(static_cast<void*>(&r), &item, sizeof item);
    if (!SendMessage(h, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r))) r = {};
    return r;
}

void TTreeNode::CustomSort(const std::function<int(TTreeNode* a, TTreeNode* b)>& compare) {
    std::stable_sort(children_.begin(), children_.end(),
                     [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    HWND h = Window();
    if (!h) return;
    // The window follows the order now kept here.
    TVSORTCB sort{H(item_),
                  [](LPARAM a, LPARAM b, LPARAM) {
                      return reinterpret_cast<TTreeNode*>(a)->Index() -
                             reinterpret_cast<TTreeNode*>(b)->Index();
                  },
                  0};
    SendMessage(h, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TTreeNode::AlphaSort() {
    CustomSort([](TTreeNode* a, TTreeNode* b) { return CompareTextAscii(a->Text(), b->Text()); });
}

// ---- nodes

TTreeNodes::~TTreeNodes() = default;

int TTreeNodes::Count() const {
    int n = 0;
    std::vector<TTreeNode*> all;
    for (auto& r : roots_) PostOrder(r.get(), all);
    n = static_cast<int>(all.size());
    return n;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, int index, const std::string& s) {
    auto& list = parent ? parent->children_ : roots_;
    index = std::clamp(index, 0, static_cast<int>(list.size()));
    auto node = std::make_unique<TTreeNode>(this, parent);
    node->text_ = s;
    TTreeNode* result = node.get();
    list.insert(list.begin() + index, std::move(node));
    HWND h = owner_->Window();
    if (h && (!parent || parent->item_)) {
        TREEITEM_* after = index == 0 ? H(TVI_FIRST) : list[static_cast<size_t>(index) - 1]->item_;
        PushTree(result, after);
        if (parent) parent->PushItem(TVIF_CHILDREN);
    }
    return result;
}

// Puts a node and everything under it into the window.
void TTreeNodes::PushTree(TTreeNode* node, TREEITEM_* after) {
    TVINSERTSTRUCT ins{};
    ins.hParent = node->parent_ ? H(node->parent_->item_) : TVI_ROOT;
    ins.hInsertAfter = H(after);
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    ins.item.pszText = node->text_.data();
    ins.item.iImage = node->imageIndex_;
    ins.item.iSelectedImage = node->selectedIndex_;
    ins.item.cChildren = node->HasChildren() ? 1 : 0;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    node->item_ = reinterpret_cast<TREEITEM_*>(
        SendMessage(owner_->Handle(), TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
    for (auto& c : node->children_) PushTree(c.get(), H(TVI_LAST));
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& s) {
    TTreeNode* parent = sibling ? sibling->parent_ : nullptr;
    return InsertAt(parent, static_cast<int>((parent ? parent->children_ : roots_).size()), s);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& s) {
    return InsertAt(sibling ? sibling->parent_ : nullptr, 0, s);
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::string& s, void* data) {
    TTreeNode* n = Add(sibling, s);
    n->Data = data;
    return n;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& s) {
    return InsertAt(parent, static_cast<int>((parent ? parent->children_ : roots_).size()), s);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& s) {
    return InsertAt(parent, 0, s);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::string& s, void* data) {
    TTreeNode* n = AddChild(parent, s);
    n->Data = data;
    return n;
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& s) {
    if (!sibling) return Add(nullptr, s);
    return InsertAt(sibling->parent_, sibling->Index(), s);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node) return;
    TCustomTreeView* tree = owner_;
    if (Inside(tree->savedSelected_, node)) tree->savedSelected_ = nullptr;
    if (Inside(tree->savedTop_, node)) tree->savedTop_ = nullptr;
    if (HWND h = node->Window()) {
        // The window tells of every node it deletes, children first.
        SendMessage(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    } else if (tree->OnDeletion && !tree->Destroying()) {
        std::vector<TTreeNode*> order;
        PostOrder(node, order);
        for (TTreeNode* n : order) tree->OnDeletion(tree, n);
    }
    auto& list = node->Siblings();
    list.erase(list.begin() + node->Index());
}

void TTreeNodes::Clear() {
    while (!roots_.empty()) Delete(roots_.back().get());
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0)
        if (HWND h = owner_->Window()) SendMessage(h, WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    if (HWND h = owner_->Window()) {
        SendMessage(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
}

// ---- tree view

TCustomTreeView::TCustomTreeView(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    ControlStyle = csSetCaption | csDoubleClicks;
    SetTabStop(true);
    TControl::SetBounds(Left(), Top(), 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
    // The window goes with the control; the nodes are not announced as deleted then.
    windowGoing_ = true;
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
    InitCommonControls();
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TREEVIEW);
    p.Style |= WS_BORDER;
    if (showButtons_) p.Style |= TVS_HASBUTTONS;
    if (showLines_) p.Style |= TVS_HASLINES;
    if (showRoot_) p.Style |= TVS_LINESATROOT;
    if (!readOnly_) p.Style |= TVS_EDITLABELS;
    if (!hideSelection_) p.Style |= TVS_SHOWSELALWAYS;
    if (rowSelect_) p.Style |= TVS_FULLROWSELECT;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd() {
    creating_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{creating_};
    TWinControl::CreateWnd();
    HWND h = Handle();
    if (images_) SendMessage(h, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
    for (auto& r : items_->roots_) items_->PushTree(r.get(), H(TVI_LAST));
    // Parents first, so that each expansion shows what the last one opened.
    std::vector<TTreeNode*> all;
    for (auto& r : items_->roots_) PostOrder(r.get(), all);
    std::reverse(all.begin(), all.end());
    for (TTreeNode* n : all)
        if (n->expanded_) SendMessage(h, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(n->item_));
    if (savedSelected_)
        SendMessage(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(savedSelected_->item_));
    if (savedTop_)
        SendMessage(h, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(savedTop_->item_));
    savedSelected_ = savedTop_ = nullptr;
}

void TCustomTreeView::DestroyWnd() {
    std::vector<TTreeNode*> all;
    for (auto& r : items_->roots_) PostOrder(r.get(), all);
    if (HandleAllocated() && !Destroying()) {
        for (TTreeNode* n : all) n->expanded_ = n->Expanded();
        savedSelected_ = Selected();
        savedTop_ = TopItem();
    }
    windowGoing_ = true;
    TWinControl::DestroyWnd();
    windowGoing_ = false;
    for (TTreeNode* n : all) n->item_ = nullptr;
}

void TCustomTreeView::WndProc(TMessage& m) {
    TWinControl::WndProc(m);
    PassMouseToNative(this, m);
}

TTreeNode* TCustomTreeView::NodeOf(TREEITEM_* item) {
    if (!item || !HandleAllocated()) return nullptr;
    TVITEM it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = H(item);
    if (!SendMessage(Handle(), TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<TTreeNode*>(it.lParam);
}

TTreeNode* TCustomTreeView::Selected() {
    if (!HandleAllocated()) return savedSelected_;
    return NodeOf(reinterpret_cast<TREEITEM_*>(SendMessage(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* node) {
    if (!HandleAllocated()) {
        savedSelected_ = node;
        return;
    }
    SendMessage(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
    if (!HandleAllocated()) return savedTop_;
    return NodeOf(reinterpret_cast<TREEITEM_*>(SendMessage(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* node) {
    if (!HandleAllocated()) {
        savedTop_ = node;
        return;
    }
    if (node) SendMessage(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->item_));
}

int TCustomTreeView::VisibleCount() {
    return static_cast<int>(SendMessage(Handle(), TVM_GETVISIBLECOUNT, 0, 0));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) {
    TVHITTESTINFO info{};
    info.pt = {x, y};
    auto item =
        reinterpret_cast<TREEITEM_*>(SendMessage(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    return (info.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))
               ? NodeOf(item)
               : nullptr;
}

bool TCustomTreeView::IsEditing() {
    HWND e =
        HandleAllocated() ? reinterpret_cast<HWND>(SendMessage(Handle(), TVM_GETEDITCONTROL, 0, 0)) : nullptr;
    return e && IsWindowVisible(e);
}

void TCustomTreeView::FullExpand() {
    for (auto& r : items_->roots_) r->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (auto& r : items_->roots_) r->Collapse(true);
}

void TCustomTreeView::SetFlag(bool& field, bool value) {
    if (field == value) return;
    field = value;
    RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool value) {
    SetFlag(showButtons_, value);
}
void TCustomTreeView::SetShowLines(bool value) {
    SetFlag(showLines_, value);
}
void TCustomTreeView::SetShowRoot(bool value) {
    SetFlag(showRoot_, value);
}
void TCustomTreeView::SetReadOnly(bool value) {
    SetFlag(readOnly_, value);
}
void TCustomTreeView::SetHideSelection(bool value) {
    SetFlag(hideSelection_, value);
}
void TCustomTreeView::SetRowSelect(bool value) {
    SetFlag(rowSelect_, value);
}

void TCustomTreeView::SetImages(TCustomImageList* value) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    if (HWND h = Window())
        SendMessage(h, TVM_SETIMAGELIST, TVSIL_NORMAL,
                    reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

void TCustomTreeView::CNNotify(TMessage& m) {
    auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
    auto* tv = reinterpret_cast<NMTREEVIEW*>(m.LParam);
    auto nodeNew = [&] { return reinterpret_cast<TTreeNode*>(tv->itemNew.lParam); };
    m.Result = 0;
    switch (static_cast<int>(hdr->code)) {
    case TVN_SELCHANGING: {
        bool allow = true;
        if (OnChanging && !creating_) OnChanging(this, nodeNew(), allow);
        m.Result = allow ? 0 : 1;
        return;
    }
    case TVN_SELCHANGED:
        if (OnChange && !creating_) OnChange(this, nodeNew());
        return;
    case TVN_ITEMEXPANDING: {
        if (creating_) return;
        bool allow = true;
        if ((tv->action & TVE_ACTIONMASK) == TVE_EXPAND) {
            if (OnExpanding) OnExpanding(this, nodeNew(), allow);
        } else if (OnCollapsing) {
            OnCollapsing(this, nodeNew(), allow);
        }
        m.Result = allow ? 0 : 1;
        return;
    }
    case TVN_ITEMEXPANDED:
        if (creating_) return;
        if ((tv->action & TVE_ACTIONMASK) == TVE_EXPAND) {
            if (OnExpanded) OnExpanded(this, nodeNew());
        } else if (OnCollapsed) {
            OnCollapsed(this, nodeNew());
        }
        return;
    case TVN_DELETEITEM:
        if (!windowGoing_ && OnDeletion) OnDeletion(this, reinterpret_cast<TTreeNode*>(tv->itemOld.lParam));
        return;
    case TVN_BEGINLABELEDIT: {
        auto* d = reinterpret_cast<NMTVDISPINFO*>(m.LParam);
        bool allow = !readOnly_;
        if (allow && OnEditing) OnEditing(this, reinterpret_cast<TTreeNode*>(d->item.lParam), allow);
        m.Result = allow ? 0 : 1;
        return;
    }
    case TVN_ENDLABELEDIT: {
        auto* d = reinterpret_cast<NMTVDISPINFO*>(m.LParam);
        auto* node = NodeOf(H(d->item.hItem));
        if (!d->item.pszText || !node) return;
        std::string s = d->item.pszText;
        if (OnEdited) OnEdited(this, node, s);
        // What the handler left is the text, not what was typed.
        node->SetText(s);
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

void TCustomTreeView::Dispatch(TMessage& m) {
    switch (m.Msg) {
    case CM_WANTSPECIALKEY:
        // Enter and Esc end an in-place edit; they are no dialog keys while one is open.
        if ((m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) && IsEditing()) {
            m.Result = 1;
            return;
        }
        TWinControl::Dispatch(m);
        return;
    case CN_NOTIFY:
        return CNNotify(m);
    case WM_PAINT:
    case WM_ERASEBKGND:
        return DefaultHandler(m);
    default:
        TWinControl::Dispatch(m);
    }
}

} // namespace gui
