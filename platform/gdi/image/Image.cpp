#include "gdi/image/Image.h"

#include "os/Convert.h"

namespace gdi::image {

void Image::Reset(int w, int h, uint32_t fill) {
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
    palette.clear();
    hasAlpha = false;
}

bool CheckImageSize(int64_t width, int64_t height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = os::FormatC("invalid picture size %lld x %lld", static_cast<long long>(width),
                            static_cast<long long>(height));
        return false;
    }
    if (width > kMaxImageDimension || height > kMaxImageDimension || width * height > kMaxImagePixels) {
        error = os::FormatC("picture too large (%lld x %lld)", static_cast<long long>(width),
                            static_cast<long long>(height));
        return false;
    }
    return true;
}

bool CheckImage(const Image& image, std::string& error) {
    if (!CheckImageSize(image.width, image.height, error)) return false;
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        error = "picture has the wrong number of pixels";
        return false;
    }
    return true;
}

} // namespace gdi::image
