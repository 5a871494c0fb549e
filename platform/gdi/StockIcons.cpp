// The stock message-box icons, drawn as shapes.
#include "gdi/ShapeRaster.h"
#include "gdi/StockShapes.h"

#include <algorithm>
#include <cmath>

namespace gdi {
namespace {

using namespace shapes;

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
