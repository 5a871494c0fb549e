#include "catalogue/Formats.h"
#include "ExpectedTables.h"
#include "catalogue/EncodingParameters.h"

#include <gtest/gtest.h>

#include <regex>

using namespace catalogue;

TEST(Formats, EveryKeyHasItsTitleAtItsPositionInTheFamily) {
    for (const expected::Title& want : expected::Titles) {
        SCOPED_TRACE(want.Key);
        const TFormatItem* got = FindFormat(want.Key);
        ASSERT_NE(got, nullptr);
        EXPECT_STREQ(got->Title, want.Text);
        EXPECT_NE(std::string(got->Caption), "");
        auto family = FormatsOfFamily(want.Key / 100);
        ASSERT_GT(family.size(), size_t(want.Key % 100));
        EXPECT_EQ(&family[want.Key % 100], got);
    }
    EXPECT_EQ(FindFormat(15), nullptr);
    EXPECT_EQ(FindFormat(2612), nullptr);
    EXPECT_TRUE(FormatsOfFamily(3).empty());
}

TEST(Formats, TheGeneralFamiliesCarryTheirCaptionsWordForWord) {
    for (const expected::Title& want : expected::Captions) {
        SCOPED_TRACE(want.Key);
        ASSERT_NE(FindFormat(want.Key), nullptr);
        EXPECT_STREQ(FindFormat(want.Key)->Caption, want.Text);
    }
    // The two formats that share a title are told apart by their captions.
    EXPECT_STREQ(FindFormat(200)->Caption, "高清晰AVI视频格式(DivX视频编码)");
    EXPECT_STREQ(FindFormat(201)->Caption, "高清晰AVI视频格式(XviD视频编码)");
}

TEST(Formats, PicturesAlternateDownEveryList) {
    EXPECT_EQ(FormatImageIndex(0), 0);
    EXPECT_EQ(FormatImageIndex(1), 1);
    EXPECT_EQ(FormatImageIndex(2), 0);
    EXPECT_EQ(FormatImageIndex(13), 1);
}

TEST(Formats, TitleExtensionOfEveryTitleIsTheExtensionItNames) {
    const std::regex named(R"(\(\*(\.[0-9a-z]+)\)$)");
    for (const expected::Title& want : expected::Titles) {
        SCOPED_TRACE(want.Key);
        std::smatch m;
        std::string title = want.Text;
        ASSERT_TRUE(std::regex_search(title, m, named));
        EXPECT_EQ(TitleExtension(FindFormat(want.Key)->Title), m[1].str());
    }
    // The title and the name of key 2600 disagree, and both stand.
    EXPECT_EQ(TitleExtension(FindFormat(2600)->Title), ".mp4");
    EXPECT_EQ(NameExtOf(2600), ".avi");
}

TEST(Formats, TitleExtensionMapsItsFourCharacters) {
    struct Case {
        const char* Title;
        const char* Ext;
    } cases[] = {
        {"x(*.avi)",           ".avi"        },
        {"x(*.flac)",          ".flac"       },
        {"x(*.aiff)",          ".aiff"       },
        {"x(*.mpeg)",          ".mpeg"       },
        {"x(*.rm)",            ".rm"         },
        {"x(*.ra)",            ".ra"         },
        {"x(*.alac))",         ".alac"       },
        {"x(*.3gp)",           ".3gp"        },
        {"视频音频格式", "频音频格"}, // whole characters, not bytes
        {"ab)",                "ab"          },
        {"",                   ""            },
    };
    for (const Case& c : cases) EXPECT_EQ(TitleExtension(c.Title), c.Ext) << c.Title;
}
