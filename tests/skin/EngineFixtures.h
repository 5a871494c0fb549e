#pragma once
// Pictures for the skin engine tests: bitmaps whose every pixel differs, and reads of them.
#include "gdi/image/Image.h"
#include "gui/Graphics.h"
#include "skin/engine/SkinBitmap.h"

#include <cstdint>
#include <memory>

namespace enginetest {

// w x h, opaque, every pixel distinct: 0xFFyyxx00 plus a seed.
inline gdi::image::Image Distinct(int w, int h, uint32_t seed = 0) {
    gdi::image::Image img;
    img.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = 0xFF000000u | (static_cast<uint32_t>(y & 0xFF) << 16) |
                           (static_cast<uint32_t>(x & 0xFF) << 8) |
                           ((seed + static_cast<uint32_t>(x * 7 + y * 13)) & 0xFF);
    return img;
}

inline std::unique_ptr<gui::TBitmap> BitmapOf(const gdi::image::Image& img) {
    auto b = std::make_unique<gui::TBitmap>();
    b->FromImage(img);
    return b;
}

inline gdi::image::Image ImageOf(gui::TBitmap& b) {
    gdi::image::Image img;
    b.ToImage(img);
    return img;
}

// The colour (no alpha) of a pixel of a bitmap.
inline uint32_t Rgb(gui::TBitmap& b, int x, int y) {
    return ImageOf(b).At(x, y) & 0x00FFFFFF;
}

inline void FillBitmap(skin::TbsBitmap& b, int w, int h, skin::TbsColor c) {
    b.SetSize(w, h);
    b.Clear(c);
}

} // namespace enginetest
