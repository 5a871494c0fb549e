#include "os/FloatEnv.h"

#include <cfenv>

namespace os {
namespace {

struct FloatEnvKeeper {
    fenv_t saved{};
    fenv_t start{};
    FloatEnvKeeper() {
        fegetenv(&saved);
        fedisableexcept(FE_ALL_EXCEPT);
        fesetround(FE_TONEAREST);
        fegetenv(&start);
    }
    ~FloatEnvKeeper() { fesetenv(&saved); }
};

FloatEnvKeeper& Keeper() {
    static FloatEnvKeeper k;
    return k;
}

// Taken during static initialisation, before main and before any library loads.
[[maybe_unused]] const bool kTaken = (Keeper(), true);

} // namespace

void ApplyStartFloatEnv() {
    fesetenv(&Keeper().start);
}
void RestoreSavedFloatEnv() {
    fesetenv(&Keeper().saved);
}

} // namespace os
