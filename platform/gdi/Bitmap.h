#pragma once
// Bitmaps: device-independent sections of 1, 4, 8, 24 and 32 bits in either
// row order, and the 32-bit device-dependent bitmaps of CreateCompatibleBitmap.
// Drawing through a DC works on 24 and 32 bits; 1/4/8-bit bitmaps are read
// through their palette (writes pick the nearest palette entry).
#include "gdi/GdiTypes.h"
#include "gdi/Raster.h"

#include <memory>
#include <vector>

struct BITMAPINFOHEADER {
    DWORD biSize; // 40
    LONG biWidth;
    LONG biHeight; // negative: rows top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};
struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    void* dshSection;
    DWORD dsOffset;
};
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* bmi, UINT usage, void** bits, void* section, DWORD offset);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Device-dependent: 1 or 32 bits (24 is kept as 24); rows top-down, WORD aligned.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits);
// Converts lines of the bitmap to 24 or 32 bits in the order bmi's height asks
// for; with bits null and biBitCount 0 it only fills in the header.
int GetDIBits(HDC dc, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage);

namespace gdi {

struct Bitmap {
    int width = 0, height = 0, bpp = 32;
    bool topDown = true;
    bool dib = true;
    int stride = 0;          // bytes per stored row, 4-byte aligned
    uint8_t* bits = nullptr; // first row in memory
    std::vector<uint8_t> storage;
    std::vector<uint32_t> palette;

    PixelView View() const;
};

// Allocates zeroed pixels; null when the size is unreasonable.
std::shared_ptr<Bitmap> NewBitmap(int width, int height, int bpp, bool topDown);
std::shared_ptr<Bitmap> CopyBitmap32(const Bitmap& src);
HBITMAP AddBitmap(std::shared_ptr<Bitmap> bmp);
Bitmap* FindBitmap(HBITMAP h);
std::shared_ptr<Bitmap> SharedBitmap(HBITMAP h);
int GetBitmapObject(const Bitmap& b, int size, void* out);
// Pixels described by a BITMAPINFO and a bits pointer (what StretchDIBits reads).
PixelView ViewOfDib(const BITMAPINFO* bmi, const void* bits, std::vector<uint32_t>& palette);

} // namespace gdi
