#include "app/ProgramEmblem.h"

#include "gdi/image/Png.h"
#include "gui/Bitmap.h"
#include "gui/Image.h"
#include "gui/Picture.h"
#include "gui/Resources.h"
#include "resources/ProgramResources.h"

#include <algorithm>

namespace app {

namespace {

// The colour the emblem leaves out; it never occurs in the icon's own opaque pixels.
constexpr uint32_t Key = 0xFF00FF;

// Averages square blocks (alpha-weighted) down to `size` and cuts the soft edge at half
// coverage, so the picture sits on whatever the skin paints behind it.
gdi::image::Image Shrink(const gdi::image::Image& source, int size) {
    int step = std::max(1, source.width / size);
    gdi::image::Image out;
    out.Reset(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint64_t a = 0, r = 0, g = 0, b = 0;
            for (int v = 0; v < step; ++v)
                for (int u = 0; u < step; ++u) {
                    int sx = std::min(source.width - 1, x * step + u),
                        sy = std::min(source.height - 1, y * step + v);
                    uint32_t p = source.At(sx, sy);
                    uint32_t pa = p >> 24;
                    a += pa;
                    r += ((p >> 16) & 0xFF) * pa;
                    g += ((p >> 8) & 0xFF) * pa;
                    b += (p & 0xFF) * pa;
                }
            uint64_t n = static_cast<uint64_t>(step) * step;
            if (a < n * 128) {
                out.At(x, y) = 0xFF000000u | Key;
                continue;
            }
            auto c = [&](uint64_t v) { return static_cast<uint32_t>(std::min<uint64_t>(255, v / a)); };
            uint32_t rgb = (c(r) << 16) | (c(g) << 8) | c(b);
            if (rgb == Key) rgb ^= 1;
            out.At(x, y) = 0xFF000000u | rgb;
        }
    return out;
}

} // namespace

void LoadProgramEmblem(gui::TImage& image, int size) {
    std::string name = resources::ProgramIconName(resources::ProgramIconSizes().back());
    if (!gui::ResourceExists(name)) return;
    gdi::image::Image picture;
    std::string error;
    if (!gdi::image::ReadPng(gui::FindResourceData(name), picture, error) || picture.width == 0) return;
    gui::TBitmap bitmap;
    bitmap.FromImage(Shrink(picture, size));
    bitmap.TransparentMode = gui::tmFixed;
    bitmap.SetTransparentColor(0xFF00FF); // TColor is 0x00BBGGRR: magenta either way
    bitmap.SetTransparent(true);
    image.Picture()->Assign(&bitmap);
    image.SetTransparent(true);
}

} // namespace app
