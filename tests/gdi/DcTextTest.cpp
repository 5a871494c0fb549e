// Text through device contexts with the fonts the project's scripts install
// (DejaVu Sans behind "Tahoma", WenQuanYi Micro Hei for Chinese).
#include "gdi/DcText.h"
#include "GdiFixture.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace {

constexpr uint32_t kPaper = 0x00FFFFFF;

HFONT MakeFont(int height, const char* face = "Tahoma") {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    std::strcpy(lf.lfFaceName, face);
    return CreateFontIndirect(&lf);
}

// A white canvas with a 14-pixel Tahoma selected, black text, transparent mode.
struct TextCanvas : Canvas {
    HFONT font;
    TextCanvas(int w, int h, int height = -14) : Canvas(w, h), font(MakeFont(height)) {
        Fill(kPaper);
        SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    ~TextCanvas() {
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
    // The box around every pixel that is no longer paper (empty: none).
    RECT Ink(uint32_t paper = kPaper) const {
        RECT r{w, h, 0, 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (At(x, y) != paper)
                    r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                         std::max<LONG>(r.bottom, y + 1)};
        return r.right > r.left ? r : RECT{};
    }
    std::set<int> InkAt(RECT box) const {
        std::set<int> s;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (At(x, y) != kPaper) s.insert(y * w + x);
        return s;
    }
};

SIZE Extent(HDC dc, const char* s) {
    SIZE sz{};
    GetTextExtentPoint32(dc, s, -1, &sz);
    return sz;
}

} // namespace

TEST(DcText, ChineseCaptionDrawsDistinctCjkGlyphs) {
    TextCanvas a(80, 30), b(80, 30), box(80, 30);
    RECT r{0, 0, 80, 30};
    DrawText(a.dc, "转", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    DrawText(b.dc, "换", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    DrawText(box.dc, "\xEF\xBF\xBF", -1, &r,
             DT_SINGLELINE | DT_NOPREFIX); // a non-character: the missing glyph
    std::set<int> ia = a.InkAt(r), ib = b.InkAt(r), ibox = box.InkAt(r);
    EXPECT_GT(ia.size(), 20u);
    EXPECT_GT(ib.size(), 20u);
    EXPECT_NE(ia, ib);
    EXPECT_NE(ia, ibox);
    // A CJK glyph is about as wide as the em.
    RECT ink = a.Ink();
    EXPECT_GE(ink.right - ink.left, 10);
}

TEST(DcText, CalcRectMeasuresInLogicalUnitsAndReturnsTheHeight) {
    TextCanvas c(300, 100);
    SetWindowOrgEx(c.dc, -7, -5, nullptr); // origin moves must not leak into the result
    const char* caption = "转换 Video";
    SIZE one = Extent(c.dc, caption);
    RECT r{10, 20, 10, 20};
    EXPECT_EQ(DrawText(c.dc, caption, -1, &r, DT_CALCRECT | DT_SINGLELINE), one.cy);
    EXPECT_EQ(r, (RECT{10, 20, 10 + one.cx, 20 + one.cy}));
    EXPECT_EQ(c.Ink(), RECT{}); // CALCRECT draws nothing

    RECT two{0, 0, 300, 0};
    EXPECT_EQ(DrawText(c.dc, "a\r\nbb\n\rccc\rd", -1, &two, DT_CALCRECT), 4 * one.cy);
    EXPECT_EQ(two.right, Extent(c.dc, "ccc").cx);
    // Word break: a narrow box gives more lines.
    RECT narrow{0, 0, Extent(c.dc, "Video").cx + 2, 0};
    EXPECT_EQ(DrawText(c.dc, "Video Video Video", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 3 * one.cy);
}

TEST(DcText, DrawsThroughOriginAndClipInsideTheRectangle) {
    TextCanvas c(200, 60);
    SetViewportOrgEx(c.dc, 20, 10, nullptr);
    RECT r{0, 0, 40, 20};
    DrawText(c.dc, "WWWWWWWWWWWW", -1, &r, DT_SINGLELINE);
    RECT ink = c.Ink();
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 60); // clipped to the rectangle
    EXPECT_GE(ink.top, 10);

    TextCanvas d(200, 60);
    IntersectClipRect(d.dc, 0, 0, 15, 60);
    RECT wide{0, 0, 200, 60};
    DrawText(d.dc, "WWWWWWWW", -1, &wide, DT_SINGLELINE);
    EXPECT_LE(d.Ink().right, 15);
}

TEST(DcText, AlignmentAndVerticalCentre) {
    TextCanvas c(200, 60);
    RECT r{0, 0, 200, 60};
    SIZE sz = Extent(c.dc, "Hi");
    DrawText(c.dc, "Hi", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    RECT ink = c.Ink();
    EXPECT_LE(ink.right, 200);
    EXPECT_GE(ink.left, 200 - sz.cx);
    EXPECT_GE(ink.top, (60 - sz.cy) / 2);
    EXPECT_LE(ink.bottom, (60 + sz.cy) / 2 + 1);
}

TEST(DcText, PrefixUnderlinesAndDoubleAmpersandShowsOne) {
    TextCanvas plain(100, 30), prefixed(100, 30), amp(100, 30), single(100, 30);
    RECT r{0, 0, 100, 30};
    DrawText(plain.dc, "F", -1, &r, DT_SINGLELINE);
    DrawText(prefixed.dc, "&F", -1, &r, DT_SINGLELINE);
    DrawText(amp.dc, "&&", -1, &r, DT_SINGLELINE);
    DrawText(single.dc, "&", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    // The prefix adds a line below the glyph, within the glyph's cell; the "&" is not shown.
    EXPECT_GT(prefixed.Ink().bottom, plain.Ink().bottom);
    EXPECT_LE(prefixed.Ink().right, Extent(plain.dc, "F").cx);
    EXPECT_EQ(amp.InkAt(r), single.InkAt(r));
}

TEST(DcText, OpaqueModeFillsTheCellTransparentLeavesIt) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
        TextCanvas c(120, 40);
        SetBkMode(c.dc, mode);
        SetBkColor(c.dc, RGB(255, 0, 0));
        SetTextColor(c.dc, RGB(0, 0, 255));
        RECT r{0, 0, 120, 40};
        DrawText(c.dc, "i", -1, &r, DT_SINGLELINE);
        SIZE sz = Extent(c.dc, "i");
        // Inside the cell but away from the stem: background, or untouched paper.
        EXPECT_EQ(c.At(0, 1), mode == OPAQUE ? 0x00FF0000u : kPaper) << mode;
        EXPECT_EQ(c.At(sz.cx + 2, 1), kPaper) << mode; // past the cell
        // TextOut follows the same mode.
        c.Fill(kPaper);
        TextOut(c.dc, 50, 0, "i", 1);
        EXPECT_EQ(c.At(50, 1), mode == OPAQUE ? 0x00FF0000u : kPaper) << mode;
    }
}

TEST(DcText, EndEllipsisFitsTheRectangle) {
    TextCanvas c(300, 30);
    const char* text = "一个很长的文件名 with a long tail.mp4";
    RECT r{0, 0, 90, 30};
    DrawText(c.dc, text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    RECT ink = c.Ink();
    EXPECT_LE(ink.right, 90);
    // The dots sit at the end: the last columns carry ink near the baseline.
    EXPECT_GT(ink.right, 90 - Extent(c.dc, "...").cx);
}

TEST(DcText, SpacingArrayPlacesEachCharacter) {
    TextCanvas c(200, 30);
    const int dx[] = {40, 40, 40};
    ExtTextOut(c.dc, 0, 0, 0, nullptr, "lll", 3, dx);
    // Three separate stems at 40-pixel steps.
    for (int k = 0; k < 3; ++k) {
        RECT column{40 * k, 0, 40 * k + 20, 30};
        EXPECT_FALSE(c.InkAt(column).empty()) << k;
    }
    EXPECT_TRUE(c.InkAt(RECT{20, 0, 40, 30}).empty());
}

TEST(DcText, TabbedTextOutUsesTheStopsAndReturnsTheExtent) {
    TextCanvas c(300, 30);
    SIZE b = Extent(c.dc, "b");
    const int stops[] = {50, 120};
    LONG e = TabbedTextOut(c.dc, 10, 0, "a\tb\tb", -1, 2, stops, 10);
    EXPECT_EQ(e & 0xFFFF, 120 + b.cx);
    EXPECT_EQ((e >> 16) & 0xFFFF, b.cy);
    EXPECT_TRUE(c.InkAt(RECT{10 + 50 + b.cx, 0, 10 + 120, 30}).empty()); // nothing between the stops
    EXPECT_FALSE(c.InkAt(RECT{10 + 120, 0, 10 + 120 + b.cx, 30}).empty());
    // One stop: a stop every that many pixels.
    const int every = 30;
    EXPECT_EQ(TabbedTextOut(c.dc, 0, 0, "\t\tb", -1, 1, &every, 0) & 0xFFFF, 60 + b.cx);
}

TEST(DcText, MetricsAndFitting) {
    TextCanvas c(10, 10, -16);
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight, Extent(c.dc, "x").cy);

    int fit = -1, dx[4] = {};
    SIZE sz{};
    SIZE ab = Extent(c.dc, "ab");
    ASSERT_TRUE(GetTextExtentExPoint(c.dc, "ab转d", -1, ab.cx, &fit, dx, &sz));
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(dx[1], ab.cx);
    EXPECT_EQ(dx[3], sz.cx);
    EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
    EXPECT_EQ(DrawText(nullptr, "x", 1, nullptr, 0), 0);
}
