#pragma once
// The contents of one shell folder on the skinned list view: folders first, then the files a
// mask admits, with the shell's icons and, in the report style, the shell's detail columns.
// The list is virtual: it keeps one folder object per entry and the native list asks for
// texts and icons only when it draws.  It goes into folders on double click or Enter, up
// with Backspace, sorts by a header click, finds entries as the user types, offers the shell's
// context menu (Alt+Enter: the properties), follows file-system changes when asked, and keeps
// a linked folder tree and look-in combo box on its folder.
#include "skin/controls/SkinListView.h"
#include "skin/shell/ShellChangeNotifier.h"
#include "skin/shell/ShellContextMenu.h"
#include "skin/shell/ShellFolder.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsCustomShellComboBox;
class TbsCustomShellTreeView;

using TShellListAddFolderEvent =
    std::function<void(gui::TObject* sender, TbsShellFolder* folder, bool& canAdd)>;

class TbsCustomShellListView : public TbsSkinCustomListView, public IShellVerbHook {
public:
    explicit TbsCustomShellListView(gui::TComponent* owner);
    ~TbsCustomShellListView() override;
    std::string ClassName() const override { return "TbsCustomShellListView"; }

    // The parse name of the folder shown; empty without one.
    std::string Path() const;
    // EInvalidPath "Error setting path: \"%s\"" when the shell cannot parse it.
    void SetPath(const std::string& value);
    const TRoot& Root() const { return root_; }
    // A root that cannot be resolved keeps the old folder shown and raises EInvalidPath.
    void SetRoot(const TRoot& value);
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& value);
    TShellObjectTypes ObjectTypes() const { return objectTypes_; }
    void SetObjectTypes(TShellObjectTypes value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    // The report style builds the shell's columns.
    void SetViewStyle(gui::TListViewStyle value);
    TbsCustomShellComboBox* ShellComboBox() const { return comboBox_; }
    void SetShellComboBox(TbsCustomShellComboBox* value);
    // The linked tree gets this list's root and shows its folder; each follows the other.
    TbsCustomShellTreeView* ShellTreeView() const { return treeView_; }
    void SetShellTreeView(TbsCustomShellTreeView* value);
    // Reads the folder again whenever its contents change on disk.
    bool AutoRefresh() const { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    TbsShellChangeNotifier* Notifier() const { return notifier_; }
    bool AutoNavigate = true;
    bool AutoContextMenus = true;

    TbsShellFolder* RootFolder() const { return rootFolder_.get(); }
    int FolderCount() const { return static_cast<int>(folders_.size()); }
    // Null outside the entries.
    TbsShellFolder* FolderAt(int index) const;
    TbsShellFolder* SelectedFolder();
    // The selected entries' positions, in list order.
    std::vector<int> SelectedIndexes();
    // The full name of the selected entry when it is a file; empty otherwise.
    std::string GetSelectedFile();
    // The full names of every selected file, in list order.
    std::vector<std::string> GetSelectedFiles();

    void Back();
    // Reads the folder again; the entry at the selected position is selected again.
    void Refresh();
    void RootChanged();
    void BuildColumns();
    void FollowID(LPCITEMIDLIST id);
    void NavigateToID(LPCITEMIDLIST id);
    void FillItems();
    // A header click: the same column again turns the order round.
    void SortByColumn(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortDescending() const { return sortDescending_; }
    // The first entry from start on whose name begins with text (letter case aside), going
    // round to the first entry when wrap is set; -1 when none does.
    int FindEntry(const std::string& text, int start, bool wrap) const;

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;
    void WndProc(gui::TMessage& message) override;

    gui::TNotifyEvent OnPathChanged;
    // Any change of the selection.
    gui::TNotifyEvent OnChange;
    TShellListAddFolderEvent OnAddFolder;
    gui::TLVColumnClickEvent OnColumnClick;
    gui::TLVEditedEvent OnEdited;

protected:
    void CreateWnd() override;
    void KeyDown(WORD& key, gui::TShiftState shift) override;
    void DblClick() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    void FetchData(gui::TListItem* item);
    void Edited(gui::TListItem* item, std::string& s);
    void SyncLinkedControls();
    void Watch();
    void SetImageLists();
    void SortEntries(bool byColumn);

    TRoot root_ = "rfDesktop", oldRoot_;
    std::unique_ptr<TbsShellFolder> rootFolder_;
    std::vector<std::unique_ptr<TbsShellFolder>> folders_;
    std::string mask_ = "*.*|*.*";
    TShellObjectTypes objectTypes_ = otFolders | otNonFolders;
    int sortColumn_ = -1, oldSortColumn_ = -1;
    bool sortDescending_ = false, sorted_ = true, updating_ = false, settingRoot_ = false,
         autoRefresh_ = false;
    TbsCustomShellComboBox* comboBox_ = nullptr;
    TbsCustomShellTreeView* treeView_ = nullptr;
    TbsShellChangeNotifier* notifier_ = nullptr; // owned; a worker runs only with AutoRefresh
};

class TbsSkinFileListView : public TbsCustomShellListView {
public:
    using TbsCustomShellListView::TbsCustomShellListView;
    std::string ClassName() const override { return "TbsSkinFileListView"; }
};

} // namespace skin
