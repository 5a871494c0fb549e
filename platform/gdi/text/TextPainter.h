#pragma once
// Pixel work of text drawing: solid bands (background, underline) and glyph
// coverage blended in the text colour.  Every pixel written gets alpha 0.
#include "gdi/text/TextTypes.h"

#include <cstdint>

namespace gdi::text {

class TextPainter {
public:
    // `clip` is cut to the surface here.
    TextPainter(const TextSurface& surface, const TextRect& clip);

    bool Empty() const { return clip_.IsEmpty(); }
    void Fill(TextRect r, TextColor color) const;
    // A width × height coverage mask with its top-left at (x, y).
    void Blend(int x, int y, int width, int height, const uint8_t* coverage, TextColor color) const;

private:
    TextSurface s_;
    TextRect clip_;
};

} // namespace gdi::text
