#pragma once
// Forward declarations of the catalogue, for headers that only pass its records along.

namespace catalogue {

struct TCategory;
struct TFormatItem;
struct TParameterSet;
struct TPresetList;
struct TPresetChoice;
struct TPresetEntry;
enum class TPresetPicker : int;

} // namespace catalogue
