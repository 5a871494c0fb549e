#pragma once
// The settings dialog's own tables: its 12 categories (each one format family), its 109
// formats, the preset entry of every format key and the encoding row of every key but one.
// They are kept apart from the main window's catalogue: the two differ at several keys.
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetEntries.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace app {

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

// A field the row does not assign: it keeps the dialog's default.
inline constexpr const char* Leave = nullptr;
inline constexpr int32_t LeaveBitrate = INT32_MIN;

struct TSettingsParameterRow {
    int Key;
    const char* NameExt; // the output name's extension; it can differ from FileExt
    const char* FileExt;
    const char* VideoCodec;
    const char* VideoTag;
    const char* FrameSize;
    const char* FrameRate;
    int32_t VideoBitrate;
    const char* FrameAspectRatio;
    const char* AudioCodec;
    const char* AudioChannels;
    const char* AudioSampleRate;
    int32_t AudioBitrate;
    bool AudioOnly; // sets Video_DisableVideo
};

constexpr int SettingsCategoryCount = 12;

std::span<const TSettingsCategory> SettingsCategories();
// Empty outside 0..11.
std::span<const TSettingsFormat> SettingsFormatsOfCategory(int category);
// The key the two combos' positions make; -1 when either has no selection.
int SettingsFormatKey(int category, int formatPosition);
// nullptr for a key without an entry.
const catalogue::TPresetEntry* FindSettingsPresetEntry(int key);
// nullptr for a key without a row (309 has none).
const TSettingsParameterRow* FindSettingsParameterRow(int key);
// The dialog's defaults with the key's row applied over them; no value for a key without a row.
// The output file name is left empty for the caller to make.
std::optional<catalogue::TParameterSet> SettingsParameterSet(int key);

} // namespace app
