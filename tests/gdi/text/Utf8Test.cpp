#include "gdi/text/Utf8.h"

#include <gtest/gtest.h>

using namespace gdi::text;

TEST(Utf8, RoundTripsEveryPlane) {
    const std::u32string text = U"aé格\U0001F600";
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
    EXPECT_EQ(EncodeUtf8(text).size(), 1u + 2 + 3 + 4);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::u32string text;
    } cases[] = {
        {"a\xFFZ",       U"a\uFFFDZ"          }, // not a lead byte
        {"\xE6\xA0",     U"\uFFFD\uFFFD"      }, // truncated sequence
        {"\xC0\xAF",     U"\uFFFD\uFFFD"      }, // overlong "/"
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"}, // a surrogate
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeUtf8(c.bytes), c.text) << testing::PrintToString(c.bytes);
}
