#pragma once
// Layered windows: a constant alpha, or per-pixel premultiplied alpha with a
// constant alpha on top.  A layered window with nothing set yet is opaque.
#include "gdi/Blit.h"
#include "win/WinTypes.h"

constexpr DWORD LWA_COLORKEY = 1, LWA_ALPHA = 2;
constexpr DWORD ULW_COLORKEY = 1, ULW_ALPHA = 2, ULW_OPAQUE = 4;

BOOL SetLayeredWindowAttributes(HWND h, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND h, COLORREF* key, BYTE* alpha, DWORD* flags);
// Copies the source pixels (premultiplied) as the window's whole picture,
// which the window's own erase and paint leave alone from then on (until
// SetLayeredWindowAttributes); dst and size, when given, move and size the
// window.  Colour keys (LWA_COLORKEY, ULW_COLORKEY) are not offered: FALSE.
BOOL UpdateLayeredWindow(HWND h, HDC screen, const POINT* dst, const SIZE* size, HDC src, const POINT* srcPt,
                         COLORREF key, const BLENDFUNCTION* blend, DWORD flags);
