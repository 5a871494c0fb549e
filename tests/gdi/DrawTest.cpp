#include "gdi/Draw.h"
#include "GdiFixture.h"
#include "gdi/Blit.h"
#include "gdi/DcStateSaver.h"
#include "gdi/SysColors.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {
// The canvas as text: '.' for untouched (0), '#' for anything else.
std::string Picture(const Canvas& c) {
    std::string s;
    for (int y = 0; y < c.h; ++y) {
        for (int x = 0; x < c.w; ++x) s += c.At(x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}
} // namespace

TEST(Draw, LinesLeaveOutTheEndPoint) {
    Canvas c(5, 3);
    MoveToEx(c.dc, 0, 0, nullptr);
    SelectObject(c.dc, GetStockObject(WHITE_PEN));
    LineTo(c.dc, 4, 0);
    LineTo(c.dc, 4, 2);
    // The second line starts where the first one stopped short.
    EXPECT_EQ(Picture(c), "#####\n....#\n.....\n");
    EXPECT_EQ(c.At(0, 0), 0x00FFFFFFu); // alpha stays 0
    POINT p;
    GetCurrentPositionEx(c.dc, &p);
    EXPECT_EQ(p, (POINT{4, 2}));
}

TEST(Draw, NotMixInvertsAndRestores) {
    Canvas c(4, 1);
    c.Fill(0x7F102030);
    SetROP2(c.dc, R2_NOT);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 2, 0);
    EXPECT_EQ(c.At(0, 0), 0x7FEFDFCFu);
    EXPECT_EQ(c.At(2, 0), 0x7F102030u);
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 2, 0);
    EXPECT_EQ(c.At(0, 0), 0x7F102030u);
}

TEST(Draw, RectangleFrameAndFocusRect) {
    Canvas c(5, 4);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    SelectObject(c.dc, GetStockObject(WHITE_PEN));
    Rectangle(c.dc, 0, 0, 5, 4);
    EXPECT_EQ(Picture(c), "#####\n#...#\n#...#\n#####\n");
    c.Fill(0);
    RECT r{1, 1, 4, 3};
    FrameRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(Picture(c), ".....\n.###.\n.###.\n.....\n");
    c.Fill(0);
    RECT f{0, 0, 5, 4};
    DrawFocusRect(c.dc, &f);
    EXPECT_EQ(Picture(c), "#.#.#\n.....\n#...#\n.#.#.\n");
    DrawFocusRect(c.dc, &f);
    EXPECT_EQ(Picture(c), ".....\n.....\n.....\n.....\n");
}

TEST(Draw, FillRectResolvesSystemColours) {
    Canvas c(2, 1);
    RECT r{0, 0, 1, 1};
    HBRUSH face = CreateSolidBrush(0xFF000000 | COLOR_BTNFACE);
    FillRect(c.dc, &r, face);
    EXPECT_EQ(c.At(0, 0), gdi::PixelOf(GetSysColor(COLOR_BTNFACE)));
    r = {1, 0, 2, 1};
    FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
    EXPECT_EQ(c.At(1, 0), 0x00FFFFFFu);
    DeleteObject(face);
}

TEST(Draw, EllipseAndPolygonShapes) {
    Canvas c(7, 7);
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Ellipse(c.dc, 0, 0, 7, 7);
    std::string e = Picture(c);
    EXPECT_EQ(e.substr(0, 8), "..###..\n");
    EXPECT_EQ(e.substr(24, 8), "#######\n");
    EXPECT_EQ(c.At(0, 0), 0u);
    c.Fill(0);
    POINT tri[] = {
        {0, 0},
        {6, 0},
        {0, 6}
    };
    Polygon(c.dc, tri, 3);
    std::string p = Picture(c);
    // Pixels whose centres lie inside: the hypotenuse cuts row 0 at x = 5.5.
    EXPECT_EQ(p.substr(0, 8), "#####..\n");
    EXPECT_EQ(p.substr(32, 8), "#......\n"); // pixel 1 has its centre on the edge
    EXPECT_EQ(c.At(6, 6), 0u);
}

TEST(Draw, PatternBrushFollowsTheBrushOrigin) {
    Canvas pat(2, 1), c(4, 1);
    pat.bits[0] = 0x00FF0000;
    pat.bits[1] = 0x000000FF;
    HBRUSH b = CreatePatternBrush(pat.bmp);
    RECT r{0, 0, 4, 1};
    SetBrushOrgEx(c.dc, 1, 0, nullptr);
    FillRect(c.dc, &r, b);
    EXPECT_EQ(c.At(0, 0), 0x000000FFu);
    EXPECT_EQ(c.At(1, 0), 0x00FF0000u);
    DeleteObject(b);
}

TEST(Draw, TwentyFourBitTarget) {
    Canvas c(3, 1, 24);
    RECT r{1, 0, 3, 1};
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(c.dc, &r, b);
    auto* bytes = reinterpret_cast<uint8_t*>(c.bits);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 3); // blue first
    EXPECT_EQ(bytes[5], 1);
    EXPECT_EQ(GetPixel(c.dc, 2, 0), RGB(1, 2, 3));
    DeleteObject(b);
}

#include "gdi/DcText.h"

TEST(Text, TextOutDrawsInsideTheClipOnly) {
    Canvas c(60, 20);
    SetTextColor(c.dc, RGB(255, 255, 255));
    SetBkMode(c.dc, TRANSPARENT);
    IntersectClipRect(c.dc, 0, 0, 30, 20);
    TextOut(c.dc, 2, 2, "WWWWWWWW", -1);
    bool inside = false, outside = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) (x < 30 ? inside : outside) |= c.At(x, y) != 0;
    EXPECT_TRUE(inside);
    EXPECT_FALSE(outside);
    SIZE s;
    EXPECT_TRUE(GetTextExtentPoint32(c.dc, "WW", 2, &s));
    EXPECT_GT(s.cx, 0);
    EXPECT_GT(s.cy, 0);
}

TEST(Draw, ASavedStateComesBackWhenThePainterThrows) {
    Canvas c(4, 1);
    SetViewportOrgEx(c.dc, 1, 0, nullptr);
    EXPECT_THROW(
        {
            gdi::DcStateSaver saved(c.dc);
            SetViewportOrgEx(c.dc, 3, 0, nullptr);
            IntersectClipRect(c.dc, 0, 0, 0, 0);
            throw std::runtime_error("paint");
        },
        std::runtime_error);
    POINT org;
    GetViewportOrgEx(c.dc, &org);
    EXPECT_EQ(org, (POINT{1, 0}));
    SetPixel(c.dc, 0, 0, RGB(255, 255, 255)); // not clipped away any more
    EXPECT_EQ(Picture(c), ".#..\n");
}
