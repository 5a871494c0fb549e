#pragma once
// The X11 display: top-level windows become undecorated X windows, window
// regions XShape shapes, and surfaces reach the screen through XShm images.
// This header names no X11 type, so that only this folder sees Xlib.
#include "display/Backend.h"

#include <memory>

namespace display {

// Connects to the named display (null: $DISPLAY); null when it does not open.
std::unique_ptr<Backend> OpenX11(const char* name);
// The X window showing a top-level window of an x11 backend (0: none yet), for
// tests that look at the server through a connection of their own.
unsigned long X11WindowOf(Backend& backend, uintptr_t id);
// Returns once the server has done everything the backend asked of it.
void X11Sync(Backend& backend);

} // namespace display
