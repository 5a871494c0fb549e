#include "SkinCanvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

Rgb FromBgra(uint32_t p) {
    return Rgb::Bytes((p >> 16) & 255, (p >> 8) & 255, p & 255);
}

double Coverage(double distance) {
    return std::clamp(0.5 - distance, 0.0, 1.0);
}

} // namespace

Paint Solid(const Rgb& c) {
    return [c](double, double) { return c; };
}

Paint Vertical(const Rgb& top, const Rgb& bottom, double y0, double y1) {
    return [=](double, double y) {
        return top.Mix(bottom, y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0, 1.0) : 0);
    };
}

void SkinCanvas::Fill(const Box& area, const Distance& shape, const Paint& paint, double alpha) {
    int x0 = std::max(0, static_cast<int>(std::floor(area.l))),
        y0 = std::max(0, static_cast<int>(std::floor(area.t)));
    int x1 = std::min(image_.width, static_cast<int>(std::ceil(area.r)));
    int y1 = std::min(image_.height, static_cast<int>(std::ceil(area.b)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            double cx = x + 0.5, cy = y + 0.5;
            double a = Coverage(shape(cx, cy)) * alpha;
            if (a <= 0) continue;
            uint32_t& px = image_.At(x, y);
            px = FromBgra(px).Mix(paint(cx, cy), a).Bgra();
        }
}

double SkinCanvas::RoundRectDistance(const Box& box, double radius, double x, double y) {
    double hw = box.Width() / 2, hh = box.Height() / 2;
    radius = std::clamp(radius, 0.0, std::min(hw, hh));
    double qx = std::abs(x - (box.l + hw)) - (hw - radius), qy = std::abs(y - (box.t + hh)) - (hh - radius);
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

double SkinCanvas::SegmentDistance(Pt a, Pt b, double x, double y) {
    double dx = b.x - a.x, dy = b.y - a.y, px = x - a.x, py = y - a.y;
    double len = dx * dx + dy * dy;
    double t = len > 0 ? std::clamp((px * dx + py * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(px - t * dx, py - t * dy);
}

void SkinCanvas::FillRect(const Box& box, const Paint& paint, double alpha) {
    FillRoundRect(box, 0, paint, alpha);
}

void SkinCanvas::FillRoundRect(const Box& box, double radius, const Paint& paint, double alpha) {
    Fill(
        box.Inset(-1), [&](double x, double y) { return RoundRectDistance(box, radius, x, y); }, paint,
        alpha);
}

void SkinCanvas::StrokeRoundRect(const Box& box, double radius, double width, const Paint& paint,
                                 double alpha) {
    Box inner = box.Inset(width);
    double innerRadius = std::max(radius - width, 0.0);
    Fill(
        box.Inset(-1),
        [&](double x, double y) {
            return std::max(RoundRectDistance(box, radius, x, y),
                            -RoundRectDistance(inner, innerRadius, x, y));
        },
        paint, alpha);
}

void SkinCanvas::Polyline(const std::vector<Pt>& points, double width, const Rgb& colour, double alpha) {
    if (points.empty()) return;
    Box area{points[0].x, points[0].y, points[0].x, points[0].y};
    for (auto& p : points)
        area = {std::min(area.l, p.x), std::min(area.t, p.y), std::max(area.r, p.x), std::max(area.b, p.y)};
    Fill(
        area.Inset(-width - 1),
        [&](double x, double y) {
            double d = 1e9;
            for (size_t i = 0; i + 1 < points.size(); ++i)
                d = std::min(d, SegmentDistance(points[i], points[i + 1], x, y));
            if (points.size() == 1) d = SegmentDistance(points[0], points[0], x, y);
            return d - width / 2;
        },
        Solid(colour), alpha);
}

void SkinCanvas::Disc(Pt c, double radius, const Paint& paint, double alpha) {
    Fill(
        {c.x - radius - 1, c.y - radius - 1, c.x + radius + 1, c.y + radius + 1},
        [&](double x, double y) { return std::hypot(x - c.x, y - c.y) - radius; }, paint, alpha);
}

void SkinCanvas::Ring(Pt c, double radius, double width, const Paint& paint, double alpha) {
    Fill(
        {c.x - radius - 1, c.y - radius - 1, c.x + radius + 1, c.y + radius + 1},
        [&](double x, double y) {
            double d = std::hypot(x - c.x, y - c.y);
            return std::max(d - radius, radius - width - d);
        },
        paint, alpha);
}

void SkinCanvas::Triangle(Pt a, Pt b, Pt c, const Rgb& colour) {
    // Inside when on the inner side of all three edges; the distance is the nearest edge's.
    double orient = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0 ? 1 : -1;
    auto edge = [orient](Pt p, Pt q, double x, double y) {
        double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
        return orient * ((x - p.x) * dy - (y - p.y) * dx) / len;
    };
    Box area{std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}),
             std::max({a.y, b.y, c.y})};
    Fill(
        area.Inset(-1),
        [&](double x, double y) {
            return std::max({edge(a, b, x, y), edge(b, c, x, y), edge(c, a, x, y)});
        },
        Solid(colour));
}

} // namespace skingen
