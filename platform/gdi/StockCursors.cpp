// The stock cursors: each is a black shape on a 32 × 32 grid; a one-pixel
// white rim is added around it so that it shows on any background.  The arrow
// and the hand are drawn pixel by pixel, the rest from their geometry.
#include "gdi/StockShapes.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string_view>

namespace gdi {
namespace {

constexpr int kSize = 32;

// '#' marks the shape; the rim comes later.
constexpr std::string_view kArrow[] = {
    ".",       ".#",       ".##",       ".###",       ".####",       ".#####",
    ".######", ".#######", ".########", ".#########", ".##########", ".######",
    ".###.##", ".##..##",  ".#....##",  "......##",   ".......##",   ".......##",
};

constexpr std::string_view kHand[] = {
    "",
    ".....##",
    ".....##",
    ".....##",
    ".....##",
    ".....##.##",
    ".....##.##.##",
    ".....##.##.##.##",
    ".##..##.##.##.##",
    ".###.###########",
    "..#############",
    "..#############",
    "...############",
    "...###########",
    "....##########",
    "....#########",
    ".....########",
    ".....########",
};

using Inside = std::function<bool(double x, double y)>;

// A double-headed arrow along the x axis, centred on the origin.
bool DoubleArrow(double x, double y) {
    double ax = std::abs(x), ay = std::abs(y);
    if (ax <= 6 && ay <= 1) return true;
    return ax > 5 && ax <= 10 && ay <= (10 - ax) * 0.9;
}

struct Geometry {
    int id;
    POINT hot;
    Inside inside; // in pixels relative to the hot spot's centre
};

const Geometry kGeometry[] = {
    {32644, {15, 15}, [](double x, double y) { return DoubleArrow(x, y); }                              },
    {32645, {15, 15}, [](double x, double y) { return DoubleArrow(y, x); }                              },
    {32642, {15, 15}, [](double x, double y) { return DoubleArrow((x + y) * 0.7071, (y - x) * 0.7071); }},
    {32643, {15, 15}, [](double x, double y) { return DoubleArrow((x - y) * 0.7071, (x + y) * 0.7071); }},
    {32646, {15, 15}, [](double x, double y) { return DoubleArrow(x, y) || DoubleArrow(y, x); }         },
    {32513,
     {15, 15},
     [](double x,                  double y) {
         double ax = std::abs(x), ay = std::abs(y);
         return (ax < 0.5 && ay <= 8) || (ay > 7 && ay <= 8 && ax <= 3);
     }                                                                                 },
    {32514,
     {15, 15},
     [](double x,                  double y) { // an hourglass
         double ax = std::abs(x), ay = std::abs(y);
         if (ay > 8 && ay <= 10) return ax <= 7;
         return ay <= 8 && ax <= 1 + 5 * ay / 8;
     }                                                                                 },
};

void FromArt(IconImage& img, const std::string_view* rows, size_t count) {
    for (size_t y = 0; y < count; ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == '#') img.MaskAt(static_cast<int>(x), static_cast<int>(y)) = 0;
}

// Shape pixels (mask 0) are black; a ring around them turns white.
void AddRim(IconImage& img) {
    std::vector<uint8_t> shape = img.mask;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (!shape[y * kSize + x]) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize && !shape[ny * kSize + nx])
                        near = true;
                }
            if (near) {
                img.MaskAt(x, y) = 0;
                img.At(x, y) = 0xFFFFFF;
            }
        }
}

} // namespace

IconImage StockCursorImage(int id, POINT& hotSpot) {
    IconImage img;
    img.Resize(kSize, kSize);
    if (id == 32512) {
        FromArt(img, kArrow, std::size(kArrow));
        hotSpot = {0, 0};
    } else if (id == 32649) {
        FromArt(img, kHand, std::size(kHand));
        hotSpot = {6, 1};
    } else {
        const Geometry* g = nullptr;
        for (const Geometry& each : kGeometry)
            if (each.id == id) g = &each;
        if (!g) return {};
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                if (g->inside(x - g->hot.x, y - g->hot.y)) img.MaskAt(x, y) = 0;
        hotSpot = g->hot;
    }
    AddRim(img);
    return img;
}

} // namespace gdi
