#include "catalogue/Categories.h"
#include "ExpectedTables.h"
#include "catalogue/Formats.h"

#include <gtest/gtest.h>

using namespace catalogue;

TEST(Categories, EachPositionHasItsCaptionPictureFamilyAndFormats) {
    ASSERT_EQ(Categories().size(), std::size(expected::Categories));
    size_t total = 0;
    for (const expected::Category& want : expected::Categories) {
        SCOPED_TRACE(want.Position);
        const TCategory& got = Categories()[want.Position];
        EXPECT_EQ(got.Position, want.Position);
        EXPECT_STREQ(got.Caption, want.Caption);
        EXPECT_EQ(got.ImageIndex, want.Image);
        EXPECT_EQ(FamilyOfCategory(want.Position), want.Family);
        auto formats = FormatsOfCategory(want.Position);
        ASSERT_EQ(formats.size(), size_t(want.Formats));
        for (int p = 0; p < want.Formats; ++p) {
            EXPECT_EQ(FormatKey(want.Position, p), want.Family * 100 + p);
            EXPECT_EQ(formats[p].Key, FormatKey(want.Position, p));
        }
        total += formats.size();
    }
    EXPECT_EQ(total, 140u);
}

TEST(Categories, PositionsOutsideTheListHaveNoFamily) {
    for (int category : {-1, 15, 100}) {
        EXPECT_EQ(FamilyOfCategory(category), -1);
        EXPECT_EQ(FormatKey(category, 0), -1);
        EXPECT_TRUE(FormatsOfCategory(category).empty());
    }
}

TEST(Categories, FormatCodeIsBuiltFromTheCategoryAndReadBack) {
    struct Case {
        int Category, Position, Code;
    } cases[] = {
        {13, 0,  1400},
        {2,  5,  305 },
        {0,  0,  100 },
        {14, 12, 1512},
        {3,  14, 414 }
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatCode(c.Category, c.Position), c.Code);
        TFormatPlace place = DecodeFormatCode(c.Code);
        EXPECT_EQ(place.Category, c.Category);
        EXPECT_EQ(place.Position, c.Position);
    }
}
