#pragma once
// The message record of the class library and its control notices.  Window messages reach a
// control's WindowProc as a TMessage; the class library adds notices of its own (CM_*) and
// reflects notifications back to the control they concern (CN_*).  Our notice numbers stay
// clear of the ranges the system's own code uses (1224-1430, 2048, 45490-45492, 45512-45513,
// 48202-48203, 0x8000-0xBFFF); CM_INVALIDATE keeps the number 45108 that code sends literally.
#include "win/Messages.h"

#include <functional>

namespace gui {

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

enum : UINT {
    CM_BASE = 0x0600,              // 1536: above the system's own range, below 2048
    CM_FOCUSCHANGED = CM_BASE + 2, // LParam: the control that got the focus
    CM_MOUSEENTER = CM_BASE + 3,
    CM_MOUSELEAVE = CM_BASE + 4,
    CM_ENABLEDCHANGED = CM_BASE + 5,
    CM_TEXTCHANGED = CM_BASE + 6,
    CM_FONTCHANGED = CM_BASE + 7,
    CM_VISIBLECHANGED = CM_BASE + 8, // WParam: the new value
    CM_COLORCHANGED = CM_BASE + 9,
    CM_DIALOGKEY = CM_BASE + 10,      // WParam: virtual key; answer non-zero when used
    CM_DIALOGCHAR = CM_BASE + 11,     // WParam: character; answer non-zero when used
    CM_WANTSPECIALKEY = CM_BASE + 12, // WParam: virtual key; non-zero keeps it from the dialog
    CM_CANCELMODE = CM_BASE + 13,     // LParam: the control that keeps the mode
    CM_HINTSHOW = CM_BASE + 15,       // LParam: THintInfo*; non-zero suppresses the hint
    CM_RECREATEWND = CM_BASE + 16,
    CM_PARENTFONTCHANGED = CM_BASE + 17,
    CM_PARENTCOLORCHANGED = CM_BASE + 18,
    CM_RELEASE = CM_BASE + 24, // posted by TCustomForm::Release
    CM_INVALIDATE = 45108,
};

// A notification reflected to the control that sent it: CN_BASE + the message its parent received.
enum : UINT {
    CN_BASE = 0x4000,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
    CN_KEYUP = CN_BASE + WM_KEYUP,
    CN_CHAR = CN_BASE + WM_CHAR,
    CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
    CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
};

} // namespace gui
