#include "gdi/ShapeRaster.h"

#include <algorithm>
#include <cmath>

namespace gdi::shapes {

double Circle(Vec p, Vec c, double r) {
    return std::hypot(p.x - c.x, p.y - c.y) - r;
}

double Ring(Vec p, Vec c, double r, double w) {
    return std::abs(Circle(p, c, r)) - w;
}

double Capsule(Vec p, Vec a, Vec b, double r) {
    double px = p.x - a.x, py = p.y - a.y, bx = b.x - a.x, by = b.y - a.y;
    double h = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.0, 1.0);
    return std::hypot(px - bx * h, py - by * h) - r;
}

double Polyline(Vec p, std::initializer_list<Vec> pts, double r) {
    double d = 1e9;
    for (auto it = pts.begin(); it + 1 != pts.end(); ++it) d = std::min(d, Capsule(p, *it, *(it + 1), r));
    return d;
}

double Box(Vec p, double l, double t, double rgt, double btm, double radius) {
    double qx = std::abs(p.x - (l + rgt) / 2) - ((rgt - l) / 2 - radius);
    double qy = std::abs(p.y - (t + btm) / 2) - ((btm - t) / 2 - radius);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

double Polygon(Vec p, std::initializer_list<Vec> pts) {
    double d = -1e9;
    const Vec* v = pts.begin();
    size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        Vec a = v[i], b = v[(i + 1) % n];
        double ex = b.x - a.x, ey = b.y - a.y;
        d = std::max(d, ((p.x - a.x) * ey - (p.y - a.y) * ex) / std::hypot(ex, ey));
    }
    return d;
}

double Triangle(Vec p, Vec a, Vec b, Vec c, double round) {
    Vec v[3] = {a, b, c};
    double outside = -1e9, edge = 1e9;
    for (int i = 0; i < 3; ++i) {
        Vec s = v[i], e = v[(i + 1) % 3];
        double ex = e.x - s.x, ey = e.y - s.y, len = std::hypot(ex, ey);
        // Distance along the outward normal.
        double nd = ((p.x - s.x) * ey - (p.y - s.y) * ex) / len;
        outside = std::max(outside, nd);
        edge = std::min(edge, Capsule(p, s, e, 0));
    }
    return (outside > 0 ? edge : -edge) - round;
}

IconImage Render(int size, const std::vector<Layer>& layers) {
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

} // namespace gdi::shapes
