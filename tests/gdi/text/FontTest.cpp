#include "gdi/text/Font.h"
#include "gdi/text/DrawTextFlags.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace gdi::text;

namespace {

constexpr uint32_t kWhiteOpaque = 0xFFFFFFFF;

// A pixel buffer; `bottomUp` stores the rows as a DIB with positive height.
struct Canvas {
    int w, h;
    bool bottomUp = false;
    std::vector<uint32_t> px;

    Canvas(int w_, int h_, uint32_t fill = kWhiteOpaque, bool bottomUp_ = false)
        : w(w_), h(h_), bottomUp(bottomUp_), px(static_cast<size_t>(w_) * h_, fill) {}
    TextSurface Surface() { return {reinterpret_cast<uint8_t*>(px.data()), w, h, bottomUp ? -4 * w : 4 * w}; }
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(bottomUp ? h - 1 - y : y) * w + x]; }
    // Pixels changed from `fill` inside [x0, x1) × [y0, y1).
    int Ink(int x0, int y0, int x1, int y1, uint32_t fill = kWhiteOpaque) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += At(x, y) != fill;
        return n;
    }
    int Ink() const { return Ink(0, 0, w, h); }
};

Canvas Render(const Font& f, const std::string& text, int w = 200, int h = 40) {
    Canvas c(w, h);
    f.Draw(c.Surface(), {0, 0, w, h}, 2, 2, text, TextDrawOptions{});
    return c;
}

} // namespace

TEST(Font, WindowsNamesMapToTheInstalledFaces) {
    struct Case {
        const char* name;
        const char* family;
    } cases[] = {
        {"Tahoma",        "DejaVu Sans"        },
        {"Arial",         "DejaVu Sans"        },
        {"MS Sans Serif", "DejaVu Sans"        },
        {"宋体",        "WenQuanYi Micro Hei"},
        {"SimSun",        "WenQuanYi Micro Hei"},
        {"微软雅黑",  "WenQuanYi Micro Hei"},
    };
    for (const Case& c : cases) EXPECT_EQ(Font(LogFont{c.name, -12}).FamilyName(), c.family) << c.name;
    Font unknown(LogFont{"No Such Face 123", -12});
    EXPECT_TRUE(unknown.IsValid());
    EXPECT_FALSE(unknown.FamilyName().empty());
}

TEST(Font, HeightFollowsTheWindowsSignRule) {
    for (int size : {8, 11, 13, 16, 24, 40}) {
        SCOPED_TRACE(size);
        TextMetrics em = Font(LogFont{"Tahoma", -size}).Metrics();
        EXPECT_EQ(em.height - em.internalLeading, size); // negative: the character height
        EXPECT_EQ(em.height, em.ascent + em.descent);
        EXPECT_GT(em.internalLeading, 0);
        TextMetrics cell = Font(LogFont{"Tahoma", size}).Metrics();
        EXPECT_EQ(cell.height, size); // positive: the cell height
        EXPECT_LT(cell.height - cell.internalLeading, size);
    }
    TextMetrics def = Font(LogFont{"Tahoma", 0}).Metrics();
    EXPECT_GT(def.height, 8);
    EXPECT_LT(def.height, 24);
}

TEST(Font, MetricsReportTheRequest) {
    LogFont lf{"宋体", -12, 700, true, true, true, 134};
    TextMetrics m = Font(lf).Metrics();
    EXPECT_EQ(m.weight, 700);
    EXPECT_TRUE(m.italic);
    EXPECT_TRUE(m.underlined);
    EXPECT_TRUE(m.struckOut);
    EXPECT_EQ(m.charSet, 134);
    EXPECT_GT(m.aveCharWidth, 0);
    EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
}

TEST(Font, ChineseCaptionDrawsRealGlyphsFromTheCjkFace) {
    Font font(LogFont{"Tahoma", -12});
    const std::u32string cjk = U"格式转换器";
    for (char32_t c : cjk) EXPECT_EQ(font.SourceOf(c), GlyphSource::Fallback);
    EXPECT_EQ(font.SourceOf(U'T'), GlyphSource::Face);
    EXPECT_EQ(font.SourceOf(U'\U0010FFFD'), GlyphSource::Missing);

    // Boxes would all look alike: each character must differ from the others
    // and from the box a missing character gets.
    std::vector<std::vector<uint32_t>> shapes;
    shapes.push_back(Render(font, "\xF4\x8F\xBF\xBD").px); // U+10FFFD
    for (const char* ch : {"格", "式", "转", "换", "器"}) shapes.push_back(Render(font, ch).px);
    for (size_t i = 0; i < shapes.size(); ++i)
        for (size_t j = i + 1; j < shapes.size(); ++j) EXPECT_NE(shapes[i], shapes[j]) << i << " vs " << j;

    // In the full caption every CJK character's cell has ink.
    const std::string caption = "TarvikH.264格式转换器";
    Canvas c = Render(font, caption, 300);
    std::vector<int> pos = font.CharPositions(caption);
    ASSERT_EQ(pos.size(), 16u);
    for (size_t i = 11; i < 16; ++i) EXPECT_GT(c.Ink(2 + pos[i - 1], 0, 2 + pos[i], 40), 10) << i;
}

TEST(Font, DrawnPixelsKeepAlphaZeroAndStayInTheClip) {
    Font font(LogFont{"Tahoma", -16});
    Canvas c(120, 40);
    const TextRect clip{10, 5, 40, 30};
    TextDrawOptions o;
    o.color = 0x0000FF; // red
    font.Draw(c.Surface(), clip, 0, 0, "Hello 世界", o);
    int inside = 0;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            uint32_t p = c.At(x, y);
            if (p == kWhiteOpaque) continue;
            bool inClip = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
            EXPECT_TRUE(inClip) << x << "," << y;
            EXPECT_EQ(p >> 24, 0u);
            EXPECT_GE((p >> 16) & 0xFF, p & 0xFF); // reddish: red channel dominates blue
            ++inside;
        }
    EXPECT_GT(inside, 20);
    // A clip reaching past the buffer is cut to it.
    font.Draw(c.Surface(), {-50, -50, 500, 500}, 100, 30, "WWWW", o);
}

TEST(Font, BothRowOrdersGiveTheSamePicture) {
    Font font(LogFont{"Arial", -14});
    Canvas top(100, 30), bottom(100, 30, kWhiteOpaque, true);
    font.Draw(top.Surface(), {0, 0, 100, 30}, 3, 4, "Tarvik 格式", {});
    font.Draw(bottom.Surface(), {0, 0, 100, 30}, 3, 4, "Tarvik 格式", {});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(top.At(x, y), bottom.At(x, y)) << x << "," << y;
    EXPECT_GT(top.Ink(), 0);
}

TEST(Font, OpaqueBackgroundUnderlineAndStrikeOut) {
    LogFont lf{"Tahoma", -14};
    Font plain(lf);
    const int width = plain.Extent("Hi there").cx;
    const TextMetrics m = plain.Metrics();

    Canvas bg(100, 30, 0);
    TextDrawOptions o;
    o.opaque = true;
    o.background = 0x00FF00;
    plain.Draw(bg.Surface(), {0, 0, 100, 30}, 0, 0, "Hi there", o);
    EXPECT_EQ(bg.At(width - 1, m.height - 1), 0x0000FF00u); // cell filled, alpha 0
    EXPECT_EQ(bg.At(width, 0), 0u);                         // nothing past the cell
    EXPECT_EQ(bg.At(0, m.height), 0u);

    // A full row of ink across the text below the baseline / through it.
    auto fullRows = [&](const Canvas& c, int y0, int y1) {
        int rows = 0;
        for (int y = y0; y < y1; ++y) rows += c.Ink(0, y, width, y + 1) == width;
        return rows;
    };
    lf.underline = true;
    Canvas ul(100, 30);
    Font(lf).Draw(ul.Surface(), {0, 0, 100, 30}, 0, 0, "Hi there", {});
    EXPECT_GE(fullRows(ul, m.ascent, m.height), 1);
    lf.underline = false;
    lf.strikeOut = true;
    Canvas so(100, 30);
    Font(lf).Draw(so.Surface(), {0, 0, 100, 30}, 0, 0, "Hi there", {});
    EXPECT_GE(fullRows(so, 0, m.ascent), 1);
    EXPECT_EQ(fullRows(Render(plain, "Hi there"), 0, 40), 0);
}

TEST(Font, BoldAndItalicChangeTheGlyphs) {
    Font regular(LogFont{"Tahoma", -14});
    Font bold(LogFont{"Tahoma", -14, 700});
    Font cjkBold(LogFont{"宋体", -14, 700}); // the CJK face has no bold: emboldened
    Font cjk(LogFont{"宋体", -14});
    Font italic(LogFont{"Tahoma", -14, 400, true});
    EXPECT_GT(Render(bold, "Tarvik").Ink(), Render(regular, "Tarvik").Ink());
    EXPECT_GT(Render(cjkBold, "格式").Ink(), Render(cjk, "格式").Ink());
    EXPECT_NE(Render(italic, "Tarvik").px, Render(regular, "Tarvik").px);
}

TEST(Font, ExtentsPositionsAndTabStops) {
    Font font(LogFont{"Tahoma", -12});
    const std::string s = "ab格";
    std::vector<int> pos = font.CharPositions(s);
    ASSERT_EQ(pos.size(), 3u);
    EXPECT_LT(pos[0], pos[1]);
    EXPECT_EQ(font.Extent(s), (TextSize{pos[2], font.Metrics().height}));
    EXPECT_EQ(font.Extent(""), (TextSize{0, font.Metrics().height}));

    TabStops every50{{50}, 0};
    EXPECT_EQ(font.CharPositions("a\tb\tc", &every50)[1], 50);
    EXPECT_EQ(font.CharPositions("a\tb\tc", &every50)[3], 100);
    TabStops fixed{
        {30, 70},
        0
    };
    std::vector<int> p = font.CharPositions("a\tb\tc\td", &fixed);
    EXPECT_EQ(p[1], 30);
    EXPECT_EQ(p[3], 70);
    EXPECT_EQ(p[5] % (8 * font.Metrics().aveCharWidth), 0); // past the last stop: the default spacing
    TabStops shifted{{50}, 20};
    EXPECT_EQ(font.CharPositions("a\t", &shifted)[1], 70);
    // Without stops a tab is as wide as a blank.
    EXPECT_EQ(font.Extent("a\tb").cx, font.Extent("a b").cx);
}

TEST(Font, DrawLayoutUnderlinesThePrefixCharacter) {
    Font font(LogFont{"Tahoma", -14});
    auto layout = LayoutDrawText(font, "&File", {0, 0, 100, 30}, DT_SINGLELINE);
    auto noPrefix = LayoutDrawText(font, "File", {0, 0, 100, 30}, DT_SINGLELINE);
    Canvas a(100, 30), b(100, 30);
    font.DrawLayout(a.Surface(), {0, 0, 100, 30}, layout, {});
    font.DrawLayout(b.Surface(), {0, 0, 100, 30}, noPrefix, {});
    const auto& l = layout.lines[0];
    const int belowBase = font.Metrics().ascent;
    EXPECT_GT(a.Ink(l.underlineLeft, belowBase, l.underlineRight, 30),
              b.Ink(l.underlineLeft, belowBase, l.underlineRight, 30));
    EXPECT_EQ(a.Ink(l.underlineRight, belowBase, 100, 30), b.Ink(l.underlineRight, belowBase, 100, 30));
}
