#pragma once
// Invalidation and painting.  Update regions are kept per window; WM_PAINT is
// generated when the queue is otherwise empty, parents before children.
#include "win/WinTypes.h"

namespace gdi {
struct Bitmap;
}

BOOL InvalidateRect(HWND h, const RECT* r, BOOL erase); // client units; null: the whole client area
BOOL InvalidateRgn(HWND h, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND h, const RECT* r);
BOOL ValidateRgn(HWND h, HRGN rgn);
BOOL GetUpdateRect(HWND h, RECT* r, BOOL erase);
int GetUpdateRgn(HWND h, HRGN rgn, BOOL erase);
// Sends WM_PAINT at once to the window and its child windows that have
// something to paint, parents first.
BOOL UpdateWindow(HWND h);
// RDW_FRAME adds the non-client area; RDW_UPDATENOW paints before returning
// (WM_NCPAINT, WM_ERASEBKGND, WM_PAINT), RDW_ERASENOW only erases (WM_NCPAINT,
// WM_ERASEBKGND) and leaves WM_PAINT for later; RDW_ALLCHILDREN includes children.
BOOL RedrawWindow(HWND h, const RECT* r, HRGN rgn, UINT flags);
// Sequence: WM_NCPAINT when the frame is invalid, then WM_ERASEBKGND when an
// erase is pending (fErase: it was, and WM_ERASEBKGND answered 0); the DC is
// clipped to the update region, which is then empty.  A WM_PAINT answered
// without BeginPaint is validated when it returns, and a pending frame then
// gets its WM_NCPAINT.
HDC BeginPaint(HWND h, PAINTSTRUCT* ps);
BOOL EndPaint(HWND h, const PAINTSTRUCT* ps);
HDC GetDC(HWND h);       // client area; null h: the screen
HDC GetWindowDC(HWND h); // whole window, origin at its top-left corner
HDC GetDCEx(HWND h, HRGN clip, DWORD flags);
int ReleaseDC(HWND h, HDC dc);
// Moves the client pixels (and child windows) together with the pending
// update inside them, and invalidates what is uncovered.
BOOL ScrollWindow(HWND h, int dx, int dy, const RECT* r, const RECT* clip);
// One window at a time (FALSE while another is locked): drawing into it and
// its children is dropped; LockWindowUpdate(null) unlocks and repaints it.
BOOL LockWindowUpdate(HWND h);
constexpr DWORD DCX_WINDOW = 1, DCX_CACHE = 2, DCX_CLIPCHILDREN = 8, DCX_CLIPSIBLINGS = 0x10,
                DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80;

namespace win {
// The pixels of a top-level window (tests read them; the display shows them).
const gdi::Bitmap* GetWindowSurface(HWND h);
} // namespace win
