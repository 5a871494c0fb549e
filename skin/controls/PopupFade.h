#pragma once
// The translucency of an open drop-down list and its fade-in.  The fade runs on a window
// timer of the list: the list answers at once, nothing busy-waits on the tick count, and no
// messages are pumped while the combo box that owns the list could be destroyed.
#include "win/WinTypes.h"

#include <cstdint>

namespace skin {

class TbsPopupFade {
public:
    static constexpr uintptr_t kTimerId = 0x7ADE;
    // Steps come more than 5 ms apart.
    static constexpr UINT kInterval = 6;

    // Before the window shows: the layered style follows AlphaBlend, and the alpha is set to
    // its final value or, when it fades, to 0.
    void Prepare(HWND Wnd, bool AlphaBlend, int AlphaBlendValue, bool Animate);
    // After the window shows: the first step at once, the others on the timer.
    void Start(HWND Wnd, bool AlphaBlend, int AlphaBlendValue, bool Animate);
    // A WM_TIMER of the window: true when it was the fade's.
    bool Timer(HWND Wnd, uintptr_t Id);
    void Stop(HWND Wnd);
    bool Running() const { return FRunning; }
    int Alpha() const { return FAlpha; }
    // AlphaBlendValue div 15, at least 1.
    static int StepOf(int AlphaBlendValue);

private:
    void Apply(HWND Wnd);
    bool FOldAlphaBlend = false;
    int FOldAlphaBlendValue = 0;
    bool FRunning = false;
    int FAlpha = 255, FTarget = 255, FStep = 1;
};

} // namespace skin
