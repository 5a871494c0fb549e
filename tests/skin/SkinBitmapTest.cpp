#include "skin/engine/SkinBitmap.h"
#include "EngineFixtures.h"
#include "gdi/Dc.h"
#include "gui/Streams.h"
#include "skin/engine/BitmapLink.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/EngineSetup.h"

#include <gtest/gtest.h>

using namespace skin;
using enginetest::FillBitmap;

TEST(bsBitmap, SetSizeTakesAbsoluteValuesAndIgnoresZero) {
    TbsBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(-10, 5);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.Height(), 5);
    EXPECT_EQ(b.Pixel(9, 4), 0u);
    b.Clear(0xFF123456);
    b.SetSize(0, 5);
    EXPECT_EQ(b.Width(), 10);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
}

TEST(bsBitmap, AlphaAndTransparencyChecks) {
    TbsBitmap b;
    FillBitmap(b, 3, 1, 0xFF000000);
    b.Pixel(1, 0) = 0x00000000;
    b.CheckingAlphaBlend();
    EXPECT_FALSE(b.AlphaBlend);
    b.Pixel(2, 0) = 0x80000000;
    b.CheckingAlphaBlend();
    EXPECT_TRUE(b.AlphaBlend);

    b.Pixel(0, 0) = 0xFFFA04FB; // within 5 of 0xFF00FF in every channel
    b.Pixel(1, 0) = 0xFFF900FF; // red 6 away
    b.CheckingTransparent(0x00FF00FF);
    EXPECT_EQ(b.Pixel(0, 0), 0x007F007Fu);
    EXPECT_EQ(b.Pixel(1, 0), 0xFFF900FFu);
    EXPECT_TRUE(b.Transparent);

    b.SetAlpha(0x40, gui::Rect(2, 0, 9, 9));
    EXPECT_EQ(b.Pixel(2, 0) >> 24, 0x40u);
    EXPECT_EQ(b.Pixel(1, 0) >> 24, 0xFFu);
}

TEST(bsBitmap, DrawIntoBitmapCopiesBlendsOrKeys) {
    struct Case {
        bool alpha, keyed;
        TbsColor src, want;
    } cases[] = {
        {false, false, 0x10203040, 0x10203040},
        {true,  false, 0x00203040, 0xFF0000FF},
        {true,  false, 0xFF203040, 0xFF203040},
        {false, true,  0x107F007F, 0xFF0000FF},
        {false, true,  0x10203040, 0xFF203040},
    };
    for (const Case& c : cases) {
        TbsBitmap src, dst;
        FillBitmap(src, 2, 2, c.src);
        src.AlphaBlend = c.alpha, src.Transparent = c.keyed;
        FillBitmap(dst, 4, 4, 0xFF0000FF);
        src.Draw(dst, 1, 1);
        EXPECT_EQ(dst.Pixel(1, 1), c.want) << std::hex << c.src;
        EXPECT_EQ(dst.Pixel(0, 0), 0xFF0000FFu);
        EXPECT_EQ(dst.Pixel(3, 3), 0xFF0000FFu);
    }
}

TEST(bsBitmap, DrawThroughTheTargetsDcIsBitmapToBitmap) {
    TbsBitmap src, dst;
    FillBitmap(src, 2, 2, 0x80FFFFFF);
    src.AlphaBlend = true;
    FillBitmap(dst, 4, 4, 0xFF000000);
    SetWindowOrgEx(dst.DC(), -1, 0, nullptr); // logical 0 lands on column 1
    src.Draw(dst.DC(), 0, 0);
    SetWindowOrgEx(dst.DC(), 0, 0, nullptr);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.Pixel(1, 0), bsPixel.BlendPixel(0x80FFFFFF, 0xFF000000));

    // A bitmap drawn into itself through its own DC.
    TbsBitmap self;
    FillBitmap(self, 4, 1, 0xFF000001);
    self.Pixel(0, 0) = 0xFF0000AA;
    self.Draw(self.DC(), 2, 0, gui::Rect(0, 0, 1, 1));
    EXPECT_EQ(self.Pixel(2, 0), 0xFF0000AAu);
}

TEST(bsBitmap, StretchMapsNearestPixels) {
    TbsBitmap src, dst;
    src.SetSize(2, 1);
    src.Pixel(0, 0) = 0xFF000001, src.Pixel(1, 0) = 0xFF000002;
    FillBitmap(dst, 4, 1, 0);
    src.Draw(dst, gui::Rect(0, 0, 4, 1));
    // factor (2 - 1) / (4 - 1): columns 0, 0, 0, 1
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF000001u);
    EXPECT_EQ(dst.Pixel(2, 0), 0xFF000001u);
    EXPECT_EQ(dst.Pixel(3, 0), 0xFF000002u);
}

TEST(bsBitmap, TilesCutAtTheDestination) {
    TbsBitmap src, dst;
    src.SetSize(10, 1);
    for (int x = 0; x < 10; ++x) src.Pixel(x, 0) = 0xFF000000u | static_cast<TbsColor>(x);
    FillBitmap(dst, 30, 1, 0xFFFFFFFF);
    src.Tile(dst, gui::Rect(2, 0, 27, 1), gui::Rect(0, 0, 10, 1));
    for (int x = 0; x < 30; ++x) {
        TbsColor want = x < 2 || x >= 27 ? 0xFFFFFFFFu : 0xFF000000u | static_cast<TbsColor>((x - 2) % 10);
        EXPECT_EQ(dst.Pixel(x, 0), want) << x;
    }
    // A source without width has no step: nothing drawn, no endless loop.
    src.Tile(dst, gui::Rect(0, 0, 30, 1), gui::Rect(3, 0, 3, 1));
    src.Tile(dst, gui::Rect(0, 0, 30, 1), gui::Rect(5, 0, 3, 1));
    EXPECT_EQ(dst.Pixel(0, 0), 0xFFFFFFFFu);
}

TEST(bsBitmap, TileWritesStraightIntoABottomUpSection) {
    TbsBitmap src;
    FillBitmap(src, 3, 2, 0xFF112233);
    src.Pixel(0, 1) = 0xFF445566;
    gui::TBitmap target; // the class library's bitmaps are bottom-up sections
    target.SetPixelFormat(gui::pf32bit);
    target.SetSize(5, 4);
    src.Tile(target.Canvas(), gui::Rect(0, 0, 5, 4), gui::Rect(0, 0, 3, 2));
    EXPECT_EQ(enginetest::Rgb(target, 0, 1), 0x445566u);
    EXPECT_EQ(enginetest::Rgb(target, 3, 3), 0x445566u);
    EXPECT_EQ(enginetest::Rgb(target, 4, 2), 0x112233u);
}

TEST(bsBitmap, MergeDrawFillsOnlyWhatIsNotOpaque) {
    TbsBitmap front, back;
    FillBitmap(back, 3, 1, 0xFF00FF00);
    front.SetSize(3, 1);
    front.Pixel(0, 0) = 0xFF0000FF; // opaque: unchanged
    front.Pixel(1, 0) = 0x00123456; // transparent: the merged pixel exactly
    front.Pixel(2, 0) = 0x80FF0000; // translucent: blended in front
    front.MergeDraw(back, 0, 0, gui::Rect(0, 0, 3, 1));
    EXPECT_EQ(front.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(front.Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(front.Pixel(2, 0), bsPixel.BlendPixel(0x80FF0000, 0xFF00FF00));
}

TEST(bsBitmap, CanvasDrawingLandsInBitsWithAlphaZero) {
    TbsBitmap b;
    b.SetSize(20, 20);
    gui::TCanvas* c = b.Canvas();
    c->Brush()->SetColor(gui::clRed);
    c->FillRect(gui::Rect(2, 3, 6, 8));
    EXPECT_EQ(b.Pixel(2, 3), 0x00FF0000u);
    EXPECT_EQ(b.Pixel(6, 3), 0u);
    c->Font()->SetColor(gui::clRed);
    c->Brush()->SetStyle(gui::bsClear);
    c->TextOut(8, 2, "W");
    bool red = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 8; x < 20; ++x) red = red || (b.Pixel(x, y) & 0x00FF0000) != 0;
    EXPECT_TRUE(red);
    // The canvas follows a new size.
    b.SetSize(4, 4);
    c->Brush()->SetStyle(gui::bsSolid);
    b.Canvas()->FillRect(gui::Rect(0, 0, 1, 1));
    EXPECT_EQ(b.Pixel(0, 0), 0x00FF0000u);
}

TEST(bsBitmap, AssignFromTheClassLibrarysBitmaps) {
    auto img = enginetest::Distinct(4, 3);
    auto opaque = enginetest::BitmapOf(img); // 24 bits
    TbsBitmap b;
    b.Assign(opaque.get());
    ASSERT_EQ(b.Width(), 4);
    EXPECT_EQ(b.Pixel(3, 2), img.At(3, 2));
    EXPECT_FALSE(b.AlphaBlend);

    img.At(1, 1) = 0x80102030;
    img.hasAlpha = true;
    auto translucent = enginetest::BitmapOf(img); // 32 bits: alpha kept
    b.Assign(translucent.get());
    EXPECT_EQ(b.Pixel(1, 1), 0x80102030u);
    EXPECT_TRUE(b.AlphaBlend);

    TbsBitmap copy;
    b.Name = "n";
    copy.Assign(&b);
    EXPECT_EQ(copy.Pixel(1, 1), 0x80102030u);
    EXPECT_EQ(copy.Name, "n");
    EXPECT_TRUE(copy.AlphaBlend);

    gui::TBitmap back;
    back.Assign(&copy);
    EXPECT_EQ(back.Width(), 4);
    EXPECT_EQ(enginetest::Rgb(back, 3, 2), img.At(3, 2) & 0xFFFFFF);
}

TEST(bsBitmap, ReflectionsFadeAlphaDownward) {
    struct Case {
        void (TbsBitmap::*op)();
        int want[4];
    } cases[] = {
        {&TbsBitmap::Reflection,  {85, 42, 0, 0} },
        {&TbsBitmap::Reflection2, {63, 32, 0, 0} },
        {&TbsBitmap::Reflection3, {127, 64, 0, 0}}
    };
    for (const Case& c : cases) {
        TbsBitmap b;
        FillBitmap(b, 1, 4, 0xFF101010);
        (b.*c.op)();
        for (int y = 0; y < 4; ++y) EXPECT_EQ(static_cast<int>(b.Pixel(0, y) >> 24), c.want[y]) << y;
    }
}

TEST(bsBitmap, ColourChanges) {
    TbsBitmap b;
    b.SetSize(3, 1);
    b.Pixel(0, 0) = 0x80C8C8C8;
    b.Pixel(1, 0) = 0x00646464; // alpha 0: left alone
    b.ChangeBitmapBrightness(-300);
    EXPECT_EQ(b.Pixel(0, 0), 0x80000000u);
    EXPECT_EQ(b.Pixel(1, 0), 0x00646464u);

    // Saturation 250 / 255 (red 200 over 2) plus 10 wraps round to 5 / 255.
    b.Pixel(0, 0) = 0x40C80202;
    b.ChangeBitmapSat(10);
    EXPECT_EQ(b.Pixel(0, 0), 0x40676363u);

    b.Pixel(0, 0) = 0xFFFF0000;
    b.SetBitmapHue(85); // a third of the way round: green
    EXPECT_EQ(b.Pixel(0, 0), 0xFF00FF00u);
}

TEST(bsBitmap, StreamRoundTripAndFlippedRows) {
    TbsBitmap b;
    b.SetSize(2, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) b.Pixel(x, y) = 0x80000000u | static_cast<TbsColor>(y * 2 + x);
    b.Name = "图片";
    gui::TMemoryStream s;
    b.SaveToStream(s);
    s.SetPosition(0);
    TbsBitmap back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.Name, "图片");
    ASSERT_EQ(back.Height(), 3);
    EXPECT_EQ(back.Pixel(1, 2), b.Pixel(1, 2));

    // A negative height: rows stored bottom first.
    gui::TMemoryStream flipped;
    WriteStringToStream(flipped, "");
    int32_t size[2] = {1, -2};
    TbsColor rows[2] = {1, 2};
    flipped.WriteBuffer(size, 8);
    flipped.WriteBuffer(rows, 8);
    flipped.SetPosition(0);
    back.LoadFromStream(flipped);
    EXPECT_EQ(back.Pixel(0, 0), 2u);
    EXPECT_EQ(back.Pixel(0, 1), 1u);
}

TEST(bsBitmap, StreamLengthsAreBoundedByTheStream) {
    // A name or a picture larger than what follows is refused before anything is allocated.
    gui::TMemoryStream name;
    int32_t huge = 0x7FFFFFF0;
    name.WriteBuffer(&huge, 4);
    name.SetPosition(0);
    std::string s;
    EXPECT_THROW(ReadStringFromStream(name, s), gui::EReadError);

    gui::TMemoryStream picture;
    WriteStringToStream(picture, "x");
    int32_t size[2] = {60000, 60000};
    picture.WriteBuffer(size, 8);
    picture.SetPosition(0);
    TbsBitmap b;
    EXPECT_THROW(b.LoadFromStream(picture), gui::EReadError);
    EXPECT_TRUE(b.Empty());
}

namespace {

std::vector<uint8_t> Pcx(int w, int h, int version, bool rle, const std::vector<uint8_t>& data,
                         bool palette) {
    std::vector<uint8_t> f(128, 0);
    f[0] = 10, f[1] = static_cast<uint8_t>(version), f[2] = rle ? 1 : 0, f[3] = 8;
    f[8] = static_cast<uint8_t>(w - 1), f[10] = static_cast<uint8_t>(h - 1);
    f[65] = 1, f[66] = static_cast<uint8_t>(w);
    f.insert(f.end(), data.begin(), data.end());
    if (palette) {
        f.push_back(12);
        for (int i = 0; i < 256; ++i)
            f.insert(f.end(), {static_cast<uint8_t>(i), 0, static_cast<uint8_t>(255 - i)});
    }
    return f;
}

void LoadPcx(TbsBitmap& b, const std::vector<uint8_t>& bytes) {
    gui::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    b.LoadFromPcxStream(s);
}

} // namespace

TEST(bsBitmap, PcxRunLengthDataIsBoundedByTheStream) {
    TbsBitmap b;
    // Runs: 3 x index 7, then index 2 alone; the 16-colour palette of version 3.
    LoadPcx(b, Pcx(2, 2, 3, true, {0xC3, 7, 2}, false));
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Pixel(0, 0), 0xFFC0C0C0u);
    EXPECT_EQ(b.Pixel(0, 1), 0xFFC0C0C0u);
    EXPECT_EQ(b.Pixel(1, 1), 0xFF008000u);

    // Runs that stop short and end on a lone run byte: the rest is index 0.
    TbsBitmap c;
    LoadPcx(c, Pcx(4, 2, 3, true, {0xC2, 9, 0xC1}, false));
    ASSERT_EQ(c.Width(), 4);
    EXPECT_EQ(c.Pixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(c.Pixel(2, 0), 0xFF000000u);
    EXPECT_EQ(c.Pixel(3, 1), 0xFF000000u);
    // 256 colours from the palette at the end.
    LoadPcx(c, Pcx(2, 1, 5, true, {0xC2, 9}, true));
    EXPECT_EQ(c.Pixel(1, 0), 0xFF0900F6u);

    TbsBitmap d;
    LoadPcx(d, {1, 2, 3}); // no header
    auto other = Pcx(2, 2, 5, false, {1, 2, 3, 4}, false);
    LoadPcx(d, other); // no room for the palette
    other[0] = 11;
    LoadPcx(d, other);
    EXPECT_TRUE(d.Empty());
}

TEST(bsBitmapLink, RectFromTextDrawAndMasks) {
    TbsBitmap b;
    FillBitmap(b, 4, 4, 0xFFFFFFFF);
    b.Name = "strip";
    auto link = b.GetBitmapLink(std::string("1,2,x,4"));
    EXPECT_EQ(link->Rect, gui::TRect{});
    EXPECT_FALSE(link->Assigned());
    link = b.GetBitmapLink(std::string("1, 1, 3, 3"));
    EXPECT_EQ(link->Rect, gui::Rect(1, 1, 3, 3));
    EXPECT_EQ(link->Name, "strip");

    TbsBitmap target;
    FillBitmap(target, 2, 2, 0);
    TbsBitmapLink empty;
    empty.Image = &b;
    empty.Rect = gui::Rect(1, 1, 1, 3);
    empty.Draw(target, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), 0u);
    link->Draw(target, 0, 0);
    EXPECT_EQ(target.Pixel(1, 1), 0xFFFFFFFFu);

    link->CheckingMasked();
    EXPECT_FALSE(link->Masked || link->MaskedBorder || link->MaskedAngles);
    b.Pixel(2, 2) = 0xFEFFFFFF;
    link->CheckingMasked();
    EXPECT_TRUE(link->Masked);
    // With a margin of 1 all round, (1, 1) of the link is its bottom-right corner.
    link->CheckingMasked(gui::Rect(1, 1, 1, 1));
    EXPECT_TRUE(link->MaskedAngles);
    EXPECT_FALSE(link->Masked || link->MaskedBorder);

    gui::TMemoryStream s;
    link->SaveToStream(s);
    s.SetPosition(0);
    TbsBitmapLink back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.Rect, link->Rect);
    EXPECT_EQ(back.Name, "strip");
}

TEST(bsBitmap, TranslucentAndKeyedDrawingOntoAnyDc) {
    InitSkinEngine();
    struct Case {
        bool alpha, keyed;
        TbsColor src;
        uint32_t want; // RGB on a white bitmap
    } cases[] = {
        {true, false, 0x80000000, bsPixel.BlendPixel(0x80000000, 0xFFFFFFFF) & 0xFFFFFF},
        {false,    true,     0xFF7F007F,        0xFFFFFF                      },
        {false,    true,     0xFF102030,        0x102030},
        {false,    false,     0xFF102030,       0x102030                     },
    };
    for (const Case& c : cases) {
        TbsBitmap src;
        FillBitmap(src, 2, 2, c.src);
        src.AlphaBlend = c.alpha, src.Transparent = c.keyed;
        gui::TBitmap target;
        target.SetSize(4, 4);
        target.Canvas()->Brush()->SetColor(gui::clWhite);
        target.Canvas()->FillRect(gui::Rect(0, 0, 4, 4));
        src.Draw(target.Canvas(), 1, 1);
        EXPECT_EQ(enginetest::Rgb(target, 1, 1), c.want) << std::hex << c.src;
        EXPECT_EQ(enginetest::Rgb(target, 0, 0), 0xFFFFFFu);
    }
}
