#pragma once
// Timers by window and id on the one clock (os/Clock.h): a virtual clock in
// tests makes them fire when the test advances it.
#include "win/WinTypes.h"

uintptr_t SetTimer(HWND h, uintptr_t id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND h, uintptr_t id);
DWORD GetTickCount();

namespace win {
// Milliseconds until the next timer is due (0: due now), or -1 without timers.
int NextTimerDelay();
// The WM_TIMER of the first due timer (of window filter, if given); taking it
// schedules the timer's next turn one interval from now.
bool TakeDueTimer(MSG& out, HWND filter, bool remove);
void KillWindowTimers(HWND h);
} // namespace win
