#pragma once
// Windows bitmap files.
#include "gdi/image/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {

// 1, 4, 8, 16, 24 and 32 bits per pixel, either row order, core, info and
// V4/V5 headers, bit-field masks.  Run-length compressed files are refused.
// A 32-bit file whose alpha bytes are all 0 (the common "unused" byte) reads
// as opaque.
bool ReadBmp(std::span<const uint8_t> data, Image& out, std::string& error);
// 24 or 32 bits per pixel, bottom-up as most readers expect.
bool WriteBmp(const Image& image, int bitsPerPixel, std::vector<uint8_t>& out, std::string& error);

} // namespace gdi::image
