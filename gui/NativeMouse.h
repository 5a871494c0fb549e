#pragma once
// The class library turns left-button messages into its own mouse events and stops there; a
// control over a native window hands them on afterwards, so that the window selects, drags and
// clicks as it does on its own.
#include "gui/WinControl.h"

namespace gui {

inline bool IsNativeMouse(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_LBUTTONDBLCLK;
}

// After the control's own WndProc has seen the message.
inline void PassMouseToNative(TWinControl* control, TMessage& m) {
    if (IsNativeMouse(m.Msg) && control->HandleAllocated()) control->DefaultHandler(m);
}

} // namespace gui
