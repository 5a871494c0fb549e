#include "skin/engine/DrawUtils.h"
#include "EngineFixtures.h"
#include "gdi/DcText.h"
#include "gui/Streams.h"
#include "skin/engine/SkinBitmap.h"

#include <gtest/gtest.h>
#include <set>

using namespace skin;
using enginetest::FillBitmap;

namespace {

// A white canvas of its own; Set() lists the pixels that are no longer white.
struct Paper {
    TbsBitmap b;
    explicit Paper(int w = 40, int h = 40) { FillBitmap(b, w, h, 0xFFFFFFFF); }
    gui::TCanvas* C() { return b.Canvas(); }
    std::set<std::pair<int, int>> Set() {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if ((b.Pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) s.insert({x, y});
        return s;
    }
};

} // namespace

TEST(DrawUtils, TrimmingToAWidthKeepsWhatFitsWithDots) {
    Paper p;
    p.C()->Font()->SetName("DejaVu Sans Mono");
    p.C()->Font()->SetHeight(-12);
    std::string word = "abcdefgh";
    int three = p.C()->TextWidth("abc...");
    std::string s = word;
    TrimTextToWidth(p.C(), s, three);
    EXPECT_EQ(s, "abc...");
    s = word;
    TrimTextToWidth(p.C(), s, 0);
    EXPECT_EQ(s, "...");
    s = word;
    TrimTextToWidth(p.C(), s, 1000);
    EXPECT_EQ(s, word);
    s = "转换器转换器";
    TrimWideTextToWidth(p.C(), s, WideTextWidth(p.C(), "转换..."));
    EXPECT_EQ(s, "转换...");
}

TEST(DrawUtils, ImageAndTextLayout) {
    struct Case {
        TbsButtonLayout layout;
        int margin, gw, tw;
        TbsImageTextPlace want;
    } cases[] = {
        {TbsButtonLayout::blGlyphLeft,  -1, 16, 40, {40, 4, 20, 2}  },
        {TbsButtonLayout::blGlyphLeft,  5,  16, 40, {25, 4, 5, 2}   },
        {TbsButtonLayout::blGlyphRight, 5,  16, 40, {35, 4, 79, 2}  },
        {TbsButtonLayout::blGlyphLeft,  -1, 0,  40, {30, 4, 30, 10} }, // no glyph: spacing ignored
        {TbsButtonLayout::blGlyphTop,   -1, 16, 40, {30, 13, 42, -6}},
    };
    for (const Case& c : cases) {
        TbsImageTextPlace p = CalcImageTextLayout(c.layout, gui::Rect(0, 0, 100, 20), c.gw, c.gw ? 16 : 0,
                                                  c.tw, 13, 4, c.margin);
        EXPECT_EQ(p.TextX, c.want.TextX) << static_cast<int>(c.layout) << " " << c.margin;
        EXPECT_EQ(p.TextY, c.want.TextY) << static_cast<int>(c.layout) << " " << c.margin;
        EXPECT_EQ(p.GlyphX, c.want.GlyphX) << static_cast<int>(c.layout) << " " << c.margin;
        EXPECT_EQ(p.GlyphY, c.want.GlyphY) << static_cast<int>(c.layout) << " " << c.margin;
    }
}

TEST(DrawUtils, RectanglesAndPoints) {
    EXPECT_TRUE(IsPointInRect(gui::Rect(0, 0, 10, 10), {10, 10}));
    EXPECT_FALSE(IsPointInRect(gui::Rect(0, 0, 10, 10), {11, 10}));
    EXPECT_FALSE(IsRectInRect(gui::Rect(0, 0, 10, 10), gui::Rect(0, 0, 10, 10)));
    EXPECT_TRUE(IsRectInRect(gui::Rect(1, 1, 9, 9), gui::Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectsOverlapVert(gui::Rect(0, 5, 10, 20), gui::Rect(0, 0, 10, 10)));
    EXPECT_FALSE(RectsOverlapVert(gui::Rect(0, 10, 10, 20), gui::Rect(0, 0, 10, 10)));
    EXPECT_TRUE(RectIsEmpty(gui::Rect(5, 0, 5, 10)));
    EXPECT_TRUE(PointHasZeroCoord({0, 4}));
    gui::TRect r = gui::Rect(1, 2, 3, 4);
    ClearRect(r);
    EXPECT_TRUE(SameRect(r, gui::TRect{}));
}

TEST(DrawUtils, DottedFocusFrameAlternatesAroundTheOutline) {
    Paper p(8, 8);
    p.C()->Font()->SetColor(gui::clBlack);
    DrawDottedFocusRect(p.C(), gui::Rect(0, 0, 5, 5));
    auto set = p.Set();
    EXPECT_FALSE(set.count({0, 0})); // a 4 x 4 outline: both even, the first pixel stays unset
    EXPECT_TRUE(set.count({1, 0}));
    EXPECT_TRUE(set.count({3, 0}));
    EXPECT_FALSE(set.count({2, 0}));
    EXPECT_FALSE(set.count({2, 2})); // nothing inside
    EXPECT_FALSE(set.count({5, 0})); // nothing outside
    Paper q(8, 8);
    q.C()->Font()->SetColor(gui::clBlack);
    DrawDottedFocusRect(q.C(), gui::Rect(0, 0, 6, 5));
    EXPECT_TRUE(q.Set().count({0, 0}));
}

TEST(DrawUtils, GlyphsPaintTheirPixels) {
    struct Case {
        const char* name;
        std::function<void(gui::TCanvas*)> draw;
        std::set<std::pair<int, int>> want;
    } cases[] = {
        {"drop-down arrow",
         [](gui::TCanvas* c) { DrawDropDownArrow(c, gui::Rect(0, 0, 10, 10), gui::clBlack); },
         {{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {4, 6}, {5, 6}, {6, 6}, {5, 7}}                              },
        {"left arrow",
         [](gui::TCanvas* c) { DrawArrow(c, gui::Rect(0, 0, 10, 10), gui::clBlack, 1); },
         {{3, 5},
          {4, 4},
          {4, 5},
          {4, 6},
          {5, 3},
          {5, 4},
          {5, 5},
          {5, 6},
          {5, 7},
          {6, 2},
          {6, 3},
          {6, 4},
          {6, 5},
          {6, 6},
          {6, 7},
          {6, 8}}                                                                                              },
        {"no direction",    [](gui::TCanvas* c) { DrawArrow(c, gui::Rect(0, 0, 10, 10), gui::clBlack, 7); }, {}},
        {"minimize",
         [](gui::TCanvas* c) { DrawMinimizeGlyph(c, 0, 0, gui::clBlack); },
         {{1, 8},
          {2, 8},
          {3, 8},
          {4, 8},
          {5, 8},
          {6, 8},
          {7, 8},
          {8, 8},
          {1, 9},
          {2, 9},
          {3, 9},
          {4, 9},
          {5, 9},
          {6, 9},
          {7, 9},
          {8, 9}}                                                                                              },
        {"roll up",
         [](gui::TCanvas* c) { DrawRollUpGlyph(c, 0, 0, gui::clBlack); },
         {{4, 3}, {5, 3}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {2, 5}, {3, 5}, {4, 5}, {5, 5},
          {6, 5}, {7, 5}, {1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 6}}                      },
        {"sys menu",
         [](gui::TCanvas* c) { DrawSysMenuGlyph(c, 0, 0, gui::clBlack); },
         {{1, 3},
          {2, 3},
          {3, 3},
          {4, 3},
          {5, 3},
          {6, 3},
          {7, 3},
          {8, 3},
          {1, 4},
          {8, 4},
          {1, 5},
          {2, 5},
          {3, 5},
          {4, 5},
          {5, 5},
          {6, 5},
          {7, 5},
          {8, 5}}                                                                                              },
    };
    for (const Case& c : cases) {
        Paper p(12, 12);
        c.draw(p.C());
        EXPECT_EQ(p.Set(), c.want) << c.name;
    }
    Paper dot(12, 12), tray(12, 12), check(12, 12), close(12, 12);
    DrawRadioDot(dot.C(), 1, 1, gui::clBlack);
    EXPECT_EQ(dot.Set().size(), 36u);
    EXPECT_TRUE(dot.Set().count({6, 6}));
    DrawTrayGlyph(tray.C(), 0, 0, gui::clBlack);
    EXPECT_EQ(tray.Set().size(), 25u);
    EXPECT_TRUE(tray.Set().count({2, 2}));
    DrawCheckGlyph(check.C(), 0, 0, gui::clBlack);
    EXPECT_TRUE(check.Set().count({0, 5}));
    EXPECT_TRUE(check.Set().count({6, 1}));
    DrawCloseGlyph(close.C(), 0, 0, gui::clBlack);
    EXPECT_TRUE(close.Set().count({1, 1}));
    EXPECT_TRUE(close.Set().count({9, 8}));
}

TEST(DrawUtils, StripGlyphDrawsOneFrameKeyedByItsBottomLeftPixel) {
    gdi::image::Image strip;
    strip.Reset(48, 4, 0xFF00FF00);
    for (int x = 16; x < 32; ++x) strip.At(x, 0) = 0xFF0000FF;
    auto glyphs = enginetest::BitmapOf(strip);
    Paper p(20, 6);
    DrawStripGlyph(p.C(), 2, 1, glyphs.get(), 3, 2);
    auto set = p.Set();
    // Frame 2 is columns 16 to 31: its blue top row lands at x 2 to 17; its green is the key.
    EXPECT_EQ(set.size(), 16u);
    EXPECT_TRUE(set.count({2, 1}));
    EXPECT_TRUE(set.count({17, 1}));
    EXPECT_EQ(p.b.Pixel(2, 1) & 0xFFFFFF, 0x0000FFu);
}

TEST(DrawUtils, ImageAndTextDrawsTheSwatchWithoutCaptionOrGlyph) {
    Paper p(30, 20);
    DrawImageAndText(p.C(), gui::Rect(0, 0, 30, 20), -1, 4, TbsButtonLayout::blGlyphLeft, "", -1, nullptr,
                     false, true, true, gui::clRed);
    EXPECT_EQ(p.b.Pixel(4, 4) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(p.b.Pixel(27, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(p.b.Pixel(28, 16) & 0xFFFFFF, 0xFFFFFFu);
    Paper q(60, 20);
    q.C()->Font()->SetColor(gui::clBlack);
    DrawGlyphAndText(q.C(), gui::Rect(0, 0, 60, 20), -1, 4, TbsButtonLayout::blGlyphLeft, "Ab", nullptr, 1, 1,
                     false, false, gui::clRed);
    EXPECT_FALSE(q.Set().empty());
}

TEST(DrawUtils, TokensRectanglesAndStreamStrings) {
    std::string s = "10, 20,30", token;
    ExtractToken(s, token);
    EXPECT_EQ(token, "10");
    EXPECT_EQ(s, "20,30");
    ExtractToken(s = ",x", token);
    EXPECT_EQ(token, "");
    gui::TRect r;
    TextToRect("1,2,3,4", r);
    EXPECT_EQ(r, gui::Rect(1, 2, 3, 4));
    TextToRect("1,2,x,4", r);
    EXPECT_EQ(r, gui::TRect{});
    TextToRect("5, 6", r);
    EXPECT_EQ(r, gui::TRect{});

    gui::TMemoryStream m;
    WriteStringToStream(m, "Hello");
    EXPECT_EQ(m.Size(), 4 + 10);
    WriteStringToStream(m, "转换器");
    m.SetPosition(0);
    std::string a, b;
    ReadStringFromStream(m, a);
    ReadStringFromStream(m, b);
    EXPECT_EQ(a, "Hello");
    EXPECT_EQ(b, "转换器");
}

TEST(DrawUtils, ScrollBarInfoWithoutThePlatformFunction) {
    TbsScrollBarInfo info{};
    EXPECT_FALSE(SafeGetScrollBarInfo(nullptr, 0, info));
    EXPECT_EQ(info.rgstate[0], 0x8000u);
    gui::TRect area{};
    GetMonitorArea(nullptr, false, area);
    EXPECT_GT(area.right, 0);
}
