#pragma once
// The per-file settings dialog's tables: its 12 categories (each one format family) and its 109
// formats with their preset entries and encoding values. Most of its formats are the main
// window's at the same key; its tables hold only where the two differ, and the families the main
// window does not have.
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetEntries.h"

#include <optional>
#include <span>
#include <string>

namespace catalogue {

struct TSettingsCategory {
    const char* Caption;
    int ImageIndex; // into the category image list
};

struct TSettingsFormat {
    int Key;        // category * 100 + position in the category
    int ImageIndex; // kept on the item; the format combo has no image list
    const char* Title;
    const char* Caption;
};

constexpr int SettingsCategoryCount = 12;

std::span<const TSettingsCategory> SettingsCategories();
// Empty outside 0..11.
std::span<const TSettingsFormat> SettingsFormatsOfCategory(int category);
// The key the two combos' positions make; -1 when either has no selection.
int SettingsFormatKey(int category, int formatPosition);
// nullptr for a key that is not one of the dialog's formats.
const TPresetEntry* FindSettingsPresetEntry(int key);
// The reset values with the key's encoding values over them; no value for a key without them
// (309 has none). The output file name is left empty for the caller to make.
std::optional<TParameterSet> SettingsParameterSet(int key);
// The extension the output name gets, dot included; empty where SettingsParameterSet has no value.
std::string SettingsNameExt(int key);

} // namespace catalogue
