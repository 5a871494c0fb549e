#pragma once
// Icons and cursors.  An icon is a colour bitmap (32-bit, with or without
// alpha) and an AND mask; a cursor is a monochrome icon with a hot spot whose
// mask holds the AND half above the XOR half, so its mask bitmap is twice as
// high as the cursor (the skin reads that height to place hints below it).
// The stock icons and cursors are drawn by us in code and shared: destroying
// them does nothing.
#include "gdi/GdiTypes.h"

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor; // null for a monochrome icon or cursor
};

constexpr UINT DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = 3, DI_DEFAULTSIZE = 8;
constexpr UINT IMAGE_BITMAP = 0, IMAGE_ICON = 1, IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0, LR_COPYDELETEORG = 8, LR_DEFAULTSIZE = 0x40;

inline const char* MAKEINTRESOURCE(int id) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(id));
}
// A stock icon's or cursor's name: a number that reads as the resource name.
// Made at compile time, so a table at namespace scope that names one never
// sees it unset (pointer constants would be made at start-up, and the order
// of that against other tables is not the same with every compiler).
struct StockName {
    int id;
    operator const char*() const { return MAKEINTRESOURCE(id); }
};
inline constexpr StockName IDI_APPLICATION{32512};
inline constexpr StockName IDI_ERROR{32513};
inline constexpr StockName IDI_HAND = IDI_ERROR;
inline constexpr StockName IDI_QUESTION{32514};
inline constexpr StockName IDI_WARNING{32515};
inline constexpr StockName IDI_EXCLAMATION = IDI_WARNING;
inline constexpr StockName IDI_INFORMATION{32516};
inline constexpr StockName IDI_ASTERISK = IDI_INFORMATION;

inline constexpr StockName IDC_ARROW{32512};
inline constexpr StockName IDC_IBEAM{32513};
inline constexpr StockName IDC_WAIT{32514};
inline constexpr StockName IDC_SIZENWSE{32642};
inline constexpr StockName IDC_SIZENESW{32643};
inline constexpr StockName IDC_SIZEWE{32644};
inline constexpr StockName IDC_SIZENS{32645};
inline constexpr StockName IDC_SIZEALL{32646};
inline constexpr StockName IDC_HAND{32649};

// The bitmaps are copied; the caller keeps and deletes its own.
HICON CreateIconIndirect(const ICONINFO* info);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
HICON CopyIcon(HICON icon);
// Icons and cursors only: a copy scaled to cx × cy (0: the icon's own size;
// LR_DEFAULTSIZE: 32 × 32).  Stock icons are redrawn at the new size rather
// than scaled.
HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);
// Fresh copies of the bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
// cx, cy 0: the icon's own size, or 32 × 32 with DI_DEFAULTSIZE.  The step and
// flicker-free brush are accepted and ignored: we draw into the DC directly.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

// Only the stock shapes (instance null and one of the IDI_/IDC_ numbers);
// anything else answers null.
HICON LoadIcon(HINSTANCE instance, const char* name);
HCURSOR LoadCursor(HINSTANCE instance, const char* name);
// The stock number an icon or cursor was loaded as; 0 for any other.
int StockCursorId(HCURSOR cursor);
