#pragma once
// Pictures drawn as shapes in a 32-unit design square and rendered at any size with analytic
// anti-aliasing (coverage from the signed distance to each shape's edge), so a 16-pixel picture
// stays as clean as the large one. The stock icons and the shell's pictures are drawn with it.
#include "gdi/IconImage.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace gdi::shapes {

struct Vec {
    double x, y;
};

// Signed distances in design units: negative inside.
double Circle(Vec p, Vec centre, double radius);
// A ring of half-width w around the circle's edge.
double Ring(Vec p, Vec centre, double radius, double w);
double Capsule(Vec p, Vec a, Vec b, double radius);
double Polyline(Vec p, std::initializer_list<Vec> points, double radius);
double Box(Vec p, double left, double top, double right, double bottom, double radius);
// A convex polygon, corners listed clockwise on screen.
double Polygon(Vec p, std::initializer_list<Vec> points);
// A triangle with rounded corners (its edges pushed out by `round`), corners clockwise on screen.
double Triangle(Vec p, Vec a, Vec b, Vec c, double round);

using Shape = std::function<double(Vec)>;

struct Layer {
    Shape shape;
    uint32_t rgb;
};

// Paints the layers back to front over transparency into a size × size picture with alpha.
IconImage Render(int size, const std::vector<Layer>& layers);

} // namespace gdi::shapes
