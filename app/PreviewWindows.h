#pragma once
// The open conversion preview windows.  One application message handler
// serves them all: a press on a preview window's picture moves the window,
// every other message goes on to the handler that was installed before.
// Windows may come and go in any order; the handler leaves the chain once the
// last one is gone, unless another handler has been put in front of it
// meanwhile, which then keeps calling it and is passed on as before.
#include "win/WinTypes.h"

namespace app {

class TPreviewWindows {
public:
    // GUI thread only.
    static void Add(HWND AHandle);
    static void Remove(HWND AHandle);
    static bool Contains(HWND AHandle);
};

} // namespace app
