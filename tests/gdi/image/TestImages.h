#pragma once
// Pictures the image tests generate for themselves.
#include "gdi/image/Image.h"

#include <cstdint>
#include <vector>

namespace testimages {

// An odd-sized picture (rows need padding) with smooth gradients and hard edges.
gdi::image::Image Photo(int w = 37, int h = 23);
// The same with an alpha ramp and a fully transparent corner.
gdi::image::Image PhotoWithAlpha(int w = 37, int h = 23);
// Blocks of a few flat colours: a GIF keeps it exactly.
gdi::image::Image FewColours(int w = 40, int h = 30, bool transparentHole = false);

struct Difference {
    int max = 0;
    double mean = 0;
};
// Per channel (B, G, R, and A when `alpha`), over all pixels.
Difference Compare(const gdi::image::Image& a, const gdi::image::Image& b, bool alpha = false);

} // namespace testimages
