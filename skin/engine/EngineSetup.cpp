#include "skin/engine/EngineSetup.h"

#include "skin/engine/PixelRoutines.h"
#include "skin/engine/SkinBitmap.h"
#include "win/Layered.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace skin {

TbsEngineState& bsEngine() {
    static TbsEngineState state;
    return state;
}

void InitPlatformFunctions() {
    TbsOptionalFunctions& f = bsEngine().Functions;
    f.MonitorFromWindow = ::MonitorFromWindow;
    f.GetMonitorInfo = ::GetMonitorInfo;
    // The window system keeps no scroll-bar report: the slot stays empty.
    f.GetScrollBarInfo = nullptr;
    f.SetLayeredWindowAttributes = ::SetLayeredWindowAttributes;
    f.UpdateLayeredWindow = ::UpdateLayeredWindow;
    if (IsLayeredWindowSupported()) {
        f.TransparentBlt = ::TransparentBlt;
        bsEngine().TransparentBltAvailable = true;
    }
    bsEngine().NT = true;
}

void InitSkinEngine() {
    static const bool done = [] {
        // The effect unit first: its drawing table reads the transparent-blit flag before the
        // second step sets it, so keyed drawing always takes its own procedure.
        bsEngine().Mmx = InitPixelRoutines();
        InitDrawRoutines();
        InitPlatformFunctions();
        return true;
    }();
    (void)done;
}

void GetWindowsVersion(int& major, int& minor) {
    DWORD v = GetVersion();
    major = static_cast<int>(v & 0xFF);
    minor = static_cast<int>((v >> 8) & 0xFF);
}

bool IsWindowsVistaOrLater(int major, int) {
    return major > 5;
}
bool IsWindowsXPOrLater(int major, int minor) {
    return major > 5 || (major == 5 && minor == 1);
}
bool IsLayeredWindowSupported(int major, int minor) {
    return major > 5 || (major == 5 && minor >= 0 && minor <= 2);
}

bool IsWindowsVistaOrLater() {
    int major, minor;
    GetWindowsVersion(major, minor);
    return IsWindowsVistaOrLater(major, minor);
}
bool IsWindowsXPOrLater() {
    int major, minor;
    GetWindowsVersion(major, minor);
    return IsWindowsXPOrLater(major, minor);
}
bool IsLayeredWindowSupported() {
    int major, minor;
    GetWindowsVersion(major, minor);
    return IsLayeredWindowSupported(major, minor);
}

bool DetectMMX(bool hasCpuid, uint32_t signature, uint32_t features) {
    return hasCpuid && ((signature >> 8) & 0xF) >= 5 && (features & (1u << 23)) != 0;
}

bool DetectMMX() {
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    return DetectMMX(true, eax, edx);
#else
    return false;
#endif
}

void EndMMX() {}

bool IsTransparentBltAvailable() {
    return bsEngine().TransparentBltAvailable;
}

void SetWindowAlpha(HWND window, int alpha) {
    auto set = bsEngine().Functions.SetLayeredWindowAttributes;
    if (!set) return;
    set(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

} // namespace skin
