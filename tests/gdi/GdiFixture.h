#pragma once
// A memory DC over a 32-bit top-down DIB whose pixels the test reads.
#include "gdi/Bitmap.h"
#include "gdi/Dc.h"
#include "gdi/Objects.h"

#include <cstdint>

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bmp = nullptr, old = nullptr;
    uint32_t* bits = nullptr;
    int w, h;

    Canvas(int width, int height, int bpp = 32, bool topDown = true) : w(width), h(height) {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER),
                        width,
                        topDown ? -height : height,
                        1,
                        static_cast<WORD>(bpp),
                        0,
                        0,
                        0,
                        0,
                        0,
                        0};
        void* p = nullptr;
        bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        dc = CreateCompatibleDC(nullptr);
        old = static_cast<HBITMAP>(SelectObject(dc, bmp));
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    // Top-down 32-bit pixel value 0xAARRGGBB.
    uint32_t At(int x, int y) const { return bits[y * w + x]; }
    void Fill(uint32_t v) {
        for (int i = 0; i < w * h; ++i) bits[i] = v;
    }
};
