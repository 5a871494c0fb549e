#pragma once
// The "look in" chooser of the file dialogs: a skinned combo box whose list shows an indented
// outline of the shell namespace (the root, its children, the drives under Computer when the
// root is the desktop, and the chain of folders down to the folder chosen), each with its
// shell icon.  Choosing an entry moves a linked folder list there; when the list moves, the
// box follows.
#include "skin/controls/SkinComboBox.h"
#include "skin/shell/ShellFolder.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

class TbsCustomShellListView;

struct TbsItemEx {
    std::string Caption;
    TbsShellFolder* Data = nullptr; // owned by the combo box
    int Indent = 0;
    int ImageIndex = -1, SelectedImageIndex = -1;
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
public:
    explicit TbsCustomShellComboBox(gui::TComponent* owner);
    ~TbsCustomShellComboBox() override;
    std::string ClassName() const override { return "TbsCustomShellComboBox"; }

    // The selected entry's parse name; empty without a selection.
    std::string Path();
    // EInvalidPath "Error setting path: \"%s\"" when the shell cannot parse it.
    void SetPath(const std::string& value);
    const TRoot& Root() const { return root_; }
    void SetRoot(const TRoot& value);
    TShellObjectTypes ObjectTypes() const { return objectTypes_; }
    void SetObjectTypes(TShellObjectTypes value);
    TbsCustomShellListView* ShellListView() const { return listView_; }
    void SetShellListView(TbsCustomShellListView* value);
    bool UseShellImages = true;

    const std::vector<TbsItemEx>& ItemsEx() const { return items_; }
    // The entry of an absolute item, searched from the last one; -1 when none.
    int IndexOfID(LPCITEMIDLIST id) const;
    // An index beyond the last entry gives the last entry's folder.
    TbsShellFolder* FolderAtIndex(int index) const;
    // From a linked list: rebuilds the outline around id unless it is selected already.
    void FollowID(LPCITEMIDLIST id);
    // Rebuilds the outline with the chain of folders down to id and selects it.
    void SelectByID(LPCITEMIDLIST id);

protected:
    void CreateWnd() override;
    void Change() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    void BuildRootItems();
    void AddRootChildren();
    void InsertChildren(int index, TbsShellFolder* folder);
    int InsertEntry(int index, std::unique_ptr<TbsShellFolder> folder);
    void ApplyRoot();
    void CopyItemsToList();
    void FreeAllItems();
    int ImageIndexOf(TbsShellFolder* folder) const;
    void DrawListItem(gui::TCanvas* c, int index, const gui::TRect& r);

    std::vector<TbsItemEx> items_;
    std::vector<std::unique_ptr<TbsShellFolder>> owned_;
    TRoot root_ = "rfDesktop", oldRoot_;
    std::unique_ptr<TbsShellFolder> rootFolder_;
    TShellObjectTypes objectTypes_ = otFolders;
    TbsCustomShellListView* listView_ = nullptr;
    bool updating_ = false, building_ = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
public:
    using TbsCustomShellComboBox::TbsCustomShellComboBox;
    std::string ClassName() const override { return "TbsSkinShellComboBox"; }
};

} // namespace skin
