#pragma once
// Windows: classes, creation and destruction, the window tree, window longs,
// procedures and subclassing.
#include "win/WinTypes.h"

#include <functional>
#include <string>

ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* name, HINSTANCE inst);
BOOL GetClassInfo(HINSTANCE inst, const char* name, WNDCLASS* out);
int GetClassName(HWND h, char* buf, int size);
LONG_PTR GetClassLongPtr(HWND h, int index);
LONG_PTR SetClassLongPtr(HWND h, int index, LONG_PTR value);

// Sequence (each step sent to the new window):
//   WM_GETMINMAXINFO (top-level windows), WM_NCCREATE (FALSE aborts),
//   WM_NCCALCSIZE, WM_CREATE (-1 aborts: WM_DESTROY, WM_NCDESTROY follow),
//   WM_SIZE, WM_MOVE, then WM_PARENTNOTIFY(WM_CREATE) to each ancestor of a
//   child, then with WS_VISIBLE the ShowWindow(SW_SHOW) sequence.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int w,
                    int h, HWND parent, HMENU menuOrId, HINSTANCE inst, void* param);
// Sequence: owned windows are destroyed first; the window is hidden (the
// WM_WINDOWPOSCHANGING/CHANGED pair with SWP_HIDEWINDOW), activation and
// focus move away, WM_PARENTNOTIFY(WM_DESTROY) goes to the ancestors of a
// child, WM_DESTROY to the window and then to its children (parents first),
// WM_NCDESTROY to the children and then the window (children first).
BOOL DestroyWindow(HWND h);
BOOL IsWindow(HWND h);
BOOL IsChild(HWND parent, HWND h);
HWND GetParent(HWND h); // the parent of a child, the owner of a top-level window
HWND SetParent(HWND h, HWND parent);
HWND GetAncestor(HWND h, UINT flags);
HWND GetWindow(HWND h, UINT cmd);
HWND GetTopWindow(HWND h);
HWND GetDesktopWindow();
HWND FindWindow(const char* className, const char* title);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM lp);
BOOL EnumWindows(WNDENUMPROC fn, LPARAM lp);

LONG_PTR GetWindowLongPtr(HWND h, int index);
LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value);
inline LONG_PTR GetWindowLong(HWND h, int index) {
    return GetWindowLongPtr(h, index);
}
inline LONG_PTR SetWindowLong(HWND h, int index, LONG_PTR value) {
    return SetWindowLongPtr(h, index, value);
}
LRESULT CallWindowProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp);
// A procedure bound to an object: the value works wherever a WNDPROC does
// (SetWindowLongPtr, WNDCLASS, CallWindowProc) but is not a C function; call
// it through CallWindowProc only, as with any procedure read from a window.
using ProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeProcInstance(ProcFunction fn);
void FreeProcInstance(WNDPROC proc);

int GetWindowText(HWND h, char* buf, int size);
int GetWindowTextLength(HWND h);
BOOL SetWindowText(HWND h, const char* text);
std::string GetWindowTextString(HWND h);

// Disabling sends WM_CANCELMODE, takes focus and capture away, then sends
// WM_ENABLE(FALSE); enabling sends WM_ENABLE(TRUE).  Answers whether it was disabled.
BOOL EnableWindow(HWND h, BOOL enable);
BOOL IsWindowEnabled(HWND h);
BOOL IsWindowVisible(HWND h);
BOOL IsIconic(HWND h);
BOOL IsZoomed(HWND h);
