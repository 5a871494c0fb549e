#pragma once
// What a preset picker's text stands for in the parameter set, and the twelve-character
// preset indices in which a file-list row keeps the six pickers' positions.
#include "catalogue/ParameterSet.h"
#include "catalogue/PresetLists.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace catalogue {

// "保持原分辨率" and "该格式无视频" keep the source size: empty. Any other text is the size.
std::string PresetFrameSize(const std::string& text);
// "保持原帧速率" and "无视频" keep the source rate: empty. Any other text is the rate.
std::string PresetFrameRate(const std::string& text);
// "无视频" is BitrateNotSet; otherwise the whole number before the first "kbps" times 1000.
// Text without a number there raises os::EConvertError.
int32_t PresetVideoBitrate(const std::string& text);
// "自动音频比特率" is BitrateNotSet; "7.95 kbps" is 7950, "128 kbps" 128000. A number with a
// decimal point must come out whole after * 1000, else os::EConvertError, as for no number.
int32_t PresetAudioBitrate(const std::string& text);

// "自动音频采样率" is "AUTO" when the preset override reads it and empty when the picker's own
// change handler does; any other text is the rate.
enum class TSampleRateUse { Override, PickerChange };
std::string PresetSampleRate(const std::string& text, TSampleRateUse use);

// The five aspect modes and "无视频" give their value; any other text keeps `current`.
std::string PresetAspect(const std::string& text, const std::string& current);

// The preset override: `current` with the six fields the pickers' texts stand for. Every text
// is read before the set is built, so a text that is no bitrate raises os::EConvertError and
// the caller's set stays as it was.
TParameterSet WithPresets(const TParameterSet& current,
                          const std::function<std::string(TPresetPicker)>& text);

// Preset indices: six two-digit positions in field order (FieldOrder).
using TPresetPositions = std::array<int, PresetPickerCount>;
std::string PresetIndexText(int position); // "03" below 10, the plain number from 10 on
std::string PresetIndicesText(const TPresetPositions& positions);
// Writes one picker's position into its two characters, keeping the other ten.
void SetPresetIndex(std::string& indices, TPresetPicker picker, int position);
// No value when a pair is not a number or the text is too short.
std::optional<TPresetPositions> ReadPresetIndices(const std::string& indices);

} // namespace catalogue
