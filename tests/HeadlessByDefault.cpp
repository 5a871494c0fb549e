// Every test program runs on the headless display unless the environment says otherwise
// (the tests that use a private X server unset it before their first window): the program
// itself never falls back to headless, and a test run directly from a shell, or with
// properties that CTest did not apply, must not need a screen.
#include <cstdlib>

namespace {

[[maybe_unused]] const bool kHeadless = (::setenv("TARVIK_DISPLAY", "headless", 0), true);

} // namespace
