#pragma once
// The generator's anti-aliased rasteriser: shapes given by their signed distance (negative
// inside), covered per pixel by how far the pixel's centre lies inside the edge, and painted
// with a solid colour or a vertical gradient over an opaque picture.
#include "Rgb.h"

#include "gdi/image/Image.h"

#include <functional>
#include <vector>

namespace skingen {

struct Box {
    double l = 0, t = 0, r = 0, b = 0;
    Box Inset(double d) const { return {l + d, t + d, r - d, b - d}; }
    double Width() const { return r - l; }
    double Height() const { return b - t; }
};

struct Pt {
    double x = 0, y = 0;
};

// Paint of a pixel centre.
using Paint = std::function<Rgb(double x, double y)>;
Paint Solid(const Rgb& c);
// From `top` at y0 to `bottom` at y1, constant outside.
Paint Vertical(const Rgb& top, const Rgb& bottom, double y0, double y1);

class SkinCanvas {
public:
    explicit SkinCanvas(gdi::image::Image& image) : image_(image) {}
    gdi::image::Image& Image() { return image_; }

    using Distance = std::function<double(double x, double y)>;
    // Paints every pixel of `area` by its coverage of the shape, at `alpha` (0..1).
    void Fill(const Box& area, const Distance& shape, const Paint& paint, double alpha = 1);

    void FillRect(const Box& box, const Paint& paint, double alpha = 1);
    void FillRoundRect(const Box& box, double radius, const Paint& paint, double alpha = 1);
    // An outline of `width` lying inside the rounded box.
    void StrokeRoundRect(const Box& box, double radius, double width, const Paint& paint, double alpha = 1);
    // Round-capped strokes along the polyline.
    void Polyline(const std::vector<Pt>& points, double width, const Rgb& colour, double alpha = 1);
    void Line(Pt a, Pt b, double width, const Rgb& colour) { Polyline({a, b}, width, colour); }
    void Disc(Pt centre, double radius, const Paint& paint, double alpha = 1);
    void Ring(Pt centre, double radius, double width, const Paint& paint, double alpha = 1);
    // A filled triangle with its corners in any order.
    void Triangle(Pt a, Pt b, Pt c, const Rgb& colour);

    // Signed distances of the shapes above.
    static double RoundRectDistance(const Box& box, double radius, double x, double y);
    static double SegmentDistance(Pt a, Pt b, double x, double y);

private:
    gdi::image::Image& image_;
};

} // namespace skingen
