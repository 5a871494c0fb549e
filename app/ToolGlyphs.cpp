#include "app/ToolGlyphs.h"

#include "gdi/image/Image.h"
#include "gui/Bitmap.h"

#include <cmath>
#include <functional>
#include <vector>

namespace app {

namespace {

constexpr int Size = 32;
constexpr uint32_t Key = 0xFFFF00FFu;

struct Pt {
    double x, y;
};

// A shape is a test of a point; a picture is the union of its shapes.
using Shape = std::function<bool(double, double)>;

Shape Line(Pt a, Pt b, double width) {
    return [=](double x, double y) {
        double dx = b.x - a.x, dy = b.y - a.y;
        double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
        t = std::fmax(0, std::fmin(1, t));
        double px = a.x + t * dx - x, py = a.y + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}

Shape Disc(Pt c, double r) {
    return [=](double x, double y) { return (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y) <= r * r; };
}

Shape Ring(Pt c, double r, double width) {
    return [=](double x, double y) {
        double d = std::sqrt((x - c.x) * (x - c.x) + (y - c.y) * (y - c.y));
        return std::fabs(d - r) <= width / 2;
    };
}

Shape Box(double l, double t, double r, double b) {
    return [=](double x, double y) { return x >= l && x <= r && y >= t && y <= b; };
}

Shape Triangle(Pt a, Pt b, Pt c) {
    return [=](double x, double y) {
        auto side = [&](Pt p, Pt q) { return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x); };
        double s1 = side(a, b), s2 = side(b, c), s3 = side(c, a);
        return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
    };
}

struct Picture {
    uint32_t Colour;
    std::vector<Shape> Shapes;
};

Picture Describe(TToolGlyph kind) {
    switch (kind) {
    case TToolGlyph::Add:
        return {
            0xFF2F80ED, {Line({16, 5}, {16, 27}, 5), Line({5, 16}, {27, 16}, 5)}
        };
    case TToolGlyph::Remove:
        return {
            0xFFD14343, {Line({8, 8}, {24, 24}, 5), Line({24, 8}, {8, 24}, 5)}
        };
    case TToolGlyph::Clear:
        return {
            0xFF5B7089,
            {Line({6, 9}, {26, 9}, 3), Line({13, 5}, {19, 5}, 3), Line({9, 12}, {11, 27}, 3),
              Line({23, 12}, {21, 27}, 3), Line({11, 27}, {21, 27}, 3), Line({16, 14}, {16, 23}, 2)}
        };
    case TToolGlyph::Start:
        return {0xFF2EA043, {Triangle({9, 5}, {27, 16}, {9, 27})}};
    case TToolGlyph::Stop:
        return {0xFFD14343, {Box(8, 8, 24, 24)}};
    case TToolGlyph::Pause:
        return {
            0xFFD9901A, {Box(8, 6, 13, 26), Box(19, 6, 24, 26)}
        };
    case TToolGlyph::Resume:
        return {
            0xFFD9901A, {Box(6, 6, 10, 26), Triangle({14, 6}, {27, 16}, {14, 26})}
        };
    case TToolGlyph::Options:
        return {
            0xFF6B7B8C,
            {Line({5, 8}, {27, 8}, 2), Line({5, 16}, {27, 16}, 2), Line({5, 24}, {27, 24}, 2),
              Disc({11, 8}, 4), Disc({21, 16}, 4), Disc({14, 24}, 4)}
        };
    case TToolGlyph::Skin:
        return {
            0xFF8A5CD6,
            {Ring({16, 16}, 11, 3), Disc({11, 12}, 2.5), Disc({17, 9.5}, 2.5), Disc({22, 13}, 2.5),
              Disc({21, 20}, 2.5)}
        };
    }
    return {0xFF000000, {}};
}

} // namespace

std::unique_ptr<gui::TBitmap> MakeToolGlyph(TToolGlyph AKind) {
    const Picture p = Describe(AKind);
    const uint32_t disabled = 0xFF9AA0A6;
    gdi::image::Image strip;
    strip.Reset(Size * 2, Size, Key);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            // Half of the 4 × 4 samples inside: the pixel is drawn (no soft edge against the key).
            int inside = 0;
            for (int v = 0; v < 4; ++v)
                for (int u = 0; u < 4; ++u) {
                    double sx = x + (u + 0.5) / 4, sy = y + (v + 0.5) / 4;
                    for (const Shape& s : p.Shapes)
                        if (s(sx, sy)) {
                            ++inside;
                            break;
                        }
                }
            if (inside < 8) continue;
            strip.At(x, y) = p.Colour;
            strip.At(Size + x, y) = disabled;
        }
    auto bitmap = std::make_unique<gui::TBitmap>();
    bitmap->FromImage(strip);
    return bitmap;
}

} // namespace app
