// The stock message-box icons as shapes in a 32-unit design square, rendered
// at any size with analytic anti-aliasing (coverage from the signed distance
// to each shape's edge), so the 16-pixel versions stay as clean as the large.
#include "gdi/StockShapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>

namespace gdi {
namespace {

struct Vec {
    double x, y;
};

double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

// Signed distances in design units: negative inside.
double Circle(Vec p, Vec c, double r) {
    return Length(p.x - c.x, p.y - c.y) - r;
}

double Capsule(Vec p, Vec a, Vec b, double r) {
    double px = p.x - a.x, py = p.y - a.y, bx = b.x - a.x, by = b.y - a.y;
    double h = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.0, 1.0);
    return Length(px - bx * h, py - by * h) - r;
}

double Polyline(Vec p, std::initializer_list<Vec> pts, double r) {
    double d = 1e9;
    for (auto it = pts.begin(); it + 1 != pts.end(); ++it) d = std::min(d, Capsule(p, *it, *(it + 1), r));
    return d;
}

double Box(Vec p, double l, double t, double rgt, double btm, double radius) {
    double cx = (l + rgt) / 2, cy = (t + btm) / 2;
    double qx = std::abs(p.x - cx) - ((rgt - l) / 2 - radius),
           qy = std::abs(p.y - cy) - ((btm - t) / 2 - radius);
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// A triangle with rounded corners (its edges pushed out by `round`).
double Triangle(Vec p, Vec a, Vec b, Vec c, double round) {
    Vec v[3] = {a, b, c};
    double outside = -1e9, edge = 1e9;
    for (int i = 0; i < 3; ++i) {
        Vec s = v[i], e = v[(i + 1) % 3];
        double ex = e.x - s.x, ey = e.y - s.y, len = Length(ex, ey);
        // Distance along the outward normal (vertices clockwise on screen).
        double nd = ((p.x - s.x) * ey - (p.y - s.y) * ex) / len;
        outside = std::max(outside, nd);
        edge = std::min(edge, Capsule(p, s, e, 0));
    }
    return (outside > 0 ? edge : -edge) - round;
}

using Shape = std::function<double(Vec)>;

struct Layer {
    Shape shape;
    uint32_t rgb;
};

// Paints the layers back to front over transparency.
IconImage Render(int size, std::initializer_list<Layer> layers) {
    IconImage img;
    img.Resize(size, size);
    img.hasAlpha = true;
    const double unit = 32.0 / size; // design units per pixel
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Vec p{(x + 0.5) * unit, (y + 0.5) * unit};
            double a = 0, r = 0, g = 0, b = 0; // premultiplied
            for (const Layer& l : layers) {
                double cov = std::clamp(0.5 - l.shape(p) / unit, 0.0, 1.0);
                if (cov <= 0) continue;
                r = ((l.rgb >> 16) & 0xFF) * cov + r * (1 - cov);
                g = ((l.rgb >> 8) & 0xFF) * cov + g * (1 - cov);
                b = (l.rgb & 0xFF) * cov + b * (1 - cov);
                a = cov + a * (1 - cov);
            }
            unsigned A = static_cast<unsigned>(std::lround(a * 255));
            img.MaskAt(x, y) = A == 0;
            if (A == 0) continue;
            auto straight = [&](double c) {
                return static_cast<unsigned>(std::clamp(std::lround(c / a), 0L, 255L));
            };
            img.At(x, y) = (A << 24) | (straight(r) << 16) | (straight(g) << 8) | straight(b);
        }
    return img;
}

constexpr Vec kCentre{16, 16};

IconImage Badge(int size, uint32_t edge, uint32_t fill, Shape mark) {
    return Render(size, {
                            {[](Vec p) { return Circle(p, kCentre, 15); },   edge    },
                            {[](Vec p) { return Circle(p, kCentre, 13.8); }, fill    },
                            {std::move(mark),                                0xFFFFFF},
    });
}

} // namespace

IconImage StockIconImage(int id, int size) {
    if (size <= 0 || size > 256) return {};
    switch (id) {
    case 32512: // application: a window with a title bar
        return Render(size, {
                                {[](Vec p) { return Box(p, 2, 4, 30, 28, 2.5); },        0x24528F},
                                {[](Vec p) { return Box(p, 4.5, 10, 27.5, 25.5, 0.8); }, 0xFFFFFF},
                                {[](Vec p) { return Box(p, 21, 6, 27.5, 8.5, 0.8); },    0xDDE7F5},
        });
    case 32513: // error: a red disc with a cross
        return Badge(size, 0xA8201A, 0xDB3B2E, [](Vec p) {
            return std::min(Capsule(p, {10.5, 10.5}, {21.5, 21.5}, 2.1),
                            Capsule(p, {21.5, 10.5}, {10.5, 21.5}, 2.1));
        });
    case 32514: // question: a blue disc with a question mark
        return Badge(size, 0x134F9E, 0x2D74D6, [](Vec p) {
            constexpr double kR = 4.8;
            Vec c{16, 12.2};
            auto at = [&](double deg) {
                double t = deg * 3.14159265358979 / 180;
                return Vec{c.x + kR * std::cos(t), c.y + kR * std::sin(t)};
            };
            double hook =
                Polyline(p,
                         {
                             at(190), at(225), at(270), at(315), at(0), at(40), {16, 18.2},
                                   {16, 19.5}
            },
                         2.0);
            return std::min(hook, Circle(p, {16, 24.2}, 2.2));
        });
    case 32515: // warning: a yellow triangle with an exclamation mark
        return Render(
            size, {
                      {[](Vec p) {
                           return Triangle(p, {16, 3}, {29.5, 27.5}, {2.5, 27.5}, 1.8);
                       }, 0x8C6A00},
                      {[](Vec p) {
                           return Triangle(p, {16, 5.2}, {27.6, 26.3}, {4.4, 26.3}, 0.9);
                       }, 0xF7C71E},
                      {[](Vec p) {
                           return std::min(Capsule(p, {16, 11.5}, {16, 18.5}, 1.9), Circle(p, {16, 23}, 2.0));
                       }, 0x1E1E1E},
        });
    case 32516: // information: a blue disc with an "i"
        return Badge(size, 0x134F9E, 0x2D74D6, [](Vec p) {
            return std::min(Circle(p, {16, 9.3}, 2.3), Capsule(p, {16, 14.5}, {16, 23.5}, 2.0));
        });
    default:
        return {};
    }
}

} // namespace gdi
