#pragma once
// The picture of a top-level window as it has just painted itself, frame included.  Pixels
// outside the window's region (rounded corners) are left transparent, so the sheet shows
// the outline a desktop would.
#include "gdi/image/Image.h"
#include "win/WinTypes.h"

namespace skingallery {

// Repaints the window and its children now; an empty picture when the window has none.
gdi::image::Image ShootWindow(HWND window);

} // namespace skingallery
