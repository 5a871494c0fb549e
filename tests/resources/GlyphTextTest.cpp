#include "tools/resgen/GlyphText.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

TEST(GlyphTextTest, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"bits 8\n..\n...\n",  "line 3: rows differ in length"   },
        {"# x\n.k\n.q\n",      "line 3: no colour is written 'q'"},
        {"bits 2\n..\n",       "line 1: bits must be 4 or 8"     },
        {"# only a comment\n", "no rows"                         },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            resgen::GlyphText::Parse(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
}

TEST(GlyphTextTest, FourBitRowsPackTwoPixelsABytePaddedToFour) {
    auto g = resgen::GlyphText::Parse("bits 4\nkwR\n.BG\n");
    std::vector<uint8_t> bmp = g.ToBmp();
    const size_t bits = 14 + 40 + 16 * 4;
    ASSERT_EQ(bmp.size(), bits + 2 * 4);
    // Bottom-up: the second row first.  Magenta 13, blue 12, lime 10; black 0, white 15, red 9.
    EXPECT_EQ(bmp[bits + 0], 0xDC);
    EXPECT_EQ(bmp[bits + 1], 0xA0);
    EXPECT_EQ(bmp[bits + 4], 0x0F);
    EXPECT_EQ(bmp[bits + 5], 0x90);
}

} // namespace
