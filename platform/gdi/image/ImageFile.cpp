#include "gdi/image/ImageFile.h"

#include "gdi/image/Bmp.h"
#include "gdi/image/Gif.h"
#include "gdi/image/Jpeg.h"
#include "gdi/image/Png.h"
#include "os/Convert.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace gdi::image {

ImageFormat DetectImageFormat(std::span<const uint8_t> d) {
    auto starts = [&](std::initializer_list<uint8_t> sig) {
        return d.size() >= sig.size() && std::equal(sig.begin(), sig.end(), d.begin());
    };
    if (starts({'B', 'M'})) return ImageFormat::Bmp;
    if (starts({0xFF, 0xD8, 0xFF})) return ImageFormat::Jpeg;
    if (starts({0x89, 'P', 'N', 'G'})) return ImageFormat::Png;
    if (starts({'G', 'I', 'F', '8'})) return ImageFormat::Gif;
    return ImageFormat::Unknown;
}

ImageFormat FormatFromFileName(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ImageFormat::Unknown;
    const std::string ext = os::LowerCase(path.substr(dot + 1));
    if (ext == "bmp") return ImageFormat::Bmp;
    if (ext == "jpg" || ext == "jpeg") return ImageFormat::Jpeg;
    if (ext == "png") return ImageFormat::Png;
    if (ext == "gif") return ImageFormat::Gif;
    return ImageFormat::Unknown;
}

bool ReadImage(std::span<const uint8_t> data, Image& out, std::string& error) {
    switch (DetectImageFormat(data)) {
    case ImageFormat::Bmp:
        return ReadBmp(data, out, error);
    case ImageFormat::Jpeg:
        return ReadJpeg(data, out, error);
    case ImageFormat::Png:
        return ReadPng(data, out, error);
    case ImageFormat::Gif:
        return ReadGif(data, out, error);
    case ImageFormat::Unknown:
        break;
    }
    error = "unknown picture format";
    return false;
}

bool LoadImageFile(const std::string& path, Image& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return ReadImage(data, out, error);
}

bool EncodeImage(const Image& image, ImageFormat format, const ImageSaveOptions& options,
                 std::vector<uint8_t>& out, std::string& error) {
    switch (format) {
    case ImageFormat::Bmp:
        return WriteBmp(image, options.bmpBitsPerPixel, out, error);
    case ImageFormat::Jpeg:
        return WriteJpeg(image, options.jpegQuality, out, error);
    case ImageFormat::Png:
        return WritePng(image, out, error);
    case ImageFormat::Gif:
        return WriteGif(image, GifWriteOptions{options.gifDither}, out, error);
    case ImageFormat::Unknown:
        break;
    }
    error = "unknown picture format";
    return false;
}

bool SaveImageFile(const std::string& path, const Image& image, ImageFormat format,
                   const ImageSaveOptions& options, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!EncodeImage(image, format, options, bytes, error)) return false;
    std::ofstream outFile(path, std::ios::binary | std::ios::trunc);
    if (!outFile) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    outFile.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    outFile.close();
    if (!outFile) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace gdi::image
