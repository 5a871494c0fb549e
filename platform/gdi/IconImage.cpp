#include "gdi/IconImage.h"

#include "gdi/DcImpl.h"
#include "gdi/Raster.h"

#include <algorithm>

namespace gdi {

void IconImage::Resize(int w, int h) {
    width = w, height = h;
    color.assign(static_cast<size_t>(w) * h, 0);
    mask.assign(static_cast<size_t>(w) * h, 1);
    hasAlpha = false;
}

IconImage IconImage::Scaled(int w, int h) const {
    if (w == width && h == height) return *this;
    IconImage out;
    if (Empty() || w <= 0 || h <= 0) return out;
    out.Resize(w, h);
    out.hasAlpha = hasAlpha;
    for (int y = 0; y < h; ++y) {
        size_t sy = static_cast<size_t>(static_cast<int64_t>(y) * height / h);
        for (int x = 0; x < w; ++x) {
            size_t s = sy * width + static_cast<size_t>(static_cast<int64_t>(x) * width / w);
            out.At(x, y) = color[s];
            out.MaskAt(x, y) = mask[s];
        }
    }
    return out;
}

IconImage IconImage::Greyed() const {
    IconImage out = *this;
    for (size_t i = 0; i < out.color.size(); ++i) {
        if (out.mask[i] && !hasAlpha) continue; // the XOR value of a hole stays as it is
        uint32_t p = out.color[i];
        unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        unsigned luma = (r * 77 + g * 150 + b * 29) >> 8;
        unsigned light = luma + (255 - luma) * 2 / 5; // lifted toward white: clearly inactive
        out.color[i] = (p & 0xFF000000) | (light << 16) | (light << 8) | light;
    }
    return out;
}

IconImage ReadIconImage(const Bitmap& color, const Bitmap* mask, int x, int y, int w, int h) {
    IconImage img;
    PixelView cv = color.View();
    if (!cv.Valid() || w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > cv.width || y + h > cv.height)
        return img;
    PixelView mv = mask ? mask->View() : PixelView{};
    bool useMask = mv.Valid() && mv.width >= x + w && mv.height >= y + h;
    img.Resize(w, h);
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            uint32_t p = cv.Get(x + xx, y + yy);
            if (cv.bpp != 32) p &= 0xFFFFFF;
            img.At(xx, yy) = p;
            if (p >> 24) img.hasAlpha = true;
        }
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            uint8_t& m = img.MaskAt(xx, yy);
            if (useMask)
                m = (mv.Get(x + xx, y + yy) & 0xFFFFFF) != 0;
            else
                m = img.hasAlpha ? (img.At(xx, yy) >> 24) == 0 : 0;
        }
    return img;
}

HBITMAP ColorBitmapOf(const IconImage& img) {
    auto b = NewBitmap(img.width, img.height, 32, true);
    if (!b) return nullptr;
    PixelView v = b->View();
    for (int y = 0; y < img.height; ++y)
        std::memcpy(v.Row32(y), img.color.data() + static_cast<size_t>(y) * img.width,
                    static_cast<size_t>(img.width) * 4);
    return AddBitmap(std::move(b));
}

HBITMAP MaskBitmapOf(const std::vector<uint8_t>& mask, int width, int height) {
    auto b = NewBitmap(width, height, 1, true);
    if (!b || mask.size() < static_cast<size_t>(width) * height) return nullptr;
    b->dib = false;
    b->palette = {0x000000, 0xFFFFFF};
    PixelView v = b->View();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) v.Put(x, y, mask[static_cast<size_t>(y) * width + x] ? 0xFFFFFF : 0);
    return AddBitmap(std::move(b));
}

void DrawIconImage(Dc& d, int x, int y, const IconImage& img, bool mask, bool image) {
    PixelView v = d.View();
    if (!v.Valid() || img.Empty() || (!mask && !image)) return;
    const int x0 = d.TX(x), y0 = d.TY(y);
    RECT area{x0, y0, x0 + img.width, y0 + img.height};
    d.Clip().ForEachRectIn(area, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy)
            for (int xx = r.left; xx < r.right; ++xx) {
                size_t i = static_cast<size_t>(yy - y0) * img.width + (xx - x0);
                uint32_t s = img.color[i];
                uint32_t dst = v.Get(xx, yy) & 0xFFFFFF;
                uint32_t out;
                if (!image) {
                    out = img.mask[i] ? dst : 0; // the AND mask alone
                } else if (!mask) {
                    out = s & 0xFFFFFF;
                } else if (img.hasAlpha) {
                    unsigned a = s >> 24;
                    if (a == 0) continue;
                    out = 0;
                    for (int sh = 0; sh < 24; sh += 8) {
                        unsigned c = (((s >> sh) & 0xFF) * a + ((dst >> sh) & 0xFF) * (255 - a) + 127) / 255;
                        out |= c << sh;
                    }
                } else {
                    out = (img.mask[i] ? dst : 0) ^ (s & 0xFFFFFF);
                }
                v.Put(xx, yy, out);
            }
    });
}

} // namespace gdi
