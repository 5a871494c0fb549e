#include "TestImages.h"

#include <cstdlib>

using gdi::image::Image;
using gdi::image::MakeBgra;

namespace testimages {

Image Photo(int w, int h) {
    Image img;
    img.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            auto r = static_cast<uint8_t>(x * 255 / (w - 1));
            auto g = static_cast<uint8_t>(y * 255 / (h - 1));
            auto b = static_cast<uint8_t>((x + y) % 16 < 8 ? 40 : 200);
            img.At(x, y) = MakeBgra(r, g, b);
        }
    return img;
}

Image PhotoWithAlpha(int w, int h) {
    Image img = Photo(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t a = x < 5 && y < 5 ? 0 : static_cast<uint8_t>(55 + 200 * y / (h - 1));
            img.At(x, y) = (img.At(x, y) & 0xFFFFFF) | (uint32_t{a} << 24);
        }
    img.hasAlpha = true;
    return img;
}

Image FewColours(int w, int h, bool transparentHole) {
    static const uint32_t kColours[] = {MakeBgra(255, 0, 0),     MakeBgra(0, 128, 0), MakeBgra(10, 20, 250),
                                        MakeBgra(255, 255, 255), MakeBgra(0, 0, 0),   MakeBgra(250, 200, 30)};
    Image img;
    img.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.At(x, y) = kColours[(x / 7 + y / 5) % 6];
    if (transparentHole) {
        for (int y = 10; y < 20; ++y)
            for (int x = 10; x < 20; ++x) img.At(x, y) = 0;
        img.hasAlpha = true;
    }
    return img;
}

Difference Compare(const Image& a, const Image& b, bool alpha) {
    Difference d;
    if (a.width != b.width || a.height != b.height) return {1 << 20, 1e9};
    long long sum = 0, n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int k = 0; k < (alpha ? 4 : 3); ++k) {
            int diff = std::abs(static_cast<int>((a.pixels[i] >> (8 * k)) & 0xFF) -
                                static_cast<int>((b.pixels[i] >> (8 * k)) & 0xFF));
            d.max = std::max(d.max, diff);
            sum += diff;
            ++n;
        }
    d.mean = n ? static_cast<double>(sum) / n : 0;
    return d;
}

} // namespace testimages
