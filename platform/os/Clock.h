#pragma once
// One clock for the whole program: tick counts, timers and double-click
// times all read it.  Tests switch it to a virtual clock that they advance.
#include <cstdint>

namespace os {

uint32_t GetTickCount(); // milliseconds, wrapping after 49.7 days as Win32's does
uint64_t GetTickCount64();
int64_t MonotonicMicros(); // for media timing; virtual too
void SleepMs(uint32_t ms); // under the virtual clock it advances the clock

namespace VirtualClock {
void Enable(uint64_t startMs = 0);
void Disable();
bool Enabled();
void Advance(uint64_t ms);
} // namespace VirtualClock

} // namespace os
