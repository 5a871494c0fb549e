#pragma once
// Choosing input files until the skinned open dialog takes over: a small modal window where the
// user enters one path per line, and the filter list the open dialogs offer.
#include <string>
#include <vector>

#include "gui/Fwd.h"

namespace app {

// "description|masks|" for each entry, in the order the dialogs list them.
const std::string& OpenDialogFilter();

// True when the user confirmed; `files` then holds the entered paths (at most one unless
// `multiSelect`).
bool ExecuteOpenStandIn(gui::TComponent* owner, bool multiSelect, std::vector<std::string>& files);

} // namespace app
