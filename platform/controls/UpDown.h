#pragma once
// The "msctls_updown32" class: a pair of arrow buttons stepping a position
// within a range (which may run backwards: the up arrow moves toward the
// upper end, as Win32's does; the default range is 100 down to 0), with
// wrapping, a buddy window that shows the number and whose Up/Down keys step
// it, and auto-repeat that speeds up as the button is held, on the one clock.
// Each step asks the parent first (UDN_DELTAPOS, nonzero refuses), then tells
// it with WM_VSCROLL, or WM_HSCROLL for UDS_HORZ, SB_THUMBPOSITION and the
// position; releasing the button sends SB_ENDSCROLL.
#include "controls/ControlWindow.h"

#include <vector>

namespace controls {

class UpDown : public ControlWindow {
public:
    explicit UpDown(HWND h);
    ~UpDown() override;

protected:
    LRESULT Proc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool Horizontal() const;
    int ButtonAt(POINT p) const; // +1 the increasing button, -1 the other, 0 none
    RECT ButtonRect(int which) const;
    void Step(int which);
    void SetPos(int pos, bool tellBuddy);
    int PosFromBuddy(bool* error);
    void ShowInBuddy();
    HWND SetBuddy(HWND buddy);
    void ReleaseBuddy();
    LRESULT BuddyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    void EndPress();

    int lower_ = 100, upper_ = 0;
    int pos_ = 0;
    int base_ = 10;
    std::vector<UDACCEL> accel_{
        {0, 1 },
        {2, 5 },
        {5, 20}
    };
    HWND buddy_ = nullptr;
    WNDPROC buddyOld_ = nullptr, buddyProc_ = nullptr;
    int pressed_ = 0;
    bool over_ = false; // the pointer is over the pressed button
    DWORD pressedAt_ = 0;
    bool repeating_ = false;
};

} // namespace controls
