#pragma once
// The category and format pickers: office-style combo boxes whose items carry a title, a
// caption and a picture. Setting the position from code fires OnChange every time, also for
// the position already selected; the main window's picker chain relies on it.
// Until the skinned office combo box exists, a skinned list-only combo box showing the titles
// stands in; the main window reaches it only through this class.
#include "skin/controls/SkinComboBox.h"

#include <string>
#include <vector>

namespace app {

class TFormatPicker : public skin::TbsSkinComboBox {
public:
    explicit TFormatPicker(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TFormatPicker"; }

    void ClearItems();
    void AddItem(const std::string& ATitle, const std::string& ACaption, int AImageIndex);
    int Count() const { return static_cast<int>(titles_.size()); }
    const std::string& Title(int AIndex) const { return titles_.at(static_cast<size_t>(AIndex)); }
    const std::string& ItemCaption(int AIndex) const { return captions_.at(static_cast<size_t>(AIndex)); }
    // Selects and fires OnPickerChange, every time.
    void SetItemIndex(int AValue);

    gui::TNotifyEvent OnPickerChange;

private:
    std::vector<std::string> titles_, captions_;
};

} // namespace app
