#pragma once
// Picture files by content and by name: what the picture classes' loading
// from streams and files and the snapshot feature's saving stand on.
#include "gdi/image/Image.h"

#include <cstdint>
#include <span>
#include <string>

namespace gdi::image {

enum class ImageFormat { Unknown, Bmp, Jpeg, Png, Gif };

// By the first bytes, whatever the file is called.
ImageFormat DetectImageFormat(std::span<const uint8_t> data);
// By the extension (".bmp", ".jpg"/".jpeg", ".png", ".gif"; any case).
ImageFormat FormatFromFileName(const std::string& path);

bool ReadImage(std::span<const uint8_t> data, Image& out, std::string& error);
bool LoadImageFile(const std::string& path, Image& out, std::string& error);

struct ImageSaveOptions {
    int bmpBitsPerPixel = 24;
    int jpegQuality = 90;
    bool gifDither = true;
};

bool EncodeImage(const Image& image, ImageFormat format, const ImageSaveOptions& options,
                 std::vector<uint8_t>& out, std::string& error);
bool SaveImageFile(const std::string& path, const Image& image, ImageFormat format,
                   const ImageSaveOptions& options, std::string& error);

} // namespace gdi::image
