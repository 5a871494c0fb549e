#pragma once
// The category and format pickers: office-style combo boxes whose items carry a title, a
// caption and a picture. Setting the position from code fires OnChange every time, also for
// the position already selected; the main window's picker chain relies on it.
#include "skin/controls/SkinOfficeComboBox.h"

#include <string>

namespace app {

class TFormatPicker : public skin::TbsSkinOfficeComboBox {
public:
    explicit TFormatPicker(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TFormatPicker"; }

    void ClearItems();
    void AddItem(const std::string& ATitle, const std::string& ACaption, int AImageIndex);
    int Count() const;
    const std::string& Title(int AIndex) const;
    const std::string& ItemCaption(int AIndex) const;
    // The position a stored form opens with, set without any event.
    void SetStoredItemIndex(int AValue);
};

} // namespace app
