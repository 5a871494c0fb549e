#include "gdi/Bitmap.h"

#include "gdi/Objects.h"

#include <algorithm>
#include <cstdlib>

namespace gdi {
namespace {

struct BitmapObject : Object {
    BitmapObject() : Object(OBJ_BITMAP) {}
    std::shared_ptr<Bitmap> bmp;
};

int StrideOf(int width, int bpp) {
    return ((width * bpp + 31) / 32) * 4;
}

std::vector<uint32_t> PaletteOf(const BITMAPINFO* bmi) {
    std::vector<uint32_t> pal;
    int bpp = bmi->bmiHeader.biBitCount;
    if (bpp > 8) return pal;
    size_t n = bmi->bmiHeader.biClrUsed ? std::min<size_t>(bmi->bmiHeader.biClrUsed, 1u << bpp) : (1u << bpp);
    for (size_t i = 0; i < n; ++i) {
        const RGBQUAD& q = bmi->bmiColors[i];
        pal.push_back((q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue);
    }
    return pal;
}

bool SupportedDepth(int bpp) {
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24 || bpp == 32;
}

} // namespace

PixelView Bitmap::View() const {
    PixelView v;
    if (!bits) return v;
    v.width = width, v.height = height, v.bpp = bpp;
    v.top = topDown ? bits : bits + static_cast<ptrdiff_t>(height - 1) * stride;
    v.pitch = topDown ? stride : -stride;
    v.palette = palette.data();
    v.paletteCount = static_cast<int>(palette.size());
    return v;
}

std::shared_ptr<Bitmap> NewBitmap(int width, int height, int bpp, bool topDown) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767 || !SupportedDepth(bpp)) return nullptr;
    auto b = std::make_shared<Bitmap>();
    b->width = width, b->height = height, b->bpp = bpp, b->topDown = topDown;
    b->stride = StrideOf(width, bpp);
    b->storage.assign(static_cast<size_t>(b->stride) * height, 0);
    b->bits = b->storage.data();
    return b;
}

std::shared_ptr<Bitmap> CopyBitmap32(const Bitmap& src) {
    auto b = NewBitmap(src.width, src.height, 32, true);
    if (!b) return nullptr;
    PixelView s = src.View(), d = b->View();
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) d.Put(x, y, s.Get(x, y));
    return b;
}

HBITMAP AddBitmap(std::shared_ptr<Bitmap> bmp) {
    if (!bmp) return nullptr;
    auto o = std::make_unique<BitmapObject>();
    o->bmp = std::move(bmp);
    return static_cast<HBITMAP>(AddObject(std::move(o)));
}

Bitmap* FindBitmap(HBITMAP h) {
    auto* o = Find<BitmapObject>(h, OBJ_BITMAP);
    return o ? o->bmp.get() : nullptr;
}

std::shared_ptr<Bitmap> SharedBitmap(HBITMAP h) {
    auto* o = Find<BitmapObject>(h, OBJ_BITMAP);
    return o ? o->bmp : nullptr;
}

int GetBitmapObject(const Bitmap& b, int size, void* out) {
    BITMAP bm{0, b.width, b.height, b.stride, 1, static_cast<WORD>(b.bpp), b.bits};
    if (!out) return b.dib ? sizeof(DIBSECTION) : sizeof(BITMAP);
    if (b.dib && size >= static_cast<int>(sizeof(DIBSECTION))) {
        DIBSECTION ds{};
        ds.dsBm = bm;
        ds.dsBmih = {sizeof(BITMAPINFOHEADER),
                     b.width,
                     b.topDown ? -b.height : b.height,
                     1,
                     static_cast<WORD>(b.bpp),
                     BI_RGB,
                     static_cast<DWORD>(b.stride * b.height),
                     0,
                     0,
                     static_cast<DWORD>(b.palette.size()),
                     0};
        std::memcpy(out, &ds, sizeof ds);
        return sizeof ds;
    }
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(out, &bm, sizeof bm);
    return sizeof bm;
}

PixelView ViewOfDib(const BITMAPINFO* bmi, const void* bits, std::vector<uint32_t>& palette) {
    PixelView v;
    if (!bmi || !bits || bmi->bmiHeader.biCompression != BI_RGB) return v;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (!SupportedDepth(h.biBitCount) || h.biWidth <= 0 || h.biHeight == 0) return v;
    palette = PaletteOf(bmi);
    int height = std::abs(h.biHeight);
    ptrdiff_t stride = StrideOf(h.biWidth, h.biBitCount);
    auto* base = static_cast<uint8_t*>(const_cast<void*>(bits));
    v.width = h.biWidth, v.height = height, v.bpp = h.biBitCount;
    v.top = h.biHeight < 0 ? base : base + stride * (height - 1);
    v.pitch = h.biHeight < 0 ? stride : -stride;
    v.palette = palette.data();
    v.paletteCount = static_cast<int>(palette.size());
    return v;
}

} // namespace gdi

using namespace gdi;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* bmi, UINT, void** bits, void*, DWORD) {
    if (bits) *bits = nullptr;
    if (!bmi || bmi->bmiHeader.biCompression != BI_RGB || bmi->bmiHeader.biHeight == 0) return nullptr;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    auto b = NewBitmap(h.biWidth, std::abs(h.biHeight), h.biBitCount, h.biHeight < 0);
    if (!b) return nullptr;
    b->palette = PaletteOf(bmi);
    if (bits) *bits = b->bits;
    return AddBitmap(std::move(b));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    auto b = NewBitmap(width, height, 32, true);
    if (!b) return nullptr;
    b->dib = false;
    return AddBitmap(std::move(b));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bpp, const void* bits) {
    if (planes != 1) return nullptr;
    auto b = NewBitmap(width, height, static_cast<int>(bpp), true);
    if (!b) return nullptr;
    b->dib = false;
    if (bpp == 1) b->palette = {0x000000, 0xFFFFFF};
    if (bits) {
        int src = ((width * static_cast<int>(bpp) + 15) / 16) * 2; // device bitmaps pad rows to WORDs
        for (int y = 0; y < height; ++y)
            std::memcpy(b->bits + y * b->stride, static_cast<const uint8_t*>(bits) + y * src,
                        std::min(src, b->stride));
    }
    return AddBitmap(std::move(b));
}

int GetDIBits(HDC, HBITMAP bmp, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT) {
    Bitmap* b = FindBitmap(bmp);
    if (!b || !bmi) return 0;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (!bits && h.biBitCount == 0) {
        h = {sizeof(BITMAPINFOHEADER),
             b->width,
             b->topDown ? -b->height : b->height,
             1,
             static_cast<WORD>(b->bpp),
             BI_RGB,
             static_cast<DWORD>(b->stride * b->height),
             0,
             0,
             0,
             0};
        return 1;
    }
    if ((h.biBitCount != 24 && h.biBitCount != 32) || h.biWidth != b->width) return 0;
    if (!bits) return static_cast<int>(std::min<UINT>(lines, b->height));
    bool topDown = h.biHeight < 0;
    int outStride = ((b->width * h.biBitCount + 31) / 32) * 4;
    PixelView src = b->View();
    int copied = 0;
    for (UINT i = 0; i < lines && start + i < static_cast<UINT>(b->height); ++i) {
        // Scan line numbers count from the bottom for bottom-up output.
        int line = static_cast<int>(start + i);
        int srcY = topDown ? line : b->height - 1 - line;
        uint8_t* out = static_cast<uint8_t*>(bits) + static_cast<size_t>(i) * outStride;
        for (int x = 0; x < b->width; ++x) {
            uint32_t p = src.Get(x, srcY);
            if (h.biBitCount == 32)
                std::memcpy(out + x * 4, &p, 4);
            else
                out[x * 3] = p & 0xFF, out[x * 3 + 1] = (p >> 8) & 0xFF, out[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        ++copied;
    }
    return copied;
}
