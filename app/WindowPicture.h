#pragma once
// The picture of a top-level window as it has just painted itself, frame included, written as
// a PNG file. scripts/run.sh shows a newcomer the main window this way on a machine without a
// display (TARVIK_SCREENSHOT names the file).
#include "win/WinTypes.h"

#include <string>

namespace app {

// Paints the window and its children now, then writes the picture; false with the reason.
bool WriteWindowPicture(HWND AWindow, const std::string& AFileName, std::string& AError);

} // namespace app
