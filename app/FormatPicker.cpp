#include "app/FormatPicker.h"

namespace app {

TFormatPicker::TFormatPicker(gui::TComponent* AOwner) : skin::TbsSkinComboBox(AOwner) {
    // The list-only combo box announces every accepted choice by OnClick, also the same one,
    // as the office combo box announces its change.
    OnClick = [this](gui::TObject*) {
        if (OnPickerChange) OnPickerChange(this);
    };
}

void TFormatPicker::ClearItems() {
    titles_.clear();
    captions_.clear();
    Items()->Clear();
}

void TFormatPicker::AddItem(const std::string& ATitle, const std::string& ACaption, int /*AImageIndex*/) {
    titles_.push_back(ATitle);
    captions_.push_back(ACaption);
    Items()->Add(ATitle);
}

void TFormatPicker::SetItemIndex(int AValue) {
    skin::TbsSkinComboBox::SetItemIndex(AValue);
}

} // namespace app
