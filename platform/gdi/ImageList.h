#pragma once
// Image lists: equally sized images kept as 32-bit pixels with alpha and a
// mask, drawn by index.  A list made with ILC_COLOR32 keeps the alpha of
// 32-bit bitmaps; any other list (or a bitmap whose alpha is all zero) takes
// transparency from the mask or colour key alone.
#include "gdi/GdiTypes.h"

constexpr UINT ILC_MASK = 0x1, ILC_COLOR = 0x0, ILC_COLORDDB = 0xFE, ILC_COLOR4 = 0x4, ILC_COLOR8 = 0x8,
               ILC_COLOR16 = 0x10, ILC_COLOR24 = 0x18, ILC_COLOR32 = 0x20;
// ILD_NORMAL draws over the list's background colour when it has one;
// ILD_TRANSPARENT always leaves the masked pixels alone; ILD_MASK draws only
// the mask (black where the image is, white elsewhere).
constexpr UINT ILD_NORMAL = 0x0, ILD_TRANSPARENT = 0x1, ILD_MASK = 0x10;
// ILS_SATURATE draws the disabled look: grey and lightened.
constexpr DWORD ILS_NORMAL = 0x0, ILS_SATURATE = 0x4;

struct IMAGELISTDRAWPARAMS {
    DWORD cbSize;
    HIMAGELIST himl;
    int i;
    HDC hdcDst;
    int x, y;
    int cx, cy; // 0: the list's image size; smaller: that part of the image
    int xBitmap, yBitmap;
    COLORREF rgbBk; // CLR_DEFAULT: the list's background colour; CLR_NONE: none
    COLORREF rgbFg;
    UINT fStyle;
    DWORD dwRop;
    DWORD fState;
    DWORD Frame;
    COLORREF crEffect;
};

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Removes every image, as changing the size does.
BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color); // CLR_NONE: none (the default)
COLORREF ImageList_GetBkColor(HIMAGELIST list);

// A bitmap wider than the images adds one image per full image width.
// Returns the index of the first image added, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Pixels of the key colour become transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF key);
// index -1 appends; returns the index used, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    return ImageList_ReplaceIcon(list, -1, icon);
}
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
BOOL ImageList_Remove(HIMAGELIST list, int index); // -1: all
inline BOOL ImageList_RemoveAll(HIMAGELIST list) {
    return ImageList_Remove(list, -1);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF bk,
                      COLORREF fg, UINT style);
BOOL ImageList_DrawIndirect(const IMAGELISTDRAWPARAMS* p);
// A new 32-bit icon of the image; the caller destroys it.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);
