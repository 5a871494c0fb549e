#pragma once
// Text on device contexts, over the font engine of gdi/text.  Strings are UTF-8.
#include "gdi/GdiTypes.h"

constexpr UINT ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// DrawText flags, standard values (layout lives in the font engine).
constexpr UINT DT_LEFT = 0, DT_CENTER = 1, DT_RIGHT = 2, DT_VCENTER = 4, DT_WORDBREAK = 0x10,
               DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_RTLREADING = 0x20000;

BOOL TextOut(HDC dc, int x, int y, const char* text, int len);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* r, const char* text, UINT len, const int* dx);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int len, SIZE* size);
