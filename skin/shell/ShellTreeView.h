#pragma once
// The shell namespace as a tree: one root node for the chosen root (a named root or a path),
// children loaded when a node is first expanded, each node owning one shell folder object.
// A folder path follows the selection; the shell's context menu, renaming in place and an
// optional refresh on file-system changes come with it.
#include "skin/controls/SkinTreeView.h"
#include "skin/shell/ShellChangeNotifier.h"
#include "skin/shell/ShellContextMenu.h"
#include "skin/shell/ShellFolder.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace skin {

class TbsCustomShellListView;

using TAddFolderEvent = std::function<void(gui::TObject* sender, TbsShellFolder* folder, bool& canAdd)>;

using TbsShellTreeBase = TbsSkinCustomTreeView;

class TbsCustomShellTreeView : public TbsShellTreeBase, public IShellVerbHook {
public:
    explicit TbsCustomShellTreeView(gui::TComponent* owner);
    ~TbsCustomShellTreeView() override;
    std::string ClassName() const override { return "TbsCustomShellTreeView"; }

    // The selected folder's parse name: a path, or the display name of a virtual folder.
    std::string Path();
    // EInvalidPath "Error setting path: \"%s\"" when the shell cannot parse it.
    void SetPath(const std::string& value);
    const TRoot& Root() const { return root_; }
    // A root that cannot be resolved keeps the old one shown and raises EInvalidPath.
    void SetRoot(const TRoot& value);
    TShellObjectTypes ObjectTypes() const { return objectTypes_; }
    virtual void SetObjectTypes(TShellObjectTypes value);
    bool UseShellImages() const { return useShellImages_; }
    void SetUseShellImages(bool value);
    bool AutoRefresh() const { return autoRefresh_; }
    void SetAutoRefresh(bool value);
    // The linked list gets this tree's root and follows the selected folder; each follows the other.
    TbsCustomShellListView* ShellListView() const { return listView_; }
    void SetShellListView(TbsCustomShellListView* value);
    bool AutoContextMenus = true;
    bool RightClickSelect = true;
    TAddFolderEvent OnAddFolder;
    // The tree's own events, fired around the shell's work.
    gui::TTVChangingEvent OnChanging;
    gui::TTVExpandingEvent OnExpanding;
    gui::TTVEditedEvent OnEdited;

    TbsShellFolder* SelectedFolder();
    static TbsShellFolder* FolderOf(gui::TTreeNode* node);
    void ExpandMyComputer();
    // Selects the folder's node, loading the nodes on the way; nothing while the tree itself
    // is moving its linked controls.
    void SelectByID(LPCITEMIDLIST id);
    // Reloads the node's subtree; expanded folders stay expanded, the selection stays.
    void Refresh(gui::TTreeNode* node);
    TbsShellChangeNotifier* Notifier() const { return notifier_; }

    void ExecuteCommand(const std::string& verb, bool& handled) override;
    void CommandCompleted(const std::string& verb, bool succeeded) override;

    void WndProc(gui::TMessage& message) override;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    virtual void ClearNodes();

private:
    void BuildRoot();
    void ApplyRoot();
    void FillNode(gui::TTreeNode* node, LPCITEMIDLIST id, gui::TTreeNode* parentNode);
    void LoadChildren(gui::TTreeNode* node);
    void EnsureChildren(gui::TTreeNode* node);
    gui::TTreeNode* FindNodeByID(LPCITEMIDLIST id, gui::TTreeNode* start);
    void FollowInList(gui::TTreeNode* node);
    void RefreshSelected();
    void Watch(gui::TTreeNode* node);
    void Forget(gui::TTreeNode* node);
    TbsShellFolder* Own(gui::TTreeNode* node, std::unique_ptr<TbsShellFolder> folder);
    void SetShellImageList();

    void Expanding(gui::TTreeNode* node, bool& allow);
    void Changing(gui::TTreeNode* node, bool& allow);
    void Edited(gui::TTreeNode* node, std::string& s);

    std::string path_;
    TRoot root_ = "rfDesktop", oldRoot_;
    std::unique_ptr<TbsShellFolder> rootFolder_;
    TShellObjectTypes objectTypes_ = otFolders;
    bool loadingRoot_ = false, updating_ = false, autoRefresh_ = false, useShellImages_ = true;
    TbsShellChangeNotifier* notifier_ = nullptr;
    TbsCustomShellListView* listView_ = nullptr;
    std::map<gui::TTreeNode*, std::unique_ptr<TbsShellFolder>> folders_;
    TItemIDList pendingRefresh_; // the parent of a renamed node, refreshed once the edit is over
};

class TbsSkinDirTreeView : public TbsCustomShellTreeView {
public:
    using TbsCustomShellTreeView::TbsCustomShellTreeView;
    std::string ClassName() const override { return "TbsSkinDirTreeView"; }
};

} // namespace skin
