#pragma once
// The files of one folder that match a mask and a set of attributes, in a skinned list box.
// A linked file-type chooser sets its mask; a linked edit shows the selected name, or the
// mask when nothing is selected.  The folder is the list's own: the program's current folder
// is never used or changed.
#include "gui/CustomEdit.h"
#include "skin/controls/SkinListBox.h"

#include <cstdint>
#include <string>

namespace skin {

class TbsSkinFilterComboBox;

enum TbsFileAttr : uint8_t {
    bsftReadOnly = 1,
    bsftHidden = 2,
    bsftSystem = 4,
    bsftVolumeID = 8,
    bsftDirectory = 16,
    bsftArchive = 32,
    bsftNormal = 64 // no attribute of its own: admits every entry found
};
using TbsFileType = uint8_t;

class TbsSkinFileListBox : public TbsSkinListBox {
public:
    explicit TbsSkinFileListBox(gui::TComponent* owner);
    ~TbsSkinFileListBox() override;
    std::string ClassName() const override { return "TbsSkinFileListBox"; }

    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& value) { ApplyFilePath(value); }
    // One or more masks separated by ";", each used exactly as written.
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& value);
    TbsFileType FileType() const { return fileType_; }
    void SetFileType(TbsFileType value);
    gui::TCustomEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(gui::TCustomEdit* value);
    TbsSkinFilterComboBox* FilterCombo() const { return filterCombo_; }
    // The selected file's full name; empty without a selection.
    std::string FileName();
    // A full name selects that file in its folder; a pattern becomes the mask; a file the
    // mask hides becomes the mask itself.  EInOutError for a folder that does not exist.
    void SetFileName(const std::string& value) { ApplyFilePath(value); }
    // Another folder to list (from a folder list beside it).
    void DirectoryChanged(const std::string& folder);
    // Reads the file names again.  Not named Update: that one repaints, and a repaint must
    // not read the folder.
    void UpdateFileNames();
    gui::TNotifyEvent OnChange;

protected:
    virtual void ApplyFilePath(const std::string& text);
    virtual void Change();
    void ListBoxClick() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    friend class TbsSkinFilterComboBox;
    std::string SelectedName();
    void SelectByName(const std::string& name);
    void ReadFileNames();

    std::string directory_, mask_ = "*.*";
    TbsFileType fileType_ = bsftNormal;
    gui::TCustomEdit* fileEdit_ = nullptr;
    TbsSkinFilterComboBox* filterCombo_ = nullptr;
    int lastSel_ = -1;
};

} // namespace skin
