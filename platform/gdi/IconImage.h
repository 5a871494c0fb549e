#pragma once
// The pixels of an icon, a cursor or an image-list entry in one form for all
// of them: colour and the AND mask, row by row, and the one routine that draws
// such an image onto a DC.
#include "gdi/Bitmap.h"
#include "gdi/Objects.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gdi {

struct Dc;

struct IconImage {
    int width = 0, height = 0;
    // 0xAARRGGBB; straight (not premultiplied) alpha when hasAlpha, else the
    // XOR value applied where the mask lets the screen through.
    std::vector<uint32_t> color;
    std::vector<uint8_t> mask; // 1: the screen shows through
    bool hasAlpha = false;

    bool Empty() const { return width <= 0 || height <= 0; }
    void Resize(int w, int h);
    uint32_t& At(int x, int y) { return color[static_cast<size_t>(y) * width + x]; }
    uint8_t& MaskAt(int x, int y) { return mask[static_cast<size_t>(y) * width + x]; }
    // Nearest-neighbour scaling (exact pixel repeats and drops).
    IconImage Scaled(int w, int h) const;
    // A copy in the disabled look: grey, lightened.
    IconImage Greyed() const;
};

// The w × h block at (x, y) of a bitmap as an image: 32-bit bitmaps keep their
// alpha when any pixel has some; mask (may be null) is a bitmap of the same
// layout whose white pixels are transparent.
IconImage ReadIconImage(const Bitmap& color, const Bitmap* mask, int x, int y, int w, int h);
// Bitmaps for GetIconInfo and friends: a 32-bit top-down DIB section and a
// 1-bit mask (rows of `mask`, which may be taller than the image for cursors).
HBITMAP ColorBitmapOf(const IconImage& img);
HBITMAP MaskBitmapOf(const std::vector<uint8_t>& mask, int width, int height);

// What DrawIconEx and ImageList_Draw do with the pixels, at (x, y) in logical
// units through the DC's clip.  mask/image as DI_MASK and DI_IMAGE.
void DrawIconImage(Dc& d, int x, int y, const IconImage& img, bool mask, bool image);

} // namespace gdi

namespace gdi {
// For image lists: an icon's image at w × h (0: its own size), and a new
// icon made from an image.
IconImage IconImageOf(HICON icon, int w, int h);
HICON IconFromImage(IconImage image);
} // namespace gdi
