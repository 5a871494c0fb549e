#pragma once
// Device contexts over 32-bit (and 24-bit) pixel surfaces.  Memory DCs draw
// into the bitmap selected into them; window DCs (made by the window system
// through CreateSurfaceDC) draw into a top-level window's backing surface,
// offset to the window and clipped to its visible region.
#include "gdi/Bitmap.h"
#include "gdi/GdiTypes.h"
#include "gdi/Region.h"

#include <memory>

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { R2_BLACK = 1, R2_NOT = 6, R2_XORPEN = 7, R2_NOP = 11, R2_COPYPEN = 13, R2_WHITE = 16 };
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : int { HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14, LOGPIXELSX = 88, LOGPIXELSY = 90 };

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);                        // the new save level, 0 on failure
BOOL RestoreDC(HDC dc, int level);         // negative: relative to the current level
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj); // regions: the clip complexity, cast
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
int GetDeviceCaps(HDC dc, int index);

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* org);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* org);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL LPtoDP(HDC dc, POINT* pts, int count);
BOOL DPtoLP(HDC dc, POINT* pts, int count);

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC dc, HRGN rgn); // rgn in device units; null removes the clip
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, RECT* box); // logical units
int GetClipRgn(HDC dc, HRGN rgn);  // 1 and a copy when a clip is set, 0 without
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* r);

COLORREF SetTextColor(HDC dc, COLORREF c);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF c);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF c);
COLORREF SetDCPenColor(HDC dc, COLORREF c);

namespace gdi {

// What the skin engine reads of the bitmap selected into a DC.
struct DibInfo {
    void* bits = nullptr; // first row in memory
    int width = 0, height = 0, bpp = 0;
    bool topDown = false;
    int stride = 0;
};
DibInfo GetDCDib(HDC dc); // zeros when no DIB is selected

// The window system's seam: a DC over a top-level surface whose device
// origin lies at origin on the surface and which may only touch visible
// (device units).  A null surface gives a DC that draws nothing.
HDC CreateSurfaceDC(std::shared_ptr<Bitmap> surface, POINT origin, const Region& visible);
void SetSurfaceDCVisible(HDC dc, const Region& visible);
bool IsMemoryDC(HDC dc);

} // namespace gdi
