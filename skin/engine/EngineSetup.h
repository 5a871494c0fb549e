#pragma once
// Start-up of the skin engine: the processor test, the optional window functions (found or
// not, each use checks first), the system version gates of layered windows, and the
// constant alpha of a layered window.
#include "gdi/Blit.h"
#include "win/System.h"
#include "win/WinTypes.h"

#include <cstdint>

namespace skin {

// The scroll-bar report the optional scroll-bar function fills (state words as Win32 has them).
struct TbsScrollBarInfo {
    DWORD cbSize = 0;
    RECT rcScrollBar{};
    int dxyLineButton = 0, xyThumbTop = 0, xyThumbBottom = 0, reserved = 0;
    DWORD rgstate[6]{};
};

// The optional window functions, resolved once at start-up; a null slot was not found.
struct TbsOptionalFunctions {
    HMONITOR (*MonitorFromWindow)(HWND, DWORD) = nullptr;
    BOOL (*GetMonitorInfo)(HMONITOR, MONITORINFO*) = nullptr;
    BOOL (*GetScrollBarInfo)(HWND, LONG, TbsScrollBarInfo*) = nullptr;
    BOOL (*SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
    BOOL(*UpdateLayeredWindow)
    (HWND, HDC, const POINT*, const SIZE*, HDC, const POINT*, COLORREF, const BLENDFUNCTION*,
     DWORD) = nullptr;
    BOOL (*TransparentBlt)(HDC, int, int, int, int, HDC, int, int, int, int, UINT) = nullptr;
};

// Process-wide state of the engine, written by InitSkinEngine and read without locks.
struct TbsEngineState {
    bool Mmx = false;
    bool TransparentBltAvailable = false;
    bool NT = false;
    TbsOptionalFunctions Functions;
};
TbsEngineState& bsEngine();

// Both start-up steps, once: the pixel and drawing routine tables, then the optional
// functions.  Every entry point of the engine that needs them calls this first.
void InitSkinEngine();
// The second step alone (the optional functions, the NT flag), as start-up runs it.
void InitPlatformFunctions();

// The low byte and the second byte of the platform's version number.
void GetWindowsVersion(int& major, int& minor);
bool IsWindowsVistaOrLater();
bool IsWindowsXPOrLater();
bool IsLayeredWindowSupported();
// The same gates for a given version.
bool IsWindowsVistaOrLater(int major, int minor);
bool IsWindowsXPOrLater(int major, int minor);
bool IsLayeredWindowSupported(int major, int minor);

// MMX: the CPUID instruction exists, the family (bits 8 to 11 of leaf 1's signature) is 5 or
// higher and feature bit 23 of leaf 1 is set.
bool DetectMMX();
bool DetectMMX(bool hasCpuid, uint32_t signature, uint32_t features);
// The MMX arithmetic is computed without MMX registers here, so there is no MMX state to
// empty; the call stays where floating-point code follows blending.
void EndMMX();
bool IsTransparentBltAvailable();

// The window's constant alpha; nothing when the layered-attributes function is missing.
void SetWindowAlpha(HWND window, int alpha);

} // namespace skin
