#pragma once
// The properties of a file or folder: the desktop's file manager shows them when one is
// registered on the session bus; otherwise a skinned box lists what the file system knows.
#include "gui/Control.h"

#include <string>

namespace skin {

// Name, type, size (files only), modified time and location, one per line.
std::string ItemPropertiesText(const std::string& path);

// Never a silent no-op: the file manager is asked, or the box is shown modally in the skin of
// owner's form.  False for an empty path (a virtual folder has no properties to show).
bool ShowItemProperties(gui::TControl* owner, const std::string& path);

} // namespace skin
