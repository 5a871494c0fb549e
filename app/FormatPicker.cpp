#include "app/FormatPicker.h"

namespace app {

TFormatPicker::TFormatPicker(gui::TComponent* AOwner) : skin::TbsSkinOfficeComboBox(AOwner) {}

void TFormatPicker::ClearItems() {
    Items()->Clear();
}

void TFormatPicker::AddItem(const std::string& ATitle, const std::string& ACaption, int AImageIndex) {
    skin::TbsSkinOfficeItem* item = Items()->Add();
    item->SetTitle(ATitle);
    item->SetCaption(ACaption);
    item->SetImageIndex(AImageIndex);
}

int TFormatPicker::Count() const {
    return Items()->Count();
}

const std::string& TFormatPicker::Title(int AIndex) const {
    return (*Items())[AIndex]->Title();
}

const std::string& TFormatPicker::ItemCaption(int AIndex) const {
    return (*Items())[AIndex]->Caption();
}

void TFormatPicker::SetStoredItemIndex(int AValue) {
    gui::TNotifyEvent change = std::move(OnChange), click = std::move(OnClick);
    OnChange = nullptr;
    OnClick = nullptr;
    SetItemIndex(AValue);
    OnChange = std::move(change);
    OnClick = std::move(click);
}

} // namespace app
