#pragma once
// A window that shows pictures drawn off-screen by another thread (the
// player's).  Registering subclasses the window: each rectangle handed to the
// frame sink of the window's handle value is copied, under the sink's lock,
// into the window's own copy of the picture, and the window is invalidated;
// WM_PAINT draws that copy at the client's top-left corner and black beside
// it.  The window's new client size and every paint that no picture asked
// for (an expose) go back to the producer as frame-sink notices.  The
// registration ends with UnregisterFrameHost or with the window.
#include "win/WinTypes.h"

BOOL RegisterFrameHost(HWND h);
BOOL UnregisterFrameHost(HWND h);
