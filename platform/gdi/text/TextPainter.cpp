#include "gdi/text/TextPainter.h"

#include <algorithm>

namespace gdi::text {
namespace {

// Exact round(v / 255) for v in [0, 255 * 255].
inline uint32_t Div255(uint32_t v) {
    v += 128;
    return (v + (v >> 8)) >> 8;
}

// COLORREF 0x00BBGGRR to a BGRA pixel with alpha 0.
inline uint32_t ToPixel(TextColor c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

} // namespace

TextPainter::TextPainter(const TextSurface& surface, const TextRect& clip) : s_(surface) {
    clip_.left = std::max(clip.left, 0);
    clip_.top = std::max(clip.top, 0);
    clip_.right = std::min(clip.right, surface.width);
    clip_.bottom = std::min(clip.bottom, surface.height);
    if (!surface.bits) clip_ = TextRect{};
}

void TextPainter::Fill(TextRect r, TextColor color) const {
    r.left = std::max(r.left, clip_.left);
    r.top = std::max(r.top, clip_.top);
    r.right = std::min(r.right, clip_.right);
    r.bottom = std::min(r.bottom, clip_.bottom);
    if (r.IsEmpty()) return;
    const uint32_t px = ToPixel(color);
    for (int y = r.top; y < r.bottom; ++y) std::fill(s_.Row(y) + r.left, s_.Row(y) + r.right, px);
}

void TextPainter::Blend(int x, int y, int width, int height, const uint8_t* coverage, TextColor color) const {
    const int x0 = std::max(x, clip_.left), x1 = std::min(x + width, clip_.right);
    const int y0 = std::max(y, clip_.top), y1 = std::min(y + height, clip_.bottom);
    if (x0 >= x1 || y0 >= y1) return;
    const uint32_t cr = color & 0xFF, cg = (color >> 8) & 0xFF, cb = (color >> 16) & 0xFF;
    const uint32_t solid = ToPixel(color);
    for (int py = y0; py < y1; ++py) {
        uint32_t* row = s_.Row(py);
        const uint8_t* cov = coverage + static_cast<size_t>(py - y) * width - x;
        for (int px = x0; px < x1; ++px) {
            const uint32_t a = cov[px];
            if (a == 0) continue;
            if (a == 255) {
                row[px] = solid;
                continue;
            }
            const uint32_t d = row[px], na = 255 - a;
            const uint32_t b = Div255(cb * a + (d & 0xFF) * na);
            const uint32_t g = Div255(cg * a + ((d >> 8) & 0xFF) * na);
            const uint32_t r = Div255(cr * a + ((d >> 16) & 0xFF) * na);
            row[px] = b | (g << 8) | (r << 16);
        }
    }
}

} // namespace gdi::text
