#include "display/Backend.h"

#include "display/headless/Headless.h"
#include "display/x11/X11Display.h"
#include "os/Clock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace display {

namespace {

// An X server that is still starting (a session's first program, a virtual screen just
// launched) refuses connections for a moment: it is asked again for this long.
constexpr uint32_t kRetryMs = 3000;
constexpr uint32_t kRetryStepMs = 100;

struct Choice {
    std::unique_ptr<Backend> real;
    bool headless = false;
    std::string error;
};

Choice Choose() {
    Choice c;
    const char* choice = std::getenv("TARVIK_DISPLAY");
    if (choice && std::strcmp(choice, "headless") == 0) {
        c.headless = true;
        return c;
    }
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        c.error = "cannot open display: DISPLAY is not set";
        return c;
    }
    const uint64_t deadline = os::GetTickCount64() + kRetryMs;
    for (;;) {
        errno = 0;
        c.real = OpenX11(name);
        if (c.real) return c;
        const int err = errno;
        if (os::GetTickCount64() >= deadline) {
            // Xlib keeps the connection's own failure in errno; a refusal after connecting
            // (authorization) it prints itself.
            c.error = std::string("cannot open display ") + name + ": " +
                      (err ? std::strerror(err) : "the X server did not accept the connection");
            return c;
        }
        os::SleepMs(kRetryStepMs);
    }
}

Headless& HeadlessInstance() {
    static Headless h;
    return h;
}

// Chosen once, on first use, and kept for the life of the process.
const Choice& Chosen() {
    static Choice c = Choose();
    return c;
}

} // namespace

const std::string& OpenError() {
    return Chosen().error;
}

Backend& Current() {
    const Choice& c = Chosen();
    if (c.real) return *c.real;
    if (c.headless) return HeadlessInstance();
    // A program that did not ask OpenError first still never runs on an invisible screen.
    std::fprintf(stderr, "%s\n", c.error.c_str());
    std::exit(1);
}

Headless* HeadlessDisplay() {
    const Choice& c = Chosen();
    return c.headless ? &HeadlessInstance() : nullptr;
}

} // namespace display
