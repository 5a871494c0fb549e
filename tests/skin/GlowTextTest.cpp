#include "skin/engine/GlowText.h"
#include "EngineFixtures.h"
#include "gdi/DcText.h"
#include "skin/engine/SkinBitmap.h"

#include <gtest/gtest.h>

using namespace skin;
using enginetest::FillBitmap;

TEST(GlowText, BlurIsATriangleFilterWithRepeatedEdges) {
    TbsBitmap one;
    FillBitmap(one, 1, 1, 0x005A5A5A);
    BlurAlphaChannel(one, 7);
    EXPECT_EQ(one.Pixel(0, 0), 0xFF5A5A5Au);
    BlurAlphaChannel(one, 0x7FFFFFFF); // a skin's absurd glow size: bounded, same answer
    EXPECT_EQ(one.Pixel(0, 0), 0xFF5A5A5Au);

    // (3 * 0 + 255 + 0) div 4 = 63 at the edges, (0 + 2 * 255 + 0) div 4 = 127 in the middle.
    TbsBitmap row;
    row.SetSize(3, 1);
    row.Pixel(1, 0) = 0x00FF0000;
    BlurAlphaChannel(row, 1);
    EXPECT_EQ(row.Pixel(0, 0), 0xFF3F0000u);
    EXPECT_EQ(row.Pixel(1, 0), 0xFF7F0000u);
    EXPECT_EQ(row.Pixel(2, 0), 0xFF3F0000u);

    // Columns the same way, on the rows' results; strips narrower than the radius stay inside.
    TbsBitmap column;
    column.SetSize(1, 3);
    column.Pixel(0, 1) = 0x000000FF;
    BlurAlphaChannel(column, 5);
    EXPECT_EQ(column.Pixel(0, 0) & 0xFF, 35u); // only the 255 one step away counts: 5 * 255 div 36
    TbsBitmap untouched;
    FillBitmap(untouched, 2, 2, 0x00102030);
    BlurAlphaChannel(untouched, 0);
    EXPECT_EQ(untouched.Pixel(1, 1), 0x00102030u);
}

TEST(GlowText, AlphaFromGreyMaskAndMissingMaskIsOpaque) {
    TbsBitmap b, mask;
    FillBitmap(b, 3, 2, 0x00ABCDEF);
    mask.SetSize(2, 1);            // smaller than the picture
    mask.Pixel(0, 0) = 0xFF0A141F; // (10, 20, 31)
    AlphaFromGrayMask(b, &mask);
    EXPECT_EQ(b.Pixel(0, 0), 0x14ABCDEFu);
    EXPECT_EQ(b.Pixel(1, 0), 0x00ABCDEFu);
    EXPECT_EQ(b.Pixel(2, 0), 0xFFABCDEFu); // no mask pixel here
    EXPECT_EQ(b.Pixel(0, 1), 0xFFABCDEFu);
    AlphaFromGrayMask(b, nullptr);
    EXPECT_EQ(b.Pixel(1, 0), 0xFFABCDEFu);
}

TEST(GlowText, GlowOfSizeZeroIsTheTextInTheGlowColourUnderTheText) {
    TbsBitmap target;
    FillBitmap(target, 60, 30, 0xFFFFFFFF);
    gui::TCanvas* c = target.Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-16);
    c->Font()->SetColor(gui::clBlack);
    DrawGlowText(c, gui::Rect(5, 5, 55, 25), "HH", 0, gui::clBlue, 0, DT_SINGLELINE);
    int blue = 0, black = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            TbsColor p = target.Pixel(x, y) & 0xFFFFFF;
            blue += p == 0x0000FF;
            black += p == 0;
        }
    // The text covers its own glow exactly: without blur or offset nothing blue shows.
    EXPECT_GT(black, 10);
    EXPECT_EQ(blue, 0);

    FillBitmap(target, 60, 30, 0xFFFFFFFF);
    DrawGlowTextU(c, gui::Rect(5, 5, 55, 25), "HH", 3, gui::clBlue, 2, DT_SINGLELINE);
    bool tinted = false;
    for (int x = 0; x < 60; ++x) {
        TbsColor p = target.Pixel(x, 22);
        tinted = tinted || (((p >> 16) & 0xFF) < 0xFF && (p & 0xFF) == 0xFF);
    }
    EXPECT_TRUE(tinted);
}

TEST(GlowText, ReflectionAndVistaGlowDrawAroundTheText) {
    TbsBitmap target;
    FillBitmap(target, 80, 60, 0xFFFFFFFF);
    gui::TCanvas* c = target.Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-14);
    c->Font()->SetColor(gui::clBlack);
    DrawReflectionText(c, gui::Rect(10, 5, 70, 25), "MM", gui::clRed, 2, DT_SINGLELINE);
    // Below the text's own rows: reddish mirror pixels, nothing black.
    bool mirror = false;
    for (int y = 25; y < 45; ++y)
        for (int x = 10; x < 70; ++x) {
            TbsColor p = target.Pixel(x, y);
            mirror = mirror || ((p & 0xFF) < 0xFF && ((p >> 16) & 0xFF) == 0xFF);
        }
    EXPECT_TRUE(mirror);

    FillBitmap(target, 80, 60, 0xFF000000);
    DrawVistaGlowText(c, gui::Rect(20, 20, 60, 40), "M", gui::clWhite, DT_SINGLELINE);
    EXPECT_GT(target.Pixel(20, 30) & 0xFF, 0u); // the light patch around the text
    EXPECT_EQ(target.Pixel(0, 0), 0xFF000000u);
}
