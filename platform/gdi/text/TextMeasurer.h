#pragma once
// What text layout needs to know of a font.  Real fonts implement it; tests
// use a fixed-width fake so that layout can be checked to the pixel.
#include <string_view>
#include <vector>

namespace gdi::text {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // out[i] becomes the pen position after text[0..i], from 0 at the start.
    // A tab is measured as a blank: expanding tabs is the caller's business.
    virtual void Advances(std::u32string_view text, std::vector<int>& out) const = 0;
    // Distance from one line to the next (the cell height).
    virtual int LineHeight() const = 0;
    virtual int AveCharWidth() const = 0;

    int Width(std::u32string_view text) const;
};

} // namespace gdi::text
