#pragma once
// The texts a file-list row shows: durations, sizes and conversion progress.
#include <cstdint>
#include <string>

namespace app {

// "hh:mm:ss" of whole seconds; hours wrap at 24 as the list always showed them.
std::string SecToDate(int64_t sec);
// Bytes as megabytes rounded to the hundredth (halves to even), no trailing zeros: "12.35MB".
std::string MegabyteText(int64_t bytes);
// Percent done, truncated, or "N/A" when the total is unknown.
std::string ProgressText(int64_t current, int64_t total);

} // namespace app
