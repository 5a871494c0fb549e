#include "skin/engine/NinePart.h"
#include "EngineFixtures.h"
#include "gdi/Objects.h"
#include "gdi/Region.h"
#include "skin/engine/MaskRegion.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace skin;
using enginetest::BitmapOf;
using enginetest::Distinct;
using enginetest::ImageOf;

namespace {

// A skin rectangle's geometry and the moved geometry at a new size, by the callers' rule.
struct Geo {
    TPoint LT, RT, LB, RB;
    TRect CR, SR;
    TPoint NLT, NRT, NLB, NRB;
    TRect NCR;
    int W, H;

    Geo(TPoint lt, TPoint rt, TPoint lb, TPoint rb, TRect cr, TRect sr, int w, int h)
        : LT(lt), RT(rt), LB(lb), RB(rb), CR(cr), SR(sr), W(w), H(h) {
        int dw = w - sr.Width(), dh = h - sr.Height();
        NLT = LT, NRT = {RT.X + dw, RT.Y}, NLB = {LB.X, LB.Y + dh}, NRB = {RB.X + dw, RB.Y + dh};
        NCR = {CR.Left, CR.Top, CR.Right + dw, CR.Bottom + dh};
    }
    gdi::image::Image Build(gui::TBitmap* picture, bool ls, bool ts, bool rs, bool bs, bool effect,
                            TbsStretchType type, bool header = false) const {
        gui::TBitmap target;
        (header ? BuildNinePartHeaderImage : BuildNinePartImage)(LT, RT, LB, RB, CR, NLT, NRT, NLB, NRB, NCR,
                                                                 &target, picture, SR, W, H, true, ls, ts, rs,
                                                                 bs, effect, type);
        EXPECT_EQ(target.Width(), W);
        return ImageOf(target);
    }
};

uint32_t Px(const gdi::image::Image& img, int x, int y) {
    return img.At(x, y) & 0xFFFFFF;
}

} // namespace

TEST(NinePart, AtTheSkinSizeEveryFlagReproducesTheSource) {
    auto src = Distinct(40, 30);
    auto picture = BitmapOf(src);
    Geo g({6, 5}, {18, 5}, {6, 13}, {18, 13}, {4, 3, 20, 15}, {5, 4, 29, 22}, 24, 18);
    for (int flags = 0; flags < 64; ++flags) {
        auto type = static_cast<TbsStretchType>(flags >> 5 ? (flags & 1) + 1 : 0);
        auto img = g.Build(picture.get(), flags & 1, flags & 2, flags & 4, flags & 8, flags & 16, type);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 24; ++x)
                ASSERT_EQ(Px(img, x, y), src.At(x + 5, y + 4) & 0xFFFFFF)
                    << "flags " << flags << " at " << x << "," << y;
    }
}

TEST(NinePart, TiledEdgesRepeatFromTheMovedCorner) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    TRect sr{0, 0, 30, 10}, cr{5, 3, 25, 7};
    struct Case {
        int span;                             // the target span of the top edge
        std::vector<std::pair<int, int>> map; // target x -> source x on row 0
    } cases[] = {
        {25, {{5, 5}, {14, 14}, {15, 5}, {25, 5}, {29, 9}}}, // pieces of 10, 10 and 5
        {30, {{5, 5}, {24, 14}, {25, 5}, {34, 14}}        }, // 10, 10, 10 and an empty fourth
    };
    for (const Case& c : cases) {
        Geo g({5, 3}, {15, 3}, {5, 7}, {25, 7}, cr, sr, 30 + c.span - 10, 10);
        auto img = g.Build(picture.get(), false, false, false, false, true, TbsStretchType::bsstFull);
        for (auto [x, sx] : c.map) EXPECT_EQ(Px(img, x, 0), src.At(sx, 0) & 0xFFFFFF) << c.span << ": " << x;
        // The top-right corner follows the tiles.
        EXPECT_EQ(Px(img, 5 + c.span, 0), src.At(15, 0) & 0xFFFFFF);
    }
}

TEST(NinePart, HorizontalClientRepeatsTheScaledPieceCutAtTheClient) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    Geo g({5, 3}, {25, 3}, {5, 7}, {25, 7}, {5, 3, 25, 7}, {0, 0, 30, 10}, 60, 10);
    auto img = g.Build(picture.get(), true, true, true, true, true, TbsStretchType::bsstHorz);
    for (int k : {0, 20, 40}) {
        for (int i : {0, 9}) {
            if (5 + k + i < 55) {
                EXPECT_EQ(Px(img, 5 + k + i, 4), src.At(5 + i, 4) & 0xFFFFFF) << k + i;
            }
        }
    }
    EXPECT_EQ(Px(img, 54, 4), src.At(14, 4) & 0xFFFFFF);
    EXPECT_EQ(Px(img, 55, 4), src.At(25, 4) & 0xFFFFFF); // the right edge, not the client
}

TEST(NinePart, CornersDrawnLastWinWhenTheyOverlap) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    Geo g({5, 3}, {15, 3}, {5, 7}, {25, 7}, {5, 3, 25, 7}, {0, 0, 30, 10}, 12, 10);
    auto img = g.Build(picture.get(), false, false, false, false, false, TbsStretchType::bsstFull);
    EXPECT_EQ(Px(img, 0, 0), src.At(18, 0) & 0xFFFFFF); // the top-right piece starts at x = -3
}

TEST(NinePart, PiecesWithoutLengthDrawNothingAndSourcesAreCut) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    // Zero-length top edge, empty client: tiled, they have no step.
    Geo flat({5, 3}, {5, 3}, {5, 7}, {25, 7}, {5, 3, 5, 3}, {0, 0, 30, 10}, 50, 20);
    auto img = flat.Build(picture.get(), false, false, false, false, false, TbsStretchType::bsstFull);
    EXPECT_EQ(Px(img, 20, 0), 0u);
    // A skin rectangle running past the picture: what lies inside is copied, the rest is not.
    Geo past({2, 2}, {8, 2}, {2, 8}, {8, 8}, {2, 2, 8, 8}, {20, 0, 40, 10}, 20, 10);
    auto cut = past.Build(picture.get(), true, true, true, true, true, TbsStretchType::bsstFull);
    EXPECT_EQ(Px(cut, 0, 0), src.At(20, 0) & 0xFFFFFF);
    EXPECT_EQ(Px(cut, 9, 9), src.At(29, 9) & 0xFFFFFF);
    EXPECT_EQ(Px(cut, 15, 0), 0u);
}

TEST(NinePart, HeaderImageRunsOnToTheRightEdge) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    Geo g({5, 3}, {15, 3}, {5, 7}, {25, 7}, {5, 3, 25, 7}, {0, 0, 30, 10}, 45, 10);
    auto img = g.Build(picture.get(), false, false, false, false, false, TbsStretchType::bsstFull, true);
    EXPECT_EQ(Px(img, 44, 0), src.At(5 + (44 - 5) % 10, 0) & 0xFFFFFF); // no right corner
    EXPECT_EQ(Px(img, 44, 4), src.At(5 + (44 - 5) % 20, 4) & 0xFFFFFF); // client to the edge
}

TEST(NinePart, ClientRectNineSliceKeepsCornersAndBorders) {
    auto src = Distinct(20, 20);
    auto picture = BitmapOf(src);
    gui::TBitmap target;
    target.SetSize(47, 31);
    BuildImageByClientRect(&target, picture.get(), {0, 0, 20, 20}, {3, 3, 17, 17}, true);
    auto img = ImageOf(target);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(Px(img, i, j), src.At(i, j) & 0xFFFFFF);
            EXPECT_EQ(Px(img, 44 + i, 28 + j), src.At(17 + i, 17 + j) & 0xFFFFFF);
        }
    for (int x : {3, 20, 43})
        EXPECT_EQ((img.At(x, 1) >> 16) & 0xFF, 1u) << x; // top border rows stay rows 0..2
    for (int y : {3, 15, 27}) EXPECT_EQ((img.At(45, y) >> 8) & 0xFF, 18u) << y;
}

TEST(NinePart, ThreePartImages) {
    auto src = Distinct(20, 4);
    auto picture = BitmapOf(src);
    gui::TBitmap t;
    BuildHorzThreePartImage(4, 5, &t, picture.get(), {0, 0, 20, 4}, 37, 99, false);
    auto img = ImageOf(t);
    ASSERT_EQ(t.Width(), 37);
    ASSERT_EQ(t.Height(), 4);
    EXPECT_EQ(Px(img, 3, 1), src.At(3, 1) & 0xFFFFFF);
    EXPECT_EQ(Px(img, 31, 1), src.At(4 + (31 - 4) % 11, 1) & 0xFFFFFF); // pieces of 11, 11, 6
    EXPECT_EQ(Px(img, 32, 1), src.At(15, 1) & 0xFFFFFF);
    BuildHorzLeftCapImage(4, 5, &t, picture.get(), {0, 0, 20, 4}, 37, 99, false);
    EXPECT_EQ(Px(ImageOf(t), 36, 0), src.At(4 + (36 - 4) % 11, 0) & 0xFFFFFF);
    BuildHorzMiddleImage(4, 5, &t, picture.get(), {0, 0, 20, 4}, 37, 99, true);
    EXPECT_EQ(Px(ImageOf(t), 0, 0), src.At(4, 0) & 0xFFFFFF);
    EXPECT_EQ(Px(ImageOf(t), 36, 0), src.At(14, 0) & 0xFFFFFF);
    // A middle without width repeats nothing (and does not hang).
    gui::TBitmap empty;
    BuildHorzThreePartImage(10, 10, &empty, picture.get(), {0, 0, 20, 4}, 50, 4, false);
    EXPECT_EQ(Px(ImageOf(empty), 20, 0), 0u);
    EXPECT_EQ(Px(ImageOf(empty), 45, 0), src.At(15, 0) & 0xFFFFFF);

    auto tall = Distinct(3, 10);
    auto tallPicture = BitmapOf(tall);
    BuildVertThreePartImage(2, 3, &t, tallPicture.get(), {0, 0, 3, 10}, 0, 16, false);
    img = ImageOf(t);
    ASSERT_EQ(t.Height(), 16);
    EXPECT_EQ(Px(img, 1, 9), tall.At(1, 2 + (9 - 2) % 5) & 0xFFFFFF);
    EXPECT_EQ(Px(img, 1, 15), tall.At(1, 9) & 0xFFFFFF);
    BuildVertThreePartImage(5, 5, &t, tallPicture.get(), {0, 0, 3, 10}, 0, 30, false);
}

TEST(NinePart, BorderStripsTileFromTheStripsLeftEdge) {
    auto src = Distinct(30, 10);
    auto picture = BitmapOf(src);
    Geo g({5, 3}, {15, 3}, {5, 7}, {25, 7}, {5, 3, 25, 7}, {0, 0, 30, 10}, 47, 14);
    gui::TBitmap left, top, right, bottom;
    BuildBorderImages(g.LT, g.RT, g.LB, g.RB, g.CR, g.NLT, g.NRT, g.NLB, g.NRB, g.NCR, &left, &top, &right,
                      &bottom, picture.get(), g.SR, g.W, g.H, false, false, false, false);
    ASSERT_EQ(top.Width(), 47);
    ASSERT_EQ(top.Height(), 3);
    EXPECT_EQ(Px(ImageOf(top), 5, 0), src.At(5 + 5 % 10, 0) & 0xFFFFFF); // phase NLT.X mod 10
    EXPECT_EQ(Px(ImageOf(top), 4, 0), src.At(4, 0) & 0xFFFFFF);
    EXPECT_EQ(bottom.Height(), 3);
    EXPECT_EQ(left.Width(), 5);
    EXPECT_EQ(left.Height(), 14 - 6);
    EXPECT_EQ(right.Width(), 5);
}

TEST(MaskRegion, RunsPerRowAndTheBlockLayout) {
    gdi::image::Image m;
    m.Reset(10, 3, 0xFFFFFFFF);
    m.At(0, 0) = 0xFF000001; // (0, 0, 1) is not black
    for (int x : {2, 3, 4, 7}) m.At(x, 1) = 0xFF000000;
    auto mask = BitmapOf(m);
    std::vector<uint8_t> block;
    uint32_t size = MaskToRegionRects(mask.get(), 100, 50, block);
    ASSERT_EQ(size, 32u + 2 * 16u);
    RGNDATAHEADER h;
    std::memcpy(&h, block.data(), sizeof h);
    EXPECT_EQ(h.dwSize, 32u);
    EXPECT_EQ(h.iType, 1u);
    EXPECT_EQ(h.nCount, 2u);
    EXPECT_EQ(h.rcBound, (RECT{100, 50, 110, 53}));
    RECT r[2];
    std::memcpy(r, block.data() + 32, sizeof r);
    EXPECT_EQ(r[0], (RECT{102, 51, 105, 52}));
    EXPECT_EQ(r[1], (RECT{107, 51, 108, 52}));

    gui::TBitmap none;
    EXPECT_EQ(MaskToRegionRects(&none, 0, 0, block), 0u);
    EXPECT_TRUE(block.empty());
    EXPECT_EQ(CreateMaskRegion(&none), nullptr);
}

TEST(MaskRegion, NoFixedLimitOnRuns) {
    gdi::image::Image m;
    m.Reset(20010, 1, 0xFFFFFFFF);
    for (int x = 0; x < 20010; x += 2) m.At(x, 0) = 0xFF000000;
    auto mask = BitmapOf(m);
    HRGN rgn = CreateMaskRegion(mask.get());
    ASSERT_NE(rgn, nullptr);
    EXPECT_TRUE(PtInRegion(rgn, 20008, 0));
    EXPECT_FALSE(PtInRegion(rgn, 20009, 0));
    DeleteObject(rgn);
}

TEST(MaskRegion, NinePartMaskAtANewSize) {
    // A 20 x 10 mask: black but for the 2 x 2 top-left corner.
    gdi::image::Image m;
    m.Reset(20, 10, 0xFF000000);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) m.At(x, y) = 0xFFFFFFFF;
    auto mask = BitmapOf(m);
    Geo g({4, 3}, {16, 3}, {4, 7}, {16, 7}, {4, 3, 16, 7}, {0, 0, 20, 10}, 50, 30);
    HRGN rgn = CreateNinePartMaskRegion(g.LT, g.RT, g.LB, g.RB, g.CR, g.NLT, g.NRT, g.NLB, g.NRB, g.NCR,
                                        mask.get(), g.W, g.H);
    ASSERT_NE(rgn, nullptr);
    EXPECT_FALSE(PtInRegion(rgn, 1, 1));
    EXPECT_TRUE(PtInRegion(rgn, 2, 0));
    EXPECT_TRUE(PtInRegion(rgn, 25, 15)); // the client
    EXPECT_TRUE(PtInRegion(rgn, 49, 29));
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box, (RECT{0, 0, 50, 30}));
    DeleteObject(rgn);

    // Narrower than the corners: no region, the window stays rectangular.
    Geo narrow({4, 3}, {16, 3}, {4, 7}, {16, 7}, {4, 3, 16, 7}, {0, 0, 20, 10}, 7, 30);
    EXPECT_EQ(CreateNinePartMaskRegion(narrow.LT, narrow.RT, narrow.LB, narrow.RB, narrow.CR, narrow.NLT,
                                       narrow.NRT, narrow.NLB, narrow.NRB, narrow.NCR, mask.get(), narrow.W,
                                       narrow.H),
              nullptr);
}
