#pragma once
// A glyph written as text: one character per pixel from a fixed legend of the 16 system
// colours, '.' being RGB(255, 0, 255), the colour the glyph users leave out when drawing.
//
//   # a comment
//   bits 8            (4 or 8: the bit depth of the bitmap file)
//   ....kk....        (rows of equal length, top row first)
//
// Saved as an indexed Windows bitmap, so the picture keeps exactly the colours written.
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

class GlyphText {
public:
    // Raises std::runtime_error naming the line of the first fault.
    static GlyphText Parse(const std::string& text);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Bits() const { return bits_; }
    // The palette index of a pixel.
    uint8_t Index(int x, int y) const { return indices_[static_cast<size_t>(y) * width_ + x]; }
    // A bottom-up BMP file with a colour table of 16 (4-bit) or 256 (8-bit) entries.
    std::vector<uint8_t> ToBmp() const;

private:
    int width_ = 0, height_ = 0, bits_ = 8;
    std::vector<uint8_t> indices_;
};

} // namespace resgen
