#pragma once
// Pixel access shared by the drawing routines.  A pixel value is 0xAARRGGBB,
// the byte order B, G, R, A of a 32-bit surface in memory.
#include "gdi/GdiTypes.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gdi {

constexpr uint32_t PixelOf(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr COLORREF ColorOf(uint32_t p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

// A view of pixels: top is the top row whatever the order in memory, pitch
// the signed byte distance to the next row down.
struct PixelView {
    uint8_t* top = nullptr;
    ptrdiff_t pitch = 0;
    int width = 0, height = 0, bpp = 0;
    const uint32_t* palette = nullptr; // 0x00RRGGBB entries for 1/4/8 bits
    int paletteCount = 0;

    bool Valid() const { return top && width > 0 && height > 0; }
    uint8_t* Row(int y) const { return top + pitch * y; }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(Row(y)); }

    uint32_t Get(int x, int y) const {
        const uint8_t* row = Row(y);
        switch (bpp) {
        case 32: {
            uint32_t v;
            std::memcpy(&v, row + x * 4, 4);
            return v;
        }
        case 24:
            return row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
        case 8:
            return Entry(row[x]);
        case 4:
            return Entry((row[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF);
        case 1:
            return Entry((row[x / 8] >> (7 - (x & 7))) & 1);
        default:
            return 0;
        }
    }
    void Put(int x, int y, uint32_t v) const {
        uint8_t* row = Row(y);
        switch (bpp) {
        case 32:
            std::memcpy(row + x * 4, &v, 4);
            break;
        case 24:
            row[x * 3] = static_cast<uint8_t>(v);
            row[x * 3 + 1] = static_cast<uint8_t>(v >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(v >> 16);
            break;
        case 8:
            row[x] = Nearest(v);
            break;
        case 4: {
            int s = (x & 1) ? 0 : 4;
            row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0xF << s)) | (Nearest(v) << s));
            break;
        }
        case 1: {
            uint8_t m = static_cast<uint8_t>(0x80 >> (x & 7));
            row[x / 8] = Nearest(v) ? (row[x / 8] | m) : (row[x / 8] & ~m);
            break;
        }
        default:
            break;
        }
    }

private:
    uint32_t Entry(int i) const { return i < paletteCount ? palette[i] & 0xFFFFFF : 0; }
    uint8_t Nearest(uint32_t v) const {
        int best = 0, bestD = 1 << 30;
        for (int i = 0; i < paletteCount; ++i) {
            int dr = int((palette[i] >> 16) & 0xFF) - int((v >> 16) & 0xFF);
            int dg = int((palette[i] >> 8) & 0xFF) - int((v >> 8) & 0xFF);
            int db = int(palette[i] & 0xFF) - int(v & 0xFF);
            int d = dr * dr + dg * dg + db * db;
            if (d < bestD) best = i, bestD = d;
        }
        return static_cast<uint8_t>(best);
    }
};

// Rows of the ellipse inscribed in r: fn(y, x0, x1) with x1 exclusive.
template <class F> void EllipseSpans(const RECT& r, F&& fn) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0, rx = w / 2.0, ry = h / 2.0;
    for (int y = r.top; y < r.bottom; ++y) {
        double dy = (y + 0.5 - cy) / ry;
        double k = 1.0 - dy * dy;
        if (k < 0) continue;
        double half = rx * std::sqrt(k);
        int x0 = static_cast<int>(std::lround(cx - half)), x1 = static_cast<int>(std::lround(cx + half));
        if (x1 > x0) fn(y, x0, x1);
    }
}

} // namespace gdi
