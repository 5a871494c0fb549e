#pragma once
// A 24-bit top-down copy of a bitmap with one pointer per row, for scans that read every
// pixel (the mask-to-region scan).  A pixel is blue, green, red.
#include "gdi/Bitmap.h"

#include <cstdint>
#include <vector>

namespace skin {

class TbsFBitmap {
public:
    explicit TbsFBitmap(HBITMAP HBmp);
    ~TbsFBitmap();
    TbsFBitmap(const TbsFBitmap&) = delete;
    TbsFBitmap& operator=(const TbsFBitmap&) = delete;

    uint8_t* Bits = nullptr;
    std::vector<uint8_t*> Pixels; // Pixels[y]: row y, top row first
    int Gap = 0;                  // Width mod 4: pads a row to a multiple of 4 bytes
    int RowInc = 0;               // 3 * Width + Gap
    int Size = 0;                 // RowInc * Height
    int Width = 0, Height = 0;
    HBITMAP Handle = nullptr;
    HDC hDC = nullptr;
    BITMAPINFO bmInfo{};
    BITMAPINFOHEADER bmHeader{};

private:
    HGDIOBJ old_ = nullptr;
};

} // namespace skin
