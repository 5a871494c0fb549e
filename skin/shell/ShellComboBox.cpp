#include "skin/shell/ShellComboBox.h"

#include "gdi/ImageList.h"
#include "gui/SysUtils.h"
#include "os/ScopeExit.h"
#include "shell/ShellIcons.h"
#include "skin/shell/ShellListView.h"

#include <algorithm>

namespace skin {

namespace {

void IconSize(int& w, int& h) {
    w = h = 16;
    if (HIMAGELIST list = shell::SystemImageList(false)) ImageList_GetIconSize(list, &w, &h);
}

} // namespace

TbsCustomShellComboBox::TbsCustomShellComboBox(gui::TComponent* owner) : TbsSkinCustomComboBox(owner) {
    ListBox()->OnDrawItem = [this](gui::TCanvas* c, int index, int, int, gui::TRect r, gui::TOwnerDrawState) {
        DrawListItem(c, index, r);
    };
}

TbsCustomShellComboBox::~TbsCustomShellComboBox() {
    MarkDestroying();
    SetShellListView(nullptr);
    ListBox()->OnDrawItem = nullptr;
    items_.clear();
    owned_.clear();
}

void TbsCustomShellComboBox::CreateWnd() {
    TbsSkinCustomComboBox::CreateWnd();
    if (items_.empty()) BuildRootItems();
}

void TbsCustomShellComboBox::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinCustomComboBox::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component == listView_) listView_ = nullptr;
}

std::string TbsCustomShellComboBox::Path() {
    int i = ItemIndex();
    return i >= 0 && i < static_cast<int>(items_.size()) ? items_[static_cast<size_t>(i)].Data->PathName()
                                                         : std::string();
}

void TbsCustomShellComboBox::SetPath(const std::string& value) {
    LPITEMIDLIST raw = nullptr;
    TShellFolderRef desktop = DesktopIShellFolder();
    if (value.empty() || FAILED(desktop->ParseDisplayName(nullptr, value.c_str(), nullptr, &raw, nullptr)) ||
        !raw)
        throw EInvalidPath("Error setting path: \"" + value + "\"");
    TItemIDList id(raw);
    SelectByID(id.get());
}

void TbsCustomShellComboBox::SetRoot(const TRoot& value) {
    if (gui::SameText(value, root_)) return;
    oldRoot_ = root_;
    root_ = value;
    ApplyRoot();
}

void TbsCustomShellComboBox::SetObjectTypes(TShellObjectTypes value) {
    objectTypes_ = value;
    ApplyRoot();
}

void TbsCustomShellComboBox::SetShellListView(TbsCustomShellListView* value) {
    if (value == listView_) return;
    TbsCustomShellListView* old = listView_;
    listView_ = value;
    if (old) {
        old->RemoveFreeNotification(this);
        if (old->ShellComboBox() == this) old->SetShellComboBox(nullptr);
    }
    if (value) {
        value->FreeNotification(this);
        value->SetRoot(root_);
        if (value->ShellComboBox() != this) value->SetShellComboBox(this);
    }
}

void TbsCustomShellComboBox::ApplyRoot() {
    os::FlagScope updating(updating_);
    FreeAllItems();
    BuildRootItems();
    if (listView_) listView_->SetRoot(root_);
}

// --- the outline ----------------------------------------------------------------------------

void TbsCustomShellComboBox::FreeAllItems() {
    items_.clear();
    owned_.clear();
    os::FlagScope building(building_);
    Items()->Clear();
}

int TbsCustomShellComboBox::ImageIndexOf(TbsShellFolder* folder) const {
    return UseShellImages ? ShellImageIndex(folder->AbsoluteID(), false, false) : -1;
}

int TbsCustomShellComboBox::InsertEntry(int index, std::unique_ptr<TbsShellFolder> folder) {
    index = std::clamp(index, 0, static_cast<int>(items_.size()));
    TbsItemEx e;
    e.Data = folder.get();
    e.Caption = folder->DisplayName();
    e.Indent = folder->Level();
    e.ImageIndex = e.SelectedImageIndex = ImageIndexOf(folder.get());
    items_.insert(items_.begin() + index, e);
    owned_.push_back(std::move(folder));
    return index;
}

void TbsCustomShellComboBox::BuildRootItems() {
    os::FlagScope building(building_);
    FreeAllItems();
    std::unique_ptr<TbsShellFolder> root = RootFolderFromName(oldRoot_, root_);
    rootFolder_ = std::move(root);
    InsertEntry(
        0, std::make_unique<TbsShellFolder>(nullptr, rootFolder_->AbsoluteID(), rootFolder_->ShellFolder()));
    AddRootChildren();
    CopyItemsToList();
    SetItemIndex(0);
}

void TbsCustomShellComboBox::AddRootChildren() {
    InsertChildren(0, items_.front().Data);
    if (root_ != "rfDesktop") return; // kept: only the exact name opens Computer
    LPITEMIDLIST raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw)) || !raw) return;
    TItemIDList drives(raw);
    if (int i = IndexOfID(drives.get()); i >= 0) InsertChildren(i, items_[static_cast<size_t>(i)].Data);
}

void TbsCustomShellComboBox::InsertChildren(int index, TbsShellFolder* folder) {
    // A folder that cannot be read simply has no children: one unreadable folder must not
    // keep the dialog from opening.
    IShellFolder* sf = folder ? folder->ShellFolder().get() : nullptr;
    std::unique_ptr<IEnumIDList> e;
    if (!sf || FAILED(sf->EnumObjects(nullptr, ObjectTypesToFlags(objectTypes_), &e)) || !e) return;
    std::vector<TItemIDList> ids;
    for (;;) {
        LPITEMIDLIST raw = nullptr;
        ULONG fetched = 0;
        if (e->Next(1, &raw, &fetched) != S_OK || fetched != 1) break;
        ids.emplace_back(raw);
    }
    std::stable_sort(ids.begin(), ids.end(), [sf](const TItemIDList& a, const TItemIDList& b) {
        return HRESULT_CODE_SHORT(sf->CompareIDs(0, a.get(), b.get())) < 0;
    });
    int k = 0;
    for (const TItemIDList& id : ids)
        InsertEntry(index + ++k,
                    std::make_unique<TbsShellFolder>(folder, id.get(), BindItemFolder(sf, id.get())));
}

void TbsCustomShellComboBox::CopyItemsToList() {
    os::FlagScope building(building_);
    Items()->BeginUpdate();
    Items()->Clear();
    for (const TbsItemEx& e : items_) Items()->Add(e.Caption);
    Items()->EndUpdate();
}

int TbsCustomShellComboBox::IndexOfID(LPCITEMIDLIST id) const {
    for (int i = static_cast<int>(items_.size()) - 1; i >= 0; --i)
        if (SameItemIDList(items_[static_cast<size_t>(i)].Data->AbsoluteID(), id)) return i;
    return -1;
}

TbsShellFolder* TbsCustomShellComboBox::FolderAtIndex(int index) const {
    if (items_.empty()) return nullptr;
    index = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
    return items_[static_cast<size_t>(index)].Data;
}

void TbsCustomShellComboBox::SelectByID(LPCITEMIDLIST id) {
    TItemIDList target = CopyItemIDList(id); // id may belong to an entry about to go
    os::FlagScope building(building_);
    BuildRootItems();
    std::vector<TItemIDList> ancestors = ItemIDAncestors(target.get());
    int i = -1;
    size_t next = ancestors.size();
    for (size_t a = ancestors.size(); a-- > 0;)
        if ((i = IndexOfID(ancestors[a].get())) >= 0) {
            next = a + 1;
            break;
        }
    if (i < 0) return;
    auto insertBelow = [&](LPCITEMIDLIST absolute) {
        TbsShellFolder* parent = items_[static_cast<size_t>(i)].Data;
        TItemIDList rel = CopyLastItemID(absolute);
        IShellFolder* psf = parent->ShellFolder().get();
        i = InsertEntry(i + 1,
                        std::make_unique<TbsShellFolder>(parent, rel.get(), BindItemFolder(psf, rel.get())));
    };
    for (size_t a = next; a < ancestors.size(); ++a) insertBelow(ancestors[a].get());
    int t = IndexOfID(target.get());
    if (t < 0) {
        insertBelow(target.get());
        t = i;
    }
    CopyItemsToList();
    SetItemIndex(t);
}

void TbsCustomShellComboBox::FollowID(LPCITEMIDLIST id) {
    if (updating_ || !id) return;
    int i = ItemIndex();
    if (i >= 0 && i < static_cast<int>(items_.size()) &&
        SameItemIDList(items_[static_cast<size_t>(i)].Data->AbsoluteID(), id))
        return;
    os::FlagScope updating(updating_);
    SelectByID(id);
}

void TbsCustomShellComboBox::Change() {
    TbsSkinCustomComboBox::Change();
    if (building_ || updating_ || IsPopupVisible()) return;
    int i = ItemIndex();
    if (i < 0 || i >= static_cast<int>(items_.size())) return;
    TItemIDList id = CopyItemIDList(items_[static_cast<size_t>(i)].Data->AbsoluteID());
    os::FlagScope updating(updating_);
    SelectByID(id.get()); // the outline is rebuilt around the choice
    if (listView_) listView_->FollowID(id.get());
}

void TbsCustomShellComboBox::DrawListItem(gui::TCanvas* c, int index, const gui::TRect& r) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const TbsItemEx& e = items_[static_cast<size_t>(index)];
    int iw = 16, ih = 16;
    IconSize(iw, ih);
    int x = r.left + e.Indent * iw / 2;
    if (HIMAGELIST list = UseShellImages ? shell::SystemImageList(false) : nullptr; list && e.ImageIndex >= 0)
        ImageList_Draw(list, e.ImageIndex, c->Handle(), x, r.top + (gui::RectHeight(r) - ih) / 2,
                       ILD_TRANSPARENT);
    c->TextOut(x + iw + 4, r.top + gui::RectHeight(r) / 2 - c->TextHeight("Wg") / 2, e.Caption);
}

} // namespace skin
