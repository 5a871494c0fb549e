#pragma once
// The two ways a conversion's output record is filled from the current format's values: from
// the main window's parameter set when a file is added, and from a file-list row's hidden
// sub-items when the list starts. They differ on purpose: only the row fills the extension,
// drops the tag of libx264 and copies a video bitrate of -1000; only the set carries the
// volume, the forced container and the filters (at start the slot still holds those).
// A number field holding text that is not a decimal number raises os::EConvertError.
#include "catalogue/ParameterSet.h"
#include "media/FFmpegRequest.h"

#include <string>
#include <vector>

namespace app {

// `options` holds the record's defaults (or what the caller put there) on entry.
void ParameterSetToOutputOptions(const catalogue::TParameterSet& set, media::TOutputOptions& options);

// `subItems` are a row's sub-items by index (10 to 23 are read); the slot is updated in place.
void RowToOutputOptions(const std::vector<std::string>& subItems, media::TOutputOptions& slot);

} // namespace app
