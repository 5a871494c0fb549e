#pragma once
// Position, size, z-order and visibility; window and client rectangles and
// coordinate mapping.
#include "win/WinTypes.h"

// Sequence: WM_WINDOWPOSCHANGING (the WINDOWPOS may be changed; the default
// clamps a sizeable top-level window to WM_GETMINMAXINFO), WM_NCCALCSIZE when
// the size changes or SWP_FRAMECHANGED, then WM_WINDOWPOSCHANGED (with
// SWP_NOMOVE and SWP_NOSIZE for what did not change), whose default sends
// WM_MOVE and WM_SIZE; showing a top-level window without
// SWP_NOACTIVATE then activates it.
BOOL SetWindowPos(HWND h, HWND after, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND h, int x, int y, int w, int h2, BOOL repaint);
// Sequence: WM_SHOWWINDOW(shown, 0), then SetWindowPos with SWP_SHOWWINDOW or
// SWP_HIDEWINDOW; SW_SHOW and SW_SHOWNORMAL activate a top-level window
// (WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS).  Answers whether it was visible.
BOOL ShowWindow(HWND h, int cmd);
BOOL BringWindowToTop(HWND h);

BOOL GetWindowRect(HWND h, RECT* r); // screen
BOOL GetClientRect(HWND h, RECT* r); // (0, 0, width, height)
// Grows a client rectangle by the frame a window of these styles gets (what the default
// WM_NCCALCSIZE takes off, scroll bars aside), so a size can be worked out before the window exists.  The
// menu flag is accepted and ignored: our windows have no menu bar.
BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle);
BOOL ClientToScreen(HWND h, POINT* p);
BOOL ScreenToClient(HWND h, POINT* p);
int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count);
// Skips hidden and disabled windows and points outside window regions; child
// windows are searched front to back.
HWND WindowFromPoint(POINT p);
HWND ChildWindowFromPoint(HWND parent, POINT clientPt);

// The window owns the region from here on (and deletes a previous one).
int SetWindowRgn(HWND h, HRGN rgn, BOOL redraw);
int GetWindowRgn(HWND h, HRGN out); // copies into out; the region's complexity or ERROR

struct WINDOWPLACEMENT {
    UINT length, flags, showCmd;
    POINT ptMinPosition, ptMaxPosition;
    RECT rcNormalPosition;
};
BOOL GetWindowPlacement(HWND h, WINDOWPLACEMENT* wp);
