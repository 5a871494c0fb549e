#include "app/PresetPickers.h"

#include "skin/controls/SkinComboBox.h"

namespace app {

using catalogue::TPresetPicker;

skin::TbsSkinComboBox* PresetPickerOf(const TPresetPickerFields& fields, TPresetPicker picker) {
    for (size_t i = 0; i < fields.size(); ++i)
        if (catalogue::FieldOrder[i] == picker) return fields[i];
    return fields[0];
}

void RefillPresetPickers(const TPresetPickerFields& fields, const catalogue::TPresetEntry* entry) {
    for (skin::TbsSkinComboBox* picker : fields) picker->Items()->Clear();
    for (skin::TbsSkinComboBox* picker : fields) picker->SetEnabled(true);
    if (!entry) return;
    for (TPresetPicker p : catalogue::FillOrder) {
        skin::TbsSkinComboBox* picker = PresetPickerOf(fields, p);
        const catalogue::TPresetChoice& choice = entry->Choice(p);
        for (const std::string& item : choice.List->Items) picker->Items()->Add(item);
        picker->SetItemIndex(choice.DefaultPosition);
    }
    if (entry->AudioOnly)
        for (TPresetPicker p : catalogue::VideoPickers) PresetPickerOf(fields, p)->SetEnabled(false);
}

} // namespace app
