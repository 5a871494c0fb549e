#include "gdi/image/Png.h"

#include <algorithm>
#include <png.h>

// libpng's simplified interface keeps its setjmp/longjmp error handling inside
// libpng's own frames and reports failures as return values with a message,
// so no jump ever crosses our code.

namespace gdi::image {
namespace {

struct ImageGuard {
    png_image image{};
    ImageGuard() { image.version = PNG_IMAGE_VERSION; }
    ~ImageGuard() { png_image_free(&image); }
};

std::string Message(const png_image& image) {
    return std::string("PNG error: ") + (image.message[0] ? image.message : "unknown");
}

} // namespace

bool ReadPng(std::span<const uint8_t> data, Image& out, std::string& error) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data.size() < 8 || !std::equal(kSignature, kSignature + 8, data.begin())) {
        error = "not a PNG file";
        return false;
    }
    ImageGuard g;
    if (!png_image_begin_read_from_memory(&g.image, data.data(), data.size())) {
        error = Message(g.image);
        return false;
    }
    if (!CheckImageSize(g.image.width, g.image.height, error)) return false;
    const bool alpha = (g.image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    g.image.format = PNG_FORMAT_BGRA;
    Image img;
    img.Reset(static_cast<int>(g.image.width), static_cast<int>(g.image.height));
    if (!png_image_finish_read(&g.image, nullptr, img.pixels.data(), 0, nullptr)) {
        error = Message(g.image);
        return false;
    }
    if (alpha)
        for (uint32_t px : img.pixels) img.hasAlpha |= (px >> 24) != 255;
    out = std::move(img);
    return true;
}

bool WritePng(const Image& image, std::vector<uint8_t>& out, std::string& error) {
    if (!CheckImage(image, error)) return false;
    ImageGuard g;
    g.image.width = static_cast<png_uint_32>(image.width);
    g.image.height = static_cast<png_uint_32>(image.height);
    std::vector<uint8_t> bgr;
    const void* pixels = image.pixels.data();
    if (image.hasAlpha) {
        g.image.format = PNG_FORMAT_BGRA;
    } else {
        g.image.format = PNG_FORMAT_BGR;
        bgr.reserve(image.pixels.size() * 3);
        for (uint32_t px : image.pixels) {
            bgr.push_back(static_cast<uint8_t>(px));
            bgr.push_back(static_cast<uint8_t>(px >> 8));
            bgr.push_back(static_cast<uint8_t>(px >> 16));
        }
        pixels = bgr.data();
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&g.image, nullptr, &size, 0, pixels, 0, nullptr)) {
        error = Message(g.image);
        return false;
    }
    out.resize(size);
    if (!png_image_write_to_memory(&g.image, out.data(), &size, 0, pixels, 0, nullptr)) {
        error = Message(g.image);
        return false;
    }
    out.resize(size);
    return true;
}

} // namespace gdi::image
