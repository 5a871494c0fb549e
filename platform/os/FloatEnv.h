#pragma once
// The floating-point environment is saved before any media library is loaded
// and restored at exit; threads the program starts begin with the masked
// environment (all exceptions off, round to nearest).
namespace os {
void ApplyStartFloatEnv(); // called by every thread the program starts
void RestoreSavedFloatEnv();
} // namespace os
