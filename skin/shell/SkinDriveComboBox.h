#pragma once
// The drives of the machine, which are its mount points, in a skinned combo box: each entry
// is a mount point with its volume label (or a network volume's remote name).  Choosing one
// switches the linked folder list to it.
#include "skin/controls/SkinComboBox.h"

#include <string>
#include <vector>

namespace skin {

class TbsSkinDirectoryListBox;

enum class TTextCase { tcLowerCase, tcUpperCase };

class TbsSkinDriveComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinDriveComboBox(gui::TComponent* owner);
    ~TbsSkinDriveComboBox() override;
    std::string ClassName() const override { return "TbsSkinDriveComboBox"; }

    TbsSkinDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TbsSkinDirectoryListBox* value);
    // The selected drive's mount point; empty for none.
    const std::string& Drive() const { return drive_; }
    void SetDrive(const std::string& value);
    // The letter case of the labels (mount points are names and keep theirs).
    TTextCase TextCase() const { return textCase_; }
    void SetTextCase(TTextCase value);
    // The mount point an entry stands for.
    const std::string& MountPointOf(int index) const { return mounts_.at(static_cast<size_t>(index)); }
    virtual void BuildList();

protected:
    void CreateWnd() override;
    void Change() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    friend class TbsSkinDirectoryListBox;
    TbsSkinDirectoryListBox* dirList_ = nullptr;
    std::string drive_;
    TTextCase textCase_ = TTextCase::tcLowerCase;
    std::vector<std::string> mounts_;
};

} // namespace skin
