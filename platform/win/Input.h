#pragma once
// Focus, capture, activation, keyboard state, cursors, caret and clipboard.
#include "win/WinTypes.h"

#include <functional>
#include <string>

// Sequence: WM_KILLFOCUS(new) to the old focus, WM_SETFOCUS(old) to the new
// one; a window in an inactive top-level window activates it first.
HWND SetFocus(HWND h);
HWND GetFocus();
// Sequence: WM_NCACTIVATE(FALSE) and WM_ACTIVATE(WA_INACTIVE, new) to the old
// window; the new one comes to the top with its owned windows above it, then
// WM_NCACTIVATE(TRUE) and WM_ACTIVATE(WA_ACTIVE, old), whose default sets the
// focus to it (WM_KILLFOCUS(new) to the old focus, WM_SETFOCUS(old focus));
// a focus the new window did not take gets WM_KILLFOCUS(0) last.  When the
// active window is hidden or destroyed its owner takes over, else the
// frontmost visible, enabled window that is no tool or no-activate window.
HWND SetActiveWindow(HWND h);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND h);
HWND GetForegroundWindow();
// Under capture every mouse message goes to the capturing window in client form.
// A button-down elsewhere: WM_MOUSEACTIVATE (an inactive window, or a child of
// the active one), activation, WM_SETCURSOR, WM_PARENTNOTIFY to the parents,
// then the button message.
HWND SetCapture(HWND h);
BOOL ReleaseCapture();
HWND GetCapture();

short GetKeyState(int vk); // high bit down, low bit toggled
short GetAsyncKeyState(int vk);
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);
HCURSOR SetCursor(HCURSOR c);
HCURSOR GetCursor();
UINT GetDoubleClickTime();

struct TRACKMOUSEEVENT {
    DWORD cbSize, dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
constexpr DWORD TME_HOVER = 1, TME_LEAVE = 2, TME_NONCLIENT = 0x10, TME_CANCEL = 0x80000000;
BOOL TrackMouseEvent(TRACKMOUSEEVENT* t);

// Caret state (the edit control draws the caret itself).
BOOL CreateCaret(HWND h, HBITMAP shape, int w, int h2);
BOOL DestroyCaret();
BOOL ShowCaret(HWND h);
BOOL HideCaret(HWND h);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* p);

namespace win {
// A notification area appeared on the desktop.  The notification icons set a
// handler that drops what they had docked and tells every top-level window
// "TaskbarCreated"; without one the window system tells it itself.
void SetTrayCreatedHandler(std::function<void()> handler);

struct CaretState {
    HWND owner = nullptr;
    POINT pos{};
    SIZE size{};
    int hideCount = 1;
};
CaretState GetCaretState();
bool SetClipboardText(const std::string& utf8);
std::string GetClipboardText();
bool HasClipboardText();
} // namespace win

BOOL MessageBeep(UINT type);
