#pragma once
// The encoding parameters of every format key and the texts they leave in a file-list row.
#include "catalogue/ParameterSet.h"

#include <array>
#include <optional>
#include <string>

namespace catalogue {

// The set a key gives: the reset values overwritten by the key's values, with an empty
// output file name (the caller names the output, see OutputFileName). No value for a key
// that is not in the catalogue: such a key assigns nothing.
std::optional<TParameterSet> ParameterSetOf(int key);

// The extension the output file's name gets, dot included; it can differ from the set's
// Video_FileExt (".ra" names a file whose extension field is ".rm"). Empty for an unknown key.
std::string NameExtOf(int key);

// A row keeps the set in its sub-items 10 to 23, raw and untranslated, in this order.
constexpr int FirstParameterSubItem = 10;
using TParameterSubItems = std::array<std::string, 14>;
TParameterSubItems ParameterSubItems(const TParameterSet& set);

} // namespace catalogue
