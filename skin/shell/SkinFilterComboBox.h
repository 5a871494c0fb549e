#pragma once
// The file-type chooser of the file dialogs: a skinned combo box that reads a filter text
// (descriptions and masks in turn, each ended by "|") into a list of descriptions and
// answers the mask of the chosen one.
#include "skin/controls/SkinComboBox.h"

#include <string>
#include <vector>

namespace skin {

class TbsSkinFileListBox;

class TbsSkinFilterComboBox : public TbsSkinComboBox {
public:
    explicit TbsSkinFilterComboBox(gui::TComponent* owner);
    ~TbsSkinFilterComboBox() override;
    std::string ClassName() const override { return "TbsSkinFilterComboBox"; }

    static constexpr const char* DefaultFilter = "All files (*.*)|*.*";
    const std::string& Filter() const { return filter_; }
    // A text equal to the current one but for letter case changes nothing; any other is read
    // at once and its first entry selected.
    void SetFilter(const std::string& value);
    // The selected entry's mask.  With nothing selected the last entry is selected first;
    // without entries "*.*".
    std::string Mask();
    const std::vector<std::string>& MaskList() const { return masks_; }
    // A linked file list takes the mask of every choice.
    TbsSkinFileListBox* FileList() const { return fileList_; }
    void SetFileList(TbsSkinFileListBox* value);

protected:
    void Change() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    void Rebuild();
    std::string filter_;
    std::vector<std::string> masks_;
    TbsSkinFileListBox* fileList_ = nullptr;
};

} // namespace skin
