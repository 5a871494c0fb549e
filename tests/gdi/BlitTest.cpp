#include "gdi/Blit.h"
#include "GdiFixture.h"
#include "gdi/Draw.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {
// Source pattern: every pixel distinct, alpha set to show it is carried.
void Paint(Canvas& c) {
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) c.bits[y * c.w + x] = 0x80000000u | (y << 8) | x;
}
} // namespace

TEST(Blit, CopyKeepsAlphaAndClipsToBothSurfaces) {
    Canvas src(8, 8), dst(10, 10);
    Paint(src);
    dst.Fill(0x11111111);
    // Partly outside the source and the destination.
    EXPECT_TRUE(BitBlt(dst.dc, 6, -2, 8, 8, src.dc, 2, 0, SRCCOPY));
    EXPECT_EQ(dst.At(6, 0), 0x80000202u); // source (2, 2)
    EXPECT_EQ(dst.At(9, 5), 0x80000705u);
    EXPECT_EQ(dst.At(5, 0), 0x11111111u);
    EXPECT_EQ(dst.At(6, 6), 0x11111111u); // below the source rows
}

TEST(Blit, OverlappingMoveOnOneSurface) {
    Canvas c(6, 1);
    Paint(c);
    BitBlt(c.dc, 1, 0, 5, 1, c.dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(c.At(x, 0) & 0xFF, uint32_t(x - 1));
}

TEST(Blit, RasterOperations) {
    Canvas src(1, 1), dst(1, 1);
    HBRUSH brush = CreateSolidBrush(RGB(0x0F, 0x0F, 0x0F));
    SelectObject(dst.dc, brush);
    struct Case {
        DWORD rop;
        uint32_t want;
    } cases[] = {
        {SRCCOPY,    0x12F0F0F0             },
        {SRCPAINT,   0x12F0FFF0             },
        {SRCAND,     0                      },
        {SRCINVERT,  0x00000F00 ^ 0x12F0F0F0},
        {NOTSRCCOPY, 0xED0F0F0F             },
        {PATCOPY,    0x000F0F0F             },
        {BLACKNESS,  0                      },
        {WHITENESS,  0x00FFFFFF             },
        {PATINVERT,  0x000F000F             },
    };
    for (const Case& c : cases) {
        src.bits[0] = 0x12F0F0F0;
        dst.bits[0] = 0x00000F00; // green 0x0F
        BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop);
        EXPECT_EQ(dst.At(0, 0), c.want) << std::hex << c.rop;
    }
    DeleteObject(brush);
}

TEST(Blit, StretchIsExactNearestNeighbour) {
    Canvas src(4, 2), dst(12, 4);
    Paint(src);
    // 3x horizontally, 2x vertically: every source pixel becomes a 3x2 block.
    StretchBlt(dst.dc, 0, 0, 12, 4, src.dc, 0, 0, 4, 2, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(dst.At(x, y), src.At(x / 3, y / 2)) << x << "," << y;
    // Halving takes every other pixel, starting with the first.
    Canvas small(2, 1);
    StretchBlt(small.dc, 0, 0, 2, 1, dst.dc, 0, 0, 12, 4, SRCCOPY);
    EXPECT_EQ(small.At(0, 0), src.At(0, 0));
    EXPECT_EQ(small.At(1, 0), src.At(2, 0));
    // A negative destination width mirrors.
    Canvas mirror(4, 1);
    StretchBlt(mirror.dc, 3, 0, -4, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mirror.At(x, 0), src.At(3 - x, 0));
}

TEST(Blit, ClipRegionAndOriginShapeTheCopy) {
    Canvas src(10, 10), dst(10, 10);
    src.Fill(0x00FF0000);
    HRGN clip = CreateRectRgn(0, 0, 5, 10);
    SelectClipRgn(dst.dc, clip);
    ExcludeClipRect(dst.dc, 0, 0, 2, 2);
    SetWindowOrgEx(dst.dc, -1, 0, nullptr); // logical 0 is device 1
    BitBlt(dst.dc, 0, 0, 10, 10, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), 0u); // left of the moved origin
    EXPECT_EQ(dst.At(1, 1), 0u); // excluded while the origin was still 0
    EXPECT_EQ(dst.At(2, 1), 0x00FF0000u);
    EXPECT_EQ(dst.At(3, 1), 0x00FF0000u);
    EXPECT_EQ(dst.At(4, 9), 0x00FF0000u);
    EXPECT_EQ(dst.At(5, 9), 0u); // outside the selected region (device units)
    RECT box;
    EXPECT_EQ(GetClipBox(dst.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{-1, 0, 4, 10}));
    // SaveDC/RestoreDC bring back the unclipped state.
    int level = SaveDC(dst.dc);
    IntersectClipRect(dst.dc, 0, 0, 1, 1);
    RestoreDC(dst.dc, level);
    SelectClipRgn(dst.dc, nullptr);
    EXPECT_EQ(GetClipBox(dst.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{-1, 0, 9, 10}));
    DeleteObject(clip);
}

TEST(Blit, DibSourcesInBothRowOrdersAndPalettes) {
    Canvas dst(2, 2);
    // A bottom-up 24-bit image: the first row in memory is the bottom row.
    uint8_t bu24[2][8] = {
        {1, 2, 3, 4,  5,  6,  0, 0},
        {7, 8, 9, 10, 11, 12, 0, 0}
    };
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(StretchDIBits(dst.dc, 0, 0, 2, 2, 0, 0, 2, 2, bu24, &bi, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(dst.At(0, 0), 0x00090807u);
    EXPECT_EQ(dst.At(1, 1), 0x00060504u);
    // The same through SetDIBitsToDevice with a top-down header.
    bi.bmiHeader.biHeight = -2;
    SetDIBitsToDevice(dst.dc, 0, 0, 2, 2, 0, 0, 0, 2, bu24, &bi, DIB_RGB_COLORS);
    EXPECT_EQ(dst.At(0, 0), 0x00030201u);
    // A 4-bit palette image.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[16];
    } pal{};
    pal.h = {sizeof(BITMAPINFOHEADER), 2, -1, 1, 4, 0, 0, 0, 0, 2, 0};
    pal.colors[0] = {0xFF, 0, 0, 0};
    pal.colors[1] = {0, 0xFF, 0, 0};
    uint8_t px4[4] = {0x10, 0, 0, 0};
    StretchDIBits(dst.dc, 0, 0, 2, 1, 0, 0, 2, 1, px4, reinterpret_cast<BITMAPINFO*>(&pal), DIB_RGB_COLORS,
                  SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), 0x0000FF00u);
    EXPECT_EQ(dst.At(1, 0), 0x000000FFu);
}

TEST(Blit, GetDIBitsConvertsTo24BitBottomUp) {
    Canvas c(3, 2);
    Paint(c);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(GetDIBits(c.dc, c.bmp, 0, 0, nullptr, &bi, DIB_RGB_COLORS), 1);
    EXPECT_EQ(bi.bmiHeader.biWidth, 3);
    EXPECT_EQ(bi.bmiHeader.biHeight, -2);
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biHeight = 2;
    std::vector<uint8_t> out(2 * 12);
    ASSERT_EQ(GetDIBits(c.dc, c.bmp, 0, 2, out.data(), &bi, DIB_RGB_COLORS), 2);
    EXPECT_EQ(out[0], 0); // first row out is the bottom row: x=0, y=1
    EXPECT_EQ(out[1], 1);
    EXPECT_EQ(out[12 + 3], 1); // top row, x=1
    auto info = gdi::GetDCDib(c.dc);
    EXPECT_EQ(info.bits, c.bits);
    EXPECT_EQ(info.bpp, 32);
    EXPECT_TRUE(info.topDown);
}

TEST(Blit, TransparentAndAlphaBlend) {
    Canvas src(2, 1), dst(2, 1);
    src.bits[0] = 0x00FF00FF; // the key
    src.bits[1] = 0x00123456;
    dst.Fill(0x00000000);
    TransparentBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, RGB(0xFF, 0, 0xFF));
    EXPECT_EQ(dst.At(0, 0), 0u);
    EXPECT_EQ(dst.At(1, 0), 0x00123456u);
    // Premultiplied half-transparent white over black gives grey.
    src.bits[0] = 0x80808080;
    dst.bits[0] = 0x00000000;
    AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    EXPECT_EQ(dst.At(0, 0), 0x80808080u);
    dst.bits[0] = 0x00FFFFFF;
    AlphaBlend(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    EXPECT_EQ(dst.At(0, 0) & 0xFFFFFF, 0x00FFFFFFu);
}

TEST(Blit, BitmapsLiveInOneDcAndStayWhileSelected) {
    Canvas a(2, 2);
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, a.bmp), nullptr);
    EXPECT_FALSE(DeleteObject(a.bmp));
    DeleteDC(other);
}

// The row-wise scaled copy against the nearest-neighbour rule written out
// plainly, with mirroring, a source running off its bitmap and a clip region.
TEST(Blit, ScaledCopyMatchesTheNearestNeighbourRule) {
    struct Case {
        int w, h, sx, sw, sh;
    } cases[] = {
        {13, 7,  0, 5,  3},
        {5,  3,  0, 13, 7},
        {-9, 6,  0, 4,  4},
        {9,  -6, 0, 4,  4},
        {12, 5,  3, 6,  5},
    };
    Canvas src(6, 8);
    Paint(src);
    for (const Case& c : cases) {
        Canvas dst(16, 10);
        dst.Fill(0x11111111);
        HRGN clip = CreateRectRgn(1, 0, 15, 9);
        SelectClipRgn(dst.dc, clip);
        DeleteObject(clip);
        int x = c.w < 0 ? 14 : 1, y = c.h < 0 ? 8 : 1;
        StretchBlt(dst.dc, x, y, c.w, c.h, src.dc, c.sx, 0, c.sw, c.sh, SRCCOPY);
        int aw = std::abs(c.w), ah = std::abs(c.h);
        int x0 = c.w < 0 ? x + c.w + 1 : x, y0 = c.h < 0 ? y + c.h + 1 : y;
        for (int yy = 0; yy < 10; ++yy)
            for (int xx = 0; xx < 16; ++xx) {
                uint32_t want = 0x11111111;
                int ix = xx - x0, iy = yy - y0;
                if (xx >= 1 && xx < 15 && yy < 9 && ix >= 0 && ix < aw && iy >= 0 && iy < ah) {
                    int srcX = c.sx + (c.w < 0 ? aw - 1 - ix : ix) * c.sw / aw;
                    int srcY = (c.h < 0 ? ah - 1 - iy : iy) * c.sh / ah;
                    if (srcX < src.w) want = src.At(srcX, srcY);
                }
                ASSERT_EQ(dst.At(xx, yy), want) << c.w << "x" << c.h << " at " << xx << "," << yy;
            }
    }
}
