#pragma once
// The built-in presets of the H.264 encoder "libx264", and the translation of
// the encoder keys they use, which the libraries no longer take as generic
// codec options, into libx264's own options.
#include <string>
#include <utility>
#include <vector>

namespace media {

struct TOptionsPreset {
    std::string Name;
    // key=value lines separated by a line feed
    std::string Value;
};

// The 36 presets, in table order.
const std::vector<TOptionsPreset>& BuiltinPresets();

using TOptionPairs = std::vector<std::pair<std::string, std::string>>;

enum class TLegacyX264 {
    NotLegacy,  // not one of the old keys: set it as it is
    Translated, // set the pairs instead
    Invalid,    // an old key with a value it never took
};

// "partitions", "directpred", "flags2" and "cqp" become libx264's options
// ("flags2" keeps the flags that the generic option still knows).  "coder",
// "me_method", "b_strategy", "sc_threshold" and "wpredp" need nothing: libx264
// declares them under the same names.
TLegacyX264 TranslateLegacyX264Option(const std::string& name, const std::string& value, TOptionPairs& out);

} // namespace media
