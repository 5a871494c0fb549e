#pragma once
// The file types the main window's open dialogs offer: 42 description-and-mask pairs, each
// ended by "|", the first ("*.*") chosen when a dialog opens.
#include <string>

namespace app {

const std::string& OpenDialogFilter();

} // namespace app
