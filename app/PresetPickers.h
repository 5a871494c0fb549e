#pragma once
// The six preset pickers as the main window and the per-file settings dialog both hold them: the
// same fields (bsSkinComboBox1, 2, 3, 4, 9, 10) filled from a format's preset entry the same way.
#include "catalogue/PresetEntries.h"

#include <array>

namespace skin {
class TbsSkinComboBox;
}

namespace app {

// The pickers in field order (catalogue::FieldOrder).
using TPresetPickerFields = std::array<skin::TbsSkinComboBox*, catalogue::PresetPickerCount>;

skin::TbsSkinComboBox* PresetPickerOf(const TPresetPickerFields& fields, catalogue::TPresetPicker picker);

// Empties and enables the pickers, then fills them from the entry and selects its defaults; an
// audio-only entry leaves the video pickers disabled. Without an entry they stay empty.
void RefillPresetPickers(const TPresetPickerFields& fields, const catalogue::TPresetEntry* entry);

} // namespace app
