#include "FakeMeasurer.h"

#include "gdi/text/DrawTextFlags.h"
#include "gdi/text/DrawTextLayout.h"
#include "gdi/text/Font.h"
#include "gdi/text/Utf8.h"

#include <gtest/gtest.h>

using namespace gdi::text;

namespace {

std::vector<std::string> Texts(const DrawTextLayoutResult& r) {
    std::vector<std::string> out;
    for (const auto& l : r.lines) out.push_back(l.text);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(DrawTextLayout, EachLineBreakFormIsOneBreak) {
    struct Case {
        const char* text;
        Lines lines;
    } cases[] = {
        {"a\rb",       {"a", "b"}    },
        {"a\nb",       {"a", "b"}    },
        {"a\r\nb",     {"a", "b"}    },
        {"a\n\rb",     {"a", "b"}    },
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\n\rb",   {"a", "", "b"}},
        {"a\r\rb",     {"a", "", "b"}},
        {"a\r\n",      {"a"}         },
        {"",           {""}          },
    };
    FakeMeasurer m;
    for (const Case& c : cases) {
        auto r = LayoutDrawText(m, c.text, {0, 0, 200, 100}, DT_LEFT);
        EXPECT_EQ(Texts(r), c.lines) << testing::PrintToString(c.text);
        for (size_t i = 0; i < r.lines.size(); ++i) EXPECT_EQ(r.lines[i].y, 16 * static_cast<int>(i));
        EXPECT_EQ(r.height, 16 * static_cast<int>(c.lines.size()));
    }
    auto single = LayoutDrawText(m, "a\r\nb\nc", {0, 0, 200, 100}, DT_SINGLELINE);
    EXPECT_EQ(Texts(single), Lines{"abc"});
}

TEST(DrawTextLayout, PrefixesUnderlineTheNextCharacter) {
    struct Case {
        const char* text;
        uint32_t flags;
        const char* shown;
        bool underlined;
        int left, right;
    } cases[] = {
        {"&File",        0,           "File",        true,  0,  10},
        {"E&xit",        0,           "Exit",        true,  10, 20},
        {"Save && Exit", 0,           "Save & Exit", false, 0,  0 },
        {"&a&b",         0,           "ab",          true,  0,  10}, // the first prefix only
        {"tail&",        0,           "tail",        false, 0,  0 },
        {"&File",        DT_NOPREFIX, "&File",       false, 0,  0 },
    };
    FakeMeasurer m;
    for (const Case& c : cases) {
        auto r = LayoutDrawText(m, c.text, {0, 0, 200, 20}, c.flags | DT_SINGLELINE);
        ASSERT_EQ(r.lines.size(), 1u);
        const DrawTextLine& l = r.lines[0];
        EXPECT_EQ(l.text, c.shown) << c.text;
        EXPECT_EQ(l.underlined, c.underlined) << c.text;
        if (c.underlined) {
            EXPECT_EQ(l.underlineLeft, c.left) << c.text;
            EXPECT_EQ(l.underlineRight, c.right) << c.text;
        }
    }
    // The underline follows the character when the line is centred.
    auto centred = LayoutDrawText(m, "E&xit", {0, 0, 100, 20}, DT_CENTER | DT_SINGLELINE);
    EXPECT_EQ(centred.lines[0].x, 30);
    EXPECT_EQ(centred.lines[0].underlineLeft, 40);
}

TEST(DrawTextLayout, WordBreakWrapsAtBlanksAndBetweenChineseCharacters) {
    FakeMeasurer m;
    auto r = LayoutDrawText(m, "hello world foo", {0, 0, 100, 100}, DT_WORDBREAK);
    EXPECT_EQ(Texts(r), (Lines{"hello", "world foo"}));
    EXPECT_EQ(r.lines[1].y, 16);

    // A word wider than the rectangle is not split.
    r = LayoutDrawText(m, "ab abcdefghij cd", {0, 0, 50, 100}, DT_WORDBREAK);
    EXPECT_EQ(Texts(r), (Lines{"ab", "abcdefghij", "cd"}));

    r = LayoutDrawText(m, "格式转换器视频", {0, 0, 35, 100}, DT_WORDBREAK);
    EXPECT_EQ(Texts(r), (Lines{"格式转", "换器视", "频"}));

    // Closing punctuation stays with the character before it.
    r = LayoutDrawText(m, "转换器。完成", {0, 0, 30, 100}, DT_WORDBREAK);
    EXPECT_EQ(Texts(r), (Lines{"转换", "器。完", "成"}));

    // Without DT_WORDBREAK (or with DT_SINGLELINE) nothing wraps.
    EXPECT_EQ(LayoutDrawText(m, "hello world", {0, 0, 30, 100}, 0).lines.size(), 1u);
    EXPECT_EQ(LayoutDrawText(m, "hello world", {0, 0, 30, 100}, DT_WORDBREAK | DT_SINGLELINE).lines.size(),
              1u);
}

TEST(DrawTextLayout, EllipsesShortenLinesThatDoNotFit) {
    struct Case {
        const char* text;
        uint32_t flags;
        int width;
        const char* shown;
    } cases[] = {
        {"abcdefghij",             DT_END_ELLIPSIS,  60,  "abc..."           },
        {"abcdefghij",             DT_END_ELLIPSIS,  100, "abcdefghij"       },
        {"abcdefghij",             DT_END_ELLIPSIS,  20,  "..."              },
        {"C:\\dir\\sub\\file.txt", DT_PATH_ELLIPSIS, 150, "C:\\...\\file.txt"},
        {"/home/user/video.avi",   DT_PATH_ELLIPSIS, 140, "/.../video.avi"   },
        {"/home/user/video.avi",   DT_PATH_ELLIPSIS, 90,  ".../vi..."        },
        {"no-separator-here",      DT_PATH_ELLIPSIS, 80,  "no-se..."         },
    };
    FakeMeasurer m;
    for (const Case& c : cases) {
        auto r = LayoutDrawText(m, c.text, {0, 0, c.width, 20}, c.flags | DT_SINGLELINE);
        ASSERT_EQ(r.lines.size(), 1u);
        EXPECT_EQ(r.lines[0].text, c.shown) << c.text << " in " << c.width;
    }
    // A prefix cut away by the ellipsis loses its underline; one kept keeps it.
    EXPECT_FALSE(LayoutDrawText(m, "abcdefg&hij", {0, 0, 60, 20}, DT_END_ELLIPSIS).lines[0].underlined);
    EXPECT_TRUE(LayoutDrawText(m, "a&bcdefghij", {0, 0, 60, 20}, DT_END_ELLIPSIS).lines[0].underlined);
}

TEST(DrawTextLayout, CalcRectGivesTheNeededRectangle) {
    FakeMeasurer m;
    struct Case {
        const char* text;
        uint32_t flags;
        TextRect in, out;
    } cases[] = {
        {"abc\nlonger line", 0,             {0, 0, 0, 0},     {0, 0, 110, 32}}, // widened to the longest line
        {"abc",              0,             {5, 7, 300, 300}, {5, 7, 35, 23} }, // narrowed too
        {"one two three",    DT_WORDBREAK,  {0, 0, 65, 0},    {0, 0, 50, 48} },
        {"abcdefgh",         DT_WORDBREAK,  {0, 0, 30, 0},    {0, 0, 80, 16} }, // a long word widens
        {"",                 0,             {0, 0, 0, 0},     {0, 0, 0, 16}  },
        {"a\tb",             DT_EXPANDTABS, {0, 0, 0, 0},     {0, 0, 90, 16} },
    };
    for (const Case& c : cases) {
        auto r = LayoutDrawText(m, c.text, c.in, c.flags | DT_CALCRECT);
        EXPECT_EQ(r.rect, c.out) << testing::PrintToString(c.text);
        EXPECT_EQ(r.height, c.out.Height()) << testing::PrintToString(c.text);
    }
}

TEST(DrawTextLayout, AlignmentAndVerticalPlacement) {
    FakeMeasurer m;
    const TextRect rc{0, 0, 100, 50};
    struct Case {
        uint32_t flags;
        int x, y, height;
    } cases[] = {
        {DT_LEFT,                    0,  0,  16},
        {DT_CENTER,                  35, 0,  16},
        {DT_RIGHT,                   70, 0,  16},
        {DT_SINGLELINE | DT_VCENTER, 0,  17, 33},
        {DT_SINGLELINE | DT_BOTTOM,  0,  34, 50},
        {DT_VCENTER,                 0,  0,  16}, // only single lines are placed vertically
        {DT_RTLREADING,              0,  0,  16},
    };
    for (const Case& c : cases) {
        auto r = LayoutDrawText(m, "abc", rc, c.flags);
        EXPECT_EQ(r.lines[0].x, c.x) << c.flags;
        EXPECT_EQ(r.lines[0].y, c.y) << c.flags;
        EXPECT_EQ(r.height, c.height) << c.flags;
    }
}

TEST(DrawTextLayout, ExpandedTabsSplitALineIntoPlacedRuns) {
    FakeMeasurer m;
    auto r = LayoutDrawText(m, "a\tbc\td", {10, 0, 300, 20}, DT_EXPANDTABS);
    ASSERT_EQ(r.lines[0].runs.size(), 3u);
    EXPECT_EQ(r.lines[0].runs[0].x, 10);
    EXPECT_EQ(r.lines[0].runs[1].x, 90); // a stop every eight average widths
    EXPECT_EQ(r.lines[0].runs[1].text, "bc");
    EXPECT_EQ(r.lines[0].runs[2].x, 170);
    EXPECT_EQ(r.lines[0].width, 170);
}

// The same layout with the faces the project installs.
TEST(DrawTextLayout, RealFontsMeasureAndShortenTheChineseCaption) {
    Font font(LogFont{"Tahoma", -11});
    ASSERT_TRUE(font.IsValid());
    const std::string caption = "TarvikH.264格式转换器";
    const int width = font.Extent(caption).cx;
    const int lh = font.Metrics().height;

    auto calc = LayoutDrawText(font, caption, {0, 0, 0, 0}, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.rect, (TextRect{0, 0, width, lh}));

    auto cut = LayoutDrawText(font, caption, {0, 0, width / 2, lh}, DT_END_ELLIPSIS | DT_SINGLELINE);
    ASSERT_EQ(cut.lines.size(), 1u);
    EXPECT_TRUE(cut.lines[0].text.ends_with("...")) << cut.lines[0].text;
    EXPECT_LE(cut.lines[0].width, width / 2);
    EXPECT_GT(cut.lines[0].width, width / 2 - font.Metrics().maxCharWidth - font.Width(U"..."));

    auto wrapped =
        LayoutDrawText(font, "视频格式转换器 H.264 Tarvik", {0, 0, 50, 0}, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_GE(wrapped.lines.size(), 3u);
    for (const auto& l : wrapped.lines) EXPECT_LE(l.width, 50) << l.text;
    EXPECT_EQ(wrapped.rect.Height(), lh * static_cast<int>(wrapped.lines.size()));
}
