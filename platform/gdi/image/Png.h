#pragma once
// PNG files through libpng.
#include "gdi/image/Image.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace gdi::image {

// Every colour type and depth, with alpha and tRNS transparency; 16-bit
// samples are reduced to 8.
bool ReadPng(std::span<const uint8_t> data, Image& out, std::string& error);
// RGBA when the picture has alpha, else RGB.
bool WritePng(const Image& image, std::vector<uint8_t>& out, std::string& error);

} // namespace gdi::image
