#pragma once
// A folder as an indented path in a skinned list box: the volume's mount point, each folder
// down to this one, then its subfolders.  Opening an entry goes there; a linked label shows
// the folder shortened to fit.  The folder is the list's own: the program's current folder
// is never used or changed.
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinStdLabel.h"

#include <string>
#include <vector>

namespace skin {

class TbsSkinDriveComboBox;

class TbsSkinDirectoryListBox : public TbsSkinListBox {
public:
    enum class Kind { Opened, Current, Closed }; // ancestors, the folder itself, subfolders

    explicit TbsSkinDirectoryListBox(gui::TComponent* owner);
    ~TbsSkinDirectoryListBox() override;
    std::string ClassName() const override { return "TbsSkinDirectoryListBox"; }

    const std::string& Directory() const { return directory_; }
    // A path, absolute or relative to the folder shown; EInOutError for a missing folder,
    // which leaves the list as it was.
    virtual void SetDirectory(const std::string& value);
    // The mount point of the folder's volume.
    std::string Drive() const;
    void SetDrive(const std::string& mountPoint);
    bool PreserveCase() const { return preserveCase_; }
    bool CaseSensitive() const { return caseSensitive_; }
    TbsSkinStdLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(TbsSkinStdLabel* value);
    TbsSkinDriveComboBox* DriveCombo() const { return driveCombo_; }
    gui::TNotifyEvent OnChange;

    std::string GetItemPath(int index) const;
    Kind KindOf(int index) const { return kinds_.at(static_cast<size_t>(index)); }
    void OpenCurrent();
    // Reads the folder again.  Not Update: that is the control's repaint, which must not
    // read the disk.
    void UpdateList();
    std::string DisplayCase(const std::string& s) const;
    int FileCompareText(const std::string& a, const std::string& b) const;
    // The drive combo box chose another volume.
    void DriveChange(const std::string& mountPoint);

protected:
    void CreateWnd() override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(char32_t& key) override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    virtual void Change();

private:
    friend class TbsSkinDriveComboBox;
    void BuildList();
    void ReadDirectoryNames(std::vector<std::string>& names) const;
    void DrawItem(gui::TCanvas* c, int index, int w, int h, gui::TRect text, gui::TOwnerDrawState state);
    int Indent(int index) const;
    void UpdateLabel();

    TbsSkinDriveComboBox* driveCombo_ = nullptr;
    TbsSkinStdLabel* dirLabel_ = nullptr;
    bool inSetDir_ = false, preserveCase_ = true, caseSensitive_ = true;
    std::string directory_;
    std::string mount_; // the volume's mount point, the first entry
    std::vector<Kind> kinds_;
    int currentIndex_ = 0;
};

} // namespace skin
