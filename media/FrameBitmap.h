#pragma once
// A decoded picture as a 24-bit bitmap, free of any GUI toolkit: blue, green,
// red bytes per pixel, top row first, each row padded to 4 bytes.  The GUI
// wraps it in its own bitmap class.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

class TFrameBitmap {
public:
    TFrameBitmap() = default;
    TFrameBitmap(int width, int height) { SetSize(width, height); }

    static int RowSize(int width) { return ((width * 24 + 31) / 32) * 4; }

    void SetSize(int width, int height) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.assign(static_cast<size_t>(RowSize(width_)) * static_cast<size_t>(height_), 0);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return RowSize(width_); }
    uint8_t* ScanLine(int row) {
        return pixels_.data() + static_cast<size_t>(row) * static_cast<size_t>(Stride());
    }
    const uint8_t* ScanLine(int row) const {
        return pixels_.data() + static_cast<size_t>(row) * static_cast<size_t>(Stride());
    }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

} // namespace media
