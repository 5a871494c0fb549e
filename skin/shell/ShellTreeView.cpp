#include "skin/shell/ShellTreeView.h"

#include "controls/CommCtrl.h"
#include "gui/Application.h"
#include "gui/Screen.h"
#include "os/DesktopServices.h"
#include "os/ScopeExit.h"
#include "shell/ShellIcons.h"
#include "skin/shell/ShellListView.h"
#include "win/Input.h"
#include "win/Message.h"

#include <algorithm>
#include <sys/stat.h>

namespace skin {

namespace {

// Posted to itself: refresh the folder whose node was renamed, once the edit has ended.
constexpr UINT WM_REFRESHRENAMED = WM_APP + 0x2B1;

std::string InvalidPathText(const std::string& path) {
    return "Error setting path: \"" + path + "\"";
}

// The hourglass and the node list's update bracket around an enumeration.
class BusyBracket {
public:
    explicit BusyBracket(gui::TTreeNodes* nodes) : nodes_(nodes), cursor_(gui::Screen->Cursor()) {
        gui::Screen->SetCursor(gui::crHourGlass);
        nodes_->BeginUpdate();
    }
    ~BusyBracket() {
        nodes_->EndUpdate();
        gui::Screen->SetCursor(cursor_);
    }
    BusyBracket(const BusyBracket&) = delete;
    BusyBracket& operator=(const BusyBracket&) = delete;

private:
    gui::TTreeNodes* nodes_;
    gui::TCursor cursor_;
};

} // namespace

TbsCustomShellTreeView::TbsCustomShellTreeView(gui::TComponent* owner) : TbsShellTreeBase(owner) {
    SetShowRoot(false);
    notifier_ = new TbsShellChangeNotifier(this); // no event yet: no worker
    TbsShellTreeBase::OnExpanding = [this](gui::TObject*, gui::TTreeNode* n, bool& allow) {
        Expanding(n, allow);
    };
    TbsShellTreeBase::OnChanging = [this](gui::TObject*, gui::TTreeNode* n, bool& allow) {
        Changing(n, allow);
    };
    TbsShellTreeBase::OnEdited = [this](gui::TObject*, gui::TTreeNode* n, std::string& s) { Edited(n, s); };
    TbsShellTreeBase::OnDeletion = [this](gui::TObject*, gui::TTreeNode* n) { folders_.erase(n); };
}

TbsCustomShellTreeView::~TbsCustomShellTreeView() {
    MarkDestroying();
    SetShellListView(nullptr);
    delete notifier_; // joins its worker before the nodes it refreshes go
    notifier_ = nullptr;
    TbsShellTreeBase::OnDeletion = nullptr;
    Items()->Clear();
    folders_.clear();
}

TbsShellFolder* TbsCustomShellTreeView::FolderOf(gui::TTreeNode* node) {
    return node ? static_cast<TbsShellFolder*>(node->Data) : nullptr;
}

TbsShellFolder* TbsCustomShellTreeView::Own(gui::TTreeNode* node, std::unique_ptr<TbsShellFolder> folder) {
    TbsShellFolder* f = folder.get();
    folders_[node] = std::move(folder);
    node->Data = f;
    return f;
}

void TbsCustomShellTreeView::Forget(gui::TTreeNode* node) {
    std::vector<gui::TTreeNode*> all{node};
    for (size_t i = 0; i < all.size(); ++i)
        for (int c = 0; c < all[i]->Count(); ++c) all.push_back(all[i]->Item(c));
    node->Delete();
    for (gui::TTreeNode* n : all) folders_.erase(n);
}

TbsShellFolder* TbsCustomShellTreeView::SelectedFolder() {
    return FolderOf(Selected());
}

std::string TbsCustomShellTreeView::Path() {
    TbsShellFolder* f = SelectedFolder();
    return f ? f->PathName() : std::string();
}

void TbsCustomShellTreeView::ClearNodes() {
    Items()->BeginUpdate();
    Items()->Clear();
    folders_.clear();
    Items()->EndUpdate();
}

void TbsCustomShellTreeView::SetShellImageList() {
    if (!HandleAllocated() || Images()) return;
    HIMAGELIST list = useShellImages_ ? shell::SystemImageList(false) : nullptr;
    SendMessage(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

void TbsCustomShellTreeView::CreateWnd() {
    TbsShellTreeBase::CreateWnd();
    SetShellImageList();
    if (!loadingRoot_ && Items()->Count() == 0) {
        BuildRoot();
        if (!path_.empty()) SetPath(path_);
    }
}

void TbsCustomShellTreeView::Loaded() {
    TbsShellTreeBase::Loaded();
    BuildRoot();
}

void TbsCustomShellTreeView::BuildRoot() {
    if (Loading()) return;
    std::string error;
    try {
        std::unique_ptr<TbsShellFolder> f = RootFolderFromName(oldRoot_, root_);
        rootFolder_ = std::move(f);
    } catch (const EInvalidPath& e) {
        error = e.what(); // the old root object stays
    }
    if (rootFolder_) {
        os::FlagScope loading(loadingRoot_);
        os::FlagScope updating(updating_);
        if (Items()->Count()) ClearNodes();
        gui::TTreeNode* node = Items()->Add(nullptr, "");
        TbsShellFolder* f = Own(node, std::make_unique<TbsShellFolder>(nullptr, rootFolder_->AbsoluteID(),
                                                                       rootFolder_->ShellFolder()));
        node->SetText(ItemDisplayName(DesktopIShellFolder().get(), f->AbsoluteID(), SHGDN_NORMAL));
        if (useShellImages_ && !Images()) {
            node->SetImageIndex(ShellImageIndex(f->AbsoluteID(), false, false));
            node->SetSelectedIndex(ShellImageIndex(f->AbsoluteID(), false, true));
        }
        node->SetHasChildren(f->SubFolders());
        EnsureChildren(node);
        node->Expand(false);
        SetSelected(node);
    }
    if (!error.empty()) throw EInvalidPath(error);
}

void TbsCustomShellTreeView::ApplyRoot() {
    if (updating_) return;
    BuildRoot();
    if (listView_) {
        os::FlagScope updating(updating_);
        listView_->SetRoot(root_);
    }
}

void TbsCustomShellTreeView::SetShellListView(TbsCustomShellListView* value) {
    if (value == listView_) return;
    TbsCustomShellListView* old = listView_;
    listView_ = value;
    if (old) {
        old->RemoveFreeNotification(this);
        if (old->ShellTreeView() == this) old->SetShellTreeView(nullptr);
    }
    if (value) {
        value->FreeNotification(this);
        if (value->ShellTreeView() != this) value->SetShellTreeView(this);
    }
}

void TbsCustomShellTreeView::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsShellTreeBase::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component == listView_) listView_ = nullptr;
}

// The list shows the node's folder, or the folder a file node lies in.
void TbsCustomShellTreeView::FollowInList(gui::TTreeNode* node) {
    TbsShellFolder* f = FolderOf(node);
    if (f && !f->IsFolder()) f = f->Parent();
    if (!listView_ || !f) return;
    os::FlagScope updating(updating_);
    TItemIDList id = CopyItemIDList(f->AbsoluteID());
    listView_->FollowID(id.get());
}

void TbsCustomShellTreeView::SetRoot(const TRoot& value) {
    if (RootFolderIndex(value) >= 0 && RootFolderIndex(value) == RootFolderIndex(root_)) return;
    if (value == root_) return;
    oldRoot_ = root_;
    root_ = value;
    ApplyRoot();
}

void TbsCustomShellTreeView::SetObjectTypes(TShellObjectTypes value) {
    objectTypes_ = value;
    if (Items()->Count() || HandleAllocated()) ApplyRoot();
}

void TbsCustomShellTreeView::SetUseShellImages(bool value) {
    useShellImages_ = value;
    SetShellImageList();
}

void TbsCustomShellTreeView::FillNode(gui::TTreeNode* node, LPCITEMIDLIST id, gui::TTreeNode* parentNode) {
    TbsShellFolder* parent = FolderOf(parentNode);
    TbsShellFolder* f =
        Own(node, std::make_unique<TbsShellFolder>(
                      parent, id, BindItemFolder(parent ? parent->ShellFolder().get() : nullptr, id)));
    node->SetText(f->DisplayName());
    if (useShellImages_ && !Images()) {
        node->SetImageIndex(ShellImageIndex(f->AbsoluteID(), false, false));
        int open = ShellImageIndex(f->AbsoluteID(), false, true);
        node->SetSelectedIndex(open == 0 ? node->ImageIndex() : open);
    }
    bool children = f->SubFolders();
    if ((objectTypes_ & otNonFolders) && f->ShellFolder())
        children = FolderHasItems(f->ShellFolder().get(), ObjectTypesToFlags(objectTypes_));
    node->SetHasChildren(children);
    bool canAdd = true;
    if (OnAddFolder) OnAddFolder(this, f, canAdd);
    if (!canAdd) Forget(node);
}

void TbsCustomShellTreeView::LoadChildren(gui::TTreeNode* node) {
    TbsShellFolder* folder = FolderOf(node);
    if (!folder || !folder->ShellFolder()) return;
    BusyBracket busy(Items());
    std::unique_ptr<IEnumIDList> e;
    if (FAILED(folder->ShellFolder()->EnumObjects(nullptr, ObjectTypesToFlags(objectTypes_), &e)) || !e)
        return;
    for (;;) {
        LPITEMIDLIST raw = nullptr;
        ULONG fetched = 0;
        if (e->Next(1, &raw, &fetched) != S_OK || fetched != 1) break;
        TItemIDList id(raw); // the folder object keeps its own copy
        FillNode(Items()->AddChild(node, ""), id.get(), node);
    }
    IShellFolder* sf = folder->ShellFolder().get();
    node->CustomSort([sf](gui::TTreeNode* a, gui::TTreeNode* b) {
        return HRESULT_CODE_SHORT(sf->CompareIDs(0, FolderOf(a)->RelativeID(), FolderOf(b)->RelativeID()));
    });
}

void TbsCustomShellTreeView::EnsureChildren(gui::TTreeNode* node) {
    TbsShellFolder* f = FolderOf(node);
    if (f && node->Count() == 0 && node->HasChildren() && f->IsFolder()) LoadChildren(node);
}

void TbsCustomShellTreeView::Expanding(gui::TTreeNode* node, bool& allow) {
    if (OnExpanding) OnExpanding(this, node, allow);
    if (!allow || !node) return;
    TbsShellFolder* f = FolderOf(node);
    if (!f) return;
    if (f->IsFolder()) {
        EnsureChildren(node);
    } else {
        // A file (or an archive) is opened, in its own folder; ours does not move.
        InvokeShellVerb(f, "open");
    }
    node->SetHasChildren(node->Count() > 0);
}

void TbsCustomShellTreeView::Watch(gui::TTreeNode* node) {
    if (!autoRefresh_) return;
    TbsShellFolder* f = FolderOf(node);
    if (f && !f->IsFolder()) f = f->Parent();
    if (!f) f = rootFolder_.get();
    // The same worker follows the new folder: it is re-armed, not replaced.
    if (f) notifier_->SetRoot(f->FullObjectName());
}

void TbsCustomShellTreeView::Changing(gui::TTreeNode* node, bool& allow) {
    if (OnChanging) OnChanging(this, node, allow);
    if (!allow || updating_ || !node) return;
    Watch(node);
    FollowInList(node);
}

void TbsCustomShellTreeView::SetAutoRefresh(bool value) {
    autoRefresh_ = value;
    if (Loading()) return;
    if (value) {
        notifier_->SetWatchSubTree(false);
        Watch(Selected());
        notifier_->SetOnChange([this] { RefreshSelected(); });
    } else {
        delete notifier_;
        notifier_ = new TbsShellChangeNotifier(this);
    }
}

void TbsCustomShellTreeView::RefreshSelected() {
    if (Selected()) Refresh(Selected());
}

void TbsCustomShellTreeView::SetPath(const std::string& value) {
    path_ = value;
    LPITEMIDLIST raw = nullptr;
    TShellFolderRef desktop = DesktopIShellFolder();
    if (value.empty() || FAILED(desktop->ParseDisplayName(nullptr, value.c_str(), nullptr, &raw, nullptr)) ||
        !raw)
        throw EInvalidPath(InvalidPathText(value));
    TItemIDList id(raw);
    if (Items()->Count() == 0) BuildRoot();
    SelectByID(id.get());
    if (gui::TTreeNode* n = Selected()) {
        EnsureChildren(n);
        n->Expand(false);
        bool allow = true;
        Changing(n, allow);
    }
    path_ = value;
}

void TbsCustomShellTreeView::ExpandMyComputer() {
    LPITEMIDLIST raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw))) return;
    TItemIDList id(raw);
    if (Items()->Count() == 0) BuildRoot();
    SelectByID(id.get());
    if (gui::TTreeNode* n = Selected()) {
        EnsureChildren(n);
        n->Expand(false);
    }
}

gui::TTreeNode* TbsCustomShellTreeView::FindNodeByID(LPCITEMIDLIST id, gui::TTreeNode* start) {
    if (!start) return nullptr;
    TbsShellFolder* f = FolderOf(start);
    if (f && SameItemIDList(f->AbsoluteID(), id)) return start;
    for (int i = 0; i < start->Count(); ++i)
        if (gui::TTreeNode* n = FindNodeByID(id, start->Item(i))) return n;
    return nullptr;
}

void TbsCustomShellTreeView::SelectByID(LPCITEMIDLIST id) {
    if (Loading() || updating_) return;
    TbsShellFolder* sel = SelectedFolder();
    if (sel && SameItemIDList(sel->AbsoluteID(), id)) return;
    os::FlagScope updating(updating_);
    gui::TTreeNode* current = Items()->GetFirstNode();
    for (const TItemIDList& ancestor : ItemIDAncestors(id)) {
        if (gui::TTreeNode* n = FindNodeByID(ancestor.get(), current)) {
            EnsureChildren(n);
            n->Expand(false);
            current = n;
        }
    }
    gui::TTreeNode* target = FindNodeByID(id, current);
    if (target) SetSelected(target);
    if (target && listView_) listView_->FollowID(id);
}

void TbsCustomShellTreeView::Refresh(gui::TTreeNode* node) {
    TbsShellFolder* folder = FolderOf(node);
    if (!folder || !folder->ShellFolder()) return;
    TItemIDList selected, top;
    if (TbsShellFolder* s = SelectedFolder()) selected = CopyItemIDList(s->AbsoluteID());
    if (TbsShellFolder* t = FolderOf(TopItem())) top = CopyItemIDList(t->AbsoluteID());
    // What was expanded below the node, by item: the nodes themselves are rebuilt.
    std::vector<TItemIDList> expanded;
    std::vector<gui::TTreeNode*> walk;
    for (int i = 0; i < node->Count(); ++i) walk.push_back(node->Item(i));
    while (!walk.empty()) {
        gui::TTreeNode* n = walk.back();
        walk.pop_back();
        if (n->Expanded() && FolderOf(n)) expanded.push_back(CopyItemIDList(FolderOf(n)->AbsoluteID()));
        for (int i = 0; i < n->Count(); ++i) walk.push_back(n->Item(i));
    }
    {
        os::FlagScope updating(updating_);
        BusyBracket busy(Items());
        while (node->Count()) Forget(node->Item(node->Count() - 1));
        node->SetHasChildren(true);
        LoadChildren(node);
        node->SetHasChildren(node->Count() > 0);
        std::sort(expanded.begin(), expanded.end(), [](const TItemIDList& a, const TItemIDList& b) {
            return ItemIDCount(a.get()) < ItemIDCount(b.get());
        });
        for (const TItemIDList& id : expanded)
            if (gui::TTreeNode* n = FindNodeByID(id.get(), node)) {
                EnsureChildren(n);
                n->Expand(false);
            }
    }
    gui::TTreeNode* first = Items()->GetFirstNode();
    if (selected) {
        gui::TTreeNode* s = FindNodeByID(selected.get(), first);
        os::FlagScope updating(updating_);
        SetSelected(s ? s : node);
    }
    if (top)
        if (gui::TTreeNode* t = FindNodeByID(top.get(), first)) SetTopItem(t);
}

void TbsCustomShellTreeView::Edited(gui::TTreeNode* node, std::string& s) {
    if (s.empty() || !node) return;
    if (OnEdited) OnEdited(this, node, s);
    TbsShellFolder* f = FolderOf(node);
    const std::string old = node->Text();
    try {
        if (!f || !f->Rename(s)) {
            s = old;
            return;
        }
    } catch (const std::exception& e) {
        s = old; // the item kept its name, and so does its node
        gui::Application->ShowException(e);
        return;
    }
    if (node->Parent() && HandleAllocated()) {
        pendingRefresh_ = CopyItemIDList(FolderOf(node->Parent())->AbsoluteID());
        PostMessage(Handle(), WM_REFRESHRENAMED, 0, 0);
    }
}

void TbsCustomShellTreeView::ExecuteCommand(const std::string& verb, bool& handled) {
    gui::TTreeNode* n = Selected();
    if (!n) return;
    if (verb == "rename") {
        n->EditText();
        handled = true;
    } else if (verb == "open" && FolderOf(n) && FolderOf(n)->IsFolder()) {
        // Folders open here, in the tree.
        EnsureChildren(n);
        n->Expand(false);
        handled = true;
    }
}

void TbsCustomShellTreeView::CommandCompleted(const std::string& verb, bool succeeded) {
    gui::TTreeNode* n = Selected();
    if (!succeeded || !n) return;
    if (verb == "delete") {
        TbsShellFolder* f = FolderOf(n);
        std::string path = f ? f->FullObjectName() : std::string();
        struct stat st {};
        if (!path.empty() && ::lstat(path.c_str(), &st) != 0) Forget(n);
    }
}

void TbsCustomShellTreeView::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_REFRESHRENAMED:
        if (pendingRefresh_) {
            TItemIDList id = std::move(pendingRefresh_);
            if (gui::TTreeNode* n = FindNodeByID(id.get(), Items()->GetFirstNode())) Refresh(n);
        }
        return;
    case WM_CONTEXTMENU:
        if (AutoContextMenus && !(PopupMenu() && PopupMenu()->AutoPopup)) {
            gui::TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            p = ScreenToClient(p);
            if (RightClickSelect)
                if (gui::TTreeNode* n = GetNodeAt(p.x, p.y)) SetSelected(n);
            ShowShellContextMenu(this, SelectedFolder(), p.x, p.y);
            return;
        }
        break;
    default:
        break;
    }
    TbsShellTreeBase::WndProc(m);
}

} // namespace skin
