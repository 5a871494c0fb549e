#include "IconPainter.h"

#include "tools/skingen/SkinCanvas.h"

#include <algorithm>
#include <cmath>

namespace resgen {

namespace {

using skingen::Box;
using skingen::Pt;
using skingen::Rgb;
using skingen::SkinCanvas;

// The design on a 32-unit square, scaled to the picture.
void Draw(SkinCanvas& canvas, double s) {
    auto box = [s](double l, double t, double r, double b) { return Box{l * s, t * s, r * s, b * s}; };
    const Rgb filmTop = Rgb::Parse("#454B59"), filmBottom = Rgb::Parse("#1C1F27");
    canvas.FillRoundRect(box(1.5, 4, 30.5, 28), 3.2 * s,
                         skingen::Vertical(filmTop, filmBottom, 4 * s, 28 * s));
    // Small pictures keep fewer, larger holes so that each stays visible.
    const int holes = s < 0.75 ? 4 : 6;
    const double pitch = 25.0 / holes, hole = pitch * 0.55;
    const Rgb holeColour = Rgb::Parse("#E6EAF0");
    for (int i = 0; i < holes; ++i) {
        double l = 3.5 + i * pitch + (pitch - hole) / 2;
        double height = s < 0.75 ? 2.2 : 2.0;
        canvas.FillRoundRect(box(l, 5.2, l + hole, 5.2 + height), 0.5 * s, skingen::Solid(holeColour));
        canvas.FillRoundRect(box(l, 26.8 - height, l + hole, 26.8), 0.5 * s, skingen::Solid(holeColour));
    }
    const Rgb frameTop = Rgb::Parse("#3FA3FF"), frameBottom = Rgb::Parse("#1559B8");
    canvas.FillRoundRect(box(4, 9.5, 28, 22.5), 1.6 * s,
                         skingen::Vertical(frameTop, frameBottom, 9.5 * s, 22.5 * s));
    canvas.Triangle({12.6 * s, 11.6 * s}, {12.6 * s, 20.4 * s}, {21.2 * s, 16 * s}, Rgb::Parse("#FFFFFF"));
}

} // namespace

gdi::image::Image IconPainter::Paint(int size) {
    // Drawn once over black and once over white: how much of the background shows through
    // tells each pixel's alpha, and the black picture divided by it the pixel's own colour.
    gdi::image::Image black, white, out;
    black.Reset(size, size, 0xFF000000u);
    white.Reset(size, size, 0xFFFFFFFFu);
    {
        SkinCanvas a(black), b(white);
        Draw(a, size / 32.0);
        Draw(b, size / 32.0);
    }
    out.Reset(size, size, 0);
    out.hasAlpha = true;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint32_t k = black.At(x, y), w = white.At(x, y);
            int alpha = 255 - (static_cast<int>((w >> 8) & 255) - static_cast<int>((k >> 8) & 255));
            alpha = std::clamp(alpha, 0, 255);
            if (alpha == 0) continue;
            auto channel = [&](int shift) {
                int c = static_cast<int>((k >> shift) & 255) * 255 / alpha;
                return static_cast<uint8_t>(std::min(c, 255));
            };
            out.At(x, y) =
                gdi::image::MakeBgra(channel(16), channel(8), channel(0), static_cast<uint8_t>(alpha));
        }
    return out;
}

} // namespace resgen
