#pragma once
// Multiple-document windows.  A client window of class "MDICLIENT" sits inside a frame window
// and hosts the documents: child windows with WS_EX_MDICHILD.  The client keeps its children in
// the order they were made and one of them active (brought to the front, its frame drawn
// active, the focus in it while the frame is the active window); a maximised child fills the
// client and a minimised one lines up along its bottom as a caption-high bar.
//
// Sequences:
//   activating a child (WM_MDIACTIVATE to the client, a click into an inactive child, the
//   focus entering it, a child shown): WM_NCACTIVATE(FALSE) and WM_MDIACTIVATE(old, new) to the
//   old child, the new one brought to the front, WM_NCACTIVATE(TRUE) and
//   WM_MDIACTIVATE(old, new) to it, then the focus into it when the frame is active.  When the
//   old child was maximised, the new one is maximised and the old one restored, as Win32 does.
//   A child hidden or destroyed hands the activation to the frontmost other visible child.
// Our windows have no native menu bar: the client lists no window menu of its own.
#include "win/WinTypes.h"

#include <vector>

enum : UINT {
    WM_CHILDACTIVATE = 0x0022,
    WM_MDICREATE = 0x0220,
    WM_MDIDESTROY = 0x0221,
    WM_MDIACTIVATE = 0x0222,
    WM_MDIRESTORE = 0x0223,
    WM_MDINEXT = 0x0224,
    WM_MDIMAXIMIZE = 0x0225,
    WM_MDITILE = 0x0226,
    WM_MDICASCADE = 0x0227,
    WM_MDIICONARRANGE = 0x0228,
    WM_MDIGETACTIVE = 0x0229
};
enum : UINT { MDITILE_VERTICAL = 0, MDITILE_HORIZONTAL = 1, MDITILE_SKIPDISABLED = 2 };
enum : DWORD { WS_EX_MDICHILD = 0x40 };

// The class name of the client window; registered on first use.
const char* MDIClientClassName();

// The default answers of a frame window whose client is the given one: the focus and the
// frame's activation pass on to the active child, SC_NEXTWINDOW steps through the children.
LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wp, LPARAM lp);
// The default answers of a child: it becomes the active one when clicked, focused or shown,
// and its window commands act inside the client.
LRESULT DefMDIChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// The client's children in the order they were made, visible or not.
std::vector<HWND> GetMDIChildren(HWND client);

// Arrangements of the visible, not minimised children of a parent (all of them when count is
// 0) inside the area (the parent's client area when null); the number of windows placed.
// Tiling makes a grid: MDITILE_VERTICAL puts the windows side by side first, MDITILE_HORIZONTAL
// one above the other first.  Cascading steps each window down and right by a caption.
WORD TileWindows(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids);
WORD CascadeWindows(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids);
// Lines the minimised children up along the bottom of the parent's client area, left to right
// and then row above row; answers the height of one row.
UINT ArrangeIconicWindows(HWND parent);

namespace win {
// Where a maximised child goes: its client over the parent's whole client area.
RECT MaximizedChildRect(HWND child);
// Where a minimised child of the parent goes: the first free place of the icon rows.
RECT MinimizedChildRect(HWND child);
} // namespace win
