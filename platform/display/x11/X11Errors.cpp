#include "display/x11/X11Errors.h"

#include <cstdio>

namespace display::x11 {

namespace {

// GUI thread only, like every other use of the connection.
int g_trapDepth = 0;
int g_trapped = 0;

int OnError(Display* dpy, XErrorEvent* e) {
    if (g_trapDepth > 0) {
        ++g_trapped;
        return 0;
    }
    char text[160] = "";
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "tarvik: X error: %s (request %d.%d)\n", text, e->request_code, e->minor_code);
    return 0;
}

} // namespace

void InstallErrorHandler() {
    static bool done = (XSetErrorHandler(OnError), true);
    (void)done;
}

ErrorTrap::ErrorTrap(Display* dpy) : dpy_(dpy) {
    XSync(dpy_, False);
    ++g_trapDepth;
    g_trapped = 0;
}

ErrorTrap::~ErrorTrap() {
    XSync(dpy_, False);
    --g_trapDepth;
}

bool ErrorTrap::Failed() {
    XSync(dpy_, False);
    return g_trapped > 0;
}

} // namespace display::x11
