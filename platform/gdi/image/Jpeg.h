#pragma once
// JPEG files through libjpeg.
#include "gdi/image/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {

// Greyscale and colour (YCbCr, RGB) files; a file that ends early is an
// error, not a picture with a grey bottom.
bool ReadJpeg(std::span<const uint8_t> data, Image& out, std::string& error);
// Quality 1..100 (clamped); alpha is dropped.
bool WriteJpeg(const Image& image, int quality, std::vector<uint8_t>& out, std::string& error);

} // namespace gdi::image
