#pragma once
// What a button asks of the menu it drops down: to show itself next to a rectangle of the
// screen.  The skinned popup menu answers it; until a menu can be shown nothing is, and the
// button comes up again at once.
#include "gui/Controls.h"

namespace skin {

// Sent to the control that opened a skinned menu when the menu closes (both parameters 0).
inline constexpr UINT WM_CLOSESKINMENU = 1228;

class TbsTrackMenu {
public:
    virtual ~TbsTrackMenu() = default;
    // Shows the menu below R (above it with APopupUp or without room below), recording
    // AOpener, which receives WM_CLOSESKINMENU when the menu closes.  False when nothing was
    // shown: then no close notice follows.
    virtual bool PopupFromRect(gui::TControl* AOpener, const gui::TRect& R, bool APopupUp) = 0;
};

} // namespace skin
