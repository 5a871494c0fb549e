#include "skin/shell/SkinFilterComboBox.h"

#include "gui/SysUtils.h"
#include "skin/shell/SkinFileListBox.h"

namespace skin {

TbsSkinFilterComboBox::TbsSkinFilterComboBox(gui::TComponent* owner) : TbsSkinComboBox(owner) {
    filter_ = DefaultFilter;
    Rebuild();
}

TbsSkinFilterComboBox::~TbsSkinFilterComboBox() {
    MarkDestroying();
    SetFileList(nullptr);
}

void TbsSkinFilterComboBox::SetFilter(const std::string& value) {
    if (gui::SameText(value, filter_)) return;
    filter_ = value;
    Rebuild();
    Change();
}

void TbsSkinFilterComboBox::Rebuild() {
    Items()->BeginUpdate();
    Items()->Clear();
    masks_.clear();
    std::string s = filter_;
    // A description without a "|" after it has no mask and is dropped; a trailing "|" adds
    // nothing.
    for (size_t p; (p = s.find('|')) != std::string::npos;) {
        std::string description = s.substr(0, p);
        s.erase(0, p + 1);
        std::string mask;
        if (size_t q = s.find('|'); q == std::string::npos) {
            mask = s;
            s.clear();
        } else {
            mask = s.substr(0, q);
            s.erase(0, q + 1);
        }
        Items()->Add(description);
        masks_.push_back(mask);
    }
    Items()->EndUpdate();
    SetItemIndex(0);
}

std::string TbsSkinFilterComboBox::Mask() {
    if (ItemIndex() < 0) SetItemIndex(Items()->Count() - 1);
    int i = ItemIndex();
    if (i < 0 || i >= static_cast<int>(masks_.size())) return "*.*";
    return masks_[static_cast<size_t>(i)];
}

void TbsSkinFilterComboBox::Change() {
    if (fileList_) fileList_->SetMask(Mask());
    TbsSkinComboBox::Change();
}

void TbsSkinFilterComboBox::SetFileList(TbsSkinFileListBox* value) {
    if (value == fileList_) return;
    if (fileList_) {
        fileList_->filterCombo_ = nullptr;
        fileList_->RemoveFreeNotification(this);
    }
    fileList_ = value;
    if (!value) return;
    value->FreeNotification(this);
    value->filterCombo_ = this;
}

void TbsSkinFilterComboBox::Notification(gui::TComponent* component, gui::TOperation operation) {
    TbsSkinComboBox::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component == fileList_) fileList_ = nullptr;
}

} // namespace skin
