#pragma once
// X errors arrive asynchronously and, by Xlib's default, end the process.  We
// install a handler once: errors are counted, and reported unless a trap
// expects them (a shared-memory attach may fail on a remote display).
#include <X11/Xlib.h>

namespace display::x11 {

void InstallErrorHandler();

class ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy);
    ~ErrorTrap();
    // Waits for the server to answer every request so far; true when one failed.
    bool Failed();

private:
    Display* dpy_;
};

} // namespace display::x11
