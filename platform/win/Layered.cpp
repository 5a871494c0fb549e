#include "win/Layered.h"

#include "gdi/Dc.h"
#include "win/Paint.h"
#include "win/WindowImpl.h"
#include "win/WindowPos.h"

using namespace win;

BOOL SetLayeredWindowAttributes(HWND h, COLORREF, BYTE alpha, DWORD flags) {
    WindowPtr w = Get(h);
    if (!w || !w->layered || w->Child()) return FALSE;
    // No display here can cut a colour out of a window: refused rather than
    // reported done.
    if (flags & LWA_COLORKEY) return FALSE;
    if (flags & LWA_ALPHA) w->layeredAlpha = alpha;
    w->perPixelAlpha = false;
    if (w->picture) {
        // Back to a painted window: it paints itself anew.
        w->picture = false;
        InvalidateWindow(*w, gdi::Region(RECT{0, 0, w->Width(), w->Height()}), true, true);
    }
    PlaceOnDisplay(*w);
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND h, COLORREF* key, BYTE* alpha, DWORD* flags) {
    WindowPtr w = Get(h);
    if (!w || !w->layered) return FALSE;
    if (key) *key = 0;
    if (alpha) *alpha = static_cast<BYTE>(w->layeredAlpha < 0 ? 255 : w->layeredAlpha);
    if (flags) *flags = w->layeredAlpha < 0 ? 0 : LWA_ALPHA;
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND h, HDC, const POINT* dst, const SIZE* size, HDC src, const POINT* srcPt,
                         COLORREF, const BLENDFUNCTION* blend, DWORD flags) {
    WindowPtr w = Get(h);
    if (!w || !w->layered || w->Child() || (flags & ULW_COLORKEY)) return FALSE;
    if (dst || size) {
        RECT r = w->rect;
        int x = dst ? dst->x : r.left, y = dst ? dst->y : r.top;
        int cx = size ? size->cx : r.right - r.left, cy = size ? size->cy : r.bottom - r.top;
        SetWindowPos(h, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (!Get(h)) return FALSE;
    }
    // From here on the surface is the picture: the window's own erase and
    // paint no longer draw on it, as with Win32's layered windows.
    w->picture = true;
    w->update.Clear();
    w->ncDirty = w->erase = false;
    if (src && w->surface) {
        // The picture is taken as it is: premultiplied pixels with their alpha.
        HDC target =
            gdi::CreateSurfaceDC(w->surface, {0, 0}, gdi::Region(RECT{0, 0, w->Width(), w->Height()}));
        POINT sp = srcPt ? *srcPt : POINT{0, 0};
        BitBlt(target, 0, 0, w->Width(), w->Height(), src, sp.x, sp.y, SRCCOPY);
        DeleteDC(target);
    }
    w->perPixelAlpha = (flags & ULW_ALPHA) && blend && (blend->AlphaFormat & AC_SRC_ALPHA);
    w->layeredAlpha = blend ? blend->SourceConstantAlpha : 255;
    PlaceOnDisplay(*w);
    PresentWindow(*w);
    return TRUE;
}
