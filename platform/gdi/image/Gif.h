#pragma once
// GIF files through giflib.
#include "gdi/image/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {

// The first frame, placed on the logical screen; its transparent colour and
// any screen area it leaves uncovered get alpha 0.
bool ReadGif(std::span<const uint8_t> data, Image& out, std::string& error);

struct GifWriteOptions {
    bool dither = false; // Floyd-Steinberg when the picture has more than 256 colours
};

// One frame; pixels with alpha below 128 become the transparent colour.
bool WriteGif(const Image& image, const GifWriteOptions& options, std::vector<uint8_t>& out,
              std::string& error);

} // namespace gdi::image
