#include "skin/shell/ShellListView.h"

#include "controls/CommCtrl.h"
#include "gui/Application.h"
#include "gui/Bitmap.h"
#include "gui/Screen.h"
#include "gui/SysUtils.h"
#include "os/ScopeExit.h"
#include "shell/ShellIcons.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/shell/FileMasks.h"
#include "skin/shell/ShellComboBox.h"
#include "skin/shell/ShellTreeView.h"
#include "win/Input.h"
#include "win/Message.h"

#include <algorithm>
#include <numeric>

namespace skin {

namespace {

std::string InvalidPathText(const std::string& path) {
    return "Error setting path: \"" + path + "\"";
}

// What one entry is sorted by, read once before a sort: an item that vanished since the
// listing sorts as size and time -1 instead of failing the sort.
struct SortKey {
    TbsShellFolder* folder = nullptr;
    bool isFolder = false;
    std::string name, type;
    int64_t size = -1, modified = -1;
};

int Sign(int64_t v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

} // namespace

TbsCustomShellListView::TbsCustomShellListView(gui::TComponent* owner) : TbsSkinCustomListView(owner) {
    SetOwnerData(true);
    SetHideSelection(false);
    TbsSkinCustomListView::OnData = [this](gui::TObject*, gui::TListItem* item) { FetchData(item); };
    TbsSkinCustomListView::OnSelectItem = [this](gui::TObject*, gui::TListItem*, bool) {
        if (OnChange) OnChange(this);
    };
    TbsSkinCustomListView::OnColumnClick = [this](gui::TObject* sender, gui::TListColumn* column) {
        if (OnColumnClick) OnColumnClick(sender, column);
        if (column) SortByColumn(column->Index());
    };
    TbsSkinCustomListView::OnEdited = [this](gui::TObject*, gui::TListItem* item, std::string& s) {
        Edited(item, s);
    };
    TbsSkinCustomListView::OnDataFind = [this](gui::TObject*, const std::string& text, int start, bool,
                                               bool wrap,
                                               int& index) { index = FindEntry(text, start, wrap); };
    notifier_ = new TbsShellChangeNotifier(this); // no event yet: no worker
}

TbsCustomShellListView::~TbsCustomShellListView() {
    MarkDestroying();
    delete notifier_; // joins its worker before the entries it refreshes go
    notifier_ = nullptr;
    SetShellComboBox(nullptr);
    SetShellTreeView(nullptr);
    TbsSkinCustomListView::OnData = nullptr;
    TbsSkinCustomListView::OnSelectItem = nullptr;
    folders_.clear(); // before the root folder they point to
    rootFolder_.reset();
}

void TbsCustomShellListView::CreateWnd() {
    TbsSkinCustomListView::CreateWnd();
    SetImageLists();
    if (!rootFolder_) {
        TRoot wanted = root_;
        root_.clear();
        try {
            SetRoot(wanted);
        } catch (const EInvalidPath&) {
            root_ = wanted;
        }
    } else {
        Items()->SetCount(FolderCount());
        if (ViewStyle() == gui::vsReport) BuildColumns();
    }
}

void TbsCustomShellListView::SetImageLists() {
    if (!HandleAllocated()) return;
    if (HIMAGELIST small = shell::SystemImageList(false))
        SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    if (HIMAGELIST large = shell::SystemImageList(true))
        SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
}

void TbsCustomShellListView::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinCustomListView::Notification(component, operation);
    if (operation != gui::TOperation::opRemove) return;
    if (component == comboBox_) comboBox_ = nullptr;
    if (component == treeView_) treeView_ = nullptr;
}

// --- the folder shown -----------------------------------------------------------------------

std::string TbsCustomShellListView::Path() const {
    return rootFolder_ ? rootFolder_->PathName() : std::string();
}

void TbsCustomShellListView::SetPath(const std::string& value) {
    LPITEMIDLIST raw = nullptr;
    TShellFolderRef desktop = DesktopIShellFolder();
    if (value.empty() || FAILED(desktop->ParseDisplayName(nullptr, value.c_str(), nullptr, &raw, nullptr)) ||
        !raw)
        throw EInvalidPath(InvalidPathText(value));
    TItemIDList id(raw);
    NavigateToID(id.get());
}

void TbsCustomShellListView::SetRoot(const TRoot& value) {
    if (rootFolder_ && gui::SameText(value, root_)) return;
    oldRoot_ = root_;
    root_ = value;
    std::unique_ptr<TbsShellFolder> folder = RootFolderFromName(oldRoot_, root_);
    folders_.clear();
    rootFolder_ = std::move(folder);
    settingRoot_ = true;
    RootChanged();
}

void TbsCustomShellListView::SetMask(const std::string& value) {
    if (value == mask_) return;
    mask_ = value;
    RootChanged();
}

void TbsCustomShellListView::SetObjectTypes(TShellObjectTypes value) {
    objectTypes_ = value;
    RootChanged();
}

void TbsCustomShellListView::SetSorted(bool value) {
    if (value == sorted_) return;
    sorted_ = value;
    FillItems();
}

void TbsCustomShellListView::SetViewStyle(gui::TListViewStyle value) {
    TbsSkinCustomListView::SetViewStyle(value);
    if (value == gui::vsReport) BuildColumns();
}

void TbsCustomShellListView::SetShellComboBox(TbsCustomShellComboBox* value) {
    if (value == comboBox_) return;
    TbsCustomShellComboBox* old = comboBox_;
    comboBox_ = value;
    if (old) {
        old->RemoveFreeNotification(this);
        if (old->ShellListView() == this) old->SetShellListView(nullptr);
    }
    if (value) {
        value->FreeNotification(this);
        if (value->ShellListView() != this) value->SetShellListView(this);
    }
}

void TbsCustomShellListView::SetShellTreeView(TbsCustomShellTreeView* value) {
    if (value == treeView_) return;
    TbsCustomShellTreeView* old = treeView_;
    treeView_ = value;
    if (old) {
        old->RemoveFreeNotification(this);
        if (old->ShellListView() == this) old->SetShellListView(nullptr);
    }
    if (value) {
        value->FreeNotification(this);
        value->SetRoot(root_);
        if (value->ShellListView() != this) value->SetShellListView(this);
        if (rootFolder_) value->SelectByID(rootFolder_->AbsoluteID());
    }
}

void TbsCustomShellListView::SetAutoRefresh(bool value) {
    autoRefresh_ = value;
    if (value) {
        notifier_->SetWatchSubTree(false);
        Watch();
        notifier_->SetOnChange([this] { Refresh(); });
    } else {
        delete notifier_;
        notifier_ = new TbsShellChangeNotifier(this);
    }
}

// The same worker follows the folder shown: it is re-armed, not replaced, because a refresh
// that the worker itself asked for moves to the folder again.
void TbsCustomShellListView::Watch() {
    if (!autoRefresh_ || !rootFolder_) return;
    const std::string path = rootFolder_->FullObjectName();
    if (!path.empty()) notifier_->SetRoot(path); // a virtual folder has nothing on disk to watch
}

void TbsCustomShellListView::NavigateToID(LPCITEMIDLIST id) {
    if (updating_ || !id) return;
    if (rootFolder_ && SameItemIDList(rootFolder_->AbsoluteID(), id)) return;
    std::unique_ptr<TbsShellFolder> folder = FolderFromAbsoluteID(id);
    if (!folder) return;
    folders_.clear();
    rootFolder_ = std::move(folder);
    settingRoot_ = false;
    RootChanged();
    if (OnPathChanged) OnPathChanged(this);
}

void TbsCustomShellListView::FollowID(LPCITEMIDLIST id) {
    if (updating_) return;
    NavigateToID(id);
}

void TbsCustomShellListView::RootChanged() {
    if (updating_) return;
    os::FlagScope updating(updating_);
    SyncLinkedControls();
    FillItems();
    if (ViewStyle() == gui::vsReport) BuildColumns();
    Watch();
}

void TbsCustomShellListView::SyncLinkedControls() {
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{settingRoot_};
    if (treeView_) {
        if (settingRoot_)
            treeView_->SetRoot(root_);
        else if (rootFolder_)
            treeView_->SelectByID(rootFolder_->AbsoluteID());
    }
    // The look-in box shows the folder however the list got there, a new root included.
    if (comboBox_ && rootFolder_) comboBox_->FollowID(rootFolder_->AbsoluteID());
}

void TbsCustomShellListView::FillItems() {
    if (!rootFolder_) return;
    gui::TCursor cursor = gui::Screen->Cursor();
    gui::Screen->SetCursor(gui::crHourGlass);
    struct Restore {
        gui::TCursor cursor;
        ~Restore() { gui::Screen->SetCursor(cursor); }
    } restore{cursor};
    if (HandleAllocated()) ClearSelection();
    Items()->SetCount(0);
    folders_.clear();
    std::unique_ptr<IEnumIDList> e;
    IShellFolder* sf = rootFolder_->ShellFolder().get();
    if (sf && SUCCEEDED(sf->EnumObjects(nullptr, ObjectTypesToFlags(objectTypes_), &e)) && e) {
        for (;;) {
            LPITEMIDLIST raw = nullptr;
            ULONG fetched = 0;
            if (e->Next(1, &raw, &fetched) != S_OK || fetched != 1) break;
            TItemIDList id(raw);
            auto folder =
                std::make_unique<TbsShellFolder>(rootFolder_.get(), id.get(), BindItemFolder(sf, id.get()));
            bool accept = true;
            if (!folder->IsFolder()) {
                std::string full = folder->FullObjectName();
                accept = MaskListAccepts(full.substr(full.rfind('/') + 1), mask_);
            }
            if (OnAddFolder) OnAddFolder(this, folder.get(), accept);
            if (accept) folders_.push_back(std::move(folder));
        }
    }
    if (sorted_) SortEntries(false);
    Items()->SetCount(FolderCount());
}

// --- entries --------------------------------------------------------------------------------

TbsShellFolder* TbsCustomShellListView::FolderAt(int index) const {
    if (index < 0 || index >= FolderCount()) return nullptr;
    return folders_[static_cast<size_t>(index)].get();
}

std::vector<int> TbsCustomShellListView::SelectedIndexes() {
    std::vector<int> out;
    if (!HandleAllocated()) return out;
    for (int i = -1;;) {
        i = static_cast<int>(SendMessage(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED));
        if (i < 0 || i >= FolderCount()) break;
        out.push_back(i);
    }
    return out;
}

TbsShellFolder* TbsCustomShellListView::SelectedFolder() {
    std::vector<int> sel = SelectedIndexes();
    return sel.empty() ? nullptr : FolderAt(sel.front());
}

std::string TbsCustomShellListView::GetSelectedFile() {
    TbsShellFolder* f = SelectedFolder();
    return f && !f->IsFolder() ? f->FullObjectName() : std::string();
}

std::vector<std::string> TbsCustomShellListView::GetSelectedFiles() {
    std::vector<std::string> out;
    for (int i : SelectedIndexes())
        if (TbsShellFolder* f = FolderAt(i); f && !f->IsFolder()) out.push_back(f->FullObjectName());
    return out;
}

void TbsCustomShellListView::FetchData(gui::TListItem* item) {
    // Painting asks for this: whatever the shell answers, nothing may leave here.
    try {
        TbsShellFolder* f = FolderAt(static_cast<int>(reinterpret_cast<intptr_t>(item->Data)));
        if (!f) return;
        item->SetCaption(f->DisplayName());
        item->SetImageIndex(f->ImageIndex(ViewStyle() == gui::vsIcon));
        if (ViewStyle() != gui::vsReport) return;
        const int count = Columns()->Count();
        f->LoadColumnDetails(rootFolder_.get(), HandleAllocated() ? Handle() : nullptr, count);
        for (int c = 1; c < count; ++c) item->SubItems()->Add(c <= f->DetailCount() ? f->Details(c) : "");
    } catch (const std::exception&) {
    }
}

// --- navigation -----------------------------------------------------------------------------

void TbsCustomShellListView::Back() {
    if (!rootFolder_) return;
    TItemIDList id = CopyItemIDList(rootFolder_->AbsoluteID());
    if (!id || ItemIDCount(id.get()) == 0) return; // the desktop has no parent
    StripLastItemID(id.get());
    NavigateToID(id.get());
}

void TbsCustomShellListView::Refresh() {
    if (!rootFolder_) return;
    std::vector<int> sel = SelectedIndexes();
    const int index = sel.empty() ? -1 : sel.front();
    if (HandleAllocated()) ClearSelection();
    TItemIDList id = CopyItemIDList(rootFolder_->AbsoluteID());
    folders_.clear();
    rootFolder_.reset(); // so that the same folder is entered again
    NavigateToID(id.get());
    if (index >= 0 && index < FolderCount()) SetItemIndex(index);
}

int TbsCustomShellListView::FindEntry(const std::string& text, int start, bool wrap) const {
    const int n = FolderCount();
    if (n == 0 || start < 0 || text.empty()) return -1;
    const std::string want = gui::UpperCase(text);
    for (int k = 0; k < n; ++k) {
        int i = start + k;
        if (i >= n) {
            if (!wrap) return -1;
            i -= n;
        }
        if (gui::UpperCase(folders_[static_cast<size_t>(i)]->DisplayName()).compare(0, want.size(), want) ==
            0)
            return i;
    }
    return -1;
}

void TbsCustomShellListView::KeyDown(WORD& key, gui::TShiftState shift) {
    TbsSkinCustomListView::KeyDown(key, shift);
    if (!AutoNavigate) return;
    if (key == VK_BACK && !IsEditing()) {
        Back();
    } else if (key == VK_RETURN && (shift & gui::ssAlt)) {
        InvokeShellVerb(SelectedFolder(), "properties", this);
        key = 0;
    } else if (key == VK_RETURN) {
        if (TbsShellFolder* f = SelectedFolder(); f && f->IsFolder()) {
            TItemIDList id = CopyItemIDList(f->AbsoluteID());
            NavigateToID(id.get());
        }
    } else if (key == VK_F5) {
        Refresh();
    }
}

void TbsCustomShellListView::DblClick() {
    if (AutoNavigate)
        if (TbsShellFolder* f = SelectedFolder(); f && f->IsFolder()) {
            TItemIDList id = CopyItemIDList(f->AbsoluteID());
            NavigateToID(id.get());
        }
    TbsSkinCustomListView::DblClick();
}

void TbsCustomShellListView::Edited(gui::TListItem* item, std::string& s) {
    if (OnEdited) OnEdited(this, item, s);
    TbsShellFolder* f = FolderAt(static_cast<int>(reinterpret_cast<intptr_t>(item->Data)));
    if (!f || s.empty() || s == f->DisplayName()) return;
    const bool folder = f->IsFolder();
    try {
        if (!f->Rename(s)) {
            s = f->DisplayName();
            return;
        }
    } catch (const std::exception& e) {
        s = f->DisplayName(); // refused: the old name stays, and the user hears why
        gui::Application->ShowException(e);
        return;
    }
    FillItems();
    // A linked tree shows the renamed folder under its new name.
    if (folder && treeView_ && treeView_->Selected()) treeView_->Refresh(treeView_->Selected());
}

// --- the shell's context menu -------------------------------------------------------------

void TbsCustomShellListView::WndProc(gui::TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && AutoContextMenus && !(PopupMenu() && PopupMenu()->AutoPopup)) {
        if (TbsShellFolder* f = SelectedFolder()) {
            gui::TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            if (p.x == -1 && p.y == -1) {
                // From the keyboard: at the selected entry.
                RECT r{};
                r.left = LVIR_LABEL;
                SendMessage(Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(SelectedIndexes().front()),
                            reinterpret_cast<LPARAM>(&r));
                p = {r.left + 4, r.bottom};
            } else {
                p = ScreenToClient(p);
            }
            ShowShellContextMenu(this, f, p.x, p.y);
            return;
        }
    }
    TbsSkinCustomListView::WndProc(m);
}

void TbsCustomShellListView::ExecuteCommand(const std::string& verb, bool& handled) {
    std::vector<int> sel = SelectedIndexes();
    TbsShellFolder* f = sel.empty() ? nullptr : FolderAt(sel.front());
    if (!f) return;
    if (verb == "rename") {
        SetFocus();
        SendMessage(Handle(), LVM_EDITLABEL, static_cast<WPARAM>(sel.front()), 0);
        handled = true;
    } else if (verb == "open" && f->IsFolder()) {
        // Folders open here, in the list.
        TItemIDList id = CopyItemIDList(f->AbsoluteID());
        NavigateToID(id.get());
        handled = true;
    }
}

void TbsCustomShellListView::CommandCompleted(const std::string& verb, bool succeeded) {
    if (succeeded && verb == "delete") Refresh();
}

// --- columns and sorting --------------------------------------------------------------------

void TbsCustomShellListView::BuildColumns() {
    if (!rootFolder_ || !rootFolder_->ShellFolder()) return;
    rootFolder_->ViewHandle = HandleAllocated() ? Handle() : nullptr;
    gui::TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    const int charWidth = std::max(1, measure.Canvas()->TextWidth("X"));
    Columns()->Clear();
    std::vector<std::string> captions;
    IShellFolder* sf = rootFolder_->ShellFolder().get();
    for (UINT i = 0;; ++i) {
        SHELLDETAILS d{};
        if (sf->GetDetailsOf(nullptr, i, &d) != S_OK) break;
        std::string caption = StrRetToText(nullptr, d.str);
        if (caption.empty()) continue;
        if (std::any_of(captions.begin(), captions.end(),
                        [&](const std::string& c) { return gui::SameText(c, caption); }))
            break;
        captions.push_back(caption);
        gui::TListColumn* col = Columns()->Add();
        col->SetCaption(caption);
        col->SetAlignment(d.fmt == 1 ? gui::taRightJustify : d.fmt == 2 ? gui::taCenter : gui::taLeftJustify);
        col->SetWidth(d.cxChar * charWidth);
    }
    if (Columns()->Count() > 0) return;
    struct Default {
        const char* key;
        const char* text;
        gui::TAlignment align;
        int chars;
    };
    static const Default kDefaults[] = {
        {"FLV_NAME",     "Name",     gui::taLeftJustify,  25},
        {"FLV_SIZE",     "Size",     gui::taRightJustify, 10},
        {"FLV_TYPE",     "Type",     gui::taLeftJustify,  10},
        {"FLV_MODIFIED", "Modified", gui::taLeftJustify,  14}
    };
    const int n = (rootFolder_->Properties() & fpFileSystem) ? 4 : 1;
    for (int i = 0; i < n; ++i) {
        gui::TListColumn* col = Columns()->Add();
        TbsResourceStrData* strings = SkinData() ? SkinData()->ResourceStrData() : nullptr;
        col->SetCaption(strings ? strings->GetResStr(kDefaults[i].key) : kDefaults[i].text);
        col->SetAlignment(kDefaults[i].align);
        col->SetWidth(kDefaults[i].chars * charWidth);
    }
}

void TbsCustomShellListView::SortByColumn(int column) {
    if (Columns()->Count() < 4 && column != 0) return;
    oldSortColumn_ = sortColumn_;
    if (sortColumn_ != -1 && column == sortColumn_) {
        sortDescending_ = !sortDescending_;
    } else {
        sortColumn_ = column;
        sortDescending_ = false;
    }
    SortEntries(true);
    if (HandleAllocated()) Invalidate();
}

void TbsCustomShellListView::SortEntries(bool byColumn) {
    const int column = byColumn ? sortColumn_ : -1;
    // The size, type and date columns are the file system's only in a file-system folder.
    const bool fileColumns = rootFolder_ && (rootFolder_->Properties() & fpFileSystem);
    HWND wnd = HandleAllocated() ? Handle() : nullptr;
    std::vector<SortKey> keys(folders_.size());
    for (size_t i = 0; i < folders_.size(); ++i) {
        SortKey& k = keys[i];
        k.folder = folders_[i].get();
        try {
            k.isFolder = k.folder->IsFolder();
            if (column == 0) k.name = gui::UpperCase(k.folder->DisplayName());
            if (column == 2 && fileColumns) {
                k.folder->LoadColumnDetails(rootFolder_.get(), wnd, 4);
                k.type = gui::UpperCase(k.folder->DetailCount() >= 2 ? k.folder->Details(2) : "");
            }
            if ((column == 1 || column == 3) && fileColumns && !k.isFolder) {
                TbsFindData fd = k.folder->FindData();
                k.size = fd.size;
                k.modified = fd.modified;
            }
        } catch (const std::exception&) {
            // vanished since the listing: it keeps the -1 size and time
        }
    }
    IShellFolder* sf = rootFolder_ ? rootFolder_->ShellFolder().get() : nullptr;
    auto base = [sf](const SortKey& a, const SortKey& b) {
        if (a.isFolder != b.isFolder) return a.isFolder ? -1 : 1;
        return sf ? static_cast<int>(
                        HRESULT_CODE_SHORT(sf->CompareIDs(0, a.folder->RelativeID(), b.folder->RelativeID())))
                  : 0;
    };
    auto compare = [&](const SortKey& a, const SortKey& b) {
        if (column < 0) return base(a, b);
        int r = 0;
        if (a.isFolder != b.isFolder)
            r = a.isFolder ? -1 : 1;
        else if (column == 0)
            r = a.name.compare(b.name);
        else if (!fileColumns)
            r = base(a, b);
        else if (column == 1)
            r = a.isFolder ? base(a, b) : Sign(a.size - b.size);
        else if (column == 2)
            r = a.type.compare(b.type);
        else if (column == 3)
            r = Sign(a.modified - b.modified);
        else
            r = base(a, b);
        return sortDescending_ ? -r : r;
    };
    std::vector<size_t> order(folders_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return compare(keys[a], keys[b]) < 0; });
    std::vector<std::unique_ptr<TbsShellFolder>> sorted;
    sorted.reserve(folders_.size());
    for (size_t i : order) sorted.push_back(std::move(folders_[i]));
    folders_ = std::move(sorted);
}

} // namespace skin
