#include "display/Backend.h"

#include "display/headless/Headless.h"
#include "display/x11/X11Display.h"

#include <cstdlib>
#include <cstring>

namespace display {

namespace {

std::unique_ptr<Backend> OpenReal() {
    const char* choice = std::getenv("TARVIK_DISPLAY");
    if (choice && std::strcmp(choice, "headless") == 0) return nullptr;
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    return OpenX11(name);
}

Headless& HeadlessInstance() {
    static Headless h;
    return h;
}

// Chosen once, on first use, and kept for the life of the process.
Backend* Chosen() {
    static std::unique_ptr<Backend> real = OpenReal();
    return real ? real.get() : &HeadlessInstance();
}

} // namespace

Backend& Current() {
    return *Chosen();
}

Headless* HeadlessDisplay() {
    return dynamic_cast<Headless*>(Chosen());
}

} // namespace display
