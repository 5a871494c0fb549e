#pragma once
// Block transfers between DCs and from raw DIB bits.  Scaling is always
// nearest-neighbour (drop or repeat pixels); 32-bit sources keep their alpha
// byte on a plain copy, every other source and every pattern brings alpha 0.
#include "gdi/Bitmap.h"
#include "gdi/GdiTypes.h"

constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
                PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                WHITENESS = 0x00FF0062;

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
// Negative widths or heights mirror.
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
BOOL PatBlt(HDC dst, int x, int y, int w, int h, DWORD rop);
// Copies every source pixel whose colour is not key.
BOOL TransparentBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, UINT key);

struct BLENDFUNCTION {
    BYTE BlendOp, BlendFlags, SourceConstantAlpha, AlphaFormat;
};
constexpr BYTE AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;
// With AC_SRC_ALPHA the source is premultiplied.
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION bf);

// For bottom-up bits the source rectangle counts from the bottom row, as in
// Win32; negative heights in bmi mean top-down bits.
int StretchDIBits(HDC dst, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* bmi, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC dst, int x, int y, DWORD w, DWORD h, int sx, int sy, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* bmi, UINT usage);

COLORREF GetPixel(HDC dc, int x, int y); // CLR_INVALID outside the clip
COLORREF SetPixel(HDC dc, int x, int y, COLORREF c);
