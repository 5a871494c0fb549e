#include "skin/controls/PopupFade.h"

#include "skin/engine/EngineSetup.h"
#include "win/Layered.h"
#include "win/Styles.h"
#include "win/Timers.h"
#include "win/Window.h"

#include <algorithm>

namespace skin {

int TbsPopupFade::StepOf(int AlphaBlendValue) {
    return std::max(1, AlphaBlendValue / 15);
}

void TbsPopupFade::Apply(HWND Wnd) {
    SetLayeredWindowAttributes(Wnd, 0, static_cast<BYTE>(std::clamp(FAlpha, 0, 255)), LWA_ALPHA);
}

void TbsPopupFade::Prepare(HWND Wnd, bool AlphaBlend, int AlphaBlendValue, bool Animate) {
    Stop(Wnd);
    if (!Wnd || !IsLayeredWindowSupported()) return;
    if (AlphaBlend != FOldAlphaBlend) {
        LONG_PTR ex = GetWindowLong(Wnd, GWL_EXSTYLE);
        SetWindowLongPtr(Wnd, GWL_EXSTYLE,
                         AlphaBlend ? (ex | WS_EX_LAYERED) : (ex & ~LONG_PTR(WS_EX_LAYERED)));
        FOldAlphaBlend = AlphaBlend;
    }
    if (!AlphaBlend) return;
    // A fading list starts from transparent at every opening.
    if (Animate || AlphaBlendValue != FOldAlphaBlendValue) {
        FAlpha = Animate ? 0 : AlphaBlendValue;
        FOldAlphaBlendValue = FAlpha;
        Apply(Wnd);
    }
}

void TbsPopupFade::Start(HWND Wnd, bool AlphaBlend, int AlphaBlendValue, bool Animate) {
    if (!Wnd || !IsLayeredWindowSupported() || !AlphaBlend || !Animate) return;
    FTarget = std::clamp(AlphaBlendValue, 0, 255);
    FStep = StepOf(FTarget);
    FAlpha = 0;
    FRunning = true;
    Timer(Wnd, kTimerId);
    if (FRunning) SetTimer(Wnd, kTimerId, kInterval, nullptr);
}

bool TbsPopupFade::Timer(HWND Wnd, uintptr_t Id) {
    if (Id != kTimerId) return false;
    if (!FRunning) {
        KillTimer(Wnd, kTimerId);
        return true;
    }
    FAlpha = std::min(FAlpha + FStep, FTarget);
    Apply(Wnd);
    if (FAlpha >= FTarget) Stop(Wnd);
    return true;
}

void TbsPopupFade::Stop(HWND Wnd) {
    if (FRunning && Wnd) KillTimer(Wnd, kTimerId);
    FRunning = false;
}

} // namespace skin
