#pragma once
// The Win32 calls the program makes of the desktop, over os/DesktopServices:
// opening with the shell, the power-off request and the completion sound.
#include "win/Styles.h"
#include "win/WinTypes.h"

#include <cstdint>

// ShellExecute's answers: above 32 is success.
constexpr uintptr_t SE_ERR_FNF = 2, SE_ERR_PNF = 3, SE_ERR_NOASSOC = 31;

// verb null, "open" or "explore"; file a path (relative ones against dir) or
// a URL ("http:", "mailto:" ...).  xdg-open takes no parameters, so a call
// with parameters fails rather than dropping them.  dir becomes the opener's
// working folder; ours never moves.  Missing files answer SE_ERR_FNF, a
// missing opener SE_ERR_NOASSOC.
uintptr_t ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* dir, int show);

// Only the power-off kinds are supported, always as an orderly request:
// EWX_FORCE is not honoured, so no one loses unsaved work to us.
constexpr UINT EWX_LOGOFF = 0, EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_FORCE = 4, EWX_POWEROFF = 8;
BOOL ExitWindowsEx(UINT flags, DWORD reason);

// Files only (SND_FILENAME); always played without waiting, so the GUI
// thread never blocks on a sound.  A null name stops the current sound.
constexpr DWORD SND_SYNC = 0x0, SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_FILENAME = 0x20000;
BOOL PlaySound(const char* name, HINSTANCE module, DWORD flags);
