#include "skin/engine/EffectBmp.h"
#include "gdi/image/Image.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

// A one-row picture whose pixel x is grey x * step (or a given colour for every pixel).
std::unique_ptr<TbsEffectBmp> Row(int w, int h, uint32_t base, uint32_t step) {
    auto e = std::make_unique<TbsEffectBmp>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) e->SetPixel(x, y, base + step * static_cast<uint32_t>(x));
    return e;
}

uint8_t Red(const TbsEffectBmp& e, int x, int y) {
    return static_cast<uint8_t>(e.GetPixel(x, y) >> 16);
}

} // namespace

TEST(bsEffectBmp, LayoutPadsRowsToFourBytes) {
    TbsEffectBmp e(5, 2);
    EXPECT_EQ(e.RowSize(), 16);
    EXPECT_EQ(e.Size, 32);
    e.SetPixel(4, 1, 0x102030);
    EXPECT_EQ(e.Bits[16 + 12], 0x30);
    EXPECT_EQ(e.Bits[16 + 14], 0x10);
}

TEST(bsEffectBmp, MorphMixesAndRoundsHalvesToEven) {
    struct Case {
        double kf;
        uint32_t want;
    } cases[] = {
        {0,         0x000000},
        {1,         0xFFFFFF},
        {0.5,       0x808080},
        {-3,        0x000000},
        {0.0 / 0.0, 0x000000}
    };
    for (const Case& c : cases) {
        TbsEffectBmp a(2, 1), b(2, 1);
        b.SetPixel(0, 0, 0xFFFFFF);
        a.Morph(b, c.kf);
        EXPECT_EQ(a.GetPixel(0, 0), c.want) << c.kf;
    }
    TbsEffectBmp a(2, 1), other(3, 1);
    other.SetPixel(0, 0, 0xFFFFFF);
    a.Morph(other, 1);
    EXPECT_EQ(a.GetPixel(0, 0), 0u);
}

TEST(bsEffectBmp, SlidesPushesAndGradients) {
    const uint32_t O = 0x000000, N = 0x010000; // old pictures are black, new ones red per column
    auto fresh = [] { return Row(10, 1, 0, 0); };
    auto next = [=] { return Row(10, 1, N, N); }; // red x + 1 at column x
    {
        auto a = fresh();
        auto b = next();
        a->MorphLeftGrad(*b, 0);
        EXPECT_EQ(Red(*a, 0, 0), 1); // the new picture
        EXPECT_EQ(a->GetPixel(1, 0), O);
    }
    {
        auto a = Row(10, 1, 0x500000, 0x010000); // old red 80 + x
        auto b = next();
        a->MorphPush(*b, 0);
        EXPECT_EQ(Red(*a, 0, 0), 10); // the new picture's last column
        EXPECT_EQ(Red(*a, 1, 0), 80); // the old one moved right by one
        EXPECT_EQ(Red(*a, 9, 0), 88);
    }
    {
        auto a = fresh();
        auto b = next();
        a->MorphLeftSlide(*b, 1);
        for (int x = 0; x < 9; ++x) EXPECT_EQ(Red(*a, x, 0), x + 2) << x;
        EXPECT_EQ(a->GetPixel(9, 0), O);
    }
    {
        auto a = fresh();
        auto b = next();
        a->MorphRightSlide(*b, 0.3);
        EXPECT_EQ(Red(*a, 7, 0), 1);
        EXPECT_EQ(a->GetPixel(6, 0), O);
    }
    {
        // A centred band of the new picture with soft edges; width below height goes vertical.
        auto a = Row(10, 1, 0, 0);
        auto b = Row(10, 1, 0xFF0000, 0);
        a->MorphGrad(*b, 0.2);
        EXPECT_EQ(Red(*a, 4, 0), 255);
        EXPECT_EQ(Red(*a, 5, 0), 255);
        EXPECT_EQ(Red(*a, 6, 0), 255);
        EXPECT_EQ(Red(*a, 3, 0), 191); // one step of 1 / 4 into the old picture
        EXPECT_EQ(Red(*a, 0, 0), 0);
    }
}

TEST(bsEffectBmp, ChannelEffects) {
    struct Case {
        void (*op)(TbsEffectBmp&);
        uint32_t in, want;
    } cases[] = {
        {[](TbsEffectBmp& e) { e.ChangeBrightness(0.5); },                           0x00FF00, 0x80FF80},
        {[](TbsEffectBmp& e) { e.ChangeDarkness(0.3); },                             0x0A0B64, 0x070846},
        {[](TbsEffectBmp& e) { e.GrayScale(); },                                     0xFF0000, 0x4C4C4C},
        {[](TbsEffectBmp& e) { e.Invert(); },                                        0x00FF10, 0xFF00EF},
        {[](TbsEffectBmp& e) { e.InActiveEffect(TbsInActiveEffect::ieBrightness); }, 0x000000, 0x808080},
        {[](TbsEffectBmp& e) { e.Wave(0, 3, 5); },                                   0x123456, 0x123456},
        {[](TbsEffectBmp& e) { e.MaskFillColor(e, gui::clRed, 0.5); },               0x0000FF, 0x800080},
    };
    for (const Case& c : cases) {
        TbsEffectBmp e(1, 1);
        e.SetPixel(0, 0, c.in);
        c.op(e);
        EXPECT_EQ(e.GetPixel(0, 0), c.want) << std::hex << c.in;
    }
}

TEST(bsEffectBmp, SplitBlurTakesRowOneBelowTheBottomRow) {
    // Rows 0, 1, 2 red 0, 100, 200; the bottom row's lower row is Height - y = 1.
    TbsEffectBmp e(2, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x) e.SetPixel(x, y, static_cast<uint32_t>(y * 100) << 16);
    e.SplitBlur(1);
    // row 0: upper 0 itself, lower 1 -> (0 + 100) * 2 / 4 = 50
    EXPECT_EQ(Red(e, 0, 0), 50);
    // row 2 reads row 1 already blurred: (row1' + row1') / 2
    int row1 = Red(e, 0, 1);
    EXPECT_EQ(Red(e, 0, 2), row1);
}

TEST(bsEffectBmp, BlursStayInsideNarrowStrips) {
    // Strips one pixel wide or high are ordinary skin data; neighbours stay inside them.
    for (auto [w, h] : {
             std::pair{1, 4},
             {4, 1},
             {1, 1}
    }) {
        TbsEffectBmp e(w, h), mask(w, h);
        e.SetPixel(0, 0, 0x646464);
        e.SplitBlur(1);
        e.SplitBlur(3);
        e.MaskBlur(mask, 2);
        mask.SetPixel(w - 1, h - 1, 0xFFFFFF);
        e.MaskAntialiasing(mask, 1);
        EXPECT_LE(Red(e, 0, 0), 0x64) << w << "x" << h;
    }
}

TEST(bsEffectBmp, MaskOperationsLeaveWhiteMaskPixelsAlone) {
    TbsEffectBmp e(3, 1), mask(3, 1), small(3, 0);
    for (int x = 0; x < 3; ++x) e.SetPixel(x, 0, 0x101010u * static_cast<uint32_t>(x * 4));
    mask.SetPixel(0, 0, 0xFFFFFF);
    auto before = TbsEffectBmp::CreateCopy(e);
    e.MaskFillColor(small, gui::clWhite, 1); // the mask is too small: nothing
    EXPECT_EQ(e.GetPixel(2, 0), before->GetPixel(2, 0));
    e.MaskFillColor(mask, gui::clWhite, 1);
    EXPECT_EQ(e.GetPixel(0, 0), before->GetPixel(0, 0));
    EXPECT_EQ(e.GetPixel(1, 0), 0xFFFFFFu);
    // Antialiasing only touches pixels beside a white mask pixel.
    TbsEffectBmp f(4, 1), edge(4, 1);
    const uint32_t reds[4] = {0x80, 0x40, 0x20, 0x40};
    for (int x = 0; x < 4; ++x) f.SetPixel(x, 0, reds[x] << 16);
    edge.SetPixel(0, 0, 0xFFFFFF);
    f.MaskAntialiasing(edge, 1);
    EXPECT_EQ(Red(f, 0, 0), 0x80); // white mask: kept
    EXPECT_EQ(Red(f, 1, 0), 0x50); // beside white: (0x80 + 0x80 + 0x20 + 0x20) / 4
    EXPECT_EQ(Red(f, 2, 0), 0x20);
    EXPECT_EQ(Red(f, 3, 0), 0x40);
}

TEST(bsEffectBmp, RotationsAndFlip) {
    auto src = std::make_unique<TbsEffectBmp>(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) src->SetPixel(x, y, static_cast<uint32_t>(y * 4 + x + 1));
    TbsEffectBmp ccw(2, 4), cw(2, 4), flip(4, 2), wrong(3, 3);
    src->Rotate90_1(ccw);
    EXPECT_EQ(ccw.GetPixel(0, 0), 4u); // the source's top-right
    EXPECT_EQ(ccw.GetPixel(1, 3), 5u);
    src->Rotate90_2(cw);
    EXPECT_EQ(cw.GetPixel(0, 0), 5u);
    EXPECT_EQ(cw.GetPixel(1, 0), 1u);
    src->FlipVert(flip);
    EXPECT_EQ(flip.GetPixel(0, 0), 5u);
    src->Rotate90_1(wrong);
    EXPECT_EQ(wrong.GetPixel(0, 0), 0u);
}

TEST(bsEffectBmp, FromABitmapAndBackOntoADc) {
    gdi::image::Image img;
    img.Reset(3, 2);
    img.At(2, 1) = 0xFF123456;
    gui::TBitmap b;
    b.FromImage(img);
    auto e = TbsEffectBmp::CreateFromhWnd(b.Handle());
    ASSERT_EQ(e->Width, 3);
    EXPECT_EQ(e->GetPixel(2, 1), 0x123456u);
    e->SetPixel(0, 0, 0xABCDEF);
    gui::TBitmap out;
    out.SetSize(3, 2);
    e->Draw(out.Canvas()->Handle(), 0, 0);
    gdi::image::Image back;
    out.ToImage(back);
    EXPECT_EQ(back.At(0, 0) & 0xFFFFFF, 0xABCDEFu);
    EXPECT_EQ(back.At(2, 1) & 0xFFFFFF, 0x123456u);
}
