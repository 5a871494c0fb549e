#pragma once
// Reduces a picture to a palette of at most 256 colours for GIF.
#include "gdi/image/Image.h"

#include <cstdint>
#include <vector>

namespace gdi::image {

struct IndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> indices;  // top-down, one byte per pixel
    std::vector<uint32_t> palette; // BGRA, opaque
    int transparentIndex = -1;     // the entry for pixels with alpha below 128
};

// A picture with few enough colours keeps them exactly; otherwise median cut
// picks the palette, optionally with Floyd-Steinberg dithering.
IndexedImage Quantize(const Image& image, int maxColors = 256, bool dither = false);

} // namespace gdi::image
