#pragma once
// A picture of a skin, held as decoded 32-bit pixels.  It stands in for the class library's
// bitmap in the skin data until that exists: skin code reaches pixels only through this
// narrow interface, so the bitmap class can later wrap or replace it.
#include "gdi/image/Image.h"

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace gui {
class TStream;
class TBitmap;
} // namespace gui

namespace skin {

// A picture file that cannot be decoded, or whose header claims more bytes than it has.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TbsPicture {
public:
    int Width() const { return image_.width; }
    int Height() const { return image_.height; }
    bool Empty() const { return image_.width <= 0 || image_.height <= 0; }
    void Clear() {
        image_ = {};
        bitmap_.reset();
    }
    // BGRA, top-down, Width() * Height() pixels.
    const gdi::image::Image& Image() const { return image_; }
    void Assign(const gdi::image::Image& image) {
        image_ = image;
        bitmap_.reset();
    }
    // The picture as a bitmap to draw from: made on first use, dropped whenever the picture
    // changes (a skin change clears or replaces every picture).  Callers only read it.
    gui::TBitmap& Bitmap() const;

    // One whole BMP file.  Its file header's length is not consulted (the bytes end where the
    // file does), but pixels that would start inside the headers are refused.
    // EInvalidGraphic on bad data, the picture unchanged.
    void LoadFromFileBytes(std::span<const uint8_t> file);
    // One complete BMP file at the stream's position; the stream ends up right after it, at
    // the length its file header gives.  EInvalidGraphic or EReadError on bad data, the
    // picture unchanged.
    void LoadFromStream(gui::TStream& stream);
    // A BMP file of a skin folder, by LoadFromFileBytes: the folder loader and the packer
    // read pictures through this and so agree on every file.  EFOpenError when the file
    // cannot be read, EInvalidGraphic when it is no BMP.
    void LoadFromFile(const std::string& fileName);
    // 24 bits per pixel, or 32 when some pixel is not opaque.
    void SaveToStream(gui::TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

    bool operator==(const TbsPicture& other) const {
        return image_.width == other.image_.width && image_.height == other.image_.height &&
               image_.pixels == other.image_.pixels;
    }

private:
    gdi::image::Image image_;
    mutable std::shared_ptr<gui::TBitmap> bitmap_;
};

// The length its file header gives a BMP at the start of `data`; EInvalidGraphic when that is
// no BMP header or the length runs past `available` bytes.
uint32_t BmpFileLength(const uint8_t* data, uint64_t available);

} // namespace skin
