#include "display/Backend.h"

#include "display/headless/Headless.h"

namespace display {

namespace {
Headless& HeadlessInstance() {
    static Headless h;
    return h;
}
} // namespace

// Until the X11 backend exists every process is headless; the choice by
// DISPLAY and TARVIK_DISPLAY lands here when it does.
Backend& Current() {
    return HeadlessInstance();
}

Headless* HeadlessDisplay() {
    return &HeadlessInstance();
}

} // namespace display
